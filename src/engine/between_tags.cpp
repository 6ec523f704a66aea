// Pass 7: deletes the blanks between a tag's '>' and the next '<'.

#include "engine/passes.h"

namespace trimlet::engine {

void DeleteBetweenTags(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const BlankSet blanks{ctx.FullWidthBlanks(), (ctx.mode & TM_CR_REG_AS_WSP) != 0};
    size_t copyFrom = 0;
    size_t i = 0;
    while ((i = FindByte(in, i, '>')) != kNone) {
        const size_t start = i + 1;
        i = SkipBlanks(ctx.charset, in, start, blanks);
        if (i > start && i < n && in[i] == '<') {
            Append(out, in, copyFrom, start);
            copyFrom = i;
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::engine
