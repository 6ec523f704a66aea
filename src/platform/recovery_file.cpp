#include "platform/recovery_file.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <set>
#include <utility>

#include "platform/maker_record.h"
#include "platform/system_error.h"

namespace trimlet {

namespace {

constexpr std::string_view kMagicLine = "TRIMLET RECOVERY 1\n";
// device, inode, size, checksum, name length, record length
constexpr std::size_t kNumbersLine = 20 + 1 + 20 + 1 + 20 + 1 + 16 + 1 + 4 + 1 + 4 + 1;
constexpr std::string_view kTemporaryTag = ".tmp-";
constexpr std::string_view kRecoveryTag = ".recover-";

std::mutex noticeMutex;
std::vector<WriteNotice> notices;
std::set<std::pair<int, std::string>> noticed;

std::mutex checkedMutex;
std::set<std::string> checkedFolders;

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool Failed() {
    NoteSystemError(errno);
    return false;
}

bool WriteAllAt(int fd, std::string_view bytes, std::uint64_t offset) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads up to `size` bytes at `offset`; the count read, or -1.
ssize_t ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset) {
    for (;;) {
        const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

// Copies `size` bytes from `from` at `fromOffset` to `to` at `toOffset`; with `hash`, the
// checksum of the bytes copied. False on a failure or a short source.
bool CopyRange(int from, std::uint64_t fromOffset, int to, std::uint64_t toOffset,
               std::uint64_t size, std::uint64_t* hash) {
    std::array<char, 65536> buffer;
    for (std::uint64_t at = 0; at < size;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - at));
        const ssize_t got = ReadAt(from, buffer.data(), want, fromOffset + at);
        if (got <= 0) {
            if (got == 0) errno = EIO;
            return false;
        }
        const std::string_view piece(buffer.data(), static_cast<std::size_t>(got));
        if (hash) *hash = ContentChecksum(piece, *hash);
        if (!WriteAllAt(to, piece, toOffset + at)) return false;
        at += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool Truncate(int fd, std::uint64_t size) {
    while (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

bool LockForWriting(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

std::string HeaderOf(const RecoveryHeader& h) {
    char numbers[kNumbersLine + 1];
    std::snprintf(numbers, sizeof numbers,
                  "%020" PRIu64 " %020" PRIu64 " %020" PRIu64 " %016" PRIx64 " %04zu %04zu\n",
                  h.device, h.inode, h.size, h.checksum, h.targetName.size(), h.record.size());
    std::string header(kMagicLine);
    header.append(numbers, kNumbersLine);
    header += h.targetName;
    header += h.record;
    return header;
}

// A named leftover whose name has our shape, in a folder whose file system keeps no record.
bool HasOurShape(std::string_view name) {
    return name.size() > 1 && name[0] == '.' &&
           (name.find(kTemporaryTag) != std::string_view::npos ||
            name.find(kRecoveryTag) != std::string_view::npos);
}

// A recovery file nobody holds: put the old content back when it is complete and its file
// is still the one it saved, remove it when it is incomplete.
void RecoverFrom(const std::string& folder, const std::string& name, const MakerRecord& record) {
    const std::string path = Join(folder, name);
    Descriptor journal(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!journal.valid()) {
        AddWriteNotice(WriteNotice::Kind::Kept, path);
        return;
    }
    // Only a recovery file of our own user is trusted to say what a file held: in a folder
    // others may write, anyone could leave one naming a file of ours.
    struct stat own {};
    if (::fstat(journal.get(), &own) != 0 || own.st_uid != ::geteuid() ||
        record.targetName.find('/') != std::string::npos) {
        AddWriteNotice(WriteNotice::Kind::Kept, path);
        return;
    }
    if (!LockForWriting(journal.get())) {
        if (errno != EAGAIN && errno != EACCES) AddWriteNotice(WriteNotice::Kind::Kept, path);
        return;  // its copy still runs
    }
    if (StateOfMaker(record) == MakerState::Alive) return;
    RecoveryHeader header;
    if (!ReadCompleteRecoveryFile(journal.get(), header)) {
        ::unlink(path.c_str());  // the copy never began
        FlushFolder(folder);
        return;
    }
    const std::string target = Join(folder, header.targetName);
    Descriptor file(
        ::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (header.targetName != record.targetName || !file.valid() || ::fstat(file.get(), &st) != 0 ||
        !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_dev) != header.device ||
        static_cast<std::uint64_t>(st.st_ino) != header.inode) {
        // Its file was replaced or removed since: the old content stays where it is.
        AddWriteNotice(WriteNotice::Kind::Kept, path);
        return;
    }
    if (!CopyRange(journal.get(), header.headerSize, file.get(), 0, header.size, nullptr) ||
        !Truncate(file.get(), header.size) || ::fsync(file.get()) != 0) {
        AddWriteNotice(WriteNotice::Kind::Kept, path);
        return;
    }
    ::unlink(path.c_str());
    FlushFolder(folder);
    AddWriteNotice(WriteNotice::Kind::Restored, target);
}

}  // namespace

std::uint64_t ContentChecksum(std::string_view bytes, std::uint64_t hash) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string FreshName(const std::string& targetName, std::string_view tag) {
    std::uint64_t random = 0;
    if (::getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random) {
        static std::uint64_t counter = 0;
        random = (static_cast<std::uint64_t>(::getpid()) << 32) ^ ++counter ^
                 static_cast<std::uint64_t>(::time(nullptr));
    }
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016" PRIx64, random);
    // A short prefix of the name keeps the fresh name within the file system's limit.
    return "." + targetName.substr(0, 200) + std::string(tag) + suffix;
}

Result RecoveryFile::Make(const WriteTarget& target, int file, const struct stat& st,
                          const WriteFault& fault) {
    const std::string name = FreshName(target.name, kRecoveryTag);
    path_ = Join(target.folder, name);
    // Unnamed until complete where the file system allows; named at once otherwise.
    bool named = false;
    fd_ = Descriptor(::open(target.folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (!fd_.valid() && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        fd_ = Descriptor(::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        named = fd_.valid();
    }
    if (!fd_.valid()) {
        NoteSystemError(errno);
        path_.clear();
        return RESULT_NO_RECOVERY_FILE;
    }
    const auto fail = [&](Result result) {
        NoteSystemError(errno);
        if (named) ::unlink(path_.c_str());
        fd_.Close();
        path_.clear();
        return result;
    };
    const MakerRecord record = OurMakerRecord(MakerRecord::Kind::Recovery, target.name, name);
    SetMakerRecord(fd_.get(), record);  // without attributes, nothing removes it by mistake
    if (!LockForWriting(fd_.get())) return fail(RESULT_NO_RECOVERY_FILE);

    RecoveryHeader header;
    header.device = static_cast<std::uint64_t>(st.st_dev);
    header.inode = static_cast<std::uint64_t>(st.st_ino);
    header.size = static_cast<std::uint64_t>(st.st_size);
    header.targetName = target.name;
    header.record = FormatMakerRecord(record);
    headerSize_ = HeaderOf(header).size();
    size_ = header.size;
    header.checksum = ContentChecksum({});
    if (!CopyRange(file, 0, fd_.get(), headerSize_, size_, &header.checksum) ||
        !WriteAllAt(fd_.get(), HeaderOf(header), 0) || ::fsync(fd_.get()) != 0)
        return fail(RESULT_ACCESS_ERROR);
    if (!named) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
            ::linkat(fd_.get(), "", AT_FDCWD, path_.c_str(), AT_EMPTY_PATH) != 0)
            return fail(RESULT_NO_RECOVERY_FILE);
        named = true;
    }
    // The copy may begin only once the recovery file's name is on disk.
    if (!FlushFolder(target.folder)) return fail(RESULT_ACCESS_ERROR);
    if (fault.atStep) {
        if (const int error = fault.atStep(WriteStep::JournalMade); error != 0) {
            errno = error;
            return fail(RESULT_ACCESS_ERROR);
        }
    }
    return RESULT_OK;
}

bool RecoveryFile::Restore(int file) const {
    if (!fd_.valid()) return false;
    if (!CopyRange(fd_.get(), headerSize_, file, 0, size_, nullptr) || !Truncate(file, size_) ||
        ::fsync(file) != 0)
        return Failed();
    return true;
}

void RecoveryFile::Remove() noexcept {
    if (!path_.empty()) ::unlink(path_.c_str());
    path_.clear();
    fd_.Close();
}

bool ReadCompleteRecoveryFile(int fd, RecoveryHeader& header) {
    char start[kMagicLine.size() + kNumbersLine];
    if (ReadAt(fd, start, sizeof start, 0) != static_cast<ssize_t>(sizeof start)) return false;
    if (std::string_view(start, kMagicLine.size()) != kMagicLine) return false;
    std::size_t nameSize = 0, recordSize = 0;
    char end = 0;
    const std::string numbers(start + kMagicLine.size(), kNumbersLine);
    if (std::sscanf(numbers.c_str(),
                    "%20" SCNu64 " %20" SCNu64 " %20" SCNu64 " %16" SCNx64 " %4zu %4zu%c",
                    &header.device, &header.inode, &header.size, &header.checksum, &nameSize,
                    &recordSize, &end) != 7 ||
        end != '\n' || nameSize == 0)
        return false;
    std::string names(nameSize + recordSize, '\0');
    if (ReadAt(fd, names.data(), names.size(), sizeof start) != static_cast<ssize_t>(names.size()))
        return false;
    header.targetName = names.substr(0, nameSize);
    header.record = names.substr(nameSize);
    header.headerSize = sizeof start + names.size();
    struct stat st {};
    if (::fstat(fd, &st) != 0 ||
        static_cast<std::uint64_t>(st.st_size) != header.headerSize + header.size)
        return false;
    std::array<char, 65536> buffer;
    std::uint64_t hash = ContentChecksum({});
    for (std::uint64_t at = 0; at < header.size;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), header.size - at));
        const ssize_t got = ReadAt(fd, buffer.data(), want, header.headerSize + at);
        if (got <= 0) return false;
        hash =
            ContentChecksum(std::string_view(buffer.data(), static_cast<std::size_t>(got)), hash);
        at += static_cast<std::uint64_t>(got);
    }
    return hash == header.checksum;
}

void AddWriteNotice(WriteNotice::Kind kind, const std::string& path) {
    std::lock_guard<std::mutex> lock(noticeMutex);
    if (noticed.insert({static_cast<int>(kind), path}).second) notices.push_back({kind, path});
}

std::vector<WriteNotice> TakeWriteNotices() {
    std::lock_guard<std::mutex> lock(noticeMutex);
    return std::exchange(notices, {});
}

void CheckFolder(const std::string& folder) {
    const int saved = errno;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        errno = saved;
        return;
    }
    std::vector<std::string> names;
    while (const struct dirent* entry = ::readdir(dir)) {
        // Our fresh names are hidden ones; the record, not the name, decides.
        if (entry->d_name[0] == '.' && entry->d_name[1] != '\0' &&
            !(entry->d_name[1] == '.' && entry->d_name[2] == '\0'))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string path = Join(folder, name);
        bool unsupported = false;
        const std::optional<MakerRecord> record = ReadMakerRecord(path, &unsupported);
        if (!record) {
            if (unsupported && HasOurShape(name)) AddWriteNotice(WriteNotice::Kind::Kept, path);
            continue;
        }
        // A record copied along with a file, or a file renamed since, is not a leftover.
        if (record->ownName != name) continue;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (record->kind == MakerRecord::Kind::Recovery) {
            RecoverFrom(folder, name, *record);
            continue;
        }
        switch (StateOfMaker(*record)) {
            case MakerState::Gone:
                ::unlink(path.c_str());
                break;
            case MakerState::Unknown:
                AddWriteNotice(WriteNotice::Kind::Kept, path);
                break;
            case MakerState::Alive:
                break;
        }
    }
    errno = saved;
}

void CheckFolderOnce(const std::string& folder) {
    {
        std::lock_guard<std::mutex> lock(checkedMutex);
        if (!checkedFolders.insert(folder).second) return;
    }
    CheckFolder(folder);
}

void ForgetCheckedFolders() {
    ForgetRealFolders();
    std::lock_guard<std::mutex> lock(checkedMutex);
    checkedFolders.clear();
}

}  // namespace trimlet
