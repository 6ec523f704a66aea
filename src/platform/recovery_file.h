#pragma once
// The journal of a copy into an existing file: before the first byte is copied, the file's
// old content is saved durably beside it in a recovery file with a header of its own (a
// magic line; the target's device, inode, size and name; a checksum of the content; our
// maker record). A complete recovery file means the copy may have begun, so the old content
// is put back; an incomplete one means it never began, so it is removed. The writer holds a
// lock on it while the copy runs: one nobody holds belongs to a copy that was cut short.

#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "common/result.h"
#include "platform/descriptor.h"
#include "platform/durable_write.h"

namespace trimlet {

class RecoveryFile {
  public:
    RecoveryFile() = default;
    // Closes it; a recovery file not removed stays for recovery.
    ~RecoveryFile() = default;
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    // Saves the content of `file` (open, with status `st`, the file `target` names) beside it,
    // flushed, named and locked. Returns RESULT_OK, RESULT_NO_RECOVERY_FILE when none can be
    // made in the folder, RESULT_ACCESS_ERROR when writing or flushing it fails (nothing is
    // left then). The system's reason is noted.
    [[nodiscard]] Result Make(const WriteTarget& target, int file, const struct stat& st,
                              const WriteFault& fault);
    // Puts the saved content back into `file` and flushes it; false when that fails.
    [[nodiscard]] bool Restore(int file) const;
    // Removes the recovery file, once the copy is whole on disk.
    void Remove() noexcept;
    const std::string& path() const { return path_; }

  private:
    Descriptor fd_;
    std::string path_;
    std::uint64_t headerSize_ = 0;
    std::uint64_t size_ = 0;
};

// A recovery file's header as read back.
struct RecoveryHeader {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;
    std::string targetName;
    std::string record;  // the maker record, formatted
    std::uint64_t headerSize = 0;
};

// Reads the header of the recovery file open as `fd`, and checks that the file is complete
// (its size and checksum right). False for anything else.
[[nodiscard]] bool ReadCompleteRecoveryFile(int fd, RecoveryHeader& header);

// The checksum the header carries: 64-bit FNV-1a, continued from `hash`.
std::uint64_t ContentChecksum(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ull);

// Remembers a notice for TakeWriteNotices (once per process for each kind and path).
void AddWriteNotice(WriteNotice::Kind kind, const std::string& path);

// A fresh name beside `targetName`: "." + name + `tag` + random letters.
std::string FreshName(const std::string& targetName, std::string_view tag);

}  // namespace trimlet
