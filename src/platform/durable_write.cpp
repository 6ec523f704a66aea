#include "platform/durable_write.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <set>
#include <unordered_map>

#include "platform/file_metadata.h"
#include "platform/maker_record.h"
#include "platform/recovery_file.h"
#include "platform/system_error.h"

namespace trimlet {

namespace {

constexpr std::string_view kTemporaryTag = ".tmp-";
constexpr int kMaxLinkDepth = 40;

// Paths of the named temporary files, readable from a signal handler: a slot is claimed,
// filled, then marked active; the handler removes the active ones.
constexpr int kSlotCount = 160;
enum SlotState : int { kFree = 0, kFilling = 1, kActive = 2 };
struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};
std::array<Slot, kSlotCount> slots;

// The real paths of the folders met since the last ForgetRealFolders, each with the identity
// of the folder it named: a run looks up the same few folders for every file.
struct KnownFolder {
    std::string real;
    dev_t device = 0;
    ino_t inode = 0;
};
constexpr std::size_t kMaxKnownFolders = 4096;
std::mutex knownMutex;
std::unordered_map<std::string, KnownFolder> knownFolders;

std::atomic<int> deferDepth{0};
std::atomic<int> pendingSignal{0};

int Register(const std::string& path) noexcept {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        int expected = kFree;
        if (!slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].state.store(kActive);
        return i;
    }
    return -1;
}

void Unregister(int& slot) noexcept {
    if (slot >= 0) slots[slot].state.store(kFree);
    slot = -1;
}

void RemoveActiveFiles() noexcept {
    for (Slot& slot : slots) {
        if (slot.state.load() == kActive) ::unlink(slot.path);
    }
}

void EndBySignal(int signalNumber) noexcept {
    RemoveActiveFiles();
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void OnSignal(int signalNumber) {
    if (deferDepth.load() > 0) {
        pendingSignal.store(signalNumber);
        return;
    }
    const int saved = errno;
    EndBySignal(signalNumber);
    errno = saved;
}

Result Failed(Result result) {
    NoteSystemError(errno);
    return result;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string NameOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

// A character device (/dev/null, a terminal) takes the bytes as they come. The open does not
// wait, and whatever it opened must be such a device.
Result WriteToDevice(const std::string& path, std::string_view bytes, const WriteFault& fault) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) return Failed(RESULT_ACCESS_ERROR);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISCHR(st.st_mode)) return Failed(RESULT_ACCESS_ERROR);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return Failed(RESULT_ACCESS_ERROR);
    }
    std::uint64_t offset = 0;
    while (offset < bytes.size()) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(
            bytes.size() - offset,
            fault.failAfterBytes > offset ? fault.failAfterBytes - offset : 0));
        if (chunk == 0) {
            errno = EIO;
            return Failed(RESULT_ACCESS_ERROR);
        }
        const ssize_t done = ::write(fd.get(), bytes.data() + offset, chunk);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) return Failed(RESULT_ACCESS_ERROR);
        offset += static_cast<std::uint64_t>(done);
    }
    return fd.Close() ? RESULT_OK : Failed(RESULT_ACCESS_ERROR);
}

// Whether `path` is `real` but for separators at its end ("/a/b/" for "/a/b").
bool IsSpelledAs(std::string_view path, std::string_view real) {
    return path.substr(0, real.size()) == real &&
           path.find_first_not_of('/', real.size()) == std::string_view::npos;
}

bool IsDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool IsSpecialFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) &&
           !S_ISDIR(st.st_mode);
}

bool FlushFolder(const std::string& folder) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return false;
    // A file system that cannot flush a folder (EINVAL) keeps its entries by itself.
    return ::fsync(fd.get()) == 0 || errno == EINVAL;
}

bool RealFolderPath(const std::string& folder, std::string& real) {
    // A path found before is taken again only while it and `folder` still lead to the very
    // folder they led to then: a link changed since, or a folder moved, is resolved anew.
    struct stat now {};
    const bool exists = ::stat(folder.c_str(), &now) == 0;
    if (exists) {
        std::lock_guard<std::mutex> lock(knownMutex);
        if (const auto it = knownFolders.find(folder); it != knownFolders.end()) {
            const KnownFolder& known = it->second;
            struct stat st {};
            // A path that is its own real path was looked at just now.
            if (known.device == now.st_dev && known.inode == now.st_ino &&
                (IsSpelledAs(folder, known.real) ||
                 (::stat(known.real.c_str(), &st) == 0 && st.st_dev == now.st_dev &&
                  st.st_ino == now.st_ino))) {
                real = known.real;
                return true;
            }
            knownFolders.erase(it);
        }
    }
    std::array<char, PATH_MAX> resolved;
    if (::realpath(folder.c_str(), resolved.data()) == nullptr) return false;
    real = resolved.data();
    if (exists) {
        try {
            std::lock_guard<std::mutex> lock(knownMutex);
            if (knownFolders.size() >= kMaxKnownFolders) knownFolders.clear();
            knownFolders[folder] = KnownFolder{real, now.st_dev, now.st_ino};
        } catch (const std::bad_alloc&) {
            // Only the next look-up is slower.
        }
    }
    return true;
}

