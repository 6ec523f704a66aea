#include "verify/comment_kinds.h"

#include <cstddef>

namespace trimlet::verify {

namespace {

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() < at || text.size() - at < prefix.size()) return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        char c = text[at + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[k]) return false;
    }
    return true;
}

std::size_t SkipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    return i;
}

}  // namespace

CommentKind KindOfComment(std::string_view body) {
    std::size_t first = 0;
    while (first < body.size() && (body[first] == ' ' || body[first] == '\t'))
        ++first;
    if (first < body.size() && body[first] == '#') return CommentKind::Ssi;
    if (StartsWithNoCase(body, first, "dovetag")) {
        std::size_t end = first + 7;
        while (end < body.size() && (body[end] == ' ' || body[end] == '\t'))
            ++end;
        if (end == body.size()) return CommentKind::Marker;
    }
    const std::size_t word = SkipBlanks(body, 0);
    if (StartsWithNoCase(body, word, "[if") || StartsWithNoCase(body, word, "[endif") ||
        StartsWithNoCase(body, word, "<![endif") || StartsWithNoCase(body, word, "ko ") ||
        StartsWithNoCase(body, word, "/ko") || StartsWithNoCase(body, word, "esi") ||
        StartsWithNoCase(body, word, "/esi"))
        return CommentKind::Special;
    for (std::size_t at = body.find('@'); at != std::string_view::npos;
         at = body.find('@', at + 1)) {
        if (StartsWithNoCase(body, at, "@license") || StartsWithNoCase(body, at, "@cc_on"))
            return CommentKind::Special;
    }
    return CommentKind::Ordinary;
}

bool ModeDeletesComment(TrimMode mode, CommentKind kind, bool insideBody) {
    if ((mode & TM_HTML_COMMENT_DEL) == 0) return false;
    if ((mode & TM_BODY_COMMENTS_ONLY) != 0 && !insideBody) return false;
    switch (kind) {
        case CommentKind::Ssi:
            return (mode & TM_KEEP_SSI) == 0;
        case CommentKind::Marker:
            return (mode & TM_KEEP_DOVETAG) == 0;
        case CommentKind::Special:
            return (mode & kDeleteSpecialComments) != 0;
        case CommentKind::Ordinary:
            break;
    }
    return true;
}

}  // namespace trimlet::verify
