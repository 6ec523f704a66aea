// Pass 3: deletes the blanks at the start and at the end of every line.

#include "engine/passes.h"

namespace trimlet::engine {

void TrimLineEnds(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const Charset cs = ctx.charset;
    const BlankSet blanks{ctx.FullWidthBlanks(), false};
    const bool preBlocks = !(ctx.mode & TM_INSIDE_PRE);
    const uint8_t stop = kBlank | kBreak | kLess | ctx.FullWidthStop();
    bool insidePre = false;
    size_t i = SkipBlanks(cs, in, 0, blanks);
    size_t copyFrom = i;
    while (i < n) {
        if (insidePre) {
            i = SkipPreContent(cs, in, i, insidePre);
            continue;
        }
        while (i < n && !(kByteClass[ByteAt(in, i)] & stop))
            ++i;
        if (i >= n) break;
        const uint8_t cls = kByteClass[ByteAt(in, i)] & stop;
        if (cls & kLess) {
            if (StartsWithNoCaseAt(in, i, "<script")) {
                i = FindScriptBlock(cs, in, i).end;
                continue;
            }
            if (preBlocks && StartsWithNoCaseAt(in, i, "<pre")) insidePre = true;
            ++i;
        } else if (cls & kBreak) {
            // Copy the line break, drop the next line's leading blanks.
            ++i;
            const size_t j = SkipBlanks(cs, in, i, blanks);
            if (j > i) {
                Append(out, in, copyFrom, i);
                copyFrom = i = j;
            }
        } else if ((cls & kBlank) || FullWidthBlankLength(cs, in, i) != 0) {
            // A run of blanks before a line break or the end goes; any other stays.
            const size_t j = SkipBlanks(cs, in, i, blanks);
            if (j >= n || (kByteClass[ByteAt(in, j)] & kBreak)) {
                Append(out, in, copyFrom, i);
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
