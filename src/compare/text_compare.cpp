#include "compare/text_compare.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <new>
#include <unordered_map>
#include <utility>

#include "engine/bytes.h"
#include "platform/codepage.h"

namespace trimlet {
namespace {

using Clock = std::chrono::steady_clock;

// A character as one number: its bytes, the first one highest. A line break is one
// character too: "\r\n" is 0x0D0A, so a changed line break shows as a change.
using Token = std::uint32_t;

// Lines found on both sides by a search are only trusted within this many characters.
constexpr std::size_t kAnchorWindow = 4096;
// The characters of a line that find it on the other side.
constexpr std::size_t kAnchorLength = 8;
// The rows shown however long the comparison takes: the first changes of any page.
constexpr std::size_t kMinRows = 500;

bool IsBlankToken(Token t) {
    return t == 0x20 || t == 0x09 || t == 0x0B || t == 0x0C || t == 0x8140 || t == 0xE38080;
}

bool IsBreakToken(Token t) {
    return t == 0x0A || t == 0x0D || t == 0x0D0A;
}

struct Line {
    std::size_t first = 0;  // its first character
    std::size_t end = 0;    // the end of its text; its line break, if any, is at `end`
    bool hasBreak = false;
    std::uint64_t key = 0;  // the hash of its characters other than blanks
};

// One side: its characters, where each begins, its lines.
struct Side {
    std::string_view text;
    std::vector<Token> tokens;
    std::vector<std::uint32_t> offsets;  // byte of each character; one more at the end
    std::vector<Line> lines;
    std::vector<std::uint32_t> lineOf;  // the line of each character
    std::vector<std::uint64_t> keys;

