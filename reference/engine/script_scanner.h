#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Tags and SCRIPT blocks as a browser finds them, and the literals, comments and
// stretches of code of script text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/charset.h"
#include "reference/engine/blanks.h"
#include "reference/engine/bytes.h"
#include "reference/engine/pass_context.h"
#include "reference/engine/stops.h"

namespace trimlet::reference::engine {

// ---------------------------------------------------------------------------------
// Tags and SCRIPT blocks

// A quote at q opens an attribute value when only blanks and line breaks stand between it
// and an '=' after the tag's '<' at lt; any other quote is part of a name or an unquoted
// value, and quotes nothing.
inline bool QuoteOpensValue(std::string_view t, size_t lt, size_t q) {
    size_t k = q;
    while (k > lt + 1 && IsBlankOrBreak(ByteAt(t, k - 1)))
        --k;
    return k > lt + 1 && t[k - 1] == '=';
}

// End of the tag whose '<' is at lt: just after its '>', where a quote that opens an
// attribute value skips to the next one of its kind. Without a '>' it runs to the end.
size_t TagEnd(std::string_view t, size_t lt);

// A tag name ends at i: a blank, a line break, a form feed, '/', '>' or the end of the
// text. Anything else (a letter, digit, '-', '_', '.') makes the name a longer one.
inline bool TagNameEndsAt(std::string_view t, size_t i) {
    if (i >= t.size()) return true;
    const uint8_t c = ByteAt(t, i);
    return IsBlankOrBreak(c) || c == '\f' || c == '/' || c == '>';
}

// A SCRIPT start tag or end tag starts at i; "<script-banner>" and "</scripts>" do not.
inline bool ScriptStartTagAt(std::string_view t, size_t i) {
    return StartsWithNoCaseAt(t, i, "<script") && TagNameEndsAt(t, i + 7);
}
inline bool ScriptEndTagAt(std::string_view t, size_t i) {
    return StartsWithNoCaseAt(t, i, "</script") && TagNameEndsAt(t, i + 8);
}

// Where the SCRIPT element whose body starts at `from` ends, as a browser ends it: at the
// first SCRIPT end tag, whatever the script's own syntax says, except that between a
// "<!--" and its "-->" a "<script" start tag hides the next end tag. Returns the
// position of that "</script", or t.size().
size_t ScriptDataEnd(std::string_view t, size_t from);

enum class ScriptKind : uint8_t {
    JavaScript,
    VbScript,
    Data,  // a type that is not a script language: the body is left alone
};

// The kind of the SCRIPT tag at lt: the first "language" or "type" attribute with a
// value decides between VBScript and JavaScript; a "type" that names no script
// language, or an encoded script, makes it Data. `lastRead`, when given, receives the
// position of the last byte the answer depends on (the tag's '>'), or t.size().
ScriptKind ScriptLanguageOf(Charset charset, std::string_view t, size_t lt,
                            size_t* lastRead = nullptr);

// End of the script body that starts at bodyStart (ScriptDataEnd). When `pieces` is
// given it is filled with the body's literals and comments, unless they do not fit in
// kMaxPieces: then it is left empty and false is returned.
bool ScriptBodyEnd(Charset charset, std::string_view t, size_t bodyStart, ScriptKind kind,
                   size_t& bodyEnd, PieceList* pieces = nullptr);
size_t ScriptBodyEnd(Charset charset, std::string_view t, size_t bodyStart, ScriptKind kind);

// Fills `pieces` with the literals and comments of the script code t[from, t.size());
// false (and `pieces` empty) when they do not fit in kMaxPieces.
bool CollectScriptPieces(Charset charset, std::string_view t, size_t from, bool vbScript,
                         PieceList& pieces);

struct ScriptBlock {
    ScriptKind kind;
    size_t kindRead;  // the kind depends on the bytes from lt up to here (inclusive)
    size_t tagEnd;    // just after the opening tag
    size_t bodyEnd;   // at the "</script", or the end of the text
    size_t end;       // just after the closing tag, or the end of the text
    bool piecesComplete = true;
};

// The SCRIPT block that starts at lt (at "<script"). When `pieces` is given it receives
// the body's literals and comments (see ScriptBodyEnd).
ScriptBlock FindScriptBlock(Charset charset, std::string_view t, size_t lt,
                            PieceList* pieces = nullptr);
// Only its end (FindScriptBlock(...).end), which does not depend on the language.
size_t ScriptBlockEnd(std::string_view t, size_t lt);

// ---------------------------------------------------------------------------------
// Literals and comments of script code

// End of the string literal whose quote is at i. JavaScript: up to the next unescaped
// quote of the same kind; a backslash escapes the next character (a CR LF as a whole);
// at an unescaped CR or LF the string ends before it. VBScript: up to the next double
// quote, or before the line break; the backslash is an ordinary character.
size_t StringLiteralEnd(Charset charset, std::string_view t, size_t i, bool vbScript);

// End of the JavaScript template literal whose backquote is at i, across lines and
// through nested `${...}` expressions.
size_t TemplateLiteralEnd(Charset charset, std::string_view t, size_t i);

// End of the regular-expression literal whose '/' is at i: the next unescaped '/'
// outside a class on the same line, then its flags. kNone when there is none; then
// *stop receives the position where the search gave up (the line break).
size_t RegexLiteralEnd(Charset charset, std::string_view t, size_t i, size_t* stop);

// End of the block comment whose "/*" is at i: just after the next "*/", or t.size().
size_t BlockCommentEnd(std::string_view t, size_t i);

// A VBScript comment starts at i: an apostrophe; "rem" followed by a space, tab, CR, LF
// or the end; or ':' followed by spaces and tabs and then such a "rem".
bool VbsCommentAt(std::string_view t, size_t i);

struct ScriptToken {
    size_t codeEnd;       // the code before this token ends here
    size_t end;           // end of the literal or comment that starts at codeEnd
    PieceKind kind;       // End: the text (or the SCRIPT body) ends at codeEnd
    bool afterMultibyte;  // the code just before codeEnd is a double-byte character
};

// Splits script code into stretches of code and the literals and comments between
// them. JavaScript: strings in double quotes and apostrophes, template literals,
// regular-expression literals where a '/' can only start one, "//" and "/*" comments.
// VBScript: strings in double quotes and comments. The body of a SCRIPT element is
// scanned as a text that ends at its ScriptDataEnd: nothing in it reaches past that.
class ScriptScanner {
  public:
    ScriptScanner(Charset charset, std::string_view text, size_t pos, bool vbScript);

