#pragma once
// Conversions between UTF-16 and the system's ANSI code page (UTF-8 here), and the
// statistical test that recognises UTF-16LE text without a byte-order mark.

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

// Appends the UTF-8 form of the UTF-16 units in `utf16` (little- or big-endian) to `out`.
// RESULT_OUT_OF_MEMORY when a unit cannot be converted (an unpaired surrogate, an odd
// trailing byte) or memory runs out; `out` is then unchanged.
[[nodiscard]] Result Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out);

// Appends the UTF-16 units (little- or big-endian, no mark) of the UTF-8 text to `out`.
// RESULT_OUT_OF_MEMORY when the text is not valid UTF-8 or memory runs out; `out` is then
// unchanged.
[[nodiscard]] Result Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out);

}  // namespace trimlet
