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
inline constexpr uint8_t kLead932 = 0x08;      // lead byte of a CP932 double-byte character
inline constexpr uint8_t kWord = 0x20;         // ASCII letter, digit, '_' or '$'
inline constexpr uint8_t kJsOperator = 0x40;   // operator character of JavaScript
inline constexpr uint8_t kVbsOperator = 0x80;  // operator character of VBScript

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> t{};
    t[' '] |= kBlank;
    t['\t'] |= kBlank;
    t['\r'] |= kBreak;
    t['\n'] |= kBreak;
    for (int c = 0x81; c <= 0x9F; ++c)
        t[c] |= kLead932;
    for (int c = 0xE0; c <= 0xFC; ++c)
        t[c] |= kLead932;
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

// Two characters of script code that form an operator or start a comment when nothing
// stands between them: "++", "--", "->" (of "-->"), "//", "/*", "*/", "<!", "</", a
// digit and '.'.
inline bool FormsOperatorToken(uint8_t left, uint8_t right) {
    switch (left) {
        case '+':
            return right == '+';
        case '-':
            return right == '-' || right == '>';
        case '/':
            return right == '/' || right == '*';
        case '*':
            return right == '/';
        case '<':
            return right == '!' || right == '/';
        default:
            return left >= '0' && left <= '9' && right == '.';
    }
}

// Two characters of script code that would join into one token, or start a comment,
// if nothing stood between them: parts of one name or number, or the pairs above.
inline bool WouldJoin(uint8_t left, uint8_t right) {
    return (IsWordish(left) && IsWordish(right)) || FormsOperatorToken(left, right);
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

    bool FullWidthBlanks() const { return (mode & TM_ZENKAKU_AS_WSP) != 0; }
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

// The patterns looked for are short, so a plain loop beats a call to memcmp.
inline bool StartsWithAt(std::string_view t, size_t i, std::string_view s) {
    if (i > t.size() || t.size() - i < s.size()) return false;
    for (size_t k = 0; k < s.size(); ++k) {
        if (t[i + k] != s[k]) return false;
    }
    return true;
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
// stops at.
class StopSet {
  public:
    static constexpr size_t kMaxChars = 6;
    static constexpr size_t kLookAhead = 0;  // Mask16 reads no byte after the block

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
    bool StopsAt(std::string_view t, size_t i) const {
        return table_[static_cast<uint8_t>(t[i])];
    }

    // Bit k set when p[k] is a stop byte, for the 16 bytes at p.
    unsigned Mask16(const char* p) const {
#if defined(__SSE2__)
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, vec_[0]), _mm_cmpeq_epi8(x, vec_[1])),
                         _mm_or_si128(_mm_cmpeq_epi8(x, vec_[2]), _mm_cmpeq_epi8(x, vec_[3]))),
            _mm_or_si128(_mm_cmpeq_epi8(x, vec_[4]), _mm_cmpeq_epi8(x, vec_[5])));
        unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
        if (high_) bits |= static_cast<unsigned>(_mm_movemask_epi8(x));
        return bits;
#else
        unsigned bits = 0;
        for (unsigned k = 0; k < 16; ++k)
            bits |= unsigned{table_[static_cast<uint8_t>(p[k])]} << k;
        return bits;
