// Pass 1: deletes HTML comments, except those the trim mode protects, and the HTML
// comments inside SCRIPT blocks unless those are protected too.

#include "engine/passes.h"

namespace trimlet::engine {

namespace {

bool KeepComment(const PassContext& ctx, std::string_view in, size_t lt, bool insideBody) {
    if ((ctx.mode & TM_BODY_COMMENTS_ONLY) && !insideBody) return true;
    const size_t first = SkipSpacesTabs(in, lt + 4);
    if ((ctx.mode & TM_KEEP_SSI) && first < in.size() && in[first] == '#') return true;
    return (ctx.mode & TM_KEEP_DOVETAG) && StartsWithNoCaseAt(in, first, "dovetag") &&
           StartsWithAt(in, SkipSpacesTabs(in, first + 7), "-->");
}

// Writes the code of [begin, end) without "<!--" ... "-->" stretches and the markers.
// Where the code around a deleted stretch would join ("a<!-- -->b"), a blank stays.
void CopyCodeOutsideComments(std::string& out, std::string_view in, size_t begin, size_t end,
                             size_t bodyEnd, bool& insideComment) {
    const std::string_view code = in.substr(0, end);
    size_t from = begin;
    for (size_t k = begin; k < end;) {
        const char c = code[k];
        if (c == '<' && StartsWithAt(code, k, "<!--")) {
            if (!insideComment) Append(out, code, from, k);
            insideComment = true;
            from = k += 4;
        } else if (c == '-' && StartsWithAt(code, k, "-->")) {
            if (!insideComment) Append(out, code, from, k);
            insideComment = false;
            from = k += 3;
            if (k < bodyEnd && !out.empty() &&
                WouldJoin(static_cast<uint8_t>(out.back()), ByteAt(in, k))) {
                out += ' ';
            }
        } else {
            ++k;
        }
    }
    if (!insideComment) Append(out, code, from, end);
}

// Writes the SCRIPT block at lt up to its "</script" without the HTML comments in its
// body, and returns where the walk goes on (at that "</script", or the end).
size_t CopyScriptWithoutComments(const PassContext& ctx, std::string& out, std::string_view in,
                                 size_t lt) {
    const size_t n = in.size();
    const ScriptKind kind = ScriptLanguageOf(ctx.charset, in, lt);
    const size_t tagEnd = TagEnd(in, lt);
    const size_t bodyEnd = tagEnd >= n ? n : ScriptDataEnd(in, tagEnd);
    if (kind == ScriptKind::Data) {
        Append(out, in, lt, bodyEnd);
        return bodyEnd;
    }
    Append(out, in, lt, tagEnd);
    if (tagEnd >= n) return n;
    ScriptScanner scanner(ctx.charset, in.substr(0, bodyEnd), tagEnd, kind == ScriptKind::VbScript);
    bool insideComment = false;
    size_t pos = tagEnd;
    for (;;) {
        const ScriptToken token = scanner.Next();
        CopyCodeOutsideComments(out, in, pos, token.codeEnd, bodyEnd, insideComment);
        if (token.kind == PieceKind::End) return token.codeEnd;
        if (!insideComment) Append(out, in, token.codeEnd, token.end);
        pos = token.end;
    }
}

}  // namespace

void DeleteHtmlComments(const PassContext& ctx, std::string& out, std::string_view in) {
    const size_t n = in.size();
    const bool keepScripts = (ctx.mode & TM_KEEP_SCRIPT_HTML_COMMENT) != 0;
    bool insideBody = false;
    size_t copyFrom = 0;
    size_t i = 0;
    while ((i = FindByte(in, i, '<')) != kNone) {
        const size_t lt = i;
        // The byte after '<' tells the four cases apart.
        const uint8_t next = lt + 1 < n ? ByteAt(in, lt + 1) | 0x20 : 0;
        if (next == '!' && StartsWithAt(in, lt, "<!--")) {
            const size_t close = in.find("-->", lt + 4);
            const size_t end = close == kNone ? n : close + 3;
            if (!KeepComment(ctx, in, lt, insideBody)) {
                Append(out, in, copyFrom, lt);
                copyFrom = end;
            }
            i = end;
        } else if ((next == 'b' && StartsWithNoCaseAt(in, lt, "<body")) ||
                   (next == '/' && StartsWithNoCaseAt(in, lt, "</body"))) {
            insideBody = next == 'b';
            const size_t gt = FindByte(in, lt, '>');
            i = gt == kNone ? n : gt + 1;
        } else if (next == 's' && ScriptStartTagAt(in, lt)) {
            if (keepScripts) {
                const size_t outPos = out.size() + (lt - copyFrom);
                i = ctx.measured ? ctx.measured->Measure(ctx.charset, in, lt, outPos)
                                 : FindScriptBlock(ctx.charset, in, lt).end;
            } else {
                Append(out, in, copyFrom, lt);
                i = copyFrom = CopyScriptWithoutComments(ctx, out, in, lt);
            }
        } else {
            i = lt + 1;
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::engine
