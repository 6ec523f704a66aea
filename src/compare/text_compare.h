#pragma once
// The comparison of a text before and after trimming, laid out as rows of a side-by-side
// view: lines are aligned first, then the characters of every pair of lines that differ.
// Characters are whole characters of the text's charset, so a CP932 double-byte character
// is never split. Lines that trimming joined (line breaks taken as blanks) are shown on
// the rows of their original, each telling where its text went.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/charset.h"
#include "common/result.h"

namespace trimlet {

// A marked part of a row's text: bytes [begin, end) of its UTF-8 display text.
struct CompareSpan {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    bool operator==(const CompareSpan&) const = default;
};

// One row of the side-by-side view. A side without a line (-1) shows nothing there.
struct CompareRow {
    std::int32_t leftLine = -1;   // 0-based line of the original text
    std::int32_t rightLine = -1;  // 0-based line of the trimmed text
    std::string leftText;         // the line as UTF-8 for display, without its line break
    std::string rightText;
    std::vector<CompareSpan> leftMarks;   // removed parts of the original line
    std::vector<CompareSpan> rightMarks;  // parts of the trimmed line the original lacks
    bool leftBreakRemoved = false;        // the original line's line break is gone
    // A row with a left line but no right line whose text was kept: the trimmed line and
    // the byte of its display text where that text went (joined lines). -1: all removed.
    std::int32_t joinedLine = -1;
    std::uint32_t joinedColumn = 0;
};

// Where one change begins: a maximal run of removed or added characters.
struct CompareChange {
    std::size_t row = 0;
    bool onLeft = true;        // the run begins with a removal (left side), else an addition
    std::uint32_t column = 0;  // byte of that side's display text
};

enum class CompareCut {
    None,          // every row is there
    PageTooLarge,  // only the start of a page over the size limit was compared
    TimeLimit,     // the comparison ran out of time; the rows so far are there
};

struct Comparison {
    std::vector<CompareRow> rows;
    std::vector<CompareChange> changes;  // in row order
    CompareCut cut = CompareCut::None;
};

struct CompareLimits {
    // A text larger than this is compared over its first `previewBytes` only.
    std::size_t maxTextBytes = 2 * 1024 * 1024;
    std::size_t previewBytes = 256 * 1024;
    // The characters of a group of changed lines are aligned only when the alignment's
    // worst case, (shorter + 1) * (both + 1) characters, stays within this; larger groups
    // are split at lines found on both sides, and what still exceeds it is marked whole.
    std::uint64_t maxAlignCells = std::uint64_t{1} << 22;
    // The same bound for aligning the lines between two lines known on both sides.
    std::uint64_t maxLineCells = std::uint64_t{1} << 24;
    // After this long the rows so far (at least the first few hundred) are returned,
    // cut = TimeLimit.
    std::chrono::milliseconds timeLimit{1000};
};

// The part of a text that is compared: the text itself, or of a text larger than
// `limits.maxTextBytes` its first `limits.previewBytes` at most, ending after a line break
// when there is one, else after a whole character of `charset`.
[[nodiscard]] std::string_view ComparedPart(std::string_view text, Charset charset,
                                            const CompareLimits& limits);

// Compares `before` with `after` (its trim), both scanned with `charset`, into `out`.
// CP932 text is converted to UTF-8 for display; bytes that are no character of the
// charset show as U+FFFD and control characters (except tab) as their symbols (U+2400...);
// characters a text view breaks a line at (NEL, U+2028, U+2029) show as U+2424, so that
// each row stays one line.
// RESULT_OUT_OF_MEMORY (with `out` empty) when memory runs out, else RESULT_OK.
[[nodiscard]] Result CompareTexts(std::string_view before, std::string_view after, Charset charset,
                                  const CompareLimits& limits, Comparison& out);

}  // namespace trimlet
