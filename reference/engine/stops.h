#pragma once
// Part of the reference engine, frozen: see reference/engine/trim_engine.h.
// Sets of bytes a scan stops at, looked for sixteen bytes at a time where the processor
// allows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "reference/engine/bytes.h"

namespace trimlet::reference::engine {

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

// The stops of the blank passes: up to two single bytes, a run of blanks that needs
// collapsing (a tab, a space followed by another blank), bytes from 0x80 up, and a '<'
// that may start a SCRIPT block or server code ("<s", "<%", "<?") or an element shown as
// written ("<p", "<l", "<t", "<x"), letters in either case. Other tags, and a single
// space between other characters, are no stops.
class PassStops {
  public:
    static constexpr size_t kLookAhead = 1;  // Mask16 reads the byte after the block

    struct Options {
        std::string_view singles;    // up to two bytes that stop by themselves
        bool runs = false;           // runs of blanks that need collapsing
        bool lineBreakRuns = false;  // CR and LF belong to such runs
        bool high = false;           // bytes from 0x80 up, and a space before one
        bool scriptTags = false;     // "<s", "<%", "<?"
        bool textTags = false;       // "<p", "<l", "<t", "<x"
        bool anyTags = false;        // '<' followed by any letter
    };

    explicit PassStops(const Options& options);
    bool StopsAt(std::string_view t, size_t i) const {
        const uint8_t c = static_cast<uint8_t>(t[i]);
        if (single_[c]) return true;
        if (i + 1 >= t.size()) return false;
        const uint8_t next = static_cast<uint8_t>(t[i + 1]);
        if (c == ' ') return options_.runs && blank_[next];
        return c == '<' && afterLt_[next | 0x20];
    }
    // Bit k set when p[k] is a stop, for the 16 bytes at p (p[16] must be readable).
    unsigned Mask16(const char* p) const;

  private:
    Options options_;
    std::array<bool, 256> single_{};   // stops by itself
    std::array<bool, 256> blank_{};    // makes a run with a space before it
    std::array<bool, 256> afterLt_{};  // after a '<', with bit 0x20 set, makes it a stop
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
    if (options_.scriptTags || options_.textTags || options_.anyTags) {
        const __m128i lt = _mm_cmpeq_epi8(x, _mm_set1_epi8('<'));
        // Most blocks hold no '<' at all.
        if (_mm_movemask_epi8(lt) != 0) {
            const __m128i letter = _mm_or_si128(y, _mm_set1_epi8(0x20));
            __m128i wanted = _mm_setzero_si128();
            const auto either = [&](char a, char b) {
                wanted =
                    _mm_or_si128(wanted, _mm_or_si128(_mm_cmpeq_epi8(letter, _mm_set1_epi8(a)),
                                                      _mm_cmpeq_epi8(letter, _mm_set1_epi8(b))));
            };
            if (options_.scriptTags) {
                either('s', '%');
                either('?', '?');
            }
            if (options_.textTags) {
                either('p', 'l');
                either('t', 'x');
            }
            if (options_.anyTags) {
                const __m128i fromA = _mm_sub_epi8(letter, _mm_set1_epi8('a'));
                wanted = _mm_or_si128(
                    wanted, _mm_cmpeq_epi8(_mm_min_epu8(fromA, _mm_set1_epi8(25)), fromA));
            }
            hit = _mm_or_si128(hit, _mm_and_si128(lt, wanted));
        }
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

}  // namespace trimlet::reference::engine
