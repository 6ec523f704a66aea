#include "platform/read_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/huge_pages.h"
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

// Bytes arrive through a small buffer that stays in the cache and are appended to the
// result, whose storage is reserved but never zero-filled first.
constexpr std::size_t kChunkBytes = 64 * 1024;

ssize_t ReadSome(int fd, char* buffer, std::size_t count) {
    for (;;) {
        ssize_t got = ::read(fd, buffer, count);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// Reads until `limit` bytes or the end of the file; `expected` is the size the file
// reported. False when a read fails.
bool ReadUpTo(int fd, std::uint64_t limit, std::uint64_t expected, std::string& bytes) {
    bytes.reserve(static_cast<std::size_t>(std::min(limit, expected)));
    AdviseHugePages(bytes.data(), bytes.capacity());
    const FaultInAhead pages(bytes.data(), bytes.capacity());
    char chunk[kChunkBytes];
    while (bytes.size() < limit) {
        const auto want = static_cast<std::size_t>(
            std::min<std::uint64_t>(kChunkBytes, limit - static_cast<std::uint64_t>(bytes.size())));
        ssize_t got = ReadSome(fd, chunk, want);
        if (got < 0) {
            NoteSystemError(errno);
            return false;
        }
        if (got == 0) break;
        // A file longer than it said (or that said nothing) grows the result as it comes.
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A short read that brings the file to the size it reported is its end: asking
        // again only to be told so would cost a system call per file.
        if (static_cast<std::size_t>(got) < want && expected != 0 && bytes.size() == expected)
            break;
    }
    return true;
}

void NoteReadStamp(const struct stat& st, FileStamp* identity) {
    if (identity != nullptr) *identity = StampOf(st);
}

// ReadRegularFile; `status` (when given) receives the status of the file opened.
Result ReadRegular(const std::string& path, std::uint64_t maxCount, std::string& bytes,
                   std::uint64_t& fileSize, FileStamp* identity, struct stat* status) {
    bytes.clear();
    fileSize = 0;
    struct stat st {};
    if (path.empty()) return RESULT_NOT_FOUND;
    // Only a regular file is opened: opening a device can have effects of its own.
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
    NoteReadStamp(st, identity);
    if (status != nullptr) *status = st;

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

}  // namespace

Result ReadRegularFile(const std::string& path, std::uint64_t maxCount, std::string& bytes,
                       std::uint64_t& fileSize) {
    return ReadRegularFile(path, maxCount, bytes, fileSize, nullptr);
}

Result ReadRegularFile(const std::string& path, std::uint64_t maxCount, std::string& bytes,
                       std::uint64_t& fileSize, FileStamp* identity) {
    return ReadRegular(path, maxCount, bytes, fileSize, identity, nullptr);
}

Result ReadRegularFile(const std::string& path, std::uint64_t maxCount, std::string& bytes,
                       std::uint64_t& fileSize, FileStamp* identity, struct stat& status) {
    return ReadRegular(path, maxCount, bytes, fileSize, identity, &status);
}

}  // namespace trimlet
