#include "text/utf8_check.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TRIMLET_UTF8_VECTOR 1
#endif

namespace trimlet {

namespace {

#ifdef TRIMLET_UTF8_VECTOR

// Sixteen bytes are checked at once by classifying every pair of neighbouring bytes
// through three 16-entry tables (the high half of the earlier byte, its low half, the high
// half of the later byte): each table gives the errors the pair may be part of, and an
// error is real only when all three agree. Third and fourth bytes of a character are
// told from stray continuation bytes by looking two and three bytes back.
namespace error_bits {
constexpr std::uint8_t kTooShort = 1 << 0;      // a lead not followed by a continuation
constexpr std::uint8_t kTooLong = 1 << 1;       // a continuation after ASCII
constexpr std::uint8_t kOverlong3 = 1 << 2;     // E0 80..9F
constexpr std::uint8_t kTooLarge = 1 << 3;      // F4 90..BF, F5 and above
constexpr std::uint8_t kSurrogate = 1 << 4;     // ED A0..BF
constexpr std::uint8_t kOverlong2 = 1 << 5;     // C0, C1
constexpr std::uint8_t kTooLarge1000 = 1 << 6;  // F5 and above followed by 80..8F
constexpr std::uint8_t kOverlong4 = 1 << 6;     // F0 80..8F
constexpr std::uint8_t kTwoContinuations = 1 << 7;
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoContinuations;
}  // namespace error_bits

constexpr char Bits(std::uint8_t bits) {
    return static_cast<char>(bits);
}

__attribute__((target("ssse3"))) __m128i HighHalves(__m128i v) {
    return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
}

__attribute__((target("ssse3"))) __m128i PairErrors(__m128i input, __m128i previous) {
    using namespace error_bits;
    const __m128i firstHigh = _mm_setr_epi8(
        Bits(kTooLong), Bits(kTooLong), Bits(kTooLong), Bits(kTooLong), Bits(kTooLong),
        Bits(kTooLong), Bits(kTooLong), Bits(kTooLong), Bits(kTwoContinuations),
        Bits(kTwoContinuations), Bits(kTwoContinuations), Bits(kTwoContinuations),
        Bits(kTooShort | kOverlong2), Bits(kTooShort), Bits(kTooShort | kOverlong3 | kSurrogate),
        Bits(kTooShort | kTooLarge | kTooLarge1000 | kOverlong4));
    constexpr std::uint8_t kAbove = kCarry | kTooLarge | kTooLarge1000;
    const __m128i firstLow = _mm_setr_epi8(
        Bits(kCarry | kOverlong3 | kOverlong2 | kOverlong4), Bits(kCarry | kOverlong2),
        Bits(kCarry), Bits(kCarry), Bits(kCarry | kTooLarge), Bits(kAbove), Bits(kAbove),
        Bits(kAbove), Bits(kAbove), Bits(kAbove), Bits(kAbove), Bits(kAbove), Bits(kAbove),
        Bits(kAbove | kSurrogate), Bits(kAbove), Bits(kAbove));
    constexpr std::uint8_t kContinuation = kTooLong | kOverlong2 | kTwoContinuations;
    const __m128i secondHigh = _mm_setr_epi8(
        Bits(kTooShort), Bits(kTooShort), Bits(kTooShort), Bits(kTooShort), Bits(kTooShort),
        Bits(kTooShort), Bits(kTooShort), Bits(kTooShort),
        Bits(kContinuation | kOverlong3 | kTooLarge1000 | kOverlong4),
        Bits(kContinuation | kOverlong3 | kTooLarge), Bits(kContinuation | kSurrogate | kTooLarge),
        Bits(kContinuation | kSurrogate | kTooLarge), Bits(kTooShort), Bits(kTooShort),
        Bits(kTooShort), Bits(kTooShort));

    const __m128i before1 = _mm_alignr_epi8(input, previous, 15);
    const __m128i special = _mm_and_si128(
        _mm_and_si128(_mm_shuffle_epi8(firstHigh, HighHalves(before1)),
                      _mm_shuffle_epi8(firstLow, _mm_and_si128(before1, _mm_set1_epi8(0x0F)))),
        _mm_shuffle_epi8(secondHigh, HighHalves(input)));
    // Only a byte two after E0..FF or three after F0..FF must be a continuation that
    // follows another continuation.
    const __m128i before2 = _mm_alignr_epi8(input, previous, 14);
    const __m128i before3 = _mm_alignr_epi8(input, previous, 13);
    const __m128i third = _mm_subs_epu8(before2, _mm_set1_epi8(Bits(0xE0 - 0x80)));
    const __m128i fourth = _mm_subs_epu8(before3, _mm_set1_epi8(Bits(0xF0 - 0x80)));
    const __m128i mustFollow =
        _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(Bits(0x80)));
    return _mm_xor_si128(mustFollow, special);
}

// Nonzero where the block's last three bytes start a character it does not finish.
__attribute__((target("ssse3"))) __m128i UnfinishedAtEnd(__m128i input) {
    const __m128i limits =
        _mm_setr_epi8(Bits(0xFF), Bits(0xFF), Bits(0xFF), Bits(0xFF), Bits(0xFF), Bits(0xFF),
                      Bits(0xFF), Bits(0xFF), Bits(0xFF), Bits(0xFF), Bits(0xFF), Bits(0xFF),
                      Bits(0xFF), Bits(0xF0 - 1), Bits(0xE0 - 1), Bits(0xC0 - 1));
    return _mm_subs_epu8(input, limits);
}

__attribute__((target("ssse3"))) bool IsValidUtf8Vector(std::string_view bytes) {
    const char* data = bytes.data();
    const std::size_t n = bytes.size();
    __m128i errors = _mm_setzero_si128();
    __m128i previous = _mm_setzero_si128();
    __m128i unfinished = _mm_setzero_si128();
    const auto check = [&](__m128i input) {
        if (_mm_movemask_epi8(input) == 0) {
            errors = _mm_or_si128(errors, unfinished);
            unfinished = _mm_setzero_si128();
        } else {
            errors = _mm_or_si128(errors, PairErrors(input, previous));
            unfinished = UnfinishedAtEnd(input);
        }
        previous = input;
    };
    std::size_t i = 0;
    for (; n - i >= 64; i += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 32));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 48));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) == 0) {
            errors = _mm_or_si128(errors, unfinished);
            unfinished = _mm_setzero_si128();
            previous = d;
            continue;
        }
        check(a);
        check(b);
        check(c);
        check(d);
    }
    for (; n - i >= 16; i += 16)
        check(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)));
    if (i < n) {
        // The tail, padded with ASCII NULs, which end nothing and start nothing.
        alignas(16) char tail[16] = {};
        std::memcpy(tail, data + i, n - i);
        check(_mm_load_si128(reinterpret_cast<const __m128i*>(tail)));
    }
    errors = _mm_or_si128(errors, unfinished);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(errors, _mm_setzero_si128())) == 0xFFFF;
}

bool HasVectorCheck() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

#endif  // TRIMLET_UTF8_VECTOR

}  // namespace

std::size_t SkipAscii(std::string_view bytes, std::size_t i) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (bytes.size() - i >= 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & kHighBits) != 0) break;
        i += 8;
    }
    while (i < bytes.size() && static_cast<std::uint8_t>(bytes[i]) < 0x80)
        ++i;
    return i;
}

bool IsValidUtf8ByteWise(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        i = SkipAscii(bytes, i);
        if (i == n) break;
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length;
        std::uint8_t low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // no overlong forms
            if (lead == 0xED) high = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;   // no overlong forms
            if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (n - i < length) return false;
        const auto second = static_cast<std::uint8_t>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

bool IsValidUtf8(std::string_view bytes) {
#ifdef TRIMLET_UTF8_VECTOR
    if (HasVectorCheck()) return IsValidUtf8Vector(bytes);
#endif
    return IsValidUtf8ByteWise(bytes);
}

}  // namespace trimlet
