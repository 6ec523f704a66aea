#pragma once
// Temporary files beside the files they will replace: their names, their removal when the
// program is interrupted, and the removal of leftovers a killed process of ours left behind.

#include <string>
#include <string_view>

#include "common/result.h"

namespace trimlet {

// The folder part of a file's path: "." for a bare name, "/" for a file at the root.
[[nodiscard]] std::string FolderOf(const std::string& path);

// A new, empty file of mode 0600 beside a target, named ".NAME.tmp-PID-N-X", open for
// writing. It is removed when the object goes (unless it was renamed) and, once
// RemoveTemporaryFilesOnSignals was called, when the process is stopped by a signal.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    ~TemporaryFile() noexcept { Discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) noexcept;

    // Creates the file beside `target` (a path whose folder exists). Returns
    // RESULT_NOT_FOUND (no such folder), RESULT_ACCESS_ERROR (the folder may not be
    // written) or RESULT_FILE_ERROR; the system's reason is noted.
    [[nodiscard]] Result Create(const std::string& target);
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes the descriptor; false when the close reports a late write failure.
    bool Close() noexcept;
    // The file now has another name (it was renamed): it is no longer ours to remove.
    void Renamed() noexcept;
    // Closes and removes the file now.
    void Discard() noexcept;

  private:
    void Unregister() noexcept;

    int fd_ = -1;
    int slot_ = -1;
    std::string path_;
};

// Installs handlers for SIGINT, SIGTERM and SIGHUP (where they are not ignored) that remove
// the temporary files being written, then end the process as the signal would have.
void RemoveTemporaryFilesOnSignals();

// While one exists, such a signal waits: for a step that must not be cut short (bytes
// copied into an existing file). The signal takes effect when the last one goes.
class SignalDeferral {
  public:
    SignalDeferral() noexcept;
    ~SignalDeferral() noexcept;
    SignalDeferral(const SignalDeferral&) = delete;
    SignalDeferral& operator=(const SignalDeferral&) = delete;
};

// Removes, once per folder and process, the temporary files of our naming in `folder` whose
// process no longer exists. Failures are ignored: a leftover is only clutter.
void RemoveStaleTemporaryFiles(const std::string& folder);

// The process id in a name of our temporary-file naming, or 0 when `name` is none.
int TemporaryFileOwner(std::string_view name);

}  // namespace trimlet
