// Script steps 5, 6 and 8: blanks at line ends, runs of blanks, and the space beside an
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
    const BlankSet blanks{ctx.FullWidthBlanks(), false};
    const uint8_t stop = kBlank | kBreak | ctx.FullWidthStop();
    bool atLineStart = true;
    ForEachScriptStretch(
        ctx, in,
        [&](size_t begin, size_t end) {
            size_t copyFrom = begin;
            size_t i = begin;
            while (i < end) {
                const size_t from = i;
                while (i < end && !(kByteClass[ByteAt(in, i)] & stop))
                    ++i;
                if (i > from) atLineStart = false;
                if (i >= end) break;
                const uint8_t cls = kByteClass[ByteAt(in, i)] & stop;
                if (cls & kBreak) {
                    const bool isBreak = StartsWithAt(in, i, nl);
                    i += isBreak ? nl.size() : 1;
                    atLineStart = isBreak;
                } else if ((cls & kBlank) || FullWidthBlankLength(cs, in, i) != 0) {
                    const size_t j = SkipBlanks(cs, in, i, blanks, end);
                    if (atLineStart || j >= n || StartsWithAt(in, j, nl)) {
                        Append(out, in, copyFrom, i);
                        copyFrom = j;
                    }
                    atLineStart = false;
                    i = j;
                } else {
                    i += CharLength(cs, in, i);
                    atLineStart = false;
                }
            }
            Append(out, in, copyFrom, end);
        },
        [&](size_t begin, size_t end) {
            atLineStart = false;
            Append(out, in, begin, end);
        });
}

void CollapseScriptSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const Charset cs = ctx.charset;
    const bool breaksAreBlanks = !ctx.vbScript && (ctx.mode & TM_CR_REG_AS_WSP);
    const BlankSet blanks{ctx.FullWidthBlanks(), breaksAreBlanks};
    const uint8_t stop = kBlank | ctx.FullWidthStop() | (breaksAreBlanks ? kBreak : 0);
    bool spaceWritten = false;  // the last byte written is a collapsed blank
    ForEachScriptStretch(
        ctx, in,
        [&](size_t begin, size_t end) {
            size_t copyFrom = begin;
            size_t i = begin;
            while (i < end) {
                const size_t from = i;
                while (i < end && !(kByteClass[ByteAt(in, i)] & stop))
                    ++i;
                if (i > from) spaceWritten = false;
                if (i >= end) break;
                const uint8_t c = ByteAt(in, i);
                if (!((kByteClass[c] & stop & (kBlank | kBreak)) ||
                      FullWidthBlankLength(cs, in, i) != 0)) {
                    i += CharLength(cs, in, i);
                    spaceWritten = false;
                    continue;
                }
                const size_t j = SkipBlanks(cs, in, i, blanks, end);
                if (spaceWritten) {
                    Append(out, in, copyFrom, i);
                    copyFrom = j;
                } else if (j - i != 1 || c != ' ') {
                    Append(out, in, copyFrom, i);
                    out += ' ';
                    copyFrom = j;
                }
                spaceWritten = true;
                i = j;
            }
            Append(out, in, copyFrom, end);
        },
        [&](size_t begin, size_t end) {
            spaceWritten = false;
            Append(out, in, begin, end);
        });
}

void DeleteOperatorSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const uint8_t op = ctx.vbScript ? kVbsOperator : kJsOperator;
    const uint8_t stop = op | kBlank | (cs == Charset::Cp932 ? kLead932 : 0);
    uint8_t prev = 0;  // the last character written; 0 for none or a double-byte one
    // Whether the space before `right` must stay after `left`.
    const auto spaceNeeded = [&](uint8_t left, size_t right) {
        if (right >= n) return false;
        return FormsToken(left, ByteAt(in, right)) ||
               (ctx.vbScript && IsLineContinuation(in, right));
    };
    ForEachScriptStretch(
        ctx, in,
        [&](size_t begin, size_t end) {
            size_t copyFrom = begin;
            size_t i = begin;
            while (i < end) {
                const size_t from = i;
                while (i < end && !(kByteClass[ByteAt(in, i)] & stop))
                    ++i;
                if (i > from) prev = ByteAt(in, i - 1);
                if (i >= end) break;
                const uint8_t c = ByteAt(in, i);
                if (c >= 0x80) {  // a double-byte character: its trail byte is no operator
                    i += CharLength(cs, in, i);
                    prev = 0;
                } else if (c == ' ') {
                    if (i + 1 < n && (kByteClass[ByteAt(in, i + 1)] & op) &&
                        !spaceNeeded(prev, i + 1)) {
                        Append(out, in, copyFrom, i);
                        copyFrom = i + 1;
                    } else {
                        prev = c;
                    }
                    ++i;
                } else if (!(kByteClass[c] & op)) {  // a tab
                    prev = c;
                    ++i;
                } else {
                    prev = c;
                    ++i;
                    if (i < end && in[i] == ' ' && !spaceNeeded(c, i + 1)) {
                        Append(out, in, copyFrom, i);
                        copyFrom = ++i;
                    }
                }
            }
            Append(out, in, copyFrom, end);
        },
        [&](size_t begin, size_t end) {
            Append(out, in, begin, end);
            const uint8_t last = ByteAt(in, end - 1);
            prev = last < 0x80 ? last : 0;
        });
}

}  // namespace trimlet::engine
