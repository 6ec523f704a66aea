#pragma once
// Reads a regular file into memory, whole or its first bytes.

#include <compare>
#include <cstdint>
#include <string>

#include "common/result.h"

struct stat;

namespace trimlet {

// What tells one state of a file from another: where it lives, its size and its times. Any
// write changes the status-change time, which no caller can set back.
struct FileReadStamp {
    struct Time {
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        friend bool operator==(const Time&, const Time&) = default;
        friend auto operator<=>(const Time&, const Time&) = default;
    };
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    Time modified;
    Time changed;
    friend bool operator==(const FileReadStamp&, const FileReadStamp&) = default;
};

// Files of this size or larger are refused.
inline constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 32;

// Reads at most `maxCount` bytes of the regular file at `path` into `bytes` (replacing its
// content). `fileSize` is set to the file's size once it is open, 0 before. Returns
//   RESULT_NOT_FOUND      its attributes cannot be read (missing, no search permission),
//   RESULT_IS_FOLDER      it is a folder (nothing is opened),
//   RESULT_FILE_ERROR     it is not a regular file, or it cannot be opened,
//   RESULT_TOO_LARGE      it holds kMaxFileSize bytes or more (`fileSize` stays 0), unless
//                         `maxCount` is smaller,
//   RESULT_ACCESS_ERROR   reading fails,
//   RESULT_OUT_OF_MEMORY  the buffer cannot be had.
// On failure `bytes` is empty. Files that report no size (as some of /proc) are read to
// their end all the same.
[[nodiscard]] Result ReadRegularFile(const std::string& path, std::uint64_t maxCount,
                                     std::string& bytes, std::uint64_t& fileSize);
// The same, also noting the identity of the file it opened in `identity` (when given).
[[nodiscard]] Result ReadRegularFile(const std::string& path, std::uint64_t maxCount,
                                     std::string& bytes, std::uint64_t& fileSize,
                                     FileReadStamp* identity);
// The same, also giving the status of the file it opened (for its find record).
[[nodiscard]] Result ReadRegularFile(const std::string& path, std::uint64_t maxCount,
                                     std::string& bytes, std::uint64_t& fileSize,
                                     FileReadStamp* identity, struct stat& status);
// The identity of the file `path` names now (following links). False when it cannot be had.
[[nodiscard]] bool CurrentReadStamp(const std::string& path, FileReadStamp& identity);

}  // namespace trimlet
