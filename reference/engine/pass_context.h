#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// What one pass of the trim engine works with: the mode, the charset, the line-break
// convention, and for script code the literals and comments already found.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/charset.h"
#include "engine/trim_mode.h"
#include "reference/engine/preformatted.h"

namespace trimlet::reference::engine {

enum class PieceKind : uint8_t { End, String, Template, Regex, LineComment, BlockComment };

// A literal or a comment of script code.
struct ScriptPiece {
    PieceKind kind = PieceKind::End;
    bool afterMultibyte = false;  // the code just before it is a double-byte character
    size_t begin = 0;
    size_t end = 0;
};

using PieceList = std::vector<ScriptPiece>;

// A list of pieces holds fewer than kMaxPieces; one that reaches it is incomplete, and
// the step that would use it scans its text itself. This keeps the memory of a script
// made of little but literals (a data array) to a constant. Literals that follow one
// another without code between are one piece: the steps copy both alike.
inline constexpr size_t kMaxPieces = size_t{1} << 16;
inline bool IsLiteral(PieceKind kind) {
    return kind == PieceKind::String || kind == PieceKind::Template || kind == PieceKind::Regex;
}
inline void NotePiece(PieceList& pieces, const ScriptPiece& piece) {
    if (!pieces.empty() && pieces.back().end == piece.begin && IsLiteral(piece.kind) &&
        IsLiteral(pieces.back().kind)) {
        pieces.back().end = piece.end;
    } else if (pieces.size() < kMaxPieces) {
        pieces.push_back(piece);
    }
}
inline bool PiecesComplete(const PieceList& pieces) {
    return pieces.size() < kMaxPieces;
}

// Working buffers of the script steps, reused for every SCRIPT body of one text.
struct ScriptBuffers {
    std::string first;
    std::string second;
    PieceList firstPieces;
    PieceList secondPieces;
    PieceList bodyPieces;  // pass 2: the pieces found while looking for a body's end
};

struct PassContext {
    TrimMode mode = 0;
    Charset charset = Charset::Cp932;
    std::string_view newline = "\r\n";               // the text's line-break convention
    bool vbScript = false;                           // script steps: the language of the text
    ScriptBuffers* scripts = nullptr;                // pass 2: buffers for trimming SCRIPT bodies
    class CopiedScriptBlocks* blocks = nullptr;      // passes 3 to 5: blocks already measured
    class MeasuredScriptBlocks* measured = nullptr;  // passes 1 and 2: the same
    class CopiedValues* values = nullptr;            // passes 3 to 5: quoted attribute values
    const PieceList* pieces = nullptr;               // script steps: the input's pieces, when known
    PieceList* outPieces = nullptr;                  // script steps: receives the output's pieces
    std::span<const std::string> keptComments;       // the user's own comment beginnings
    // Script steps: "<script" occurs in the text, so that "<!--", "-->" and "<script" in
    // a comment may steer where a browser ends the SCRIPT element.
    bool scriptMarkers = false;
    // Passes 3 to 7: elements the page's CSS makes preformatted, copied like PRE. Null or
    // empty: PRE and its kin only.
    const PreformattedSelectors* preformatted = nullptr;

    bool FullWidthBlanks() const { return (mode & TM_ZENKAKU_AS_WSP) != 0; }
    // The elements passes 3 to 7 copy besides PRE and its kin, or null: none, or the mode
    // trims inside PRE.
    const PreformattedSelectors* StyledElements() const {
        return preformatted != nullptr && !preformatted->Empty() && !(mode & TM_INSIDE_PRE)
                   ? preformatted
                   : nullptr;
    }
};

}  // namespace trimlet::reference::engine