    // The next literal or comment and the code before it; after End, End again.
    ScriptToken Next();

  private:
    bool RegexAllowedAt(size_t runStart, size_t at, size_t mbEnd) const;
    bool WordStartAt(size_t runStart, size_t at, size_t mbEnd) const;
    bool ConditionKeywordBefore(size_t runStart, size_t at, size_t mbEnd) const;
    void OpenParen(size_t runStart, size_t at, size_t mbEnd);
    void CloseParen(size_t at);

    // Parentheses opened by "if", "while", "for" or "with": after their ')' a '/'
    // starts a regular expression. One bit per open parenthesis, as deep as kMaxDepth;
    // deeper ones count as ordinary.
    static constexpr size_t kMaxDepth = 1024;

    std::string_view text_;
    size_t pos_;
    Charset charset_;
    bool vbScript_;
    StopScan stops_;
    bool regexAllowed_ = true;  // a '/' may start a regular expression before the current code
    size_t noRegexUntil_ = 0;   // a '/' before this position does not start one
    size_t parenDepth_ = 0;
    size_t conditionEnd_ = kNone;  // just after the ')' that closed the last condition
    std::array<uint64_t, kMaxDepth / 64> conditionParens_{};
};

// Whether the script comment `comment` is one that means something (a licence, JScript
// conditional compilation, the user's own) and stays as written, under ctx.mode.
bool KeptScriptComment(const PassContext& ctx, std::string_view comment);

// Calls code(begin, end) for every stretch of code and of comment text, and
// literal(begin, end) for every literal and comment kept as written (KeptScriptComment),
// in the order of the text. The pieces come from
// ctx.pieces when known, else from a scan; where they land in `out` (which code and
// literal append to) goes to ctx.outPieces when given.
template <class Output, class Code, class Literal>
void ForEachScriptStretch(const PassContext& ctx, std::string_view text, const Output& out,
                          Code&& code, Literal&& literal) {
    const auto piece = [&](const ScriptPiece& p) {
        const size_t outBegin = out.size();
        if ((p.kind == PieceKind::LineComment || p.kind == PieceKind::BlockComment) &&
            !KeptScriptComment(ctx, text.substr(p.begin, p.end - p.begin))) {
            code(p.begin, p.end);
        } else {
            literal(p.begin, p.end);
        }
        if (ctx.outPieces)
            NotePiece(*ctx.outPieces, {p.kind, p.afterMultibyte, outBegin, out.size()});
    };
    size_t pos = 0;
    if (ctx.pieces) {
        for (const ScriptPiece& p : *ctx.pieces) {
            if (p.begin > pos) code(pos, p.begin);
            piece(p);
            pos = p.end;
        }
        if (text.size() > pos) code(pos, text.size());
        return;
    }
    ScriptScanner scanner(ctx.charset, text, 0, ctx.vbScript);
    for (;;) {
        const ScriptToken token = scanner.Next();
        if (token.codeEnd > pos) code(pos, token.codeEnd);
        if (token.kind == PieceKind::End) return;
        piece({token.kind, token.afterMultibyte, token.codeEnd, token.end});
        pos = token.end;
    }
}

}  // namespace trimlet::reference::engine
