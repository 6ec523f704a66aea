// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Script steps: blanks at line ends, runs of blanks, and the space beside an
// operator. Literals are copied unchanged; comment text is trimmed like code.

#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

namespace {

// A VBScript line continuation: '_' followed by nothing but blanks on its line.
bool IsLineContinuation(std::string_view in, size_t i) {
    if (in[i] != '_') return false;
    const size_t j = SkipSpacesTabs(in, i + 1);
    return j >= in.size() || (kByteClass[ByteAt(in, j)] & kBreak);
}

// What the code before a run of blanks holding a line break ends with, for deciding whether
// the line break may end a statement.
enum class Before : uint8_t {
    Nothing,      // the text starts with the run
    Operator,     // a token that cannot end an expression
    Value,        // a name, number, literal, ')', ']', '}', "++" or "--"
    Unknown,      // a comment: what it follows is not looked at
    LineComment,  // a line comment kept as written, or a string a line break may end: the
                  // line break after it stays
    JumpOrYield   // return, break, continue, throw or yield
};

bool IsJumpKeyword(std::string_view word) {
    return word == "return" || word == "break" || word == "continue" || word == "throw" ||
           word == "yield";
}

// Whether the character that ends just before p (> begin) is a double-byte one.
bool MultibyteEndsAt(Charset cs, std::string_view in, size_t begin, size_t p) {
    const uint8_t c = ByteAt(in, p - 1);
    return c >= 0x80 || (c >= 0x40 && cs == Charset::Cp932 && !CharStartsAt(cs, in, begin, p - 1));
}

// The token that ends just before `at` (> begin) in the stretch of code from `begin`.
Before TokenBefore(Charset cs, std::string_view in, size_t begin, size_t at) {
    if (MultibyteEndsAt(cs, in, begin, at)) return Before::Value;  // part of a name
    const uint8_t c = ByteAt(in, at - 1);
    if (kByteClass[c] & kWord) {
        size_t k = at - 1;
        while (k > begin && (kByteClass[ByteAt(in, k - 1)] & kWord))
            --k;
        // A word that goes on from a double-byte character is part of a longer name.
        const bool longer = (cs == Charset::Cp932 && !CharStartsAt(cs, in, begin, k)) ||
                            (k > begin && MultibyteEndsAt(cs, in, begin, k));
        return !longer && IsJumpKeyword(in.substr(k, at - k)) ? Before::JumpOrYield : Before::Value;
    }
    switch (c) {
        case ')':
        case ']':
        case '}':
        case '"':
        case '\'':
        case '`':
            return Before::Value;
        case '+':
        case '-':
            return at - 1 > begin && ByteAt(in, at - 2) == c ? Before::Value : Before::Operator;
        case '.':  // "1." is a number
            return at - 1 > begin && ByteAt(in, at - 2) >= '0' && ByteAt(in, at - 2) <= '9'
                       ? Before::Value
                       : Before::Operator;
        default:
            return Before::Operator;
    }
}

// Whether the code at `at` can begin an expression or a statement that a line break
// before it would separate from the code before. Doubtful starts count as such.
bool CanBeginAfterBreak(std::string_view in, size_t at) {
    const uint8_t c = ByteAt(in, at);
    if ((kByteClass[c] & kWord) || c >= 0x80) return true;
    switch (c) {
        case '(':
        case '[':
        case '{':
        case '+':
        case '-':
        case '/':
        case '`':
        case '!':
        case '~':
        case '"':
        case '\'':
        case '\\':  // a name written with an escape
        case '#':   // a private name
        case '@':   // a decorator
            return true;
        case '.':  // ".5" is a number
            return at + 1 < in.size() && ByteAt(in, at + 1) >= '0' && ByteAt(in, at + 1) <= '9';
        default:
            return false;
    }
}

// Whether the run of blanks [i, j) holding a line break must keep it: where the code
// before could end a statement and the code after could go on with it, so that joining
// the lines would change how the script reads (or make it unreadable).
bool KeepsLineBreak(Before before, std::string_view in, size_t j) {
    if (j >= in.size() || before == Before::Nothing) return false;
    if (before == Before::JumpOrYield || before == Before::LineComment) return true;
    if (StartsWithAt(in, j, "-->")) return true;  // a comment only at the start of a line
    return before != Before::Operator && CanBeginAfterBreak(in, j);
}

// The first line break in [i, j): CR LF, CR or LF.
std::string_view FirstLineBreak(std::string_view in, size_t i, size_t j) {
    while (i < j && !(kByteClass[ByteAt(in, i)] & kBreak))
        ++i;
    return in.substr(i, LineBreakLength(in, i));
}

// The stop sets of CollapseScriptSpaces and DeleteOperatorSpaces, made once: the steps
// run for every SCRIPT body.
const PassStops& CollapseStops(bool breaksAreBlanks, bool fullWidth) {
    static const PassStops kSets[4] = {
        PassStops({.singles = {}, .runs = true, .lineBreakRuns = false, .high = false}),
        PassStops({.singles = {}, .runs = true, .lineBreakRuns = false, .high = true}),
        PassStops({.singles = {}, .runs = true, .lineBreakRuns = true, .high = false}),
        PassStops({.singles = {}, .runs = true, .lineBreakRuns = true, .high = true}),
    };
    return kSets[(breaksAreBlanks ? 2 : 0) + (fullWidth ? 1 : 0)];
}

const StopSet& SpaceStops(bool cp932) {
    static const StopSet kSets[2] = {StopSet(" ", false), StopSet(" ", true)};
    return kSets[cp932 ? 1 : 0];
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
    PassScan stops(CollapseStops(breaksAreBlanks, ctx.FullWidthBlanks()), in);
    const bool dropEnds = breaksAreBlanks && (ctx.mode & TM_TRIM_LINE_ENDS);
    bool spaceWritten = false;  // the last byte written is a collapsed blank
    // When line breaks count as blanks: what ends the text before a stretch of code.
    Before beforeStretch = Before::Nothing;
    bool slashOnLine = false;  // a '/' of code stands on the line the walk is on
    ForEachScriptStretch(
        ctx, in, out,
        [&](size_t begin, size_t end) {
            const size_t written = out.size();
            const bool comment = end - begin >= 2 && in[begin] == '/' && in[begin + 1] == '*';
            const bool lineComment = StartsWithAt(in, begin, "//");
            size_t copyFrom = begin;
            size_t i = begin;
            if (spaceWritten) copyFrom = i = SkipBlanks(cs, in, begin, blanks, end);
            size_t looked = i;  // code before this was looked at for a '/'
            // A "<!--" of code comments out the rest of its line as "//" does: the line
            // break after it stays, as after a '/'.
            const auto noteSlash = [&](size_t to) {
                if (!slashOnLine && !comment && !lineComment) {
                    const std::string_view code = in.substr(0, to);
                    slashOnLine =
                        FindByte(code, looked, '/') != kNone || code.find("<!--", looked) != kNone;
                }
                looked = to;
            };
            while ((i = stops.Next(i, end)) < end) {
                const uint8_t c = ByteAt(in, i);
                if (c >= 0x80 && FullWidthBlankLength(cs, in, i) == 0) {
                    i += CharLength(cs, in, i);
                    continue;
                }
                const size_t j = SkipBlanks(cs, in, i, blanks, end);
                std::string_view lineBreak;
                if (breaksAreBlanks) {
                    // A line break that may end a statement stays one; inside a comment
                    // it keeps the comment a line break to the code around it.
                    lineBreak = FirstLineBreak(in, i, j);
                    noteSlash(i);
                    looked = j;
                    // A '/' of code that starts no literal on its line (a division, or a
                    // '/' read as one) might start one when the next line joins it.
                    if (!lineBreak.empty() && !comment && !slashOnLine) {
                        const Before before =
                            i > begin ? TokenBefore(cs, in, begin, i) : beforeStretch;
                        if (!KeepsLineBreak(before, in, j)) lineBreak = {};
                    }
                    if (!lineBreak.empty()) slashOnLine = false;
                }
                if (!lineBreak.empty()) {
                    Append(out, in, copyFrom, i);
                    out += lineBreak;
                    copyFrom = j;
                } else if (dropEnds && (i == 0 || j == in.size())) {
                    // What the line-ends step would delete on the next trim goes now.
                    Append(out, in, copyFrom, i);
                    copyFrom = j;
                } else if (j - i != 1 || c != ' ') {
                    Append(out, in, copyFrom, i);
                    out += ' ';
                    copyFrom = j;
                }
                i = j;
            }
            if (breaksAreBlanks) noteSlash(end);
            Append(out, in, copyFrom, end);
            spaceWritten = out.size() > written ? out.back() == ' ' : spaceWritten;
            if (comment) beforeStretch = Before::Unknown;
        },
        [&](size_t begin, size_t end) {
            spaceWritten = false;
            // A string right before a line break may be one the line break ends unclosed:
            // joining the next line to it would make that line part of the string.
            const bool string = in[begin] == '"' || in[begin] == '\'';
            beforeStretch =
                StartsWithAt(in, begin, "//") ||
                        (string && end < in.size() && (kByteClass[ByteAt(in, end)] & kBreak))
                    ? Before::LineComment
                    : Before::Value;
            Append(out, in, begin, end);
        });
}

// A space goes when the character before it or the one after it is an operator, unless
// the two would then join into another token. After collapsing, spaces stand alone.
void DeleteOperatorSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const uint8_t op = ctx.vbScript ? kVbsOperator : kJsOperator;
    StopScan stops(SpaceStops(cs == Charset::Cp932), in);
    uint8_t prev = 0;  // the character before the current stretch; 0 for a double-byte one
    ForEachScriptStretch(
        ctx, in, out,
        [&](size_t begin, size_t end) {
            size_t copyFrom = begin;
            size_t mbEnd = kNone;  // end of the last double-byte character
            // The blank after the "rem" that starts a VBScript comment keeps it one.
            size_t remBlank = kNone;
            if (ctx.vbScript && in[begin] != '\'' && VbsCommentAt(in, begin)) {
                remBlank = (in[begin] == ':' ? SkipSpacesTabs(in, begin + 1) : begin) + 3;
            }
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
                // A CP932 lead byte with no trail of its own would take the next byte as one.
                const bool loneLead =
                    cs == Charset::Cp932 && (kByteClass[left] & kLead932) && IsCp932Trail(right);
                // "<! --" would become "<!--", which comments out the rest of the line, and
                // "</ script" an end tag that ends the SCRIPT element there.
                const bool afterLt = i >= begin + 2 && in[i - 2] == '<';
                const bool makesCommentOpener =
                    afterLt && ((left == '!' && right == '-') ||
                                (left == '/' && (right | 0x20) >= 'a' && (right | 0x20) <= 'z'));
                if (((kByteClass[left] & op) || (i + 1 < n && (kByteClass[right] & op))) &&
                    !(i + 1 < n && FormsOperatorToken(left, right)) && !loneLead &&
                    !makesCommentOpener &&
                    !(ctx.vbScript && i + 1 < n && IsLineContinuation(in, i + 1)) &&
                    i != remBlank) {
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

}  // namespace trimlet::reference::engine
