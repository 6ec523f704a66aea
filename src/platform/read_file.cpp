#include "platform/read_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/system_error.h"

namespace trimlet {

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() noexcept {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

constexpr std::size_t kGrowStep = 64 * 1024;

ssize_t ReadSome(int fd, char* buffer, std::size_t count) {
    for (;;) {
        ssize_t got = ::read(fd, buffer, count);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// Reads until `limit` bytes or the end of the file; `expected` is the size the file
// reported. False when a read fails.
bool ReadUpTo(int fd, std::uint64_t limit, std::uint64_t expected, std::string& bytes) {
    std::size_t used = 0;
    bytes.resize(static_cast<std::size_t>(std::min(limit, expected)));
    while (used < limit) {
        if (used == bytes.size()) {
            // All that was expected is in. One probe byte tells the usual end of the file
            // without growing (and copying) the buffer.
            char probe;
            ssize_t got = ReadSome(fd, &probe, 1);
            if (got < 0) {
                NoteSystemError(errno);
                return false;
            }
            if (got == 0) break;
            // The file is longer than it said (or said nothing): grow and keep reading.
            auto grown = std::min<std::uint64_t>(limit, used + std::max(kGrowStep, used / 2));
            bytes.resize(static_cast<std::size_t>(grown));
            bytes[used++] = probe;
            continue;
        }
        ssize_t got = ReadSome(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            NoteSystemError(errno);
            return false;
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return true;
}

}  // namespace

Result ReadRegularFile(const std::string& path, std::uint64_t maxCount, std::string& bytes,
                       std::uint64_t& fileSize) {
    bytes.clear();
    fileSize = 0;
    struct stat st {};
    if (path.empty()) return RESULT_NOT_FOUND;
    if (::stat(path.c_str(), &st) != 0) {
        NoteSystemError(errno);
        return RESULT_NOT_FOUND;
    }
    if (S_ISDIR(st.st_mode)) return RESULT_IS_FOLDER;
    if (!S_ISREG(st.st_mode)) return RESULT_FILE_ERROR;

    // Non-blocking, so that a FIFO put in its place since the stat cannot hang the open.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        NoteSystemError(errno);
        return RESULT_FILE_ERROR;
    }
    if (::fstat(file.get(), &st) != 0) {
        NoteSystemError(errno);
        return RESULT_ACCESS_ERROR;
    }
    if (S_ISDIR(st.st_mode)) return RESULT_IS_FOLDER;
    if (!S_ISREG(st.st_mode)) return RESULT_FILE_ERROR;

    auto size = static_cast<std::uint64_t>(st.st_size);
    bool whole = maxCount >= kMaxFileSize;
    if (whole && size >= kMaxFileSize) return RESULT_TOO_LARGE;
    fileSize = size;
    try {
        if (!ReadUpTo(file.get(), std::min(maxCount, kMaxFileSize), size, bytes)) {
            bytes = std::string();
            return RESULT_ACCESS_ERROR;
        }
    } catch (const std::bad_alloc&) {
        bytes = std::string();
        return RESULT_OUT_OF_MEMORY;
    } catch (const std::length_error&) {
        bytes = std::string();
        return RESULT_OUT_OF_MEMORY;
    }
    if (whole) {
        // The file may have changed since the fstat; what was read is what counts.
        if (bytes.size() >= kMaxFileSize) {
            bytes = std::string();
            fileSize = 0;
            return RESULT_TOO_LARGE;
        }
        fileSize = bytes.size();
    }
    return RESULT_OK;
}

}  // namespace trimlet
