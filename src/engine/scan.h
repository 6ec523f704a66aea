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
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

enum class PieceKind : uint8_t { End, String, Template, Regex, LineComment, BlockComment };

// A literal or a comment of script code.
struct ScriptPiece {
    PieceKind kind = PieceKind::End;
    bool afterMultibyte = false;  // the code just before it is a double-byte character
    size_t begin = 0;
    size_t end = 0;
};

using PieceList = std::vector<ScriptPiece>;

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
    std::string_view newline = "\r\n";           // the text's line-break convention
    bool vbScript = false;                       // script steps: the language of the text
    ScriptBuffers* scripts = nullptr;            // pass 2: buffers for trimming SCRIPT bodies
    class CopiedScriptBlocks* blocks = nullptr;  // passes 3 to 5: blocks already measured
    const PieceList* pieces = nullptr;           // script steps: the input's pieces, when known
    PieceList* outPieces = nullptr;              // script steps: receives the output's pieces

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

// A set of up to six ASCII bytes, and optionally every byte from 0x80 up, that a scan
// stops at. Find moves over everything else sixteen bytes at a time.
class StopSet {
  public:
    static constexpr size_t kMaxChars = 6;

    StopSet(std::string_view chars, bool high) : high_(high) {
        for (size_t k = 0; k < kMaxChars; ++k) {
            const char c = chars[k < chars.size() ? k : 0];
            table_[static_cast<uint8_t>(c)] = true;
#if defined(__SSE2__)
            vec_[k] = _mm_set1_epi8(c);
#endif
        }
        if (high) {
            for (size_t c = 0x80; c < 0x100; ++c)
                table_[c] = true;
        }
    }

    bool Has(uint8_t c) const {
        return table_[c];
    }

    // The first position in [i, end) holding a stop byte, or end (end <= t.size()).
    size_t Find(std::string_view t, size_t i, size_t end) const {
        const char* p = t.data();
        // Stops are often near: look at a few bytes one by one first.
        for (const size_t near = end - i < 8 ? end : i + 8; i < near; ++i) {
            if (table_[static_cast<uint8_t>(p[i])]) return i;
        }
#if defined(__SSE2__)
        while (i + 16 <= end) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i hit = _mm_or_si128(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, vec_[0]), _mm_cmpeq_epi8(x, vec_[1])),
                             _mm_or_si128(_mm_cmpeq_epi8(x, vec_[2]), _mm_cmpeq_epi8(x, vec_[3]))),
                _mm_or_si128(_mm_cmpeq_epi8(x, vec_[4]), _mm_cmpeq_epi8(x, vec_[5])));
            unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
            if (high_) bits |= static_cast<unsigned>(_mm_movemask_epi8(x));
            if (bits != 0) return i + static_cast<size_t>(__builtin_ctz(bits));
            i += 16;
        }
#endif
        while (i < end && !table_[static_cast<uint8_t>(p[i])])
            ++i;
        return i;
    }

  private:
    bool high_;
    std::array<bool, 256> table_{};
#if defined(__SSE2__)
    __m128i vec_[kMaxChars];
#endif
};

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

// Start of the run of blanks (spaces and tabs, and full-width blanks when `fullWidth`)
// that ends at `end`, going back no further than `begin`, a character start.
size_t TrailingBlanksStart(Charset charset, std::string_view t, size_t begin, size_t end,
                           bool fullWidth);

// Finds where a run of blanks needs collapsing: a tab (or a line break when those count
// as blanks), a space followed by another blank, one of up to two `others`, or, with
// `high`, a byte from 0x80 up (a space before such a byte counts as a possible run).
// A single space between other characters is not a stop.
class CollapseStops {
  public:
    CollapseStops(bool lineBreaks, std::string_view others, bool high);
    bool IsBlank(uint8_t c) const { return blank_[c]; }
    // The first stop in [i, end), or end (end <= t.size()).
    size_t Find(std::string_view t, size_t i, size_t end) const;

  private:
    bool StopsAt(std::string_view t, size_t i, size_t end) const {
        const uint8_t c = static_cast<uint8_t>(t[i]);
        if (c != ' ') return single_[c];
        return i + 1 < end && blank_[static_cast<uint8_t>(t[i + 1])];
    }

    std::array<bool, 256> single_{};  // stops by itself
    std::array<bool, 256> blank_{};   // makes a run with a space before it
    bool lineBreaks_;
    bool high_;
#if defined(__SSE2__)
    __m128i others_[2];
#endif
};

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

// The line-break string `nl` ("\r\n", "\n" or "\r") starts at i.
inline bool LineBreakAt(std::string_view t, size_t i, std::string_view nl) {
    return i < t.size() && t[i] == nl[0] &&
           (nl.size() == 1 || (i + 1 < t.size() && t[i + 1] == nl[1]));
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

// End of the script body that starts at bodyStart: the position of the "</script"
// that ends it, outside literals and comments, or t.size(). When `pieces` is given it
// receives the body's literals and comments.
size_t ScriptBodyEnd(Charset charset, std::string_view t, size_t bodyStart, ScriptKind kind,
                     PieceList* pieces = nullptr);

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
    const StopSet& stops_;
    bool regexAllowed_ = true;  // a '/' may start a regular expression before the current code
    size_t noRegexUntil_ = 0;   // a '/' before this position does not start one
};

// Calls code(begin, end) for every stretch of code and of comment text, and
// literal(begin, end) for every literal, in the order of the text. The pieces come from
// ctx.pieces when known, else from a scan; where they land in `out` (which code and
// literal append to) goes to ctx.outPieces when given.
template <class Code, class Literal>
void ForEachScriptStretch(const PassContext& ctx, std::string_view text, const std::string& out,
                          Code&& code, Literal&& literal) {
    const auto piece = [&](const ScriptPiece& p) {
        const size_t outBegin = out.size();
        if (p.kind == PieceKind::LineComment || p.kind == PieceKind::BlockComment) {
            code(p.begin, p.end);
        } else {
            literal(p.begin, p.end);
        }
        if (ctx.outPieces)
            ctx.outPieces->push_back({p.kind, p.afterMultibyte, outBegin, out.size()});
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
    ScriptScanner scanner(ctx.charset, text, 0, ctx.vbScript, false);
    for (;;) {
        const ScriptToken token = scanner.Next();
        if (token.codeEnd > pos) code(pos, token.codeEnd);
        if (token.kind == PieceKind::End) return;
        piece({token.kind, token.afterMultibyte, token.codeEnd, token.end});
        pos = token.end;
    }
}

}  // namespace trimlet::engine
