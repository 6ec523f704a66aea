#include "platform/atomic_write.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <new>

#include "platform/system_error.h"

namespace trimlet {

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() noexcept { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    void Reset(int fd) noexcept {
        Close();
        fd_ = fd;
    }
    // Closes now; false when the close reports an error (a late write failure).
    bool Close() noexcept {
        if (fd_ < 0) return true;
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

  private:
    int fd_;
};

Result CreateErrorResult(int error) {
    NoteSystemError(error);
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return RESULT_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return RESULT_ACCESS_ERROR;
        case EISDIR:
            return RESULT_IS_FOLDER;
        default:
            return RESULT_FILE_ERROR;
    }
}

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

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new file beside `target` with a name nobody else uses.
Result CreateTemporaryFile(const std::string& target, std::string& tempPath, FileDescriptor& fd) {
    static std::atomic<unsigned> counter{0};
    // A short prefix of the name keeps the temporary name within the file system's limit.
    std::string prefix = FolderOf(target) + "/." + NameOf(target).substr(0, 160) + ".tmp-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "%d-%u-%lx", static_cast<int>(::getpid()),
                      counter.fetch_add(1), static_cast<unsigned long>(now.tv_nsec));
        tempPath = prefix + suffix;
        int raw = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw >= 0) {
            fd.Reset(raw);
            return RESULT_OK;
        }
        if (errno != EEXIST) return CreateErrorResult(errno);
    }
    return RESULT_FILE_ERROR;
}

Result WriteDirectly(const std::string& path, std::string_view bytes, const WriteFault& fault) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0) return CreateErrorResult(errno);
    if (!WriteAll(fd.get(), bytes, fault) || !fd.Close()) {
        NoteSystemError(errno);
        return RESULT_ACCESS_ERROR;
    }
    return RESULT_OK;
}

Result WriteReplacing(const std::string& path, std::string_view bytes, const WriteFault& fault) {
    // Follow a link so that the link stays and the file it names is replaced.
    std::string target = path;
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr) {
        target = resolved;
    }

    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return RESULT_IS_FOLDER;
    if (exists && !S_ISREG(st.st_mode)) return WriteDirectly(target, bytes, fault);

    std::string tempPath;
    FileDescriptor fd;
    if (Result r = CreateTemporaryFile(target, tempPath, fd); r != RESULT_OK) return r;

    Result result = RESULT_OK;
    if (exists && ::fchmod(fd.get(), st.st_mode & 07777) != 0) {
        NoteSystemError(errno);
        result = RESULT_ACCESS_ERROR;
    } else if (!WriteAll(fd.get(), bytes, fault) || ::fsync(fd.get()) != 0 || !fd.Close()) {
        NoteSystemError(errno);
        result = RESULT_ACCESS_ERROR;
    } else if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        result = CreateErrorResult(errno);
    }
    if (result != RESULT_OK) {
        fd.Close();
        ::unlink(tempPath.c_str());
        return result;
    }

    // Make the rename itself durable; the new content is already safe, so a failure here
    // changes nothing the caller could act on.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return RESULT_OK;
}

}  // namespace

Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                           const WriteFault& fault) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        return WriteReplacing(path, bytes, fault);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

}  // namespace trimlet
