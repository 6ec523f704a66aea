#include "platform/prepared_write.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "platform/file_metadata.h"
#include "platform/system_error.h"

namespace trimlet {

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() noexcept {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

Result Failed(Result result) {
    NoteSystemError(errno);
    return result;
}

// Writes all of `bytes` at `offset`, stopping with EIO once `limit` bytes are written.
bool WriteAllAt(int fd, std::string_view bytes, std::uint64_t offset, std::uint64_t limit) {
    std::uint64_t written = 0;
    while (written < bytes.size()) {
        if (offset + written >= limit) {
            errno = EIO;
            return false;
        }
        const std::uint64_t chunk =
            std::min<std::uint64_t>(bytes.size() - written, limit - offset - written);
        const ssize_t done = ::pwrite(fd, bytes.data() + written, static_cast<std::size_t>(chunk),
                                      static_cast<off_t>(offset + written));
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::uint64_t>(done);
    }
    return true;
}

// Reads `size` bytes from offset 0; false on a read error or a short file.
bool ReadAllAt(int fd, std::string& bytes, std::uint64_t size) {
    bytes.resize(size);
    std::uint64_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::uint64_t>(got);
    }
    return true;
}

// Copies `size` bytes from `from` into `to` from offset 0, in pieces.
bool CopyContent(int from, int to, std::uint64_t size, std::uint64_t limit) {
    std::array<char, 65536> buffer;
    for (std::uint64_t at = 0; at < size;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - at));
        const ssize_t got = ::pread(from, buffer.data(), want, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0) errno = EIO;
            return false;
        }
        if (!WriteAllAt(to, std::string_view(buffer.data(), static_cast<std::size_t>(got)), at,
                        limit))
            return false;
        at += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool SetContentSize(int fd, std::uint64_t size) {
    while (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) return false;
    }
    return ::fsync(fd) == 0;
}

}  // namespace

std::string PreparedWrite::Folder() const {
    return FolderOf(target_);
}

Result PreparedWrite::Prepare(const std::string& path, const WriteOptions& options) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    options_ = options;
    // Follow a link so that the link stays and the file it names is replaced.
    target_ = path;
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr) {
        target_ = resolved;
    }

    existed_ = ::stat(target_.c_str(), &before_) == 0;
    if (existed_ && S_ISDIR(before_.st_mode)) return RESULT_IS_FOLDER;
    if (existed_ && !S_ISREG(before_.st_mode)) return RESULT_ACCESS_ERROR;
    if (options_.unchangedSince) {
        if (Result r = CheckUnchanged(); r != RESULT_OK) return r;
    }

    RemoveStaleTemporaryFiles(Folder());
    if (Result r = temp_.Create(target_); r != RESULT_OK) return r;

    if (!existed_) {
        if (::fchmod(temp_.fd(), NewFileMode(options_.newFileModeLimit)) != 0) {
            temp_.Discard();
            return Failed(RESULT_ACCESS_ERROR);
        }
        return RESULT_OK;
    }
    // A file with other names must keep its inode, and so must one whose owner and group
    // a new file cannot be given: its bytes are then copied into it.
    const int noted = LastSystemError();
    intoExisting_ = before_.st_nlink > 1 || !TakeOwnerAndPermissions(temp_.fd(), before_, target_);
    if (intoExisting_) NoteSystemError(noted);  // an expected refusal, not a failure
    return RESULT_OK;
}

Result PreparedWrite::Write(std::string_view bytes) {
    size_ = bytes.size();
    if (!WriteAllAt(temp_.fd(), bytes, 0, options_.fault.failAfterBytes)) {
        const Result r = Failed(RESULT_ACCESS_ERROR);
        temp_.Discard();
        return r;
    }
    return RESULT_OK;
}

Result PreparedWrite::Flush() {
    if (::fsync(temp_.fd()) != 0) {
        const Result r = Failed(RESULT_ACCESS_ERROR);
        temp_.Discard();
        return r;
    }
    return RESULT_OK;
}

Result PreparedWrite::CheckUnchanged() const {
    FileStamp now;
    if (!TakeFileStamp(target_, now) || !now.IsUnchanged(*options_.unchangedSince))
        return RESULT_FILE_CHANGED;
    return RESULT_OK;
}

Result PreparedWrite::Complete() {
    Result r = options_.unchangedSince ? CheckUnchanged() : RESULT_OK;
    if (r == RESULT_OK) r = intoExisting_ ? CopyIntoExisting() : RESULT_OK;
    if (r == RESULT_OK && !intoExisting_) {
        if (!temp_.Close()) {
            r = RESULT_ACCESS_ERROR;
        } else if (::rename(temp_.path().c_str(), target_.c_str()) != 0) {
            r = Failed(ResultOfSystemError(errno));
        } else {
            temp_.Renamed();
            return RESULT_OK;
        }
    }
    temp_.Discard();
    return r;
}

// The bytes go into the existing file only now that they are complete and flushed in the
// temporary file; its old content is kept in memory to be put back should the copy fail,
// and signals wait until the file is whole again.
Result PreparedWrite::CopyIntoExisting() {
    SignalDeferral deferral;
    Descriptor file(::open(target_.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return Failed(ResultOfSystemError(errno));
    struct stat now {};
    if (::fstat(file.get(), &now) != 0) return Failed(RESULT_ACCESS_ERROR);
    if (!S_ISREG(now.st_mode) || now.st_dev != before_.st_dev || now.st_ino != before_.st_ino)
        return RESULT_FILE_CHANGED;

    std::string old;
    if (!ReadAllAt(file.get(), old, static_cast<std::uint64_t>(now.st_size)))
        return Failed(RESULT_ACCESS_ERROR);
    if (CopyContent(temp_.fd(), file.get(), size_, options_.fault.failCopyAfterBytes) &&
        SetContentSize(file.get(), size_))
        return RESULT_OK;

    const Result r = Failed(RESULT_ACCESS_ERROR);
    if (!WriteAllAt(file.get(), old, 0, std::numeric_limits<std::uint64_t>::max()) ||
        !SetContentSize(file.get(), old.size())) {
        // The file could not be put back: keep the complete new content beside it.
        temp_.Renamed();
    }
    return r;
}

}  // namespace trimlet
