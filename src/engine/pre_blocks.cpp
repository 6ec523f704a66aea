// PRE blocks, whose content passes 3 to 5 copy unchanged.

#include "engine/passes.h"

namespace trimlet::engine {

size_t SkipPreContent(Charset charset, std::string_view in, size_t i, bool& insidePre) {
    while ((i = FindByte(in, i, '<')) != kNone) {
        if (StartsWithNoCaseAt(in, i, "<script")) {
            i = FindScriptBlock(charset, in, i).end;
        } else if (StartsWithNoCaseAt(in, i, "</pre")) {
            insidePre = false;
            return i;
        } else {
            ++i;
        }
    }
    return in.size();
}

}  // namespace trimlet::engine
