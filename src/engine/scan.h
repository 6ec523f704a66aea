#pragma once
// Scanning helpers shared by every pass of the trim engine: byte classes, the
// character rules of both charsets, blanks, line breaks, tags, SCRIPT blocks, string
// literals and the tokenizer of script code. Every scan is bounded by the length of its
// text, and an embedded NUL is an ordinary byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/charset.h"
#include "engine/trim_mode.h"

namespace trimlet::engine {

inline constexpr size_t kNone = std::string_view::npos;

// ---------------------------------------------------------------------------------
// Byte classes

inline constexpr uint8_t kBlank = 0x01;        // space, tab
inline constexpr uint8_t kBreak = 0x02;        // CR, LF
inline constexpr uint8_t kLess = 0x04;         // '<'
inline constexpr uint8_t kLead932 = 0x08;      // lead byte of a CP932 double-byte character
inline constexpr uint8_t kLeadE3 = 0x10;       // first byte of the UTF-8 full-width blank
inline constexpr uint8_t kWord = 0x20;         // ASCII letter, digit, '_' or '$'
inline constexpr uint8_t kJsOperator = 0x40;   // operator character of JavaScript
inline constexpr uint8_t kVbsOperator = 0x80;  // operator character of VBScript

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> t{};
    t[' '] |= kBlank;
    t['\t'] |= kBlank;
    t['\r'] |= kBreak;
    t['\n'] |= kBreak;
    t['<'] |= kLess;
    for (int c = 0x81; c <= 0x9F; ++c)
        t[c] |= kLead932;
    for (int c = 0xE0; c <= 0xFC; ++c)
        t[c] |= kLead932;
    t[0xE3] |= kLeadE3;
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] |= kWord;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] |= kWord;
    for (int c = '0'; c <= '9'; ++c)
        t[c] |= kWord;
    t['_'] |= kWord;
    t['$'] |= kWord;
    for (char c : std::string_view("!%()*+,-./:;<=>?[]{}|~"))
        t[static_cast<uint8_t>(c)] |= kJsOperator;
    for (char c : std::string_view("!#%()*+,-./<=>?[]|"))
        t[static_cast<uint8_t>(c)] |= kVbsOperator;
    return t;
}

inline constexpr std::array<uint8_t, 256> kByteClass = MakeByteClasses();

inline uint8_t ByteAt(std::string_view t, size_t i) {
    return static_cast<uint8_t>(t[i]);
}
inline bool IsBlankOrBreak(uint8_t c) {
    return kByteClass[c] & (kBlank | kBreak);
}
inline bool IsWordish(uint8_t c) {
    return (kByteClass[c] & kWord) || c >= 0x80;
}

// ---------------------------------------------------------------------------------
// Context of one pass

// Working buffers of the script steps, reused for every SCRIPT body of one text.
struct ScriptBuffers {
    std::string first;
    std::string second;
};

struct PassContext {
    TrimMode mode = 0;
    Charset charset = Charset::Cp932;
    std::string_view newline = "\r\n";  // the text's line-break convention
    bool vbScript = false;              // script steps: the language of the text
    ScriptBuffers* scripts = nullptr;   // pass 2: buffers for trimming SCRIPT bodies

    bool FullWidthBlanks() const { return (mode & TM_ZENKAKU_AS_WSP) != 0; }
    // The byte class a hot loop must stop at so that it can see a full-width blank.
    uint8_t FullWidthStop() const {
        if (!FullWidthBlanks()) return 0;
        return charset == Charset::Cp932 ? kLead932 : kLeadE3;
    }
};

// ---------------------------------------------------------------------------------
// Characters