void ForgetRealFolders() {
    std::lock_guard<std::mutex> lock(knownMutex);
    knownFolders.clear();
}

bool ResolveWriteTarget(const std::string& path, WriteTarget& target) {
    if (path.empty()) {
        errno = ENOENT;
        NoteSystemError(errno);
        return false;
    }
    // Follow links ourselves, so that a dangling one leads to the file it names.
    std::string at = path;
    struct stat st {};
    bool found = false;
    bool plain = false;  // a file (no link) there, or nothing at all
    for (int depth = 0;; ++depth) {
        found = ::lstat(at.c_str(), &st) == 0;
        if (!found || !S_ISLNK(st.st_mode)) {
            plain = found || errno == ENOENT;
            break;
        }
        if (depth == kMaxLinkDepth) {
            NoteSystemError(ELOOP);
            return false;
        }
        std::array<char, PATH_MAX> link;
        const ssize_t size = ::readlink(at.c_str(), link.data(), link.size());
        if (size <= 0 || static_cast<std::size_t>(size) >= link.size()) break;
        const std::string to(link.data(), static_cast<std::size_t>(size));
        at = to[0] == '/' ? to : Join(FolderOf(at), to);
    }
    std::string name = NameOf(at);
    std::string folder = FolderOf(at);
    if (name.empty() || name == "." || name == "..") {
        // The path names a folder: let the caller find it one.
        folder = at;
        name = ".";
    }
    target.seen = plain && name != ".";
    target.found = target.seen && found;
    if (target.found) target.status = st;
    if (!RealFolderPath(folder, target.folder)) {
        NoteSystemError(errno);
        return false;
    }
    target.name = std::move(name);
    target.path = target.name == "." ? target.folder : Join(target.folder, target.name);
    return true;
}

PendingWrite::PendingWrite(PendingWrite&& other) noexcept {
    *this = std::move(other);
}

PendingWrite& PendingWrite::operator=(PendingWrite&& other) noexcept {
    if (this != &other) {
        Abandon();
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        namedTemp_ = std::exchange(other.namedTemp_, {});
        freshName_ = std::exchange(other.freshName_, {});
        slot_ = std::exchange(other.slot_, -1);
        before_ = other.before_;
        existed_ = other.existed_;
        intoExisting_ = other.intoExisting_;
        size_ = other.size_;
        options_ = std::move(other.options_);
    }
    return *this;
}

Result PendingWrite::Step(WriteStep step) {
    if (!options_.fault.atStep) return RESULT_OK;
    if (const int error = options_.fault.atStep(step); error != 0) {
        errno = error;
        return Failed(RESULT_ACCESS_ERROR);
    }
    return RESULT_OK;
}

void PendingWrite::CloseTemporary() noexcept {
    temp_.Close();
    Unregister(slot_);
}

void PendingWrite::Abandon() noexcept {
    const int saved = errno;
    if (!namedTemp_.empty()) ::unlink(Join(target_.folder, namedTemp_).c_str());
    if (!freshName_.empty()) ::unlink(Join(target_.folder, freshName_).c_str());
    namedTemp_.clear();
    freshName_.clear();
    CloseTemporary();
    errno = saved;
}

Result PendingWrite::Prepare(const std::string& path, const WriteOptions& options, mode_t umask) {
    Abandon();
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    options_ = options;
    if (!ResolveWriteTarget(path, target_)) return ResultOfSystemError(LastSystemError());
    before_ = target_.status;
    existed_ = target_.seen ? target_.found : ::stat(target_.path.c_str(), &before_) == 0;
    if (existed_ && S_ISDIR(before_.st_mode)) return RESULT_IS_FOLDER;
    if (existed_ && !S_ISREG(before_.st_mode)) return RESULT_ACCESS_ERROR;
    if (options_.unchangedSince) {
        if (Result r = CheckUnchanged(); r != RESULT_OK) return r;
    }
    CheckFolderOnce(target_.folder);
    if (Result r = CreateTemporary(); r != RESULT_OK) return r;
    if (Result r = Step(WriteStep::TemporaryMade); r != RESULT_OK) {
        Abandon();
        return r;
    }
    if (!existed_) {
        if (::fchmod(temp_.get(), NewFileMode(options_.newFileModeLimit, umask)) != 0) {
            const Result r = Failed(RESULT_ACCESS_ERROR);
            Abandon();
            return r;
        }
        return RESULT_OK;
    }
    // A file with other names must keep its inode, and so must one whose owner and group
    // a new file cannot be given: its bytes are then copied into it.
    const int noted = LastSystemError();
    intoExisting_ =
        before_.st_nlink > 1 || !TakeOwnerAndPermissions(temp_.get(), before_, target_.path);
    if (intoExisting_) NoteSystemError(noted);  // an expected refusal, not a failure
    return RESULT_OK;
}

