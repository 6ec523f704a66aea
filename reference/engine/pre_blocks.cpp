// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Elements whose content passes 3 to 7 copy unchanged, and the SCRIPT blocks that
// passes copy unchanged and measure once.

#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

size_t SkipShownAsWritten(const PassContext& ctx, std::string_view in, size_t lt, TextElement e,
                          size_t outShift) {
    const size_t n = in.size();
    const size_t from = MarkupEnd(in, lt, MarkupKind::Tag);
    if (HoldsOnlyText(e)) return TextContentEnd(in, from, e);
    const bool pre = e == TextElement::Pre;
    const std::string_view name = TagNameAt(in, lt);  // LISTING, or the SVG element's
    size_t depth = 1;
    size_t i = from;
    while ((i = FindByte(in, i, '<')) != kNone) {
        const MarkupKind kind = MarkupAt(in, i);
        if (kind == MarkupKind::None) {
            ++i;
            continue;
        }
        if (kind != MarkupKind::Tag) {
            i = MarkupEnd(in, i, kind);
            continue;
        }
        if (ScriptStartTagAt(in, i)) {
            i = CopiedBlockEnd(ctx, in, i, i + outShift);
            continue;
        }
        const bool closing = in[i + 1] == '/';
        if (closing) {
            const bool ends = pre ? PreEndTagAt(in, i) : EqualsNoCase(TagNameAt(in, i), name);
            if (ends && --depth == 0) return i;
            i = MarkupEnd(in, i, kind);
            continue;
        }
        const TextElement inner = TextElementAt(in, i);
        const size_t tagEnd = MarkupEnd(in, i, kind);
        if (pre ? inner == e : EqualsNoCase(TagNameAt(in, i), name)) {
            ++depth;
        } else if (HoldsOnlyText(inner)) {
            i = TextContentEnd(in, tagEnd, inner);
            if (i >= n) return n;
            i = MarkupEnd(in, i, kind);
            continue;
        }
        i = tagEnd;
    }
    return n;
}

size_t CopiedScriptBlocks::BlockEnd(std::string_view in, size_t lt, size_t outPos) {
    while (next_ < known_.size() && known_[next_].first < lt)
        ++next_;
    const size_t length = next_ < known_.size() && known_[next_].first == lt
                              ? known_[next_].second
                              : ScriptBlockEnd(in, lt) - lt;
    if (noted_.size() < kMaxNotedBlocks) noted_.emplace_back(outPos, length);
    return lt + length;
}

size_t MeasuredScriptBlocks::Measure(Charset charset, std::string_view in, size_t lt,
                                     size_t outPos) {
    scratch_.clear();
    const ScriptBlock block = FindScriptBlock(charset, in, lt, &scratch_);
    // Past kMaxPieces in all, pass 2 scans the rest of the bodies itself.
    if (block.kind != ScriptKind::Data && block.tagEnd < in.size() && block.piecesComplete &&
        !ServerCodeIn(in, block.tagEnd, block.bodyEnd) &&
        pieces_.size() + scratch_.size() < kMaxPieces && blocks_.size() < kMaxNotedBlocks) {
        const bool kindKnown = block.kindRead < block.end;
        blocks_.push_back({outPos, outPos + (block.tagEnd - lt), outPos + (block.bodyEnd - lt),
                           pieces_.size(), scratch_.size(), kindKnown, block.kind});
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

}  // namespace trimlet::reference::engine
