#include "platform/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace trimlet {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

}  // namespace

void AdviseHugePages(void* data, std::size_t size) noexcept {
#ifdef MADV_HUGEPAGE
    if (data == nullptr || size < kHugePageAdviceBytes) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last <= first) return;
    // Only advice: a kernel without transparent huge pages answers EINVAL, which changes
    // nothing for the caller.
    static_cast<void>(::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE));
#else
    static_cast<void>(data);
    static_cast<void>(size);
#endif
}

}  // namespace trimlet
