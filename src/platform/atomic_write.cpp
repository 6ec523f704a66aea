#include "platform/atomic_write.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "platform/prepared_write.h"
#include "platform/system_error.h"

namespace trimlet {

namespace {

// Writes all of `bytes`, stopping with EIO once `fault` says so.
bool WriteAll(int fd, std::string_view bytes, const WriteFault& fault) {
    std::uint64_t written = 0;
    while (written < bytes.size()) {
        if (written >= fault.failAfterBytes) {
            errno = EIO;
            return false;
        }
        std::uint64_t chunk =
            std::min<std::uint64_t>(bytes.size() - written, fault.failAfterBytes - written);
        ssize_t done = ::write(fd, bytes.data() + written, static_cast<std::size_t>(chunk));
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::uint64_t>(done);
    }
    return true;
}

// A character device (/dev/null, a terminal) takes the bytes as they come. The open does not
// wait, and whatever it opened must be such a device.
Result WriteToDevice(const std::string& path, std::string_view bytes, const WriteFault& fault) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        NoteSystemError(errno);
        return RESULT_ACCESS_ERROR;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode);
    if (ok) {
        const int flags = ::fcntl(fd, F_GETFL);
        ok = flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 &&
             WriteAll(fd, bytes, fault);
        if (!ok) NoteSystemError(errno);
    }
    if (::close(fd) != 0 && ok) {
        NoteSystemError(errno);
        ok = false;
    }
    return ok ? RESULT_OK : RESULT_ACCESS_ERROR;
}

void FlushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

Result WriteReplacing(const std::string& path, std::string_view bytes,
                      const WriteOptions& options) {
    struct stat st {};
    if (options.allowCharacterDevice && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode))
        return WriteToDevice(path, bytes, options.fault);

    PreparedWrite write;
    Result r = write.Prepare(path, options);
    if (r == RESULT_OK) r = write.Write(bytes);
    if (r == RESULT_OK) r = write.Flush();
    if (r == RESULT_OK) r = write.Complete();
    if (r != RESULT_OK) return r;
    // Make the rename itself durable; the new content is already safe, so a failure here
    // changes nothing the caller could act on.
    if (!write.CopiesIntoExisting()) FlushFolder(write.Folder());
    return RESULT_OK;
}

}  // namespace

bool IsSpecialFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) &&
           !S_ISDIR(st.st_mode);
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                           const WriteOptions& options) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        return WriteReplacing(path, bytes, options);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                           const WriteFault& fault) {
    WriteOptions options;
    options.fault = fault;
    return WriteFileAtomically(path, bytes, options);
}

}  // namespace trimlet
