#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Blanks and line breaks: runs of blanks in both charsets, trailing blanks, and the
// line-break convention of a text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/charset.h"
#include "reference/engine/bytes.h"

namespace trimlet::reference::engine {

// ---------------------------------------------------------------------------------
// Blanks and line breaks

struct BlankSet {
    bool fullWidth = false;   // the full-width blank counts
    bool lineBreaks = false;  // CR and LF count
};

// The part of SkipBlanks after the first blank.
size_t SkipBlankRun(Charset charset, std::string_view t, size_t i, BlankSet set, size_t limit);

// Moves over spaces and tabs, and full-width blanks and line breaks when `set` says so,
// from the character start i up to `limit` (at most t.size()).
inline size_t SkipBlanks(Charset charset, std::string_view t, size_t i, BlankSet set,
                         size_t limit) {
    if (i >= limit) return i;
    const uint8_t first = ByteAt(t, i);
    const uint8_t mask = kBlank | (set.lineBreaks ? kBreak : 0);
    if (!(kByteClass[first] & mask) && !(set.fullWidth && first >= 0x80)) return i;  // no run
    return SkipBlankRun(charset, t, i, set, limit);
}

inline size_t SkipBlanks(Charset charset, std::string_view t, size_t i, BlankSet set) {
    return SkipBlanks(charset, t, i, set, t.size());
}

// Start of the run of blanks (spaces and tabs, and full-width blanks when `fullWidth`)
// that ends at `end`, going back no further than `begin`, a character start.
size_t BlanksBackTo(Charset charset, std::string_view t, size_t begin, size_t end, bool fullWidth);
inline size_t TrailingBlanksStart(Charset charset, std::string_view t, size_t begin, size_t end,
                                  bool fullWidth) {
    // Most lines end without blanks.
    if (end == begin || (!fullWidth && !(kByteClass[ByteAt(t, end - 1)] & kBlank))) return end;
    return BlanksBackTo(charset, t, begin, end, fullWidth);
}

// Whether the byte at p starts a character, given that `begin` (<= p) does.
bool CharStartsAt(Charset charset, std::string_view t, size_t begin, size_t p);

inline size_t SkipSpacesTabs(std::string_view t, size_t i) {
    while (i < t.size() && (kByteClass[ByteAt(t, i)] & kBlank))
        ++i;
    return i;
}

// "\r\n" when that pair occurs in the text; else "\n" when an LF occurs; else "\r" when
// a CR occurs; else "\r\n".
std::string_view LineBreakConvention(std::string_view t);

// Position of the next CR or LF at or after i, or t.size().
size_t NextLineBreak(std::string_view t, size_t i);

// The line-break string `nl` ("\r\n", "\n" or "\r") starts at i.
inline bool LineBreakAt(std::string_view t, size_t i, std::string_view nl) {
    return i < t.size() && t[i] == nl[0] &&
           (nl.size() == 1 || (i + 1 < t.size() && t[i + 1] == nl[1]));
}

// Length of the line break at i: 2 for CR LF, 1 for a lone CR or LF, 0 for anything else.
inline size_t LineBreakLength(std::string_view t, size_t i) {
    if (i >= t.size()) return 0;
    const uint8_t c = ByteAt(t, i);
    if (c == '\r') return i + 1 < t.size() && ByteAt(t, i + 1) == '\n' ? 2 : 1;
    return c == '\n' ? 1 : 0;
}

}  // namespace trimlet::reference::engine
