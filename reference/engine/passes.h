#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// The passes of the trim engine. Every pass reads `in` once from start to end and
// appends its result to `out`, which the caller has emptied and reserved; no pass
// writes more than it reads.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reference/engine/blanks.h"
#include "reference/engine/bytes.h"
#include "reference/engine/markup.h"
#include "reference/engine/pass_context.h"
#include "reference/engine/script_scanner.h"
#include "reference/engine/stops.h"

namespace trimlet::reference::engine {

// HTML passes 1 to 7, in the order TrimHtmlText runs them.
void DeleteHtmlComments(const PassContext& ctx, std::string& out, std::string_view in);  // 1
void TrimScriptBlocks(const PassContext& ctx, std::string& out, std::string_view in);    // 2
void TrimLineEnds(const PassContext& ctx, std::string& out, std::string_view in);        // 3
void CollapseSpaces(const PassContext& ctx, std::string& out, std::string_view in);      // 4
void DeleteBlankLines(const PassContext& ctx, std::string& out, std::string_view in);    // 5
// Pass 6 only cuts blanks off both ends: it returns the part of `in` that stays.
std::string_view TrimTextEnds(const PassContext& ctx, std::string_view in);             // 6
void DeleteBetweenTags(const PassContext& ctx, std::string& out, std::string_view in);  // 7

// Script steps, in the order TrimScript runs them. ctx.newline is the script text's own
// convention, ctx.vbScript its language and ctx.mode the effective trim mode.
void DeleteVbsComments(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteJsComments(const PassContext& ctx, std::string& out, std::string_view in);
void TrimScriptLineEnds(const PassContext& ctx, std::string& out, std::string_view in);
void CollapseScriptSpaces(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteScriptBlankLines(const PassContext& ctx, std::string& out, std::string_view in);
void DeleteOperatorSpaces(const PassContext& ctx, std::string& out, std::string_view in);

// Runs the script steps over `text` and appends the result to `out`, using
// buffers.first to work in (and the room past the end of `out`). `pieces`, when given,
// are the literals and comments of `text` (no piece reaches past its end). `text` must
// not lie in `out` or buffers.first. Throws std::bad_alloc when a buffer cannot grow,
// leaving `out` longer than it was.
void AppendTrimmedScript(TrimMode trimMode, Charset charset, bool vbScript, ScriptBuffers& buffers,
                         std::string_view text, std::string& out, const PieceList* pieces = nullptr,
                         std::span<const std::string> keptComments = {});

// The same into buffers.second, which the result views.
std::string_view TrimScript(TrimMode trimMode, Charset charset, bool vbScript,
                            ScriptBuffers& buffers, std::string_view text,
                            const PieceList* pieces = nullptr,
                            std::span<const std::string> keptComments = {});

// What a '<' at i starts for passes 3 to 7: a SCRIPT block, server code, an element whose
// content a browser shows as written (only when `textElements`; `element` receives it),
// or nothing of interest. Most tags are told apart by their first letter; with `styled`,
// any start tag may open an element the page's CSS makes preformatted (TextElement::Styled).
enum class TagStart : uint8_t { Other, Script, ServerCode, ShownAsWritten };

// Whether the '<' at i stands inside the name or attributes of a tag that began before it
// ("<p<script>" is one tag, as a browser reads it): looking back, a tag's '<' comes before
// any '>'. Quoted values are not looked into; the look stops at the nearest '<' or '>'.
inline bool InsideEarlierTag(std::string_view in, size_t i) {
    for (size_t k = i; k-- > 0;) {
        const uint8_t b = ByteAt(in, k);
        if (b == '>') return false;
        if (b == '<') {
            size_t name = k + 1;
            if (name < i && in[name] == '/') ++name;
            const uint8_t first = name < i ? ByteAt(in, name) | 0x20 : 0;
            return first >= 'a' && first <= 'z';
        }
    }
    return false;
}

inline TagStart TagStartAt(std::string_view in, size_t i, bool textElements, TextElement& element,
                           const PreformattedSelectors* styled = nullptr) {
    if (i + 1 >= in.size()) return TagStart::Other;
    const uint8_t c = LowerLetter(ByteAt(in, i + 1));
    if (c == '%' || c == '?') return TagStart::ServerCode;
    if (c == 's' && ScriptStartTagAt(in, i) && !InsideEarlierTag(in, i)) return TagStart::Script;
    if (!textElements) return TagStart::Other;
    if (c == 'p' || c == 't' || c == 'x' || c == 'l') {
        element = TextElementAt(in, i);
        if (ShownAsWritten(element)) return TagStart::ShownAsWritten;
        if (element != TextElement::None) return TagStart::Other;
    }
    if (styled != nullptr && c >= 'a' && c <= 'z' && StartTagPreformatted(in, i, *styled)) {
        element = TextElement::Styled;
        return TagStart::ShownAsWritten;
    }
    return TagStart::Other;
}

// The caches of SCRIPT blocks below note at most this many blocks; a pass finds the
// blocks past them itself, with the same result, so that a page of a million tiny
// SCRIPT blocks needs no memory per block.
inline constexpr size_t kMaxNotedBlocks = size_t{1} << 14;

// SCRIPT blocks that pass 1 copies unchanged (when the comments inside them are kept).
// Pass 1 has to find each one's end, and so its literals and comments; it notes them
// where the block lands in its output, and pass 2 takes them from there instead of
// scanning the body again. Like a block's extent, they depend on its own bytes only.
class MeasuredScriptBlocks {
  public:
    struct Block {
        size_t start;    // the '<' of "<script" in pass 2's input
        size_t tagEnd;   // where the start tag ends, in the same positions
        size_t bodyEnd;  // where the body ends, in the same positions
        size_t firstPiece;
        size_t pieceCount;
        // The language, when the bytes it was read from lie in the block (as they do
        // unless a quote in the start tag runs past it): those bytes are the same in
        // pass 2's input.
        bool kindKnown;
        ScriptKind kind;
    };

    // Finds the block at lt in `in` and notes it at outPos; returns its end.
    size_t Measure(Charset charset, std::string_view in, size_t lt, size_t outPos);
    // The block noted at lt, or nullptr; its pieces are appended to `pieces`.
    const Block* Find(size_t lt, PieceList& pieces);

  private:
    std::vector<Block> blocks_;
    PieceList pieces_;  // of all blocks, in pass 2's positions
    PieceList scratch_;
    size_t next_ = 0;
};

// SCRIPT blocks that passes 3 to 5 copy unchanged. A block's extent depends on its own
// bytes only, so each of these passes notes where the blocks it copied land in its
// output, and the next one takes their lengths from there instead of scanning them again.
class CopiedScriptBlocks {
  public:
    // End of the SCRIPT block at lt in `in`; the block lands at outPos of the output.
    size_t BlockEnd(std::string_view in, size_t lt, size_t outPos);
    // The blocks noted in this pass become the known blocks of the next one.
    void EndPass();
    // For a pass that keeps only [begin, end) of its input and copies it whole: the known
    // blocks move with the text, a block cut off at `end` shrinks with it.
    void KeepSpan(size_t begin, size_t end);

  private:
    std::vector<std::pair<size_t, size_t>> known_;  // start and length in the pass's input
    std::vector<std::pair<size_t, size_t>> noted_;  // start and length in its output
    size_t next_ = 0;
};

// End of the SCRIPT block at lt for passes 3 to 5; `outPos` is where it lands in `out`.
inline size_t CopiedBlockEnd(const PassContext& ctx, std::string_view in, size_t lt,
                             size_t outPos) {
    return ctx.blocks ? ctx.blocks->BlockEnd(in, lt, outPos) : ScriptBlockEnd(in, lt);
}

// The element at lt whose content a browser shows as written (passes 3 to 7): moves over
// its start tag and content to the '<' of the end tag that ends it, or to the end. Inside
// PRE and LISTING, markup counts as a browser reads it: a "</pre" inside a comment, a
// quoted attribute value or a text-only element ends nothing, a PRE inside a PRE needs an
// end tag of its own, and SCRIPT blocks are stepped over. Input position p lands at output
// position p + outShift (modulo size_t).
size_t SkipShownAsWritten(const PassContext& ctx, std::string_view in, size_t lt, TextElement e,
                          size_t outShift);

}  // namespace trimlet::reference::engine
