#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Bytes and characters for every pass of the trim engine: byte classes, the pairs of
// script characters that would join into one token, the character rules of both
// charsets, and finding and comparing bytes. Every scan is bounded by the length of its
// text, and an embedded NUL is an ordinary byte.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/charset.h"

namespace trimlet::reference::engine {

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
// An ASCII capital made small; any other byte as it is (unlike c | 0x20, which would turn
// control bytes into '!', '%', '/' or '?').
inline uint8_t LowerLetter(uint8_t c) {
    return c >= 'A' && c <= 'Z' ? c | 0x20 : c;
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

// Whether `s` equals `t` with ASCII letters compared without regard to case.
inline bool EqualsNoCase(std::string_view s, std::string_view t) {
    if (s.size() != t.size()) return false;
    for (size_t k = 0; k < s.size(); ++k) {
        uint8_t a = static_cast<uint8_t>(s[k]);
        uint8_t b = static_cast<uint8_t>(t[k]);
        if (a >= 'A' && a <= 'Z') a += 'a' - 'A';
        if (b >= 'A' && b <= 'Z') b += 'a' - 'A';
        if (a != b) return false;
    }
    return true;
}

// Position of the first match of `lower` (case ignored) at or after `from`, or t.size().
size_t FindNoCase(std::string_view t, size_t from, std::string_view lower);

inline void Append(std::string& out, std::string_view in, size_t begin, size_t end) {
    if (end > begin) out.append(in.data() + begin, end - begin);
}

}  // namespace trimlet::reference::engine
