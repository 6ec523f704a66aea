#pragma once
// What an HTML comment is, and whether a trim mode may delete it.

#include <string_view>

#include "engine/trim_mode.h"

namespace trimlet::verify {

// Lets the built-in special comments go too (conditional comments, Knockout, ESI, ...).
inline constexpr TrimMode kDeleteSpecialComments = 0x00080000;

enum class CommentKind {
    Ordinary,
    Ssi,      // "<!--#include ...-->"
    Marker,   // "<!-- Dovetag -->"
    Special,  // conditional comments, Knockout, ESI, license notes
};

// The kind of a comment by its text between "<!--" and "-->".
CommentKind KindOfComment(std::string_view body);

// True when `mode` deletes a comment of `kind`; `insideBody` tells whether it stands after
// the page's "<body" tag (and before "</body").
bool ModeDeletesComment(TrimMode mode, CommentKind kind, bool insideBody);

}  // namespace trimlet::verify
