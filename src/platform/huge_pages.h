#pragma once
// Large working buffers backed by huge pages: one page fault per 2 MiB instead of one per
// 4 KiB when a fresh buffer of a big text is first written.

#include <cstddef>

namespace trimlet {

// Buffers from this size on are worth the advice.
inline constexpr std::size_t kHugePageAdviceBytes = std::size_t{4} << 20;

// Asks the system to back the whole huge pages inside [data, data + size) with huge pages,
// before they are first touched. Smaller ranges, and systems without the facility, are left
// as they are; the advice never fails the caller.
void AdviseHugePages(void* data, std::size_t size) noexcept;

}  // namespace trimlet
