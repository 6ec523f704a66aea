// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
#include "reference/engine/comment_kinds.h"

#include "reference/engine/blanks.h"

namespace trimlet::reference {

namespace {

using engine::ByteAt;
using engine::StartsWithAt;
using engine::StartsWithNoCaseAt;

size_t SkipWhite(std::string_view t, size_t i) {
    while (i < t.size() && (engine::IsBlankOrBreak(ByteAt(t, i)) || t[i] == '\f'))
        ++i;
    return i;
}

// A word ends at i: a blank, a line break, the end of the text, or `close`.
bool WordEndsAt(std::string_view t, size_t i, std::string_view close) {
    return i >= t.size() || engine::IsBlankOrBreak(ByteAt(t, i)) || StartsWithAt(t, i, close);
}

bool UserListed(std::string_view comment, size_t text, std::span<const std::string> userList,
                std::string_view opener1, std::string_view opener2) {
    for (const std::string& entry : userList) {
        if (entry.empty()) continue;
        const bool whole = StartsWithAt(entry, 0, opener1) ||
                           (!opener2.empty() && StartsWithAt(entry, 0, opener2));
        if (StartsWithAt(comment, whole ? 0 : text, entry)) return true;
    }
    return false;
}

}  // namespace

CommentKind HtmlCommentKind(std::string_view comment, std::span<const std::string> userList) {
    const size_t text = SkipWhite(comment, 4);
    if (UserListed(comment, text, userList, "<!--", {})) return CommentKind::UserListed;
    const size_t first = engine::SkipSpacesTabs(comment, 4);
    if (first < comment.size() && comment[first] == '#') return CommentKind::Ssi;
    if (StartsWithNoCaseAt(comment, first, "dovetag") &&
        StartsWithAt(comment, engine::SkipSpacesTabs(comment, first + 7), "-->")) {
        return CommentKind::Marker;
    }
    if (StartsWithNoCaseAt(comment, text, "[if") || StartsWithNoCaseAt(comment, text, "<![endif")) {
        return CommentKind::Conditional;
    }
    if ((StartsWithNoCaseAt(comment, text, "ko") && WordEndsAt(comment, text + 2, "-->")) ||
        (StartsWithNoCaseAt(comment, text, "/ko") && WordEndsAt(comment, text + 3, "-->"))) {
        return CommentKind::Knockout;
    }
    if (StartsWithNoCaseAt(comment, 4, "esi") && WordEndsAt(comment, 7, "-->")) {
        return CommentKind::Esi;
    }
    return CommentKind::Plain;
}

CommentKind ScriptCommentKind(std::string_view comment, std::span<const std::string> userList) {
    const size_t text = SkipWhite(comment, 2);
    if (UserListed(comment, text, userList, "//", "/*")) return CommentKind::UserListed;
    if (StartsWithAt(comment, 0, "/*!")) return CommentKind::Licence;
    if (StartsWithAt(comment, 0, "/*@") || StartsWithAt(comment, 0, "//@cc_on")) {
        return CommentKind::ConditionalCompilation;
    }
    size_t k = 2;  // "/** @license" and "// @license" alike
    while (k < comment.size() && (engine::IsBlankOrBreak(ByteAt(comment, k)) || comment[k] == '*'))
        ++k;
    if (StartsWithAt(comment, k, "@license")) return CommentKind::LicenceMarker;
    return CommentKind::Plain;
}

CommentKind VbsCommentKind(std::string_view comment, std::span<const std::string> userList) {
    size_t start = 0;
    if (StartsWithAt(comment, 0, ":")) start = engine::SkipSpacesTabs(comment, 1);
    const std::string_view own = comment.substr(start);
    const size_t opener = StartsWithAt(own, 0, "'") ? 1 : 3;  // else "REM"
    for (const std::string& entry : userList) {
        if (entry.empty()) continue;
        if (entry[0] == '\'') {
            if (StartsWithAt(own, 0, entry)) return CommentKind::UserListed;
        } else if (StartsWithNoCaseAt(entry, 0, "rem") && entry.size() > 3 &&
                   (entry[3] == ' ' || entry[3] == '\t')) {
            // "REM keep": the whole comment, the keyword in any letter case
            if (opener == 3 && StartsWithAt(own, 3, std::string_view(entry).substr(3)))
                return CommentKind::UserListed;
        } else if (StartsWithAt(own, SkipWhite(own, opener), entry)) {
            return CommentKind::UserListed;
        }
    }
    return CommentKind::Plain;
}

bool KeepsCommentKind(CommentKind kind, TrimMode mode) {
    switch (kind) {
        case CommentKind::Plain:
            return false;
        case CommentKind::Ssi:
            return (mode & TM_KEEP_SSI) != 0;
        case CommentKind::Marker:
            return (mode & TM_KEEP_DOVETAG) != 0;
        case CommentKind::UserListed:
            return true;
        default:
            return (mode & TM_SPECIAL_COMMENTS_DEL) == 0;
    }
}

}  // namespace trimlet::reference
