// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 3: deletes the blanks at the start and at the end of every line. Lines inside a
// quoted attribute value are data and stay as they are.

#include "reference/engine/markup.h"
#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

void TrimLineEnds(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const bool fullWidth = ctx.FullWidthBlanks();
    const BlankSet blanks{fullWidth, false};
    const bool textElements = !(ctx.mode & TM_INSIDE_PRE);
    const PreformattedSelectors* styled = ctx.StyledElements();
    const PassStops stopSet({.singles = "\r\n",
                             .scriptTags = true,
                             .textTags = textElements,
                             .anyTags = styled != nullptr});
    PassScan stops(stopSet, in);
    QuotedValues values(in, ctx.values, ctx.FullWidthBlanks(), ctx.charset);
    size_t i = SkipBlanks(cs, in, 0, blanks);
    size_t copyFrom = i;
    size_t lineFrom = i;  // blanks before a line break are looked for back to here
    const auto dropBlanksBefore = [&](size_t end) {
        const size_t start = TrailingBlanksStart(cs, in, lineFrom, end, fullWidth);
        if (start < end) {
            Append(out, in, copyFrom, start);
            copyFrom = end;
        }
    };
    while (i < n) {
        if ((i = stops.Next(i, n)) >= n) {
            const size_t start = TrailingBlanksStart(cs, in, lineFrom, n, fullWidth);
            if (start < n && values.ValueEndAt(start, out.size() - copyFrom) == kNone)
                dropBlanksBefore(n);
            break;
        }
        if (const size_t valueEnd = values.ValueEndAt(i, out.size() - copyFrom);
            valueEnd != kNone) {
            i = lineFrom = valueEnd;
            continue;
        }
        if (in[i] == '<') {
            TextElement element = TextElement::None;
            const TagStart tag = TagStartAt(in, i, textElements, element, styled);
            if (tag == TagStart::Script) {
                i = lineFrom = CopiedBlockEnd(ctx, in, i, out.size() + (i - copyFrom));
                values.SkipTo(i);
                continue;
            }
            if (tag == TagStart::ShownAsWritten) {
                i = lineFrom = SkipShownAsWritten(ctx, in, i, element, out.size() - copyFrom);
                values.SkipTo(i);
                continue;
            }
            if (tag == TagStart::ServerCode) {
                i = lineFrom = ServerCodeEnd(in, i);
                values.SkipOver(i);
                continue;
            }
            ++i;
            continue;
        }
        // A line break: the blanks before it go, it stays, the next line's leading
        // blanks go.
        dropBlanksBefore(i);
        i += in[i] == '\r' && i + 1 < n && in[i + 1] == '\n' ? 2 : 1;
        const size_t j = SkipBlanks(cs, in, i, blanks);
        if (j > i) {
            Append(out, in, copyFrom, i);
            copyFrom = j;
        }
        i = lineFrom = j;
    }
    Append(out, in, copyFrom, n);
    values.Finish(out.size() - n);
}

}  // namespace trimlet::reference::engine
