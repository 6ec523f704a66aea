// Script steps: blanks at line ends, runs of blanks, and the space beside an
// operator. Literals are copied unchanged; comment text is trimmed like code.

#include "engine/passes.h"

namespace trimlet::engine {

namespace {

// Two characters that would become another token if the space between them went.
bool FormsToken(uint8_t left, uint8_t right) {
    switch (left) {
        case '+':
            return right == '+';
        case '-':
            return right == '-' || right == '>';
        case '/':
            return right == '/' || right == '*';
        case '*':
            return right == '/';
        case '<':
            return right == '!' || right == '/';
        default:
            return left >= '0' && left <= '9' && right == '.';
    }
}

// A VBScript line continuation: '_' followed by nothing but blanks on its line.
bool IsLineContinuation(std::string_view in, size_t i) {
    if (in[i] != '_') return false;
    const size_t j = SkipSpacesTabs(in, i + 1);
    return j >= in.size() || (kByteClass[ByteAt(in, j)] & kBreak);
}

}  // namespace

void TrimScriptLineEnds(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const std::string_view nl = ctx.newline;
    const bool fullWidth = ctx.FullWidthBlanks();
    const BlankSet blanks{fullWidth, false};
    ForEachScriptStretch(
        ctx, in, out,
        [&](size_t begin, size_t end) {
            size_t copyFrom = begin;
            const auto drop = [&](size_t from, size_t to) {
                if (to > from) {
                    Append(out, in, copyFrom, from);
                    copyFrom = to;
                }
            };
            size_t i = begin;
            if (begin == 0) drop(0, i = SkipBlanks(cs, in, 0, blanks, end));
            size_t lineFrom = i;  // blanks before a line break are looked for back to here
            const std::string_view stretch = in.substr(0, end);
            while ((i = FindByte(stretch, i, nl[0])) != kNone) {
                if (!LineBreakAt(in, i, nl)) {
                    ++i;
                    continue;
                }
                drop(TrailingBlanksStart(cs, in, lineFrom, i, fullWidth), i);
                i += nl.size();
                const size_t j = SkipBlanks(cs, in, i, blanks, end);
                drop(i, j);
                i = lineFrom = j;
            }
            // Comment text that ends its line: its trailing blanks go too.
            if (end >= n || LineBreakAt(in, end, nl)) {
                drop(TrailingBlanksStart(cs, in, lineFrom, end, fullWidth), end);
            }
            Append(out, in, copyFrom, end);
        },
        [&](size_t begin, size_t end) { Append(out, in, begin, end); });
}

void CollapseScriptSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const Charset cs = ctx.charset;
    const bool breaksAreBlanks = !ctx.vbScript && (ctx.mode & TM_CR_REG_AS_WSP);
    const BlankSet blanks{ctx.FullWidthBlanks(), breaksAreBlanks};
    const PassStops stopSet({.singles = {},
                             .runs = true,
                             .lineBreakRuns = breaksAreBlanks,
                             .high = ctx.FullWidthBlanks()});
    PassScan stops(stopSet, in);
    bool spaceWritten = false;  // the last byte written is a collapsed blank
    ForEachScriptStretch(
        ctx, in, out,
        [&](size_t begin, size_t end) {
            const size_t written = out.size();
            size_t copyFrom = begin;
            size_t i = begin;
            if (spaceWritten) copyFrom = i = SkipBlanks(cs, in, begin, blanks, end);
            while ((i = stops.Next(i, end)) < end) {
                const uint8_t c = ByteAt(in, i);
                if (c >= 0x80 && FullWidthBlankLength(cs, in, i) == 0) {
                    i += CharLength(cs, in, i);
                    continue;
                }
                const size_t j = SkipBlanks(cs, in, i, blanks, end);
                if (j - i != 1 || c != ' ') {
                    Append(out, in, copyFrom, i);
                    out += ' ';
                    copyFrom = j;
                }
                i = j;
            }
            Append(out, in, copyFrom, end);
            spaceWritten = out.size() > written ? out.back() == ' ' : spaceWritten;
        },
        [&](size_t begin, size_t end) {
            spaceWritten = false;
            Append(out, in, begin, end);
        });
}

// A space goes when the character before it or the one after it is an operator, unless
// the two would then join into another token. After collapsing, spaces stand alone.
void DeleteOperatorSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const uint8_t op = ctx.vbScript ? kVbsOperator : kJsOperator;
    const StopSet stopSet(" ", cs == Charset::Cp932);
    StopScan stops(stopSet, in);
    uint8_t prev = 0;  // the character before the current stretch; 0 for a double-byte one
    ForEachScriptStretch(
        ctx, in, out,
        [&](size_t begin, size_t end) {
            size_t copyFrom = begin;
            size_t mbEnd = kNone;  // end of the last double-byte character
            size_t i = begin;
            while ((i = stops.Next(i, end)) < end) {
                if (ByteAt(in, i) != ' ') {  // a CP932 double-byte character
                    const size_t len = CharLength(cs, in, i);
                    i += len;
                    if (len > 1) mbEnd = i;
                    continue;
                }
                const uint8_t left = i == mbEnd ? 0 : i == begin ? prev : ByteAt(in, i - 1);
                const uint8_t right = i + 1 < n ? ByteAt(in, i + 1) : 0;
                if (((kByteClass[left] & op) || (i + 1 < n && (kByteClass[right] & op))) &&
                    !(i + 1 < n && FormsToken(left, right)) &&
                    !(ctx.vbScript && i + 1 < n && IsLineContinuation(in, i + 1))) {
                    Append(out, in, copyFrom, i);
                    copyFrom = i + 1;
                }
                ++i;
            }
            Append(out, in, copyFrom, end);
            prev = end == mbEnd ? 0 : ByteAt(in, end - 1);
        },
        [&](size_t begin, size_t end) {
            Append(out, in, begin, end);
            // An unterminated string may end in a double-byte character.
            const uint8_t last = ByteAt(in, end - 1);
            prev = last < 0x80 && CharStartsAt(cs, in, begin, end - 1) ? last : 0;
        });
}

}  // namespace trimlet::engine
