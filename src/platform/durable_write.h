#pragma once
// Durable writes: a file's new content takes its place only once whole and flushed, so a
// failure or a crash at any moment leaves it old or new.
//
// A write goes to an unnamed temporary file in the target's folder (O_TMPFILE; a named one
// where the file system has none), which carries our maker record (maker_record.h). Once
// flushed it is linked to a fresh name and renamed over the target. A target that must keep
// its inode (other hard links, a file the caller cannot give its owner) is copied into
// instead, under a recovery file beside it that holds its old content: a crash part-way
// leaves the recovery file, and the next write into that folder puts the old content back.
//
// WriteBatch groups writes so that they share one flush; WriteFileAtomically is a batch of
// one. Before the first write into a folder (per process, and per run through
// ForgetCheckedFolders), the folder's leftovers are looked at: a recovery file whose maker
// is gone is rolled back, a temporary file whose maker is provably gone is removed, and
// nothing else is touched.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "platform/descriptor.h"
#include "platform/file_stamp.h"

namespace trimlet {

// The steps of one write, in order, for fault hooks.
enum class WriteStep {
    TemporaryMade,   // the temporary file exists
    ContentWritten,  // it holds the whole content
    ContentFlushed,  // the content is on disk
    Linked,          // it has a fresh name beside the target
    Renamed,         // it took the target's place
    JournalMade,     // the recovery file is complete, flushed and named
    CopyChunk,       // a piece of the content was copied into the existing file
    Copied,          // the copy is complete and flushed
    JournalRemoved,  // the recovery file is gone
};

// Lets tests make a write fail, or end the process, at a chosen point.
struct WriteFault {
    std::uint64_t failAfterBytes = std::numeric_limits<std::uint64_t>::max();
    // The same for the copy into an existing file that keeps its inode.
    std::uint64_t failCopyAfterBytes = std::numeric_limits<std::uint64_t>::max();
    // Called after each step; an errno value other than 0 fails the step with it.
    std::function<int(WriteStep)> atStep;
};

struct WriteOptions {
    WriteFault fault;
    // The permission bits a new file may have at most: a trimmed copy of a private file
    // stays private. A replaced file keeps its own.
    std::uint32_t newFileModeLimit = 0777;
    // The file as it was read, when the target is that file: the target is replaced only
    // while it is still that file, unchanged; else RESULT_FILE_CHANGED.
    std::optional<FileStamp> unchangedSince;
    // Write into an existing character device (/dev/null, a terminal) instead of refusing
    // it. Other special files are always refused: opening a FIFO could wait for ever.
    bool allowCharacterDevice = false;
};

// The folder part of a file's path: "." for a bare name, "/" for a file at the root.
[[nodiscard]] std::string FolderOf(const std::string& path);

// True when something that is neither a regular file nor a folder (a FIFO, a device, a
// socket) is at `path`: a file no output may be written into.
[[nodiscard]] bool IsSpecialFile(const std::string& path);

// The real, absolute path of `folder` (links, "." and ".." resolved), as realpath gives it;
// false with errno set when it cannot be resolved. Kept per folder until ForgetRealFolders,
// and taken again only while both paths still lead to the same folder (device and inode).
[[nodiscard]] bool RealFolderPath(const std::string& folder, std::string& real);
// Resolves every folder anew from now on (ForgetCheckedFolders does it too).
void ForgetRealFolders();

// Where a write to `path` lands: a link is followed (also a dangling one, whose target is
// then created), and the folder is the real one (links, "." and ".." resolved). Two paths
// that name one file give one target. False when the folder cannot be resolved; the
// system's reason is noted.
struct WriteTarget {
    std::string folder;  // real, absolute
    std::string name;
    std::string path;  // folder and name joined
    // What the last look at the file found, so that callers need not look again: whether a
    // file (no link) stood there, and its status when one did.
    bool seen = false;
    bool found = false;
    struct stat status {};
};
[[nodiscard]] bool ResolveWriteTarget(const std::string& path, WriteTarget& target);

// One replacement of a file taken in steps, so that several share one flush; a WriteBatch
// holds them.
class PendingWrite {
  public:
    PendingWrite() = default;
    ~PendingWrite() noexcept { Abandon(); }
    PendingWrite(PendingWrite&& other) noexcept;
    PendingWrite& operator=(PendingWrite&& other) noexcept;
    PendingWrite(const PendingWrite&) = delete;
    PendingWrite& operator=(const PendingWrite&) = delete;

    // Checks the target and makes its temporary file with the target's owner, group,
    // permission bits and attributes, or a new file's mode. Results as WriteFileAtomically's.
    // `umask` is the process's (read once per batch: reading it costs a file).
    [[nodiscard]] Result Prepare(const std::string& path, const WriteOptions& options,
                                 mode_t umask);
    // Writes the whole content into the temporary file.
    [[nodiscard]] Result Write(std::string_view bytes);
    // Flushes the temporary file's content to disk on its own.
    [[nodiscard]] Result Flush();
    // Checks that the target is still the file it was, then puts the content in its place.
    // The caller makes the change durable by flushing the folder.
    [[nodiscard]] Result Complete();
    // Removes the temporary file (and a fresh name it got); the target stays as it was.
    void Abandon() noexcept;

    int fd() const { return temp_.get(); }
    const WriteTarget& target() const { return target_; }
    // True when the target keeps its inode: the content is copied into it under a journal.
    bool CopiesIntoExisting() const { return intoExisting_; }
    // Whether this write replaces the file that `target` names, whose status is `st`
    // (nullptr when it does not exist).
    bool Replaces(const WriteTarget& target, const struct stat* st) const;
    const std::string& TargetName() const { return target_.name; }

