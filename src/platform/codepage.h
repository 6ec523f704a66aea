#pragma once
// Conversions between UTF-16 and the system's ANSI code page (UTF-8 here), and the
// statistical test that recognises UTF-16LE text without a byte-order mark.

#include <cstddef>
#include <string>
#include <string_view>

#include "common/result.h"

namespace trimlet {

// True when `bytes` read as UTF-16LE look like text: an even length of at least 4, no
// zero unit, well-formed surrogate pairs, and zero high bytes in at least a third of the
// units (and in two units at least, so a stray NUL byte alone never decides). With
// `complete` false the bytes are the start of a longer file, and a high surrogate as the
// last unit is taken to be paired beyond the end.
[[nodiscard]] bool LooksLikeUtf16Le(std::string_view bytes, bool complete = true);

// How `bytes` read as UTF-16LE units look. `wellFormed` needs an even length of at least 4,
// no zero unit and paired surrogates (with `complete` false a high surrogate as the last
// unit counts as paired beyond the end); the counts are only meaningful when it holds.
struct Utf16LeShape {
    bool wellFormed = false;
    std::size_t units = 0;
    std::size_t zeroHighUnits = 0;  // units below U+0100
    std::size_t markupUnits = 0;    // "<", ">", CR or LF as a unit
};
[[nodiscard]] Utf16LeShape MeasureUtf16Le(std::string_view bytes, bool complete = true);

// True when `bytes` hold NUL bytes the way UTF-16LE text holds them: at least two zero
// bytes at odd places, each after a non-zero ASCII byte (an ASCII character as a unit),
// and these are at least half of all zero bytes. A byte text with a stray NUL does not.
[[nodiscard]] bool HasUtf16NulPattern(std::string_view bytes);

// True when `units` are well-formed UTF-16 (little- or big-endian): an even length and
// every surrogate paired. Zero units are allowed.
[[nodiscard]] bool IsWellFormedUtf16(std::string_view units, bool bigEndian);

// Appends the UTF-8 form of the UTF-16 units in `utf16` (little- or big-endian) to `out`.
// RESULT_OUT_OF_MEMORY when a unit cannot be converted (an unpaired surrogate, an odd
// trailing byte) or memory runs out; `out` is then unchanged.
[[nodiscard]] Result Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out);

// Appends the UTF-16 units (little- or big-endian, no mark) of the UTF-8 text to `out`.
// RESULT_OUT_OF_MEMORY when the text is not valid UTF-8 or memory runs out; `out` is then
// unchanged.
[[nodiscard]] Result Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out);

// Appends the UTF-8 form of the CP932 text to `out`, character by character as the engine
// reads CP932: a byte that is no CP932 character (a lead byte without its trail byte, an
// unmapped code) becomes U+F700 plus the byte, so no two different texts come out alike.
// RESULT_OUT_OF_MEMORY when memory runs out or the code page is missing; `out` is then
// unchanged.
[[nodiscard]] Result Cp932ToUtf8(std::string_view cp932, std::string& out);

// Appends the CP932 form of the UTF-8 text to `out`. RESULT_OUT_OF_MEMORY when the text is
// not valid UTF-8, holds a character CP932 has not, or memory runs out; `out` is then
// unchanged.
[[nodiscard]] Result Utf8ToCp932(std::string_view utf8, std::string& out);

}  // namespace trimlet
