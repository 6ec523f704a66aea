// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 6: deletes the blanks at the very start and the very end of the text.

#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

std::string_view TrimTextEnds(const PassContext& ctx, std::string_view in) {
    const Charset cs = ctx.charset;
    const bool fullWidth = ctx.FullWidthBlanks();
    const size_t begin = SkipBlanks(cs, in, 0, {fullWidth, false});
    size_t end = in.size();
    if (fullWidth && cs == Charset::Cp932) {
        // Whether 81 40 at the end is a blank or the trail of another character shows
        // only when walking forward.
        end = begin;
        for (size_t i = begin; i < in.size();) {
            if (kByteClass[ByteAt(in, i)] & kBlank) {
                ++i;
            } else if (const size_t len = FullWidthBlankLength(cs, in, i); len != 0) {
                i += len;
            } else {
                i += CharLength(cs, in, i);
                end = i;
            }
        }
    } else {
        while (end > begin) {
            if (kByteClass[ByteAt(in, end - 1)] & kBlank) {
                --end;
            } else if (fullWidth && end - begin >= 3 && FullWidthBlankLength(cs, in, end - 3)) {
                end -= 3;  // E3 is never a continuation byte, so this is a whole character
            } else {
                break;
            }
        }
    }
    if (ctx.blocks) ctx.blocks->KeepSpan(begin, end);
    return in.substr(begin, end - begin);
}

}  // namespace trimlet::reference::engine
