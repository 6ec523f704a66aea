#pragma once
// Telling well-formed UTF-8 from other bytes, at the speed of reading them.

#include <cstddef>
#include <string_view>

namespace trimlet {

// The index of the first byte of 0x80 or more at or after `i`, or the size. Looks at
// eight bytes at a time: markup is mostly ASCII.
[[nodiscard]] std::size_t SkipAscii(std::string_view bytes, std::size_t i);

// True when `bytes` are well-formed UTF-8 (no overlong forms, surrogates or code points
// above U+10FFFF).
[[nodiscard]] bool IsValidUtf8(std::string_view bytes);

// The same, one character at a time: the reference the vector check is tested against.
[[nodiscard]] bool IsValidUtf8ByteWise(std::string_view bytes);

}  // namespace trimlet