#endif
    }

    // The first position in [i, end) holding a stop byte, or end (end <= t.size()).
    size_t Find(std::string_view t, size_t i, size_t end) const {
        const char* p = t.data();
        for (; i + 16 <= end; i += 16) {
            if (const unsigned bits = Mask16(p + i); bits != 0) {
                return i + static_cast<size_t>(__builtin_ctz(bits));
            }
        }
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

// Finds the stops of a set (StopSet or PassStops) in one text one after the other.
// It keeps the stop bits of the last sixteen bytes it looked at, so that stops close
// together cost a few instructions each.
template <class Set>
class BlockScan {
  public:
    BlockScan(const Set& set, std::string_view text) : set_(set), text_(text) {}

    // The first stop in [i, end), or end (end <= text.size()).
    size_t Next(size_t i, size_t end) {
        if (i - base_ < 16) {  // inside the block looked at last
            const unsigned bits = bits_ & (~0u << (i - base_));
            if (bits != 0) return Clamp(base_ + static_cast<size_t>(__builtin_ctz(bits)), end);
            i = base_ + 16;
        }
        for (; i + 16 + Set::kLookAhead <= text_.size() && i < end; i += 16) {
            if (const unsigned bits = set_.Mask16(text_.data() + i); bits != 0) {
                base_ = i;
                bits_ = bits;
                return Clamp(i + static_cast<size_t>(__builtin_ctz(bits)), end);
            }
        }
        while (i < end && !set_.StopsAt(text_, i))
            ++i;
        return i < end ? i : end;
    }

  private:
    static size_t Clamp(size_t i, size_t end) { return i < end ? i : end; }

    const Set& set_;
    std::string_view text_;
    size_t base_ = kNone - 16;  // start of the block of bits_, far away at first
    unsigned bits_ = 0;
};

// ---------------------------------------------------------------------------------
// Blanks and line breaks

struct BlankSet {
    bool fullWidth = false;   // the full-width blank counts
    bool lineBreaks = false;  // CR and LF count
};

// The part of SkipBlanks after the first blank.
size_t SkipBlankRun(Charset charset, std::string_view t, size_t i, BlankSet set, size_t limit);

// Moves over spaces and tabs, and full-width blanks and line breaks when `set` says so,
// from the character start i up to `limit` (at most t.size()).
inline size_t SkipBlanks(Charset charset, std::string_view t, size_t i, BlankSet set,
                         size_t limit) {
    if (i >= limit) return i;
    const uint8_t first = ByteAt(t, i);
    const uint8_t mask = kBlank | (set.lineBreaks ? kBreak : 0);
    if (!(kByteClass[first] & mask) && !(set.fullWidth && first >= 0x80)) return i;  // no run
    return SkipBlankRun(charset, t, i, set, limit);
}

inline size_t SkipBlanks(Charset charset, std::string_view t, size_t i, BlankSet set) {
    return SkipBlanks(charset, t, i, set, t.size());
}

// Start of the run of blanks (spaces and tabs, and full-width blanks when `fullWidth`)
// that ends at `end`, going back no further than `begin`, a character start.
size_t BlanksBackTo(Charset charset, std::string_view t, size_t begin, size_t end, bool fullWidth);
inline size_t TrailingBlanksStart(Charset charset, std::string_view t, size_t begin, size_t end,
                                  bool fullWidth) {
    // Most lines end without blanks.
    if (end == begin || (!fullWidth && !(kByteClass[ByteAt(t, end - 1)] & kBlank))) return end;
    return BlanksBackTo(charset, t, begin, end, fullWidth);
}

// Whether the byte at p starts a character, given that `begin` (<= p) does.
bool CharStartsAt(Charset charset, std::string_view t, size_t begin, size_t p);

// The stops of the blank passes: up to two single bytes, a run of blanks that needs
// collapsing (a tab, a space followed by another blank), bytes from 0x80 up, and a '<'
// that may start a SCRIPT or PRE block ("<s" or "<p" in either case). Other tags, and a
// single space between other characters, are no stops.
class PassStops {
  public:
    static constexpr size_t kLookAhead = 1;  // Mask16 reads the byte after the block

    struct Options {
        std::string_view singles;    // up to two bytes that stop by themselves
        bool runs = false;           // runs of blanks that need collapsing
        bool lineBreakRuns = false;  // CR and LF belong to such runs
        bool high = false;           // bytes from 0x80 up, and a space before one
        bool scriptTags = false;     // "<s"
        bool preTags = false;        // "<p"
    };

    explicit PassStops(const Options& options);
    bool StopsAt(std::string_view t, size_t i) const {
        const uint8_t c = static_cast<uint8_t>(t[i]);
        if (single_[c]) return true;
        if (i + 1 >= t.size()) return false;
        const uint8_t next = static_cast<uint8_t>(t[i + 1]);
        if (c == ' ') return options_.runs && blank_[next];
        return c == '<' && ((options_.scriptTags && (next | 0x20) == 's') ||
                            (options_.preTags && (next | 0x20) == 'p'));
    }
    // Bit k set when p[k] is a stop, for the 16 bytes at p (p[16] must be readable).
    unsigned Mask16(const char* p) const;

  private:
    Options options_;
    std::array<bool, 256> single_{};  // stops by itself
    std::array<bool, 256> blank_{};   // makes a run with a space before it
#if defined(__SSE2__)
    __m128i singles_[2];
#endif
};

// The bytes that begin or end markup or quote an attribute value: '<', '>', '"' and '\''.
// The angle brackets differ in one bit only, so a block takes three compares where a
// StopSet of the same bytes takes six.
class MarkupStops {
  public:
    static constexpr size_t kLookAhead = 0;  // Mask16 reads no byte after the block

    static bool Has(uint8_t c) { return (c | 0x02) == '>' || c == '"' || c == '\''; }
    bool StopsAt(std::string_view t, size_t i) const { return Has(static_cast<uint8_t>(t[i])); }

    // Bit k set when p[k] is a stop byte, for the 16 bytes at p.
    unsigned Mask16(const char* p) const {
#if defined(__SSE2__)
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i angle =
            _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x02)), _mm_set1_epi8('>'));
        const __m128i quotes = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('"')),
                                            _mm_cmpeq_epi8(x, _mm_set1_epi8('\'')));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(angle, quotes)));
