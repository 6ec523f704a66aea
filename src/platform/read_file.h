#pragma once
// Reads a regular file into memory, whole or its first bytes.

#include <cstdint>
#include <string>

#include "common/result.h"
#include "platform/file_stamp.h"

struct stat;

namespace trimlet {

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
                                     FileStamp* identity);
// The same, also giving the status of the file it opened (for its find record).
[[nodiscard]] Result ReadRegularFile(const std::string& path, std::uint64_t maxCount,
                                     std::string& bytes, std::uint64_t& fileSize,
                                     FileStamp* identity, struct stat& status);

}  // namespace trimlet
