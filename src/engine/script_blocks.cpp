// Pass 2: trims the body of every SCRIPT block by the script rules of its language.

#include <new>

#include "engine/passes.h"

namespace trimlet::engine {

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
                                size_t bodyEnd, const PieceList& pieces) {
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
    // A "-->" inside a literal or a comment belongs to it (as in "f(); // end -->"),
    // unless that comment is the "//" right before it.
    const ScriptPiece last = pieces.empty() ? ScriptPiece{} : pieces.back();
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

// End of the closing tag searched from `from`: the first "</script" followed by a
// blank, a line break or '>', skipping comments and other tags.
size_t ClosingTagEnd(std::string_view in, size_t from) {
    const size_t n = in.size();
    size_t i = from;
    while ((i = FindByte(in, i, '<')) != kNone) {
        if (StartsWithAt(in, i, "<!--")) {
            const size_t close = in.find("-->", i + 4);
            if (close == kNone) return n;
            i = close + 3;
            continue;
        }
        if (in.size() - i > 8 && in[i + 1] == '/' && StartsWithNoCaseAt(in, i + 2, "script")) {
            const uint8_t after = ByteAt(in, i + 8);
            if (IsBlankOrBreak(after) || after == '>') return TagEnd(in, i);
        }
        i = TagEnd(in, i);
    }
    return n;
}

// `pieces` are the body's literals and comments, found while looking for its end; the
// script steps take them from there instead of scanning the body again.
void AppendTrimmedBody(const PassContext& ctx, std::string& out, std::string_view in,
                       size_t bodyStart, size_t bodyEnd, bool vbScript, PieceList& pieces) {
    const std::string_view body = in.substr(bodyStart, bodyEnd - bodyStart);
    while (!pieces.empty() && pieces.back().begin >= bodyEnd)
        pieces.pop_back();
    if (!pieces.empty() && pieces.back().end > bodyEnd) pieces.back().end = bodyEnd;
    for (ScriptPiece& piece : pieces) {
        piece.begin -= bodyStart;
        piece.end -= bodyStart;
    }
    std::string_view trimmed = body;
    try {
        trimmed = TrimScript(ctx.mode, ctx.charset, vbScript, *ctx.scripts, body, &pieces);
    } catch (const std::bad_alloc&) {
        // No room to trim: the body goes out as it was.
    }
    out.append(trimmed);
}

// Writes the SCRIPT block at lt with its body trimmed; returns where the walk goes on.
size_t TrimBlock(const PassContext& ctx, std::string& out, std::string_view in, size_t lt) {
    const size_t n = in.size();
    const ScriptKind kind = ScriptLanguageOf(ctx.charset, in, lt);
    const size_t tagEnd = TagEnd(in, lt);
    if (tagEnd >= n) {
        Append(out, in, lt, n);
        return n;
    }
    size_t bodyEnd;
    if (kind == ScriptKind::Data) {
        bodyEnd = FindNoCase(in, tagEnd, "</script");
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
        PieceList& pieces = ctx.scripts->bodyPieces;
        pieces.clear();
        const MeasuredScriptBlocks::Block* measured =
            ctx.measured ? ctx.measured->Find(lt, pieces) : nullptr;
        bodyEnd =
            measured ? measured->bodyEnd : ScriptBodyEnd(ctx.charset, in, bodyStart, kind, &pieces);
        const ClosingMarker marker = FindClosingMarker(ctx, in, bodyStart, bodyEnd, pieces);
        AppendTrimmedBody(ctx, out, in, bodyStart, marker.cut, kind == ScriptKind::VbScript,
                          pieces);
        if (marker.found) {
            if (marker.lineBreak) out += ctx.newline;
            if (marker.slashes) out += "//";
            out += "-->";
        }
    }
    if (bodyEnd >= n) return n;
    const size_t closeEnd = ClosingTagEnd(in, bodyEnd);
    Append(out, in, bodyEnd, closeEnd);
    return closeEnd;
}

}  // namespace

void TrimScriptBlocks(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    size_t copyFrom = 0;
    size_t i = 0;
    while ((i = FindByte(in, i, '<')) != kNone) {
        const uint8_t next = i + 1 < n ? ByteAt(in, i + 1) | 0x20 : 0;
        if (next == '!' && StartsWithAt(in, i, "<!--")) {
            const size_t close = in.find("-->", i + 4);
            i = close == kNone ? n : close + 3;
        } else if (next != 's' || !StartsWithNoCaseAt(in, i, "<script")) {
            i = TagEnd(in, i);
        } else {
            Append(out, in, copyFrom, i);
            i = copyFrom = TrimBlock(ctx, out, in, i);
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::engine
