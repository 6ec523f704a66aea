#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Comments that mean something to a program other than the browser's renderer: a server,
// an old browser, a script library, a licence checker, or the user. One function tells
// their kinds apart for the trim engine and for checking a trimmed page.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/trim_mode.h"

namespace trimlet::reference {

enum class CommentKind : uint8_t {
    Plain,                   // a note for the reader only
    Ssi,                     // "<!--#include ...-->": a server-side include
    Marker,                  // "<!-- Dovetag -->"
    Conditional,             // "<!--[if IE]>...<![endif]-->", "<!--<![endif]-->"
    Knockout,                // "<!-- ko ... -->", "<!-- /ko -->": containerless bindings
    Esi,                     // "<!--esi ...-->": edge-side includes
    Licence,                 // "/*! ... */"
    ConditionalCompilation,  // "/*@cc_on ... @*/", "//@cc_on"
    LicenceMarker,           // "// @license ...", "// @license-end"
    UserListed,              // begins with one of the user's own beginnings
};

// The kind of an HTML comment: `comment` starts with "<!--" and runs to its "-->" (or to
// the end of the text). `userList` holds beginnings the user wants kept: an entry that
// starts with "<!--" is compared with the comment from its start, any other one with its
// text after "<!--" and the blanks that follow. Empty entries match nothing.
[[nodiscard]] CommentKind HtmlCommentKind(std::string_view comment,
                                          std::span<const std::string> userList = {});

// The kind of a script comment: `comment` starts with "//" or "/*". User entries that
// start with "//" or "/*" are compared with the whole comment, others with its text after
// the opener and blanks.
[[nodiscard]] CommentKind ScriptCommentKind(std::string_view comment,
                                            std::span<const std::string> userList = {});

// The kind of a VBScript comment: `comment` starts with "'" or "REM" (or with the ":" and
// blanks before a "REM") and runs to the line end. Only the user's list applies: an entry
// that starts with "'", or with "REM" and a blank (in any letter case), is compared with
// the whole comment, any other one with its text after the opener and blanks.
[[nodiscard]] CommentKind VbsCommentKind(std::string_view comment,
                                         std::span<const std::string> userList);

// Whether a comment of `kind` stays when `mode` deletes comments: plain ones go; SSI and
// the marker stay as TM_KEEP_SSI and TM_KEEP_DOVETAG say; the user's own always stay; the
// other kinds stay unless TM_SPECIAL_COMMENTS_DEL is set.
[[nodiscard]] bool KeepsCommentKind(CommentKind kind, TrimMode mode);

}  // namespace trimlet::reference