  private:
    Result Step(WriteStep step);
    Result CheckUnchanged() const;
    Result CreateTemporary();
    Result LinkAndRename();
    Result CopyIntoExisting();
    void CloseTemporary() noexcept;

    WriteTarget target_;
    Descriptor temp_;
    std::string namedTemp_;  // the temporary file's name where it has one
    std::string freshName_;  // the name it is linked to before the rename
    int slot_ = -1;          // its place in the list the signal handler removes
    struct stat before_ {};
    bool existed_ = false;
    bool intoExisting_ = false;
    std::uint64_t size_ = 0;
    WriteOptions options_;
};

// Durable writes of many files that share their flushes. Each file's bytes go to its
// temporary file when it is added; Commit flushes all of them together, then replaces the
// targets in the order they were added and flushes each folder once. Until Commit no target
// has changed.
class WriteBatch {
  public:
    WriteBatch() = default;
    ~WriteBatch() noexcept { Abandon(); }
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Makes and fills the temporary file of `path` without flushing it. When the disk or
    // the quota is full while writes wait, `makeRoom` (see SetMakeRoom) completes them and
    // the file is tried once more. A failure (WriteFileAtomically's codes; RESULT_STOPPED
    // when makeRoom said stop) leaves nothing waiting for it.
    [[nodiscard]] Result Add(const std::string& path, std::string_view bytes,
                             const WriteOptions& options = {});
    // The caller's way to complete what waits (Commit with its own reporting); false stops.
    void SetMakeRoom(std::function<bool()> makeRoom) { makeRoom_ = std::move(makeRoom); }
    std::size_t Waiting() const { return writes_.size(); }
    // Whether committing now is worth its flush, or needed: many files or bytes wait, or
    // the waiting bytes come near the free space of their file system.
    bool IsFull() const;
    // Whether a waiting write replaces the file `path` names (by identity, not spelling).
    bool Replaces(const std::string& path) const;
    // Flushes every waiting write, then completes them in the order they were added, telling
    // `onResult` each one's number (0 for the first waiting) and result. When it returns
    // false the writes after that one are abandoned. Returns false in that case. Running out
    // of memory abandons what is left, each reported as RESULT_OUT_OF_MEMORY.
    bool Commit(const std::function<bool(std::size_t, Result)>& onResult);
    // Writes added so far, committed or not.
    std::size_t AddedCount() const { return added_; }
    // Removes every waiting temporary file; the targets stay as they were.
    void Abandon() noexcept;

  private:
    static constexpr std::size_t kMaxFiles = 128;  // each holds a descriptor until Commit
    static constexpr std::size_t kMaxBytes = std::size_t{32} << 20;
    // Free space kept beyond twice the waiting bytes.
    static constexpr std::uint64_t kSpareRoom = std::uint64_t{1} << 20;

    Result AddOnce(const std::string& path, std::string_view bytes, const WriteOptions& options);
    bool ReplacesResolved(const std::string& path) const;

    std::vector<PendingWrite> writes_;
    std::function<bool()> makeRoom_;
    std::size_t bytes_ = 0;
    std::size_t added_ = 0;
    bool nearlyFull_ = false;
    std::optional<mode_t> umask_;
};

// Replaces the content of the file at `path` with `bytes`, durably (a batch of one). The
// replaced file keeps its owner, group, permission bits and extended attributes; a new one
// gets 0666 less the umask, within options.newFileModeLimit. A link is followed, so the file
// it points to is replaced (or, when missing, created). Returns
//   RESULT_INVALID_ARGUMENT  an empty path,
//   RESULT_IS_FOLDER         the target is a folder,
//   RESULT_NOT_FOUND         its folder does not exist (also a link into a missing folder),
//   RESULT_ACCESS_ERROR      the folder may not be written, a write or flush fails, or the
//                            target is a special file (a FIFO, a device, a socket),
//   RESULT_NO_RECOVERY_FILE  the target must be copied into, and no recovery file can be
//                            made beside it,
//   RESULT_FILE_CHANGED      the target is no longer the file options.unchangedSince names,
//   RESULT_OUT_OF_MEMORY     memory ran out,
//   RESULT_FILE_ERROR        the temporary file cannot be made or renamed otherwise.
// The system's reason for a failure is noted (LastSystemError).
[[nodiscard]] Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                                         const WriteOptions& options);
[[nodiscard]] Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                                         const WriteFault& fault = {});

// Flushes a folder's entries (a rename, a removal) to disk; false when it cannot.
bool FlushFolder(const std::string& folder);

// Handles signals for the writes: SIGINT, SIGTERM and SIGHUP (where not ignored) remove the
// temporary files that have a name and end the process as the signal would; SIGPIPE and
// SIGXFSZ are ignored, so a closed pipe or a file-size limit fails the write instead.
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

// Looks at the leftovers in `folder` (see the top of this file) if not done yet since the
// last ForgetCheckedFolders. Failures are ignored.
void CheckFolderOnce(const std::string& folder);
// Looks at them now.
void CheckFolder(const std::string& folder);
// Makes the next write into every folder look at its leftovers again (a new run).
void ForgetCheckedFolders();

// What a look at a folder did that the user should hear of.
struct WriteNotice {
    enum class Kind {
        Restored,  // a file's old content was put back from its recovery file
        Kept,      // a leftover that may be ours was kept: its maker cannot be proved gone
    };
    Kind kind;
    std::string path;  // the restored file, or the kept leftover
};
// The notices since the last call, each at most once per process.
std::vector<WriteNotice> TakeWriteNotices();

}  // namespace trimlet
