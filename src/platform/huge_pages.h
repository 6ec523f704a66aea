#pragma once
// Large working buffers backed by huge pages: one page fault per 2 MiB instead of one per
// 4 KiB when a fresh buffer of a big text is first written.

#include <atomic>
#include <cstddef>
#include <thread>

namespace trimlet {

// Buffers from this size on are worth the advice.
inline constexpr std::size_t kHugePageAdviceBytes = std::size_t{4} << 20;

// Asks the system to back the whole huge pages inside [data, data + size) with huge pages,
// before they are first touched. Smaller ranges, and systems without the facility, are left
// as they are; the advice never fails the caller.
void AdviseHugePages(void* data, std::size_t size) noexcept;

// Faults in the pages of a big fresh buffer on another core while the caller fills it from
// the front, so that the kernel's zero-filling of new memory runs beside the caller's work
// instead of inside it. Does nothing for small buffers, on one core, or where the system
// cannot populate pages ahead. The buffer must stay where it is until Finish() or the end
// of this object's life, which stop the helper thread and wait for it.
class FaultInAhead {
  public:
    FaultInAhead() = default;
    FaultInAhead(void* data, std::size_t size) noexcept { Start(data, size); }
    ~FaultInAhead() { Finish(); }
    FaultInAhead(const FaultInAhead&) = delete;
    FaultInAhead& operator=(const FaultInAhead&) = delete;

    // Starts on [data, data + size) unless already started.
    void Start(void* data, std::size_t size) noexcept;
    void Finish() noexcept;

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace trimlet