inline constexpr bool IsCp932Trail(uint8_t c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Length of the UTF-8 character at i: a lead byte takes the continuation bytes that
// follow it (never an ASCII byte); a stray byte stands alone.
inline size_t Utf8CharLength(std::string_view t, size_t i) {
    const uint8_t c = ByteAt(t, i);
    size_t more = c >= 0xF8 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    size_t len = 1;
    while (more-- > 0 && i + len < t.size() && (ByteAt(t, i + len) & 0xC0) == 0x80)
        ++len;
    return len;
}

// Length of the character at i (i < t.size()).
inline size_t CharLength(Charset charset, std::string_view t, size_t i) {
    const uint8_t c = ByteAt(t, i);
    if (c < 0x80) return 1;
    if (charset == Charset::Utf8) return Utf8CharLength(t, i);
    return (kByteClass[c] & kLead932) && i + 1 < t.size() && IsCp932Trail(ByteAt(t, i + 1)) ? 2 : 1;
}

// Length of the full-width blank at the character start i, or 0.
inline size_t FullWidthBlankLength(Charset charset, std::string_view t, size_t i) {
    if (charset == Charset::Cp932) {
        return i + 1 < t.size() && ByteAt(t, i) == 0x81 && ByteAt(t, i + 1) == 0x40 ? 2 : 0;
    }
    return i + 2 < t.size() && ByteAt(t, i) == 0xE3 && ByteAt(t, i + 1) == 0x80 &&
                   ByteAt(t, i + 2) == 0x80
               ? 3
               : 0;
}

// A cursor over a text, bounded by its length, that moves by characters of its charset.
class Cursor {
  public:
    Cursor(std::string_view text, Charset charset, size_t pos = 0)
        : text_(text), charset_(charset), pos_(pos < text.size() ? pos : text.size()) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    size_t Pos() const { return pos_; }
    // The byte `ahead` bytes on, or -1 past the end (NUL is an ordinary byte).
    int Peek(size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? ByteAt(text_, pos_ + ahead) : -1;
    }
    void Move(size_t n) { pos_ = n < text_.size() - pos_ ? pos_ + n : text_.size(); }
    void MoveChar() {
        if (!AtEnd()) pos_ += CharLength(charset_, text_, pos_);
    }

  private:
    std::string_view text_;
    Charset charset_;
    size_t pos_;
};

// ---------------------------------------------------------------------------------
// Finding and comparing

inline size_t FindByte(std::string_view t, size_t from, char c) {
    if (from >= t.size()) return kNone;
    const void* p = std::memchr(t.data() + from, c, t.size() - from);
    return p ? static_cast<size_t>(static_cast<const char*>(p) - t.data()) : kNone;
}

inline bool StartsWithAt(std::string_view t, size_t i, std::string_view s) {
    return i <= t.size() && t.size() - i >= s.size() &&
           std::memcmp(t.data() + i, s.data(), s.size()) == 0;
}

// `lower` is ASCII lower case; the text's letters compare without regard to case.
inline bool StartsWithNoCaseAt(std::string_view t, size_t i, std::string_view lower) {
    if (i > t.size() || t.size() - i < lower.size()) return false;
    for (size_t k = 0; k < lower.size(); ++k) {
        uint8_t c = ByteAt(t, i + k);
        if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
        if (c != static_cast<uint8_t>(lower[k])) return false;
    }
    return true;
}

// Position of the first match of `lower` (case ignored) at or after `from`, or t.size().
size_t FindNoCase(std::string_view t, size_t from, std::string_view lower);

inline void Append(std::string& out, std::string_view in, size_t begin, size_t end) {
    if (end > begin) out.append(in.data() + begin, end - begin);
}

// ---------------------------------------------------------------------------------
// Blanks and line breaks

struct BlankSet {
    bool fullWidth = false;   // the full-width blank counts
    bool lineBreaks = false;  // CR and LF count
};

// Moves over spaces and tabs, and full-width blanks and line breaks when `set` says so,
// from the character start i up to `limit` (at most t.size()).
inline size_t SkipBlanks(Charset charset, std::string_view t, size_t i, BlankSet set,
                         size_t limit) {
    const uint8_t mask = kBlank | (set.lineBreaks ? kBreak : 0);
    while (i < limit) {
        if (kByteClass[ByteAt(t, i)] & mask) {
            ++i;
            continue;
        }
        if (set.fullWidth) {
            const size_t len = FullWidthBlankLength(charset, t, i);
            if (len != 0 && i + len <= limit) {
                i += len;
                continue;
            }
        }
        break;
    }
    return i;
}

inline size_t SkipBlanks(Charset charset, std::string_view t, size_t i, BlankSet set) {
    return SkipBlanks(charset, t, i, set, t.size());
}

inline size_t SkipSpacesTabs(std::string_view t, size_t i) {
    while (i < t.size() && (kByteClass[ByteAt(t, i)] & kBlank))
        ++i;
    return i;
}

// "\r\n" when that pair occurs in the text; else "\n" when an LF occurs; else "\r" when
// a CR occurs; else "\r\n".
std::string_view LineBreakConvention(std::string_view t);

// Position of the next CR or LF at or after i, or t.size().
inline size_t NextLineBreak(std::string_view t, size_t i) {
    while (i < t.size() && !(kByteClass[ByteAt(t, i)] & kBreak))
        ++i;
    return i;
}

// Length of the line break at i: 2 for CR LF, 1 for a lone CR or LF, 0 for anything else.
inline size_t LineBreakLength(std::string_view t, size_t i) {
    if (i >= t.size()) return 0;
    const uint8_t c = ByteAt(t, i);
    if (c == '\r') return i + 1 < t.size() && ByteAt(t, i + 1) == '\n' ? 2 : 1;
    return c == '\n' ? 1 : 0;
}

// ---------------------------------------------------------------------------------
// Tags and SCRIPT blocks

// End of the tag whose '<' is at lt: just after its '>', where a double quote or an
// apostrophe skips to the next one of its kind. Without a '>' it runs to the end.
size_t TagEnd(std::string_view t, size_t lt);

enum class ScriptKind : uint8_t {
    JavaScript,
    VbScript,
    Data,  // a type that is not a script language: the body is left alone
};

// The kind of the SCRIPT tag at lt: the first "language" or "type" attribute with a
// value decides between VBScript and JavaScript; a "type" that names no script
// language, or an encoded script, makes it Data.
ScriptKind ScriptLanguageOf(Charset charset, std::string_view t, size_t lt);

enum class PieceKind : uint8_t { End, String, Template, Regex, LineComment, BlockComment };

struct ScriptPiece {
    PieceKind kind = PieceKind::End;
    size_t begin = 0;
    size_t end = 0;
};

// End of the script body that starts at bodyStart: the position of the "</script"
// that ends it, outside literals and comments, or t.size(). When `last` is given it
// receives the last literal or comment of the body.
size_t ScriptBodyEnd(Charset charset, std::string_view t, size_t bodyStart, ScriptKind kind,
                     ScriptPiece* last = nullptr);

struct ScriptBlock {
    ScriptKind kind;
    size_t tagEnd;   // just after the opening tag
    size_t bodyEnd;  // at the "</script", or the end of the text
    size_t end;      // just after the closing tag, or the end of the text
};

// The SCRIPT block that starts at lt (at "<script").
ScriptBlock FindScriptBlock(Charset charset, std::string_view t, size_t lt);

// ---------------------------------------------------------------------------------
// Literals and comments of script code

// End of the string literal whose quote is at i. JavaScript: up to the next unescaped
// quote of the same kind; a backslash escapes the next character (a CR LF as a whole);
// at an unescaped CR or LF the string ends before it. VBScript: up to the next double
// quote, or before the line break; the backslash is an ordinary character.
size_t StringLiteralEnd(Charset charset, std::string_view t, size_t i, bool vbScript);

// End of the JavaScript template literal whose backquote is at i, across lines and
// through nested `${...}` expressions. With `inHtml` it ends before a "</script".
size_t TemplateLiteralEnd(Charset charset, std::string_view t, size_t i, bool inHtml);

// End of the regular-expression literal whose '/' is at i: the next unescaped '/'
// outside a class on the same line, then its flags. kNone when there is none; then
// *stop receives the position where the search gave up (the line break).
size_t RegexLiteralEnd(Charset charset, std::string_view t, size_t i, bool inHtml, size_t* stop);

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
// VBScript: strings in double quotes and comments. With `inHtml` the text ends at the
// first "</script" outside literals and comments.
class ScriptScanner {
  public:
    ScriptScanner(Charset charset, std::string_view text, size_t pos, bool vbScript, bool inHtml);

    // The next literal or comment and the code before it; after End, End again.
    ScriptToken Next();

  private:
    bool RegexAllowedAt(size_t runStart, size_t at, size_t mbEnd) const;
    bool WordStartAt(size_t runStart, size_t at, size_t mbEnd) const;

    std::string_view text_;
    size_t pos_;
    Charset charset_;
    bool vbScript_;
    bool inHtml_;
    uint8_t stopMask_;
    bool regexAllowed_ = true;  // a '/' may start a regular expression before the current code
    size_t noRegexUntil_ = 0;   // a '/' before this position does not start one
};

// Calls code(begin, end) for every stretch of code and of comment text, and
// literal(begin, end) for every literal, in the order of the text.
template <class Code, class Literal>
void ForEachScriptStretch(const PassContext& ctx, std::string_view text, Code&& code,
                          Literal&& literal) {
    ScriptScanner scanner(ctx.charset, text, 0, ctx.vbScript, false);
    size_t pos = 0;
    for (;;) {
        const ScriptToken token = scanner.Next();
        if (token.codeEnd > pos) code(pos, token.codeEnd);
        if (token.kind == PieceKind::End) return;
        if (token.kind == PieceKind::LineComment || token.kind == PieceKind::BlockComment) {
            code(token.codeEnd, token.end);
        } else {
            literal(token.codeEnd, token.end);
        }
        pos = token.end;
    }
}

}  // namespace trimlet::engine