#else
        unsigned bits = 0;
        for (unsigned k = 0; k < 16; ++k)
            bits |= unsigned{Has(static_cast<uint8_t>(p[k]))} << k;
        return bits;
#endif
    }
};

using StopScan = BlockScan<StopSet>;
using PassScan = BlockScan<PassStops>;
using MarkupScan = BlockScan<MarkupStops>;

inline unsigned PassStops::Mask16(const char* p) const {
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    __m128i hit = _mm_setzero_si128();
    if (!options_.singles.empty()) {
        hit = _mm_or_si128(_mm_cmpeq_epi8(x, singles_[0]), _mm_cmpeq_epi8(x, singles_[1]));
    }
    const __m128i isSpace = _mm_cmpeq_epi8(x, _mm_set1_epi8(' '));
    if (options_.runs) {
        const __m128i tab = _mm_set1_epi8('\t');
        __m128i next = _mm_or_si128(_mm_cmpeq_epi8(y, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(y, tab));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(x, tab));
        if (options_.lineBreakRuns) {
            const __m128i cr = _mm_set1_epi8('\r');
            const __m128i lf = _mm_set1_epi8('\n');
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf)));
            next = _mm_or_si128(next, _mm_or_si128(_mm_cmpeq_epi8(y, cr), _mm_cmpeq_epi8(y, lf)));
        }
        hit = _mm_or_si128(hit, _mm_and_si128(isSpace, next));
    }
    if (options_.scriptTags || options_.preTags) {
        const __m128i letter = _mm_or_si128(y, _mm_set1_epi8(0x20));
        __m128i wanted = _mm_setzero_si128();
        if (options_.scriptTags) wanted = _mm_cmpeq_epi8(letter, _mm_set1_epi8('s'));
        if (options_.preTags)
            wanted = _mm_or_si128(wanted, _mm_cmpeq_epi8(letter, _mm_set1_epi8('p')));
        hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('<')), wanted));
    }
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (options_.high) {
        bits |= static_cast<unsigned>(_mm_movemask_epi8(x));
        if (options_.runs) {
            bits |= static_cast<unsigned>(_mm_movemask_epi8(y)) &
                    static_cast<unsigned>(_mm_movemask_epi8(isSpace));
        }
    }
    return bits;
#else
    const std::string_view block(p, 17);
    unsigned bits = 0;
    for (size_t k = 0; k < 16; ++k)
        bits |= unsigned{StopsAt(block, k)} << k;
    return bits;
#endif
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
size_t NextLineBreak(std::string_view t, size_t i);

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
// language, or an encoded script, makes it Data.
ScriptKind ScriptLanguageOf(Charset charset, std::string_view t, size_t lt);

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
    size_t tagEnd;   // just after the opening tag
    size_t bodyEnd;  // at the "</script", or the end of the text
    size_t end;      // just after the closing tag, or the end of the text
    bool piecesComplete = true;
};

// The SCRIPT block that starts at lt (at "<script"). When `pieces` is given it receives
// the body's literals and comments (see ScriptBodyEnd).
ScriptBlock FindScriptBlock(Charset charset, std::string_view t, size_t lt,
                            PieceList* pieces = nullptr);

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

// Calls code(begin, end) for every stretch of code and of comment text, and
// literal(begin, end) for every literal, in the order of the text. The pieces come from
// ctx.pieces when known, else from a scan; where they land in `out` (which code and
// literal append to) goes to ctx.outPieces when given.
template <class Output, class Code, class Literal>
void ForEachScriptStretch(const PassContext& ctx, std::string_view text, const Output& out,
                          Code&& code, Literal&& literal) {
    const auto piece = [&](const ScriptPiece& p) {
        const size_t outBegin = out.size();
        if (p.kind == PieceKind::LineComment || p.kind == PieceKind::BlockComment) {
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

}  // namespace trimlet::engine
