// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 5: deletes blank lines, or merges each run of them into one empty line. Lines
// inside a quoted attribute value are data and stay as they are.

#include "reference/engine/markup.h"
#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

void DeleteBlankLines(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const std::string_view nl = ctx.newline;
    const char first = nl[0];
    const bool merge = (ctx.mode & TM_BLANK_LINES_MERGE) != 0;
    const bool textElements = !(ctx.mode & TM_INSIDE_PRE);
    const PreformattedSelectors* styled = ctx.StyledElements();
    const BlankSet blanks{ctx.FullWidthBlanks(), false};
    const PassStops stopSet({.singles = std::string_view(&first, 1),
                             .scriptTags = true,
                             .textTags = textElements,
                             .anyTags = styled != nullptr});
    PassScan stops(stopSet, in);
    QuotedValues values(in, ctx.values, ctx.FullWidthBlanks(), ctx.charset);
    bool blankRun = false;  // positioned at the line break of a blank line
    unsigned blankLines = 0;
    size_t copyFrom = 0;
    size_t i = 0;
    const size_t lead = SkipBlanks(cs, in, 0, blanks);
    if (StartsWithAt(in, lead, nl)) {  // the text begins with a blank line
        blankRun = true;
        copyFrom = i = lead;
    }
    while (i < n) {
        if ((i = stops.Next(i, n)) >= n) break;
        const bool tagStart = in[i] == '<';
        if (!tagStart && !StartsWithAt(in, i, nl)) {
            ++i;
            continue;
        }
        if (const size_t valueEnd = values.ValueEndAt(i, out.size() - copyFrom);
            valueEnd != kNone) {
            i = valueEnd;
            continue;
        }
        if (tagStart) {
            TextElement element = TextElement::None;
            const TagStart tag = TagStartAt(in, i, textElements, element, styled);
            if (tag == TagStart::Script) {
                i = CopiedBlockEnd(ctx, in, i, out.size() + (i - copyFrom));
                values.SkipTo(i);
                continue;
            }
            if (tag == TagStart::ShownAsWritten) {
                i = SkipShownAsWritten(ctx, in, i, element, out.size() - copyFrom);
                values.SkipTo(i);
                continue;
            }
            if (tag == TagStart::ServerCode) {
                i = ServerCodeEnd(in, i);
                values.SkipOver(i);
                continue;
            }
            ++i;
            continue;
        }
        const size_t next = i + nl.size();
        if (blankRun && !(++blankLines == 1 && merge)) {
            Append(out, in, copyFrom, i);
            copyFrom = next;
        }
        const size_t j = SkipBlanks(cs, in, next, blanks);
        if (StartsWithAt(in, j, nl)) {  // the next line is blank too: its blanks go
            blankRun = true;
            Append(out, in, copyFrom, next);
            copyFrom = i = j;
        } else {
            blankRun = false;
            blankLines = 0;
            i = next;
        }
    }
    Append(out, in, copyFrom, n);
    values.Finish(out.size() - n);
}

}  // namespace trimlet::reference::engine
