#pragma once
// One replacement of a file by the safe writer, taken in steps, so that several
// replacements can share one flush to disk (see write_batch.h). WriteFileAtomically runs
// all steps for one file.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "platform/atomic_write.h"
#include "platform/system_error.h"
#include "platform/temp_files.h"

namespace trimlet {

class PreparedWrite {
  public:
    // Checks the target (links followed) and makes its temporary file, with the target's
    // owner, group, permission bits and attributes, or a new file's mode. Results as
    // WriteFileAtomically's.
    [[nodiscard]] Result Prepare(const std::string& path, const WriteOptions& options);
    // Writes the whole content into the temporary file.
    [[nodiscard]] Result Write(std::string_view bytes);
    // Flushes the temporary file's content to disk on its own.
    [[nodiscard]] Result Flush();
    // Checks that the target is still the file it was, then renames the temporary file over
    // it, or copies the bytes into it (see CopiesIntoExisting). The caller makes the rename
    // durable by flushing the folder.
    [[nodiscard]] Result Complete();
    // Removes the temporary file; the target stays as it was.
    void Abandon() noexcept { temp_.Discard(); }

    int fd() const { return temp_.fd(); }
    const std::string& target() const { return target_; }
    std::string Folder() const;
    // True when the target keeps its inode: it has other hard links, or the temporary file
    // could not be given its owner and group.
    bool CopiesIntoExisting() const { return intoExisting_; }

  private:
    Result CheckUnchanged() const;
    Result CopyIntoExisting();

    std::string target_;
    TemporaryFile temp_;
    struct stat before_ {};
    bool existed_ = false;
    bool intoExisting_ = false;
    std::uint64_t size_ = 0;
    WriteOptions options_;
};

}  // namespace trimlet
