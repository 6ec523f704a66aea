#pragma once
// Writes a whole file so that a failure never leaves it half written.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "platform/file_stamp.h"

namespace trimlet {

// Lets tests make the write fail part-way, as a full disk would.
struct WriteFault {
    std::uint64_t failAfterBytes = std::numeric_limits<std::uint64_t>::max();
    // The same for the copy into an existing file that keeps its inode.
    std::uint64_t failCopyAfterBytes = std::numeric_limits<std::uint64_t>::max();
};

// True when something that is neither a regular file nor a folder (a FIFO, a device, a
// socket) is at `path`: a file no output may be written into.
[[nodiscard]] bool IsSpecialFile(const std::string& path);

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

// Replaces the content of the file at `path` with `bytes`. The bytes go to a temporary file
// of mode 0600 in the same folder, which gets the target's owner, group, permission bits and
// extended attributes before any byte is written, is flushed to disk and then renamed over
// the target. A target with other hard links, or whose owner and group the temporary file
// cannot be given (the caller does not own it), keeps its inode: the bytes are copied into it
// only once complete and flushed in the temporary file, and a failure part-way puts its old
// content back. On any failure the temporary file is removed and an existing target is left
// as it was. A new file gets 0666 less the umask, within options.newFileModeLimit. A link is
// followed, so the file it points to is replaced. Leftover temporary files of processes that
// no longer exist are removed from the folder. Returns
//   RESULT_INVALID_ARGUMENT  an empty path,
//   RESULT_IS_FOLDER         the target is a folder,
//   RESULT_NOT_FOUND         its folder does not exist,
//   RESULT_ACCESS_ERROR      the folder may not be written, a write or flush fails, or the
//                            target is a special file (a FIFO, a device, a socket),
//   RESULT_FILE_CHANGED      the target is no longer the file options.unchangedSince names,
//   RESULT_FILE_ERROR        the temporary file cannot be made or renamed otherwise.
// The system's reason for a failure is noted (LastSystemError).
[[nodiscard]] Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                                         const WriteOptions& options);
[[nodiscard]] Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                                         const WriteFault& fault = {});

}  // namespace trimlet
