#include "platform/huge_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace trimlet {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

// The helper thread populates this much per call, so that Finish() waits for little.
constexpr std::uintptr_t kFaultInStep = std::uintptr_t{4} << 20;

bool HasSpareCore() {
    static const bool spare = std::thread::hardware_concurrency() >= 2;
    return spare;
}

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

void FaultInAhead::Start(void* data, std::size_t size) noexcept {
#ifdef MADV_POPULATE_WRITE
    if (thread_.joinable() || data == nullptr || size < kHugePageAdviceBytes || !HasSpareCore())
        return;
    const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = (begin + size) & ~(page - 1);
    if (last <= first) return;
    stop_.store(false, std::memory_order_relaxed);
    try {
        thread_ = std::thread([this, first, last] {
            for (std::uintptr_t at = first; at < last && !stop_.load(std::memory_order_relaxed);
                 at += kFaultInStep) {
                const std::uintptr_t length = std::min(kFaultInStep, last - at);
                // A kernel without the facility answers EINVAL: the caller faults the pages
                // in itself as before.
                if (::madvise(reinterpret_cast<void*>(at), length, MADV_POPULATE_WRITE) != 0)
                    return;
            }
        });
    } catch (const std::system_error&) {
    }
#else
    static_cast<void>(data);
    static_cast<void>(size);
#endif
}

void FaultInAhead::Finish() noexcept {
    if (!thread_.joinable()) return;
    stop_.store(true, std::memory_order_relaxed);
    thread_.join();
}

}  // namespace trimlet
