#pragma once
// What the operating system answers about a file: its find record (attributes, times,
// size, name), its read-only state, and local time. Built on stat; the rest of the core
// asks these functions, never stat directly.

#include <cstdint>
#include <string>

#include "common/result.h"

struct stat;

namespace trimlet {

inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

// File times are 100 ns units since 1601-01-01 UTC.
using FileTime = std::uint64_t;

// Which file a path names, whatever path leads to it: two paths name the same file when
// their identities are equal. All zero for a record that was not read from the disk.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool Known() const { return device != 0 || inode != 0; }
    bool operator==(const FileIdentity&) const = default;
};

// The record a directory listing gives for one file.
struct FindRecord {
    std::uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
    FileTime creationTime = 0;     // the status-change time (Linux keeps no creation time)
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;
    std::uint64_t size = 0;
    std::string name;  // the last component of the path
    FileIdentity identity;
};

// Fills `record` for `path` (following links). RESULT_NOT_FOUND when nothing can be read.
[[nodiscard]] Result GetFindRecord(const std::string& path, FindRecord& record);

// The record GetFindRecord gives for `path` whose status is `status` (of the file itself,
// links followed), without asking the system again.
void FillFindRecord(const std::string& path, const struct stat& status, FindRecord& record);

// The identity of the file at `path`, following links; false when it cannot be read.
[[nodiscard]] bool GetFileIdentity(const std::string& path, FileIdentity& identity);

// True when both paths can be read and name the same file (a link, "." or ".." on the
// way, or a second hard link, make no difference).
[[nodiscard]] bool IsSameFile(const std::string& a, const std::string& b);

// The attributes of `path`; false when they cannot be read (missing, no permission).
[[nodiscard]] bool GetFileAttributes(const std::string& path, std::uint32_t& attributes);

// Sets or clears the read-only state: the owner's write permission. False on failure.
[[nodiscard]] bool SetReadOnly(const std::string& path, bool readOnly);

// Local calendar time of a file time.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// False when the time cannot be represented in local time.
[[nodiscard]] bool FileTimeToLocal(FileTime time, LocalTime& local);

FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);

}  // namespace trimlet
