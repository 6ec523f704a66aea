#include "platform/temp_files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "platform/system_error.h"

namespace trimlet {

namespace {

constexpr std::string_view kMarker = ".tmp-";

// Paths of the temporary files being written, readable from a signal handler: a slot is
// claimed, filled, then marked active; the handler removes the active ones.
constexpr int kSlotCount = 160;
enum SlotState : int { kFree = 0, kFilling = 1, kActive = 2 };
struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};
std::array<Slot, kSlotCount> slots;

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

std::string NameOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads decimal (or, with `hex`, hexadecimal) digits at `text[at]`; false when none.
bool TakeNumber(std::string_view text, std::size_t& at, bool hex, unsigned long long& value) {
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && at - start < 16) {
        const char c = text[at];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) break;
        value = value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        ++at;
    }
    return at > start;
}

bool ProcessIsGone(int pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      slot_(std::exchange(other.slot_, -1)),
      path_(std::move(other.path_)) {
    other.path_.clear();
}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
    if (this != &other) {
        Discard();
        fd_ = std::exchange(other.fd_, -1);
        slot_ = std::exchange(other.slot_, -1);
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

Result TemporaryFile::Create(const std::string& target) {
    Discard();
    static std::atomic<unsigned> counter{0};
    // A short prefix of the name keeps the temporary name within the file system's limit.
    const std::string prefix =
        FolderOf(target) + "/." + NameOf(target).substr(0, 160) + std::string(kMarker);
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "%d-%u-%lx", static_cast<int>(::getpid()),
                      counter.fetch_add(1), static_cast<unsigned long>(now.tv_nsec));
        std::string candidate = prefix + suffix;
        // Registered before it exists, so that no moment leaves it unknown to the handler.
        const int slot = Register(candidate);
        const int raw = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (raw >= 0) {
            fd_ = raw;
            slot_ = slot;
            path_ = std::move(candidate);
            return RESULT_OK;
        }
        const int error = errno;
        if (slot >= 0) slots[slot].state.store(kFree);
        if (error != EEXIST) {
            NoteSystemError(error);
            return ResultOfSystemError(error);
        }
    }
    NoteSystemError(EEXIST);
    return RESULT_FILE_ERROR;
}

bool TemporaryFile::Close() noexcept {
    if (fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0) NoteSystemError(errno);
    return rc == 0;
}

void TemporaryFile::Unregister() noexcept {
    if (slot_ >= 0) slots[slot_].state.store(kFree);
    slot_ = -1;
}

void TemporaryFile::Renamed() noexcept {
    Close();
    Unregister();
    path_.clear();
}

void TemporaryFile::Discard() noexcept {
    const int saved = errno;
    Close();
    if (!path_.empty()) ::unlink(path_.c_str());
    Unregister();
    path_.clear();
    errno = saved;
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
}

SignalDeferral::SignalDeferral() noexcept {
    deferDepth.fetch_add(1);
}

SignalDeferral::~SignalDeferral() noexcept {
    if (deferDepth.fetch_sub(1) != 1) return;
    if (const int signalNumber = pendingSignal.exchange(0); signalNumber != 0)
        EndBySignal(signalNumber);
}

int TemporaryFileOwner(std::string_view name) {
    if (name.empty() || name[0] != '.') return 0;
    const std::size_t marker = name.rfind(kMarker);
    if (marker == std::string_view::npos || marker < 2) return 0;
    std::size_t at = marker + kMarker.size();
    unsigned long long pid = 0, count = 0, stamp = 0;
    if (!TakeNumber(name, at, false, pid) || at >= name.size() || name[at++] != '-') return 0;
    if (!TakeNumber(name, at, false, count) || at >= name.size() || name[at++] != '-') return 0;
    if (!TakeNumber(name, at, true, stamp) || at != name.size()) return 0;
    return pid > 0 && pid <= INT_MAX ? static_cast<int>(pid) : 0;
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> done;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!done.insert(folder).second) return;
    }
    const int saved = errno;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        errno = saved;
        return;
    }
    const int self = static_cast<int>(::getpid());
    while (const struct dirent* entry = ::readdir(dir)) {
        const int owner = TemporaryFileOwner(entry->d_name);
        if (owner == 0 || owner == self || !ProcessIsGone(owner)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
    errno = saved;
}

}  // namespace trimlet