    std::size_t LineStart(std::size_t line) const {
        return line < lines.size() ? lines[line].first : tokens.size();
    }
    std::size_t LineLimit(std::size_t line) const {
        return lines[line].end + (lines[line].hasBreak ? 1 : 0);
    }
};

void ReadSide(std::string_view text, Charset charset, Side& side) {
    side.text = text;
    side.tokens.reserve(text.size());
    side.offsets.reserve(text.size() + 1);
    Line line;
    std::uint64_t key = 14695981039346656037ull;
    const auto endLine = [&](bool hasBreak) {
        line.end = hasBreak ? side.tokens.size() - 1 : side.tokens.size();
        line.hasBreak = hasBreak;
        line.key = key;
        side.lines.push_back(line);
        side.keys.push_back(key);
        line = Line{};
        line.first = side.tokens.size();
        key = 14695981039346656037ull;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = engine::CharLength(charset, text, i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') length = 2;
        Token token = 0;
        for (std::size_t k = 0; k < length; ++k)
            token = (token << 8) | static_cast<std::uint8_t>(text[i + k]);
        side.tokens.push_back(token);
        side.offsets.push_back(static_cast<std::uint32_t>(i));
        side.lineOf.push_back(static_cast<std::uint32_t>(side.lines.size()));
        i += length;
        if (IsBreakToken(token)) {
            endLine(true);
        } else if (!IsBlankToken(token)) {
            key = (key ^ token) * 1099511628211ull;
        }
    }
    side.offsets.push_back(static_cast<std::uint32_t>(text.size()));
    if (line.first < side.tokens.size()) endLine(false);
}

// The worst-case work of aligning m with n characters.
std::uint64_t Cells(std::size_t m, std::size_t n) {
    return (std::uint64_t{std::min(m, n)} + 1) * (std::uint64_t{m} + n + 1);
}

// Aligns a[0, m) with b[0, n) and calls `common(i, j)` for every pair kept.
template <typename T, typename F>
void AlignWithDiff(const std::vector<T>& a, const std::vector<T>& b, F common) {
    dtl::Diff<T> diff(a, b);
    // The library then keeps its path within a fixed size, working in rounds.
    if (Cells(a.size(), b.size()) > dtl::MAX_CORDINATES_SIZE) diff.enableHuge();
    diff.compose();
    for (const auto& element : diff.getSes().getSequence()) {
        if (element.second.type == dtl::SES_COMMON)
            common(static_cast<std::size_t>(element.second.beforeIdx - 1),
                   static_cast<std::size_t>(element.second.afterIdx - 1));
    }
}

class Comparer {
  public:
    Comparer(Charset charset, const CompareLimits& limits)
        : charset_(charset), limits_(limits), deadline_(Clock::now() + limits.timeLimit) {}

    void Run(std::string_view before, std::string_view after, Comparison& out);

  private:
    using LinePairs = std::vector<std::pair<std::size_t, std::size_t>>;

    // ---- lines ----
    void MatchLines(std::size_t l0, std::size_t l1, std::size_t r0, std::size_t r1,
                    LinePairs& pairs);
    LinePairs UniqueAnchors(std::size_t l0, std::size_t l1, std::size_t r0, std::size_t r1) const;

    // ---- characters ----
    void Keep(std::size_t i, std::size_t j) {
        leftMatch_[i] = static_cast<std::int64_t>(j);
        rightKept_[j] = true;
    }
    void AlignRange(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1);
    // Whether aligning a piece over the worst-case limit is cheap all the same: the shorter
    // side is nearly all found in order in the longer, as a trim is in its original.
    bool NearlyKept(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) const;
    // Aligns the characters of left lines [l0, l1) with right characters [b0, b1), split at
    // the lines found on the right; false when time ran out, with `doneLeft` and `doneRight`
    // the ends of what was aligned.
    bool AlignGroup(std::size_t l0, std::size_t l1, std::size_t b0, std::size_t b1,
                    std::size_t& doneLeft, std::size_t& doneRight);
    // Where the start of left line `line` is found among right characters [from, to).
    std::size_t FindLineStart(std::size_t line, std::size_t from, std::size_t to) const;
    // Aligns a line with the line that matches it but for blanks; false when their other
    // characters differ after all.
    bool AlignBlanks(std::size_t l, std::size_t r);

    // ---- rows ----
    std::string Display(const Side& side, std::size_t first, std::size_t end,
                        std::vector<std::uint32_t>& columns);
    void AddRow(std::int64_t left, std::int64_t right, std::size_t rightLimit);
    void LayOutGroup(std::size_t l0, std::size_t l1, std::size_t r0, std::size_t r1,
                     std::size_t rightLimit);
    void FindChanges(std::size_t leftEnd, std::size_t rightEnd);
    bool OutOfTime() const { return Clock::now() >= deadline_; }

    Charset charset_;
    const CompareLimits& limits_;
    Clock::time_point deadline_;
    Side left_, right_;
    std::vector<std::int64_t> leftMatch_;  // the right character kept for each left one, or -1
    std::vector<bool> rightKept_;
    std::unordered_map<Token, std::string> cp932_;
    // Per line: its row, and the display column of each of its characters.
    std::vector<std::int64_t> leftRow_, rightRow_;
    std::vector<std::vector<std::uint32_t>> leftColumns_, rightColumns_;
    Comparison* out_ = nullptr;
};

// ---- lines ----------------------------------------------------------------------------

Comparer::LinePairs Comparer::UniqueAnchors(std::size_t l0, std::size_t l1, std::size_t r0,
                                            std::size_t r1) const {
    struct Seen {
        std::uint32_t left = 0, right = 0;
        std::size_t leftAt = 0, rightAt = 0;
    };
    std::unordered_map<std::uint64_t, Seen> seen;
    for (std::size_t i = l0; i < l1; ++i) {
        Seen& s = seen[left_.keys[i]];
        ++s.left;
        s.leftAt = i;
    }
    for (std::size_t j = r0; j < r1; ++j) {
        auto it = seen.find(right_.keys[j]);
        if (it == seen.end()) continue;
        ++it->second.right;
        it->second.rightAt = j;
    }
    LinePairs candidates;
    for (std::size_t i = l0; i < l1; ++i) {
        const Seen& s = seen[left_.keys[i]];
        if (s.left == 1 && s.right == 1) candidates.emplace_back(i, s.rightAt);
    }
    // The longest run of candidates in order on both sides.
    std::vector<std::size_t> tails, previous(candidates.size(), SIZE_MAX);
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        auto at = std::lower_bound(
            tails.begin(), tails.end(), candidates[k].second,
            [&](std::size_t t, std::size_t value) { return candidates[t].second < value; });
        if (at != tails.begin()) previous[k] = *(at - 1);
        if (at == tails.end()) {
            tails.push_back(k);
        } else {
            *at = k;
        }
    }
    LinePairs anchors;
    for (std::size_t k = tails.empty() ? SIZE_MAX : tails.back(); k != SIZE_MAX; k = previous[k])
        anchors.push_back(candidates[k]);
    std::reverse(anchors.begin(), anchors.end());
    return anchors;
}

void Comparer::MatchLines(std::size_t l0, std::size_t l1, std::size_t r0, std::size_t r1,
                          LinePairs& pairs) {
    LinePairs tail;
    while (l0 < l1 && r0 < r1 && left_.keys[l0] == right_.keys[r0])
        pairs.emplace_back(l0++, r0++);
    while (l0 < l1 && r0 < r1 && left_.keys[l1 - 1] == right_.keys[r1 - 1])
        tail.emplace_back(--l1, --r1);
    if (l0 < l1 && r0 < r1) {
        if (Cells(l1 - l0, r1 - r0) <= limits_.maxLineCells) {
            const std::vector<std::uint64_t> a(left_.keys.begin() + l0, left_.keys.begin() + l1);
            const std::vector<std::uint64_t> b(right_.keys.begin() + r0, right_.keys.begin() + r1);
            AlignWithDiff(
                a, b, [&](std::size_t i, std::size_t j) { pairs.emplace_back(l0 + i, r0 + j); });
        } else {
            // Too many lines to align at once: lines that occur once on each side split them.
            const LinePairs anchors = UniqueAnchors(l0, l1, r0, r1);
            std::size_t l = l0, r = r0;
            for (const auto& [a, b] : anchors) {
                MatchLines(l, a, r, b, pairs);
                pairs.emplace_back(a, b);
                l = a + 1;
                r = b + 1;
            }
            if (!anchors.empty()) MatchLines(l, l1, r, r1, pairs);
        }
    }
    pairs.insert(pairs.end(), tail.rbegin(), tail.rend());
}

// ---- characters -----------------------------------------------------------------------

bool Comparer::NearlyKept(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) const {
    // The alignment costs about (both + 1) * (unkept + 1) characters, `unkept` being the
    // characters of the shorter side left out of the longest common run. Characters taken
    // in order, the nearest match first, give a common run, so its complement bounds them.
    constexpr std::size_t kLookAhead = 64;
    const auto& a = left_.tokens;
    const auto& b = right_.tokens;
    std::size_t i = a0, j = b0, common = 0;
    // The search itself stays within the same bound.
    std::uint64_t work = 0;
    while (i < a1 && j < b1) {
        if (work > limits_.maxAlignCells) return false;
        const std::size_t stop = std::min(a1, i + kLookAhead);
        work += stop - i;
        std::size_t k = i;
        while (k < stop && a[k] != b[j])
            ++k;
        if (k < stop) {
            ++common;
            i = k + 1;
            ++j;
            continue;
        }
        // A long removal (a comment): the next characters of the right other than blanks
        // are looked for further on.
        const auto skipBlanks = [](const std::vector<Token>& tokens, std::size_t t,
                                   std::size_t end) {
            while (t < end && (IsBlankToken(tokens[t]) || IsBreakToken(tokens[t])))
                ++t;
            return t;
        };
        std::vector<Token> key;
        const std::size_t keyStart = skipBlanks(b, j, b1);
        for (std::size_t t = keyStart; t < b1 && key.size() < kAnchorLength;
             t = skipBlanks(b, t + 1, b1))
            key.push_back(b[t]);
        std::size_t found = SIZE_MAX;
        for (std::size_t start = i; !key.empty() && start < std::min(a1, i + kAnchorWindow);
             ++start) {
            ++work;
            std::size_t matched = 0;
            for (std::size_t t = start; matched < key.size() && t < a1 && a[t] == key[matched];
                 t = skipBlanks(a, t + 1, a1))
                ++matched;
            if (matched == key.size()) {
                found = start;
                break;
            }
        }
        if (found == SIZE_MAX) {
            ++j;
        } else {
            i = found;
            j = keyStart;
        }
    }
    const std::size_t shorter = std::min(a1 - a0, b1 - b0);
    const std::uint64_t unkept = shorter - std::min(common, shorter);
    return (std::uint64_t{a1 - a0} + (b1 - b0) + 1) * (unkept + 1) <= limits_.maxAlignCells;
}

void Comparer::AlignRange(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) {
    if (a0 >= a1 || b0 >= b1) return;
    if (Cells(a1 - a0, b1 - b0) > limits_.maxAlignCells && !NearlyKept(a0, a1, b0, b1)) return;
    const std::vector<Token> a(left_.tokens.begin() + a0, left_.tokens.begin() + a1);
    const std::vector<Token> b(right_.tokens.begin() + b0, right_.tokens.begin() + b1);
    AlignWithDiff(a, b, [&](std::size_t i, std::size_t j) { Keep(a0 + i, b0 + j); });
}

std::size_t Comparer::FindLineStart(std::size_t line, std::size_t from, std::size_t to) const {
    std::vector<Token> key;
    for (std::size_t t = left_.lines[line].first;
         t < left_.lines[line].end && key.size() < kAnchorLength; ++t) {
        if (!IsBlankToken(left_.tokens[t])) key.push_back(left_.tokens[t]);
    }
    if (key.empty()) return SIZE_MAX;
    to = std::min(to, from + kAnchorWindow);
    for (std::size_t start = from; start < to; ++start) {
        if (right_.tokens[start] != key[0]) continue;
        std::size_t k = 1;
        for (std::size_t t = start + 1; k < key.size() && t < right_.tokens.size(); ++t) {
            const Token token = right_.tokens[t];
            if (IsBlankToken(token) || IsBreakToken(token)) continue;
            if (token != key[k]) break;
            ++k;
        }
        if (k == key.size()) return start;
    }
    return SIZE_MAX;
}

bool Comparer::AlignGroup(std::size_t l0, std::size_t l1, std::size_t b0, std::size_t b1,
                          std::size_t& doneLeft, std::size_t& doneRight) {
    const std::size_t a0 = left_.LineStart(l0);
    const std::size_t a1 = left_.LineStart(l1);
    doneLeft = a1;
    doneRight = b1;
    if (Cells(a1 - a0, b1 - b0) <= limits_.maxAlignCells) {
        AlignRange(a0, a1, b0, b1);
        return true;
    }
    // Each left line whose start is found on the right begins a piece of its own.
    std::size_t pieceLeft = a0, pieceRight = b0;
    for (std::size_t line = l0 + 1; line <= l1; ++line) {
        std::size_t found = b1;
        if (line < l1) {
            found = FindLineStart(line, pieceRight, b1);
            if (found == SIZE_MAX) continue;
        }
        const std::size_t linesDone = left_.lineOf[pieceLeft] - l0;
        if (OutOfTime() && out_->rows.size() + linesDone >= kMinRows) {
            doneLeft = pieceLeft;
            doneRight = pieceRight;
            return false;
        }
        AlignRange(pieceLeft, left_.LineStart(line), pieceRight, found);
        pieceLeft = left_.LineStart(line);
        pieceRight = found;
    }
    return true;
}

bool Comparer::AlignBlanks(std::size_t l, std::size_t r) {
    const Line& a = left_.lines[l];
    const Line& b = right_.lines[r];
    std::size_t i = a.first, j = b.first;
    std::vector<std::pair<std::size_t, std::size_t>> kept;
    for (;;) {
        std::size_t i2 = i, j2 = j;
        while (i2 < a.end && IsBlankToken(left_.tokens[i2]))
            ++i2;
        while (j2 < b.end && IsBlankToken(right_.tokens[j2]))
            ++j2;
        // Of two runs of blanks, the same first characters are kept.
        for (std::size_t k = 0; i + k < i2 && j + k < j2; ++k) {
            if (left_.tokens[i + k] != right_.tokens[j + k]) break;
            kept.emplace_back(i + k, j + k);
        }
        i = i2;
        j = j2;
        if (i == a.end || j == b.end) break;
        if (left_.tokens[i] != right_.tokens[j]) return false;
        kept.emplace_back(i++, j++);
    }
    if (i != a.end || j != b.end) return false;
    for (const auto& [x, y] : kept)
        Keep(x, y);
    if (a.hasBreak && b.hasBreak && left_.tokens[a.end] == right_.tokens[b.end]) Keep(a.end, b.end);
    return true;
}

// ---- rows -----------------------------------------------------------------------------

std::string Comparer::Display(const Side& side, std::size_t first, std::size_t end,
                              std::vector<std::uint32_t>& columns) {
    std::string text;
    columns.clear();
    columns.reserve(end - first + 1);
    for (std::size_t t = first; t < end; ++t) {
        columns.push_back(static_cast<std::uint32_t>(text.size()));
        const Token token = side.tokens[t];
        const std::string_view bytes(side.text.data() + side.offsets[t],
                                     side.offsets[t + 1] - side.offsets[t]);
        if (token < 0x20 && token != 0x09) {
            text += "\xE2\x90";  // U+2400 + c: the control character's symbol
            text += static_cast<char>(0x80 + token);
        } else if (token == 0x7F) {
            text += "\xE2\x90\xA1";
        } else if (token < 0x80) {
            text += static_cast<char>(token);
        } else if (charset_ == Charset::Utf8) {
            const bool whole = bytes.size() >= 2 &&
                               (static_cast<std::uint8_t>(bytes[0]) >= 0xF0   ? bytes.size() == 4
                                : static_cast<std::uint8_t>(bytes[0]) >= 0xE0 ? bytes.size() == 3
                                : static_cast<std::uint8_t>(bytes[0]) >= 0xC2 ? bytes.size() == 2
                                                                              : false);
            if (!whole) {
                text += "\xEF\xBF\xBD";
            } else if (token == 0xC285 || token == 0xE280A8 || token == 0xE280A9) {
                // NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR: a text view would break the row
                // there, so they show as the symbol for a new line.
                text += "\xE2\x90\xA4";
            } else if (token == 0xEFB790 || token == 0xEFB791) {
                // Noncharacters that text views keep for their own use.
                text += "\xEF\xBF\xBD";
            } else {
                text += bytes;
            }
        } else {
            auto [it, added] = cp932_.try_emplace(token);
            if (added && Cp932ToUtf8(bytes, it->second) != RESULT_OK) it->second = "\xEF\xBF\xBD";
            text += it->second;
        }
    }
    columns.push_back(static_cast<std::uint32_t>(text.size()));
    return text;
}

std::vector<CompareSpan> Spans(const std::vector<std::uint32_t>& columns, std::size_t first,
                               std::size_t end, auto changed) {
    std::vector<CompareSpan> spans;
    for (std::size_t t = first; t < end; ++t) {
        if (!changed(t)) continue;
        const std::uint32_t begin = columns[t - first];
        const std::uint32_t stop = columns[t - first + 1];
        if (!spans.empty() && spans.back().end == begin) {
            spans.back().end = stop;
        } else {
            spans.push_back({begin, stop});
        }
    }
    return spans;
}

void Comparer::AddRow(std::int64_t left, std::int64_t right, std::size_t rightLimit) {
    CompareRow row;
    const std::size_t index = out_->rows.size();
    if (left >= 0) {
        const Line& line = left_.lines[static_cast<std::size_t>(left)];
        auto& columns = leftColumns_[static_cast<std::size_t>(left)];
        row.leftLine = static_cast<std::int32_t>(left);
        row.leftText = Display(left_, line.first, line.end, columns);
        row.leftMarks =
            Spans(columns, line.first, line.end, [&](std::size_t t) { return leftMatch_[t] < 0; });
        row.leftBreakRemoved = line.hasBreak && leftMatch_[line.end] < 0;
        leftRow_[static_cast<std::size_t>(left)] = static_cast<std::int64_t>(index);
    }
    if (right >= 0) {
        const Line& line = right_.lines[static_cast<std::size_t>(right)];
        const std::size_t end = std::min(line.end, rightLimit);
        auto& columns = rightColumns_[static_cast<std::size_t>(right)];
        row.rightLine = static_cast<std::int32_t>(right);
        row.rightText = Display(right_, line.first, end, columns);
        row.rightMarks =
            Spans(columns, line.first, end, [&](std::size_t t) { return !rightKept_[t]; });
        rightRow_[static_cast<std::size_t>(right)] = static_cast<std::int64_t>(index);
    }
    out_->rows.push_back(std::move(row));
}

void Comparer::LayOutGroup(std::size_t l0, std::size_t l1, std::size_t r0, std::size_t r1,
                           std::size_t rightLimit) {
    std::size_t nextRight = r0;
    for (std::size_t l = l0; l < l1; ++l) {
        // The right line that took the first kept character of this line (other than a
        // blank, when there is one).
        std::int64_t target = -1, at = -1;
        for (std::size_t t = left_.lines[l].first; t < left_.LineLimit(l); ++t) {
            if (leftMatch_[t] < 0) continue;
            if (at < 0 || IsBlankToken(right_.tokens[static_cast<std::size_t>(at)]))
                at = leftMatch_[t];
            if (!IsBlankToken(left_.tokens[t])) break;
        }
        if (at >= 0) target = right_.lineOf[static_cast<std::size_t>(at)];
        if (target < 0) {
            AddRow(static_cast<std::int64_t>(l), -1, rightLimit);
            continue;
        }
        const auto wanted = static_cast<std::size_t>(target);
        while (nextRight < wanted && nextRight < r1)
            AddRow(-1, static_cast<std::int64_t>(nextRight++), rightLimit);
        if (wanted == nextRight) {
            AddRow(static_cast<std::int64_t>(l), static_cast<std::int64_t>(nextRight++),
                   rightLimit);
            continue;
        }
        AddRow(static_cast<std::int64_t>(l), -1, rightLimit);
        CompareRow& row = out_->rows.back();
        row.joinedLine = static_cast<std::int32_t>(wanted);
        const auto& columns = rightColumns_[wanted];
        const std::size_t column = static_cast<std::size_t>(at) - right_.lines[wanted].first;
        row.joinedColumn = column < columns.size() ? columns[column] : 0;
    }
    while (nextRight < r1)
        AddRow(-1, static_cast<std::int64_t>(nextRight++), rightLimit);
}

void Comparer::FindChanges(std::size_t leftEnd, std::size_t rightEnd) {
    const auto column = [](const Side& side, const std::vector<std::vector<std::uint32_t>>& all,
                           std::size_t t) -> std::uint32_t {
        const std::size_t line = side.lineOf[t];
        const auto& columns = all[line];
        const std::size_t k = t - side.lines[line].first;
        return k < columns.size() ? columns[k] : columns.empty() ? 0 : columns.back();
    };
    bool inChange = false;
    std::size_t i = 0, j = 0;
    while (i < leftEnd || j < rightEnd) {
        if (i < leftEnd && leftMatch_[i] < 0) {
            const std::int64_t row = leftRow_[left_.lineOf[i]];
            if (!inChange && row >= 0)
                out_->changes.push_back(
                    {static_cast<std::size_t>(row), true, column(left_, leftColumns_, i)});
            inChange = true;
            ++i;
        } else if (j < rightEnd && !rightKept_[j]) {
            const std::int64_t row = rightRow_[right_.lineOf[j]];
            if (!inChange && row >= 0)
                out_->changes.push_back(
                    {static_cast<std::size_t>(row), false, column(right_, rightColumns_, j)});
            inChange = true;
            ++j;
        } else {
            inChange = false;
            ++i;
            ++j;
        }
    }
    std::stable_sort(out_->changes.begin(), out_->changes.end(),
                     [](const CompareChange& a, const CompareChange& b) { return a.row < b.row; });
}

// A prefix of `text` no longer than `limit`, ending after a line break when there is one,
// else after a whole character.
std::string_view Preview(std::string_view text, std::size_t limit, Charset charset) {
    if (text.size() <= limit) return text;
    const std::size_t cut = text.substr(0, limit).find_last_of("\r\n");
    if (cut != std::string_view::npos) return text.substr(0, cut + 1);
    std::size_t end = 0;
    while (end < limit) {
        const std::size_t next = end + engine::CharLength(charset, text, end);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
}

void Comparer::Run(std::string_view before, std::string_view after, Comparison& out) {
    out_ = &out;
    const bool tooLarge =
        before.size() > limits_.maxTextBytes || after.size() > limits_.maxTextBytes;
    if (tooLarge) {
        before = Preview(before, limits_.previewBytes, charset_);
        after = Preview(after, limits_.previewBytes, charset_);
    }
    ReadSide(before, charset_, left_);
    ReadSide(after, charset_, right_);
    leftMatch_.assign(left_.tokens.size(), -1);
    rightKept_.assign(right_.tokens.size(), false);
    leftRow_.assign(left_.lines.size(), -1);
    rightRow_.assign(right_.lines.size(), -1);
    leftColumns_.resize(left_.lines.size());
    rightColumns_.resize(right_.lines.size());

    LinePairs pairs;
    MatchLines(0, left_.lines.size(), 0, right_.lines.size(), pairs);
    // Of a cut page, the changes after its last line found on both sides may lie beyond the
    // cut on one side only.
    std::size_t lastGroup = pairs.size();
    if (tooLarge) {
        out.cut = CompareCut::PageTooLarge;
        if (!pairs.empty()) lastGroup = pairs.size() - 1;
    }

    std::size_t l = 0, r = 0, leftEnd = 0, rightEnd = 0;
    for (std::size_t k = 0; k <= lastGroup; ++k) {
        const std::size_t l1 = k < pairs.size() ? pairs[k].first : left_.lines.size();
        const std::size_t r1 = k < pairs.size() ? pairs[k].second : right_.lines.size();
        if (k > 0 && OutOfTime() && out_->rows.size() >= kMinRows) {
            out.cut = CompareCut::TimeLimit;
            break;
        }
        // The lines between two pairs, changed beyond their blanks.
        if (l < l1 || r < r1) {
            std::size_t doneLeft = 0, doneRight = 0;
            const std::size_t b0 = right_.LineStart(r), b1 = right_.LineStart(r1);
            if (l == l1) {
                doneLeft = left_.LineStart(l);
                doneRight = b1;
            } else if (!AlignGroup(l, l1, b0, b1, doneLeft, doneRight)) {
                out.cut = CompareCut::TimeLimit;
                const std::size_t lastLeft = doneLeft == 0 ? 0 : left_.lineOf[doneLeft - 1] + 1;
                const std::size_t lastRight =
                    doneRight == 0 ? r : std::max<std::size_t>(r, right_.lineOf[doneRight - 1] + 1);
                LayOutGroup(l, std::max(l, lastLeft), r, lastRight, doneRight);
                leftEnd = doneLeft;
                rightEnd = doneRight;
                break;
            }
            LayOutGroup(l, l1, r, r1, b1);
            leftEnd = doneLeft;
            rightEnd = doneRight;
        }
        if (k == pairs.size()) break;
        if (k == lastGroup) break;
        // A pair of lines alike but for blanks.
        const Line& a = left_.lines[l1];
        const Line& b = right_.lines[r1];
        if (!AlignBlanks(l1, r1)) {
            AlignRange(a.first, left_.LineLimit(l1), b.first, right_.LineLimit(r1));
        }
        AddRow(static_cast<std::int64_t>(l1), static_cast<std::int64_t>(r1), b.end);
        leftEnd = left_.LineLimit(l1);
        rightEnd = right_.LineLimit(r1);
        l = l1 + 1;
        r = r1 + 1;
    }
    FindChanges(leftEnd, rightEnd);
}

}  // namespace

std::string_view ComparedPart(std::string_view text, Charset charset, const CompareLimits& limits) {
    return text.size() > limits.maxTextBytes ? Preview(text, limits.previewBytes, charset) : text;
}

Result CompareTexts(std::string_view before, std::string_view after, Charset charset,
                    const CompareLimits& limits, Comparison& out) {
    out = Comparison{};
    try {
        Comparer comparer(charset, limits);
        comparer.Run(before, after, out);
        return RESULT_OK;
    } catch (const std::bad_alloc&) {
        out = Comparison{};
        return RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        out = Comparison{};
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace trimlet
