#pragma once
// One state of a file: which file it is (device and inode) and what it held then (size,
// modification and status-change times). The writer takes one before replacing a file, the
// reader notes one for what it read; a file replaced, rewritten or removed since differs.

#include <chrono>
#include <cstdint>
#include <string>

struct stat;

namespace trimlet {

struct FileStamp {
    struct Time {
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        friend bool operator==(const Time&, const Time&) = default;
    };
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    Time modified;
    // Any write changes the status-change time, which no caller can set back.
    Time changed;
    std::uint32_t mode = 0;  // type and permission bits

    bool IsSameFile(const FileStamp& other) const {
        return device == other.device && inode == other.inode;
    }
    // The same file with the same size and modification time.
    bool IsUnchanged(const FileStamp& other) const {
        return IsSameFile(other) && size == other.size && modified == other.modified;
    }
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file whose status is `st`.
FileStamp StampOf(const struct stat& st);

// The stamp of the file at `path` (links followed); false when it cannot be had.
[[nodiscard]] bool TakeFileStamp(const std::string& path, FileStamp& stamp);

// The time now, on the clock that file times are given by.
FileStamp::Time FileClockNow();

// Whether the file as `stamp` saw it had last changed at least `margin` before `when`. Then
// any change to it after `when` gives it a later status-change time, also where file times
// are coarse, and a stamp taken after `when` that equals `stamp` shows the file untouched;
// for a file changed just before, a second change could leave the same stamp.
bool ChangedBefore(const FileStamp& stamp, FileStamp::Time when, std::chrono::nanoseconds margin);

// Whether what was read of the file at `when` can be trusted while its stamp stays the same:
// it had changed at least `margin` before, or its change time lies after `when` (a file
// share whose clock runs ahead of ours), where waiting would never help and the stamp alone
// has to decide.
bool StampSettled(const FileStamp& stamp, FileStamp::Time when, std::chrono::nanoseconds margin);

// How long a file must have been left alone before it was read for an equal stamp later to
// show it untouched (file times are coarse on some file systems).
inline constexpr std::chrono::nanoseconds kStampSettleTime = std::chrono::seconds(3);

}  // namespace trimlet
