// Pass 4: collapses every run of blanks (and of line breaks, when they count as
// blanks) to one half-width space.

#include "engine/passes.h"

namespace trimlet::engine {

void CollapseSpaces(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const bool breaksAreBlanks = (ctx.mode & TM_CR_REG_AS_WSP) != 0;
    const BlankSet blanks{ctx.FullWidthBlanks(), breaksAreBlanks};
    const bool preBlocks = !(ctx.mode & TM_INSIDE_PRE);
    const uint8_t stop = kBlank | kLess | ctx.FullWidthStop() | (breaksAreBlanks ? kBreak : 0);
    bool insidePre = false;
    size_t copyFrom = 0;
    size_t i = 0;
    while (i < n) {
        if (insidePre) {
            i = SkipPreContent(cs, in, i, insidePre);
            continue;
        }
        while (i < n && !(kByteClass[ByteAt(in, i)] & stop))
            ++i;
        if (i >= n) break;
        const uint8_t c = ByteAt(in, i);
        const uint8_t cls = kByteClass[c] & stop;
        if (cls & kLess) {
            if (StartsWithNoCaseAt(in, i, "<script")) {
                i = FindScriptBlock(cs, in, i).end;
                continue;
            }
            if (preBlocks && StartsWithNoCaseAt(in, i, "<pre")) insidePre = true;
            ++i;
        } else if ((cls & (kBlank | kBreak)) || FullWidthBlankLength(cs, in, i) != 0) {
            const size_t j = SkipBlanks(cs, in, i, blanks);
            if (j - i != 1 || c != ' ') {  // a single space is already what the run becomes
                Append(out, in, copyFrom, i);
                out += ' ';
                copyFrom = j;
            }
            i = j;
        } else {
            i += CharLength(cs, in, i);
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::engine
