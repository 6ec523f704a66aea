#pragma once
// Safe writes of many files that share their flushes to disk. Each file's bytes go to its
// temporary file when it is added; Commit flushes all of them together (one flush of the
// file system instead of one per file), then replaces the targets in the order they were
// added and flushes each folder once. Until Commit no target has changed, and a crash at any
// moment leaves every target either as it was or with its whole new content.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "platform/atomic_write.h"
#include "platform/prepared_write.h"

namespace trimlet {

class WriteBatch {
  public:
    WriteBatch() = default;
    ~WriteBatch() noexcept { Abandon(); }
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Makes and fills the temporary file of `path`, as WriteFileAtomically would, without
    // flushing it. A failure (WriteFileAtomically's codes) leaves nothing waiting for it.
    [[nodiscard]] Result Add(const std::string& path, std::string_view bytes,
                             const WriteOptions& options = {});
    std::size_t Waiting() const { return writes_.size(); }
    // Whether enough waits that committing now is worth its flush.
    bool IsFull() const { return writes_.size() >= kMaxFiles || bytes_ >= kMaxBytes; }
    // Whether a waiting write replaces `path` (as added, or the file a link led to).
    bool Replaces(const std::string& path) const;
    // Flushes every waiting write, then completes them in the order they were added, telling
    // `onResult` each one's number (0 for the first waiting) and result. When it returns
    // false the writes after that one are abandoned. Returns false in that case.
    bool Commit(const std::function<bool(std::size_t, Result)>& onResult);
    // Writes added so far, committed or not.
    std::size_t AddedCount() const { return added_; }
    // Removes every waiting temporary file; the targets stay as they were.
    void Abandon() noexcept;

  private:
    static constexpr std::size_t kMaxFiles = 128;  // each holds a descriptor until Commit
    static constexpr std::size_t kMaxBytes = std::size_t{32} << 20;

    struct Staged {
        std::string path;
        PreparedWrite write;
    };
    std::vector<Staged> writes_;
    std::size_t bytes_ = 0;
    std::size_t added_ = 0;
};

}  // namespace trimlet
