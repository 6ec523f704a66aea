// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 4: collapses every run of blanks (and of line breaks, when they count as
// blanks) to one half-width space. Quoted attribute values are data and stay as they are.

#include "reference/engine/markup.h"
#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

void CollapseSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const bool breaksAreBlanks = (ctx.mode & TM_CR_REG_AS_WSP) != 0;
    const BlankSet blanks{ctx.FullWidthBlanks(), breaksAreBlanks};
    const bool textElements = !(ctx.mode & TM_INSIDE_PRE);
    const PreformattedSelectors* styled = ctx.StyledElements();
    const PassStops stopSet({.singles = {},
                             .runs = true,
                             .lineBreakRuns = breaksAreBlanks,
                             .high = ctx.FullWidthBlanks(),
                             .scriptTags = true,
                             .textTags = textElements,
                             .anyTags = styled != nullptr});
    PassScan stops(stopSet, in);
    QuotedValues values(in, ctx.values, ctx.FullWidthBlanks(), ctx.charset);
    size_t copyFrom = 0;
    size_t i = 0;
    while (i < n) {
        if ((i = stops.Next(i, n)) >= n) break;
        const uint8_t c = ByteAt(in, i);
        if (c >= 0x80 && FullWidthBlankLength(cs, in, i) == 0) {
            i += CharLength(cs, in, i);
        } else if (const size_t valueEnd = values.ValueEndAt(i, out.size() - copyFrom);
                   valueEnd != kNone) {
            i = valueEnd;
        } else if (c == '<') {
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
        } else {
            const size_t j = SkipBlanks(cs, in, i, blanks);
            if (j - i != 1 || c != ' ') {  // a single space is already what the run becomes
                Append(out, in, copyFrom, i);
                out += ' ';
                copyFrom = j;
            }
            i = j;
        }
    }
    Append(out, in, copyFrom, n);
    values.Finish(out.size() - n);
}

}  // namespace trimlet::reference::engine