// Unnamed where the file system allows, so that nothing named exists until the content is
// whole; it carries our record from the start, so a named one is never taken for another's.
Result PendingWrite::CreateTemporary() {
    freshName_ = FreshName(target_.name, kTemporaryTag);
    temp_ = Descriptor(::open(target_.folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (!temp_.valid() && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        const std::string path = Join(target_.folder, freshName_);
        // Registered before it exists, so that no moment leaves it unknown to the handler.
        slot_ = Register(path);
        temp_ = Descriptor(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (temp_.valid()) namedTemp_ = std::exchange(freshName_, {});
    }
    if (!temp_.valid()) {
        const int error = errno;
        NoteSystemError(error);
        freshName_.clear();
        Unregister(slot_);
        return ResultOfSystemError(error);
    }
    const std::string& ownName = namedTemp_.empty() ? freshName_ : namedTemp_;
    SetMakerRecord(temp_.get(),
                   OurMakerRecord(MakerRecord::Kind::Temporary, target_.name, ownName));
    return RESULT_OK;
}

Result PendingWrite::Write(std::string_view bytes) {
    size_ = bytes.size();
    Result r = RESULT_OK;
    if (!WriteAllAt(temp_.get(), bytes, 0, options_.fault.failAfterBytes))
        r = Failed(RESULT_ACCESS_ERROR);
    if (r == RESULT_OK) r = Step(WriteStep::ContentWritten);
    if (r != RESULT_OK) Abandon();
    return r;
}

Result PendingWrite::Flush() {
    Result r = ::fsync(temp_.get()) == 0 ? RESULT_OK : Failed(RESULT_ACCESS_ERROR);
    if (r == RESULT_OK) r = Step(WriteStep::ContentFlushed);
    if (r != RESULT_OK) Abandon();
    return r;
}

Result PendingWrite::CheckUnchanged() const {
    FileStamp now;
    if (!TakeFileStamp(target_.path, now) || !now.IsUnchanged(*options_.unchangedSince))
        return RESULT_FILE_CHANGED;
    return RESULT_OK;
}

bool PendingWrite::Replaces(const WriteTarget& target, const struct stat* st) const {
    if (target.path == target_.path) return true;
    return st != nullptr && existed_ && st->st_dev == before_.st_dev &&
           st->st_ino == before_.st_ino;
}

Result PendingWrite::Complete() {
    Result r = options_.unchangedSince ? CheckUnchanged() : RESULT_OK;
    if (r == RESULT_OK) r = intoExisting_ ? CopyIntoExisting() : LinkAndRename();
    Abandon();
    return r;
}

// linkat cannot replace a name: the file gets a fresh one, which the rename then moves over
// the target. A crash in between leaves a named file that carries our record.
Result PendingWrite::LinkAndRename() {
    const std::string target = target_.path;
    if (namedTemp_.empty()) {
        const std::string fresh = Join(target_.folder, freshName_);
        slot_ = Register(fresh);
        const std::string self = "/proc/self/fd/" + std::to_string(temp_.get());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, fresh.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
            ::linkat(temp_.get(), "", AT_FDCWD, fresh.c_str(), AT_EMPTY_PATH) != 0) {
            const int error = errno;
            freshName_.clear();  // nothing was named
            NoteSystemError(error);
            return ResultOfSystemError(error);
        }
        if (Result r = Step(WriteStep::Linked); r != RESULT_OK) return r;
        namedTemp_ = std::exchange(freshName_, {});
    }
    const std::string from = Join(target_.folder, namedTemp_);
    if (::rename(from.c_str(), target.c_str()) != 0) return Failed(ResultOfSystemError(errno));
    namedTemp_.clear();
    Unregister(slot_);
    // The record stays: it names the file's temporary name, which is gone now, so no look at
    // the folder takes the file for a leftover (CheckFolder), and a later write does not copy
    // it (TakeOwnerAndPermissions). Removing it cost a journalled change per file that, on
    // ext4, made a run over many files wait several times as long.
    if (!temp_.Close()) return Failed(RESULT_ACCESS_ERROR);
    return Step(WriteStep::Renamed);
}

// The bytes go into the existing file only once complete and flushed in the temporary file,
// and only after its old content is saved in a recovery file beside it; signals wait until
// the file is whole again.
Result PendingWrite::CopyIntoExisting() {
    Descriptor file(
        ::open(target_.path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    if (!file.valid()) return Failed(ResultOfSystemError(errno));
    // One copy into a file at a time: another one's recovery file must never save a half-copied
    // file as its old content. The wait may still be ended by a signal.
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    while (::fcntl(file.get(), F_OFD_SETLKW, &lock) != 0) {
        if (errno == EINTR) continue;
        if (errno != ENOLCK && errno != EINVAL && errno != EOPNOTSUPP)
            return Failed(RESULT_ACCESS_ERROR);
        break;  // a file system without locks
    }
    // What was read may have been changed by the copy we waited for.
    if (options_.unchangedSince) {
        if (Result r = CheckUnchanged(); r != RESULT_OK) return r;
    }
    SignalDeferral deferral;
    struct stat now {};
    if (::fstat(file.get(), &now) != 0) return Failed(RESULT_ACCESS_ERROR);
    if (!S_ISREG(now.st_mode) || now.st_dev != before_.st_dev || now.st_ino != before_.st_ino)
        return RESULT_FILE_CHANGED;

    RecoveryFile journal;
    if (Result r = journal.Make(target_, file.get(), now, options_.fault); r != RESULT_OK) return r;

    bool copied = true;
    std::array<char, 65536> buffer;
    for (std::uint64_t at = 0; copied && at < size_;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size_ - at));
        const ssize_t got = ::pread(temp_.get(), buffer.data(), want, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0) errno = EIO;
            copied = false;
            break;
        }
        copied =
            WriteAllAt(file.get(), std::string_view(buffer.data(), static_cast<std::size_t>(got)),
                       at, options_.fault.failCopyAfterBytes) &&
            Step(WriteStep::CopyChunk) == RESULT_OK;
        at += static_cast<std::uint64_t>(got);
    }
    if (copied) {
        while (::ftruncate(file.get(), static_cast<off_t>(size_)) != 0 && errno == EINTR) {
        }
        copied = ::fsync(file.get()) == 0 &&
                 static_cast<std::uint64_t>(::lseek(file.get(), 0, SEEK_END)) == size_ &&
                 Step(WriteStep::Copied) == RESULT_OK;
    }
    if (!copied) {
        const Result r = Failed(RESULT_ACCESS_ERROR);
        // Put the old content back; should that fail too, the recovery file stays and the
        // next write into the folder puts it back.
        if (journal.Restore(file.get())) journal.Remove();
        return r;
    }
    journal.Remove();
    return Step(WriteStep::JournalRemoved);
}

Result WriteBatch::AddOnce(const std::string& path, std::string_view bytes,
                           const WriteOptions& options) {
    if (!umask_) umask_ = CurrentUmask();
    PendingWrite write;
    Result r = write.Prepare(path, options, *umask_);
    if (r == RESULT_OK) r = write.Write(bytes);
    if (r != RESULT_OK) return r;
    struct statvfs fs {};
    if (::fstatvfs(write.fd(), &fs) == 0) {
        const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
        nearlyFull_ = nearlyFull_ || free < 2 * (bytes_ + bytes.size()) + kSpareRoom;
    }
    writes_.push_back(std::move(write));
    bytes_ += bytes.size();
    ++added_;
    return RESULT_OK;
}

Result WriteBatch::Add(const std::string& path, std::string_view bytes,
                       const WriteOptions& options) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        const Result r = AddOnce(path, bytes, options);
        // The waiting files may be what fills the disk: complete them and try again.
        if (r == RESULT_ACCESS_ERROR && IsDiskFull(LastSystemError()) && !writes_.empty() &&
            makeRoom_) {
            if (!makeRoom_()) return RESULT_STOPPED;
            ClearSystemError();
            return AddOnce(path, bytes, options);
        }
        return r;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

bool WriteBatch::IsFull() const {
    return writes_.size() >= kMaxFiles || bytes_ >= kMaxBytes || (nearlyFull_ && !writes_.empty());
}

bool WriteBatch::Replaces(const std::string& path) const {
    if (writes_.empty()) return false;
    // A file under a name that no waiting write has, and that is no link, can be one of
    // theirs only as another name of an existing file: one look settles that.
    struct stat st {};
    const bool exists = ::lstat(path.c_str(), &st) == 0;
    const bool plain = exists ? !S_ISLNK(st.st_mode) : errno == ENOENT;
    const std::string name = NameOf(path);
    if (plain && !name.empty() && name != "." && name != ".." &&
        std::none_of(writes_.begin(), writes_.end(),
                     [&name](const PendingWrite& w) { return w.TargetName() == name; })) {
        const WriteTarget unnamed;  // matches no waiting write by path
        return exists && std::any_of(writes_.begin(), writes_.end(), [&](const PendingWrite& w) {
                   return w.Replaces(unnamed, &st);
               });
    }
    return ReplacesResolved(path);
}

bool WriteBatch::ReplacesResolved(const std::string& path) const {
    const int noted = LastSystemError();
    WriteTarget target;
    const bool resolved = ResolveWriteTarget(path, target);
    NoteSystemError(noted);
    if (!resolved) return false;
    struct stat st = target.status;
    const bool exists = target.seen ? target.found : ::stat(target.path.c_str(), &st) == 0;
    for (const PendingWrite& waiting : writes_) {
        if (waiting.Replaces(target, exists ? &st : nullptr)) return true;
    }
    return false;
}

bool WriteBatch::Commit(const std::function<bool(std::size_t, Result)>& onResult) {
    if (writes_.empty()) return true;
    const std::size_t count = writes_.size();
    std::size_t next = 0;
    bool goOn = true;
    try {
        // One flush of each file system holding them (one file is flushed on its own);
        // should it report a failure, each file is flushed on its own to learn which failed.
        bool allFlushed = writes_.size() > 1;
        if (allFlushed) {
            std::set<dev_t> flushed;
            for (PendingWrite& waiting : writes_) {
                struct stat st {};
                if (::fstat(waiting.fd(), &st) != 0) {
                    allFlushed = false;
                } else if (flushed.insert(st.st_dev).second && ::syncfs(waiting.fd()) != 0) {
                    allFlushed = false;
                }
            }
        }
        std::set<std::string> folders;
        for (; next < writes_.size() && goOn; ++next) {
            PendingWrite& write = writes_[next];
            Result r = allFlushed ? RESULT_OK : write.Flush();
            if (r == RESULT_OK) {
                folders.insert(write.target().folder);
                r = write.Complete();
            }
            goOn = onResult(next, r);
        }
        for (const std::string& folder : folders)
            FlushFolder(folder);
    } catch (const std::bad_alloc&) {
        // Nothing more is put in place; what is left is reported as not written.
        Abandon();
        try {
            for (; next < count && goOn; ++next)
                goOn = onResult(next, RESULT_OUT_OF_MEMORY);
        } catch (const std::bad_alloc&) {
            goOn = false;
        }
        return goOn;
    }
    Abandon();
    return goOn;
}

void WriteBatch::Abandon() noexcept {
    for (PendingWrite& waiting : writes_)
        waiting.Abandon();
    writes_.clear();
    bytes_ = 0;
    nearlyFull_ = false;
}

Result WriteFileAtomically(const std::string& path, std::string_view bytes,
                           const WriteOptions& options) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    try {
        struct stat st {};
        if (options.allowCharacterDevice && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode))
            return WriteToDevice(path, bytes, options.fault);
        WriteBatch one;
        if (Result r = one.Add(path, bytes, options); r != RESULT_OK) return r;
        Result result = RESULT_OUT_OF_MEMORY;
        one.Commit([&result](std::size_t, Result r) {
            result = r;
            return true;
        });
        return result;
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

void RemoveTemporaryFilesOnSignals() {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) != 0) continue;
        if (current.sa_handler == SIG_IGN) continue;  // for example under nohup
        struct sigaction action {};
        action.sa_handler = OnSignal;
        action.sa_flags = SA_RESTART;  // a deferred signal must not cut a read or write short
        ::sigemptyset(&action.sa_mask);
        ::sigaction(signalNumber, &action, nullptr);
    }
    // A reader that went away, or a file-size limit, fails the write (EPIPE, EFBIG) and the
    // write's own cleanup runs.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

SignalDeferral::SignalDeferral() noexcept {
    deferDepth.fetch_add(1);
}

SignalDeferral::~SignalDeferral() noexcept {
    if (deferDepth.fetch_sub(1) != 1) return;
    if (const int signalNumber = pendingSignal.exchange(0); signalNumber != 0)
        EndBySignal(signalNumber);
}

}  // namespace trimlet
