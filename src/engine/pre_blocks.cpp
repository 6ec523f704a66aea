// PRE blocks, whose content passes 3 to 5 copy unchanged, and the SCRIPT blocks that
// passes copy unchanged and measure once.

#include "engine/passes.h"

namespace trimlet::engine {

size_t SkipPreContent(const PassContext& ctx, std::string_view in, size_t i, bool& insidePre,
                      size_t outShift) {
    while ((i = FindByte(in, i, '<')) != kNone) {
        const uint8_t c = i + 1 < in.size() ? ByteAt(in, i + 1) : 0;
        if ((c | 0x20) == 's' && ScriptStartTagAt(in, i)) {
            i = CopiedBlockEnd(ctx, in, i, i + outShift);
        } else if (c == '/' && PreEndTagAt(in, i)) {
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
    if (noted_.size() < kMaxNotedBlocks) noted_.emplace_back(outPos, length);
    return lt + length;
}

size_t MeasuredScriptBlocks::Measure(Charset charset, std::string_view in, size_t lt,
                                     size_t outPos) {
    scratch_.clear();
    const ScriptBlock block = FindScriptBlock(charset, in, lt, &scratch_);
    // Past kMaxPieces in all, pass 2 scans the rest of the bodies itself.
    if (block.kind != ScriptKind::Data && block.tagEnd < in.size() && block.piecesComplete &&
        pieces_.size() + scratch_.size() < kMaxPieces && blocks_.size() < kMaxNotedBlocks) {
        blocks_.push_back({outPos, outPos + (block.bodyEnd - lt), pieces_.size(), scratch_.size()});
        for (ScriptPiece piece : scratch_) {
            piece.begin = outPos + (piece.begin - lt);
            piece.end = outPos + (piece.end - lt);
            pieces_.push_back(piece);
        }
    }
    return block.end;
}

const MeasuredScriptBlocks::Block* MeasuredScriptBlocks::Find(size_t lt, PieceList& pieces) {
    while (next_ < blocks_.size() && blocks_[next_].start < lt)
        ++next_;
    if (next_ >= blocks_.size() || blocks_[next_].start != lt) return nullptr;
    const Block& block = blocks_[next_];
    pieces.insert(
        pieces.end(), pieces_.begin() + static_cast<std::ptrdiff_t>(block.firstPiece),
        pieces_.begin() + static_cast<std::ptrdiff_t>(block.firstPiece + block.pieceCount));
    return &block;
}

void CopiedScriptBlocks::KeepSpan(size_t begin, size_t end) {
    for (const auto& [start, length] : known_) {
        if (start < begin || start >= end) continue;
        noted_.emplace_back(start - begin, length < end - start ? length : end - start);
    }
}

void CopiedScriptBlocks::EndPass() {
    known_.swap(noted_);
    noted_.clear();
    next_ = 0;
}

}  // namespace trimlet::engine
