// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Pass 1: deletes HTML comments, except those the trim mode protects, and the HTML
// comments inside SCRIPT blocks unless those are protected too.

#include "reference/engine/comment_kinds.h"
#include "reference/engine/passes.h"

namespace trimlet::reference::engine {

namespace {

bool KeepComment(const PassContext& ctx, std::string_view in, size_t lt, size_t end,
                 bool insideBody) {
    if ((ctx.mode & TM_BODY_COMMENTS_ONLY) && !insideBody) return true;
    return KeepsCommentKind(HtmlCommentKind(in.substr(lt, end - lt), ctx.keptComments), ctx.mode);
}

bool IsAsciiAlnum(uint8_t c) {
    return (kByteClass[c] & kWord) && c != '$' && c != '_';
}

// Whether `left` and the text at `right` in `in`, once nothing stands between them, begin
// markup or a character reference that neither held: "a<" and "div>", "&am" and "p;",
// "<!" and "-- x -->".
bool JoinsIntoMarkup(std::string_view left, std::string_view in, size_t right) {
    if (left.empty() || right >= in.size()) return false;
    const uint8_t r = ByteAt(in, right);
    // Most comments are followed by a line break, a blank or a tag, which join with
    // nothing: `left` (the output just written) is read only for the others.
    if (!IsAsciiAlnum(r) && r != '/' && r != '!' && r != '?' && r != '%' && r != '-' && r != '#' &&
        r != ';') {
        return false;
    }
    const size_t m = left.size();
    const char last = left[m - 1];
    if (last == '<') {
        return ((r | 0x20) >= 'a' && (r | 0x20) <= 'z') || r == '/' || r == '!' || r == '?' ||
               r == '%';
    }
    if (last == '/' && m >= 2 && left[m - 2] == '<')
        return ((r | 0x20) >= 'a' && (r | 0x20) <= 'z');
    if (r == '-' && (left.ends_with("<!") || left.ends_with("<!-"))) return true;
    if (!IsAsciiAlnum(r) && r != '#' && r != ';') return false;
    // "&", then letters, digits or '#', as long as the longest name of a reference.
    constexpr size_t kLongestReference = 32;
    for (size_t k = m; k > 0 && m - k <= kLongestReference; --k) {
        const uint8_t c = static_cast<uint8_t>(left[k - 1]);
        if (c == '&') return true;
        if (!IsAsciiAlnum(c) && c != '#') return false;
    }
    return false;
}

// The last character of t[begin, end) (end > begin, begin a character start) for
// WouldJoin: its byte, or 0x80 when it is a double-byte one.
uint8_t LastChar(Charset cs, std::string_view t, size_t begin, size_t end) {
    const uint8_t c = ByteAt(t, end - 1);
    if (c >= 0x80) return 0x80;
    if (cs == Charset::Cp932 && end - 1 > begin && !CharStartsAt(cs, t, begin, end - 1))
        return 0x80;
    return c;
}

// Writes the code of [begin, end) without "<!--" ... "-->" stretches and the markers.
// Where the code around a deleted stretch would join ("a<!-- -->b"), a blank stays.
// `left` is the last character written (see LastChar).
void CopyCodeOutsideComments(Charset cs, std::string& out, std::string_view in, size_t begin,
                             size_t end, size_t bodyEnd, bool& insideComment, uint8_t& left) {
    const std::string_view code = in.substr(0, end);
    size_t from = begin;
    for (size_t k = begin; k < end;) {
        const char c = code[k];
        if (c == '<' && StartsWithAt(code, k, "<!--")) {
            if (!insideComment) {
                Append(out, code, from, k);
                if (k > from) left = LastChar(cs, code, from, k);
            }
            insideComment = true;
            from = k += 4;
        } else if (c == '-' && StartsWithAt(code, k, "-->")) {
            if (!insideComment) {
                Append(out, code, from, k);
                if (k > from) left = LastChar(cs, code, from, k);
            }
            insideComment = false;
            from = k += 3;
            if (k < bodyEnd && !out.empty() && WouldJoin(left, ByteAt(in, k))) {
                out += ' ';
                left = ' ';
            }
        } else {
            ++k;
        }
    }
    if (!insideComment) {
        Append(out, code, from, end);
        if (end > from) left = LastChar(cs, code, from, end);
    }
}

// Writes the SCRIPT block at lt up to its "</script" without the HTML comments in its
// body, and returns where the walk goes on (at that "</script", or the end).
size_t CopyScriptWithoutComments(const PassContext& ctx, std::string& out, std::string_view in,
                                 size_t lt) {
    const size_t n = in.size();
    const ScriptKind kind = ScriptLanguageOf(ctx.charset, in, lt);
    const size_t tagEnd = TagEnd(in, lt);
    const size_t bodyEnd = tagEnd >= n ? n : ScriptDataEnd(in, tagEnd);
    if (kind == ScriptKind::Data || ServerCodeIn(in, tagEnd, bodyEnd)) {
        Append(out, in, lt, bodyEnd);
        return bodyEnd;
    }
    Append(out, in, lt, tagEnd);
    if (tagEnd >= n) return n;
    ScriptScanner scanner(ctx.charset, in.substr(0, bodyEnd), tagEnd, kind == ScriptKind::VbScript);
    bool insideComment = false;
    uint8_t left = '\n';
    size_t pos = tagEnd;
    for (;;) {
        const ScriptToken token = scanner.Next();
        CopyCodeOutsideComments(ctx.charset, out, in, pos, token.codeEnd, bodyEnd, insideComment,
                                left);
        if (token.kind == PieceKind::End) return token.codeEnd;
        if (!insideComment) {
            Append(out, in, token.codeEnd, token.end);
            left = LastChar(ctx.charset, in, token.codeEnd, token.end);
        }
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
        // The byte after '<' tells the cases apart.
        const uint8_t next = lt + 1 < n ? LowerLetter(ByteAt(in, lt + 1)) : 0;
        if (next == '!' && StartsWithAt(in, lt, "<!--")) {
            const size_t end = CommentEnd(in, lt);
            if (!KeepComment(ctx, in, lt, end, insideBody)) {
                Append(out, in, copyFrom, lt);
                copyFrom = lt;
                if (!JoinsIntoMarkup(out, in, end)) copyFrom = end;
            }
            i = end;
        } else if (next == '%' || next == '?') {
            i = ServerCodeEnd(in, lt);
        } else if (next == '/') {
            if (StartsWithNoCaseAt(in, lt, "</body")) insideBody = false;
            i = lt + 2;
        } else if (next < 'a' || next > 'z') {
            i = lt + 1;
        } else if (next == 's' && ScriptStartTagAt(in, lt)) {
            if (keepScripts) {
                const size_t outPos = out.size() + (lt - copyFrom);
                i = ctx.measured ? ctx.measured->Measure(ctx.charset, in, lt, outPos)
                                 : ScriptBlockEnd(in, lt);
            } else {
                Append(out, in, copyFrom, lt);
                i = copyFrom = CopyScriptWithoutComments(ctx, out, in, lt);
            }
        } else {
            // A tag: a "<!--" inside a quoted value is no comment, nor is one in the text
            // of TEXTAREA, TITLE, XMP, PLAINTEXT or STYLE.
            if (next == 'b' && StartsWithNoCaseAt(in, lt, "<body") && TagNameEndsAt(in, lt + 5))
                insideBody = true;
            i = TagEnd(in, lt);
            if (next == 't' || next == 'x' || next == 'p' || next == 's') {
                const TextElement e = TextElementAt(in, lt);
                if (HoldsOnlyText(e)) i = TextContentEnd(in, i, e);
            }
        }
    }
    Append(out, in, copyFrom, n);
}

}  // namespace trimlet::reference::engine
