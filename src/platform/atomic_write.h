#pragma once
// Writes a whole file so that a failure never leaves it half written.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "common/result.h"

namespace trimlet {

// Lets tests make the write fail part-way, as a full disk would.
struct WriteFault {
    std::uint64_t failAfterBytes = std::numeric_limits<std::uint64_t>::max();
};

// Replaces the content of the file at `path` with `bytes`. The bytes go to a temporary file
// in the same folder, which is flushed to disk and then renamed over the target; on any
// failure the temporary file is removed and an existing target is left as it was. A
// replaced file keeps its permission bits; a new one gets the usual 0666 less the umask.
// A link is followed, so the file it points to is replaced. A target that is not a
// regular file (a device, a FIFO) is written directly. Returns
//   RESULT_INVALID_ARGUMENT  an empty path,
//   RESULT_IS_FOLDER         the target is a folder,
//   RESULT_NOT_FOUND         its folder does not exist,
//   RESULT_ACCESS_ERROR      the folder may not be written, or a write or flush fails,
//   RESULT_FILE_ERROR        the temporary file cannot be made or renamed otherwise.
[[nodiscard]] Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                                         const WriteFault& fault = {});

}  // namespace trimlet
