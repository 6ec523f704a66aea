// PRE blocks, whose content passes 3 to 5 copy unchanged, and the SCRIPT blocks these
// passes copy unchanged.

#include "engine/passes.h"

namespace trimlet::engine {

size_t SkipPreContent(const PassContext& ctx, std::string_view in, size_t i, bool& insidePre,
                      size_t outShift) {
    while ((i = FindByte(in, i, '<')) != kNone) {
        const uint8_t c = i + 1 < in.size() ? ByteAt(in, i + 1) : 0;
        if ((c | 0x20) == 's' && StartsWithNoCaseAt(in, i, "<script")) {
            i = CopiedBlockEnd(ctx, in, i, i + outShift);
        } else if (c == '/' && StartsWithNoCaseAt(in, i, "</pre")) {
            insidePre = false;
            return i;
        } else {
            ++i;
        }
    }
    return in.size();
}

size_t CopiedScriptBlocks::BlockEnd(Charset charset, std::string_view in, size_t lt,
                                    size_t outPos) {
    while (next_ < known_.size() && known_[next_].first < lt)
        ++next_;
    const size_t length = next_ < known_.size() && known_[next_].first == lt
                              ? known_[next_].second
                              : FindScriptBlock(charset, in, lt).end - lt;
    noted_.emplace_back(outPos, length);
    return lt + length;
}

void CopiedScriptBlocks::EndPass() {
    known_.swap(noted_);
    noted_.clear();
    next_ = 0;
}

}  // namespace trimlet::engine
