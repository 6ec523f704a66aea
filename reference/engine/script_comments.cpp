// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Script steps that delete VBScript and JavaScript comments.

#include "reference/engine/comment_kinds.h"
#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

// Whether deleting the comment could move the end of the SCRIPT element it stands in: a
// browser counts "<!--", "-->" and "<script" there, inside comments too.
static bool HoldsScriptMarkers(std::string_view comment) {
    return comment.find("<!--") != kNone || comment.find("-->") != kNone ||
           FindNoCase(comment, 0, "<script") < comment.size();
}

bool KeptScriptComment(const PassContext& ctx, std::string_view comment) {
    if (ctx.scriptMarkers && HoldsScriptMarkers(comment)) return true;
    // Most comments begin with a blank or a letter: those are told apart quickly.
    if (ctx.keptComments.empty() && comment.size() > 2 && comment[2] != '!' && comment[2] != '@' &&
        comment[2] != ' ' && comment[2] != '\t' && comment[2] != '*') {
        return false;
    }
    return KeepsCommentKind(ScriptCommentKind(comment, ctx.keptComments), ctx.mode);
}

namespace {

// Characters that end a unit of a VBScript line and belong to it.
constexpr std::array<bool, 256> kVbsUnitSeparator = [] {
    std::array<bool, 256> t{};
    for (char c : std::string_view("()+*/-[]&|!#.,"))
        t[static_cast<uint8_t>(c)] = true;
    return t;
}();

// Where the code of the VBScript line starting at `first` ends: at a comment, or at
// the line break (or the end). Strings are whole units, so a quote inside one is no
// comment; a string may also start in the middle of a unit ("x=""it's""").
size_t VbsCodeEnd(Charset cs, std::string_view in, size_t first) {
    const size_t n = in.size();
    size_t q = first;
    while (q < n) {
        const uint8_t c = ByteAt(in, q);
        if (c == '\r' || c == '\n') return q;
        if (c == '"') {
            q = SkipSpacesTabs(in, StringLiteralEnd(cs, in, q, true));
            continue;
        }
        if (VbsCommentAt(in, q)) return q;
        do {
            const uint8_t u = ByteAt(in, q);
            if (IsBlankOrBreak(u) || u == '"' || u == '\'') break;
            if (kVbsUnitSeparator[u]) {
                ++q;
                break;
            }
            q += CharLength(cs, in, q);
        } while (q < n);
        q = SkipSpacesTabs(in, q);
    }
    return n;
}

}  // namespace

// Whether the VBScript comment in[from, to) stays: it holds markers of its SCRIPT element,
// or the user listed its beginning.
static bool KeptVbsComment(const PassContext& ctx, std::string_view in, size_t from, size_t to) {
    const std::string_view comment = in.substr(from, to - from);
    if (ctx.scriptMarkers && HoldsScriptMarkers(comment)) return true;
    return !ctx.keptComments.empty() &&
           VbsCommentKind(comment, ctx.keptComments) == CommentKind::UserListed;
}

// Lines end at CR LF, CR or LF alike, so a stray CR or LF of a mixed text ends a line
// too and no code after it can be taken for the rest of a comment.
void DeleteVbsComments(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    size_t i = 0;
    while (i < n) {
        const size_t lineStart = i;
        const size_t first = SkipSpacesTabs(in, i);
        if (VbsCommentAt(in, first)) {  // a comment line goes with its line break
            const size_t br = NextLineBreak(in, first);
            i = br + LineBreakLength(in, br);
            if (KeptVbsComment(ctx, in, first, br)) Append(out, in, lineStart, i);
            continue;
        }
        size_t codeEnd = VbsCodeEnd(ctx.charset, in, first);
        const size_t br = NextLineBreak(in, codeEnd);
        i = br + LineBreakLength(in, br);
        if (codeEnd < br && KeptVbsComment(ctx, in, codeEnd, br)) codeEnd = br;
        Append(out, in, lineStart, codeEnd);
        Append(out, in, br, i);
    }
}

// A deleted comment leaves a blank where the characters around it would otherwise
// join: "a/**/b" is no name "ab", "a -/**/-b" no "a--b". A block comment over several
// lines leaves a line break, which it stood for: "x = 1 /*\n*/ y = 2" needs one.
void DeleteJsComments(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const bool blockComments = (ctx.mode & TM_SCRIPT_BLOCK_COMMENT) != 0;
    const bool lineComments = (ctx.mode & TM_SCRIPT_LINE_COMMENT) != 0;
    size_t copyFrom = 0;
    uint8_t left = '\n';  // the last character written; 0x80 for a double-byte one
    const auto visit = [&](const ScriptPiece& piece) {
        const bool isBlock = piece.kind == PieceKind::BlockComment;
        if ((!(isBlock && blockComments) &&
             !(piece.kind == PieceKind::LineComment && lineComments)) ||
            KeptScriptComment(ctx, in.substr(piece.begin, piece.end - piece.begin))) {
            if (ctx.outPieces) {
                const size_t at = out.size() + (piece.begin - copyFrom);
                NotePiece(*ctx.outPieces,
                          {piece.kind, piece.afterMultibyte, at, at + (piece.end - piece.begin)});
            }
            return;
        }
        if (piece.begin > copyFrom) {
            left = piece.afterMultibyte ? 0x80 : ByteAt(in, piece.begin - 1);
        }
        Append(out, in, copyFrom, piece.begin);
        copyFrom = piece.end;
        if (piece.end >= n) return;
        const uint8_t right = ByteAt(in, piece.end);
        if (isBlock && !(kByteClass[left] & kBreak) && !(kByteClass[right] & kBreak) &&
            NextLineBreak(in.substr(0, piece.end), piece.begin) < piece.end) {
            out += ctx.newline;
            left = '\n';
        } else if (WouldJoin(left, right)) {
            out += ' ';
            left = ' ';
        }
    };
    if (ctx.pieces) {
        for (const ScriptPiece& piece : *ctx.pieces)
            visit(piece);
    } else {
        ScriptScanner scanner(ctx.charset, in, 0, false);
        for (ScriptToken t = scanner.Next(); t.kind != PieceKind::End; t = scanner.Next()) {
            visit({t.kind, t.afterMultibyte, t.codeEnd, t.end});
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::reference::engine
