// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 2: trims the body of every SCRIPT block by the script rules of its language.

#include <new>

#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

namespace {

// The closing "-->" of an old-style hidden script ("<!-- ... //-->") with the "//" and
// the line break before it, which are written back after the trimmed body.
struct ClosingMarker {
    size_t cut;  // the body to trim ends here
    bool found = false;
    bool slashes = false;
    bool lineBreak = false;
};

ClosingMarker FindClosingMarker(const PassContext& ctx, std::string_view in, size_t bodyStart,
                                size_t bodyEnd, const ScriptPiece& last) {
    ClosingMarker marker{bodyEnd};
    size_t j = bodyEnd;
    while (j > bodyStart && IsBlankOrBreak(ByteAt(in, j - 1)))
        --j;
    if (j - bodyStart < 3 || !StartsWithAt(in, j - 3, "-->")) return marker;
    size_t cut = j - 3;
    size_t k = cut;
    while (k > bodyStart && (kByteClass[ByteAt(in, k - 1)] & kBlank))
        --k;
    const bool slashes = k - bodyStart >= 2 && in[k - 2] == '/' && in[k - 1] == '/';
    // Without the "//" a "-->" closes the hidden script only at the start of its line;
    // after code it is an operator ("n -->" reads "n-- >").
    if (!slashes && k > bodyStart && !(kByteClass[ByteAt(in, k - 1)] & kBreak)) return marker;
    // A "-->" inside a literal or a comment belongs to it (as in "f(); // end -->"),
    // unless that comment is the "//" right before it.
    const bool insidePiece = last.kind != PieceKind::End && last.begin <= cut && cut < last.end;
    if (insidePiece && !(slashes && last.kind == PieceKind::LineComment && last.begin == k - 2)) {
        return marker;
    }
    marker.found = true;
    if (slashes) {
        marker.slashes = true;
        cut = k - 2;
    }
    k = cut;
    while (k > bodyStart && (kByteClass[ByteAt(in, k - 1)] & kBlank))
        --k;
    const std::string_view nl = ctx.newline;
    if (k - bodyStart >= nl.size() && StartsWithAt(in, k - nl.size(), nl)) {
        marker.lineBreak = true;
        cut = k - nl.size();
    }
    marker.cut = cut;
    return marker;
}

// The last literal or comment of the script code in t[from, t.size()).
ScriptPiece LastPiece(Charset charset, std::string_view t, size_t from, bool vbScript) {
    ScriptScanner scanner(charset, t, from, vbScript);
    ScriptPiece last;
    for (ScriptToken token = scanner.Next(); token.kind != PieceKind::End; token = scanner.Next())
        last = {token.kind, token.afterMultibyte, token.codeEnd, token.end};
    return last;
}

// `pieces` are the body's literals and comments, found while looking for its end; the
// script steps take them from there instead of scanning the body again. Without
// `known` they scan it themselves.
void AppendTrimmedBody(const PassContext& ctx, std::string& out, std::string_view in,
                       size_t bodyStart, size_t bodyEnd, bool vbScript, PieceList& pieces,
                       bool known) {
    const std::string_view body = in.substr(bodyStart, bodyEnd - bodyStart);
    while (!pieces.empty() && pieces.back().begin >= bodyEnd)
        pieces.pop_back();
    if (!pieces.empty() && pieces.back().end > bodyEnd) pieces.back().end = bodyEnd;
    for (ScriptPiece& piece : pieces) {
        piece.begin -= bodyStart;
        piece.end -= bodyStart;
    }
    ScriptBuffers& buffers = *ctx.scripts;
    const size_t mark = out.size();
    try {
        AppendTrimmedScript(ctx.mode, ctx.charset, vbScript, buffers, body, out,
                            known ? &pieces : nullptr, ctx.keptComments);
    } catch (const std::bad_alloc&) {
        // No room to trim: the body goes out as it was.
        out.resize(mark);
        out.append(body);
    }
    // A large body leaves a large working buffer, which is not kept for the next.
    constexpr size_t kKeptCapacity = size_t{1} << 20;
    if (buffers.first.capacity() > kKeptCapacity) std::string().swap(buffers.first);
}

// Writes the SCRIPT block at lt with its body trimmed; returns where the walk goes on.
size_t TrimBlock(const PassContext& ctx, std::string& out, std::string_view in, size_t lt) {
    const size_t n = in.size();
    PieceList& pieces = ctx.scripts->bodyPieces;
    pieces.clear();
    // Pass 1 notes only script bodies without server code, and no Data blocks.
    const MeasuredScriptBlocks::Block* measured =
        ctx.measured ? ctx.measured->Find(lt, pieces) : nullptr;
    const ScriptKind kind =
        measured && measured->kindKnown ? measured->kind : ScriptLanguageOf(ctx.charset, in, lt);
    if (kind == ScriptKind::Data) {
        measured = nullptr;
        pieces.clear();
    }
    const size_t tagEnd = measured ? measured->tagEnd : TagEnd(in, lt);
    if (tagEnd >= n) {
        Append(out, in, lt, n);
        return n;
    }
    // The body ends where the element does, counted from the tag: a "<!--" there changes
    // where that is.
    size_t bodyEnd = measured ? measured->bodyEnd : ScriptDataEnd(in, tagEnd);
    // Server code inside a script makes it a template for the server: not ours to trim.
    if (kind == ScriptKind::Data || (!measured && ServerCodeIn(in, tagEnd, bodyEnd))) {
        Append(out, in, lt, bodyEnd);
    } else {
        Append(out, in, lt, tagEnd);
        size_t bodyStart = tagEnd;
        const size_t afterBlanks = SkipBlanks(ctx.charset, in, tagEnd, {false, true});
        if (StartsWithAt(in, afterBlanks, "<!--")) {
            out += "<!--";
            bodyStart = afterBlanks + 4;
            const size_t p = SkipSpacesTabs(in, bodyStart);
            if (StartsWithAt(in, p, ctx.newline)) {
                out += ctx.newline;
                bodyStart = p + ctx.newline.size();
            }
        }
        const bool vbScript = kind == ScriptKind::VbScript;
        const bool known = measured || CollectScriptPieces(ctx.charset, in.substr(0, bodyEnd),
                                                           bodyStart, vbScript, pieces);
        const ScriptPiece last =
            !known           ? LastPiece(ctx.charset, in.substr(0, bodyEnd), bodyStart, vbScript)
            : pieces.empty() ? ScriptPiece{}
                             : pieces.back();
        const ClosingMarker marker = FindClosingMarker(ctx, in, bodyStart, bodyEnd, last);
        AppendTrimmedBody(ctx, out, in, bodyStart, marker.cut, vbScript, pieces, known);
        if (marker.found) {
            if (marker.lineBreak) out += ctx.newline;
            if (marker.slashes) out += "//";
            out += "-->";
        }
    }
    if (bodyEnd >= n) return n;
    const size_t closeEnd = TagEnd(in, bodyEnd);
    Append(out, in, bodyEnd, closeEnd);
    return closeEnd;
}

}  // namespace

void TrimScriptBlocks(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    size_t copyFrom = 0;
    size_t i = 0;
    while ((i = FindByte(in, i, '<')) != kNone) {
        const uint8_t next = i + 1 < n ? LowerLetter(ByteAt(in, i + 1)) : 0;
        if (next == '!' && StartsWithAt(in, i, "<!--")) {
            i = CommentEnd(in, i);
        } else if (next == '%' || next == '?') {
            i = ServerCodeEnd(in, i);
        } else if (next != '/' && next != '!' && (next < 'a' || next > 'z')) {
            ++i;  // "<<script>" and "a < b": the '<' is text, as a browser reads it
        } else if (next != 's' || !ScriptStartTagAt(in, i)) {
            // A "<script" in the text of TEXTAREA, XMP, PLAINTEXT, TITLE or STYLE is text.
            const TextElement e = next == 't' || next == 'x' || next == 'p' || next == 's'
                                      ? TextElementAt(in, i)
                                      : TextElement::None;
            i = TagEnd(in, i);
            if (HoldsOnlyText(e)) i = TextContentEnd(in, i, e);
        } else {
            Append(out, in, copyFrom, i);
            i = copyFrom = TrimBlock(ctx, out, in, i);
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::reference::engine
