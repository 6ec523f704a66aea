#include "platform/maker_record.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace trimlet {

namespace {

constexpr std::string_view kMagic = "trimlet-maker-1";

template <typename T>
bool TakeNumber(std::string_view field, T& value) {
    const char* end = field.data() + field.size();
    auto [ptr, ec] = std::from_chars(field.data(), end, value);
    return ec == std::errc() && ptr == end;
}

std::string ReadSmallFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string BootId() {
    static const std::string id = [] {
        std::string text = ReadSmallFile("/proc/sys/kernel/random/boot_id");
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        return text;
    }();
    return id;
}

std::uint64_t PidNamespace() {
    struct stat st {};
    return ::stat("/proc/self/ns/pid", &st) == 0 ? static_cast<std::uint64_t>(st.st_ino) : 0;
}

// The whole of a small file under /proc; false with errno set when it cannot be read.
bool ReadProcFile(const std::string& path, std::string& text) {
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[1024];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return got == 0;
}

// The state letter and start time (clock ticks since boot) of a process from its
// /proc/PID/stat; false when it cannot be read, with `missing` set when there is no such
// process.
bool ReadProcessStat(const std::string& path, char& state, std::uint64_t& startTime,
                     bool& missing) {
    std::string text;
    missing = false;
    if (!ReadProcFile(path, text)) {
        missing = errno == ENOENT || errno == ESRCH;
        return false;
    }
    // The command name may hold any byte: the fields follow its last ')'.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos || close + 2 >= text.size()) {
        missing = text.empty();  // it ended while we read
        return false;
    }
    state = text[close + 2];
    std::size_t at = close + 2;
    // The state is field 3; the start time is field 22.
    for (int field = 3; field < 22; ++field) {
        at = text.find(' ', at);
        if (at == std::string::npos) return false;
        ++at;
    }
    const std::size_t end = text.find(' ', at);
    return TakeNumber(std::string_view(text).substr(at, end - at), startTime);
}

}  // namespace

MakerRecord OurMakerRecord(MakerRecord::Kind kind, std::string targetName, std::string ownName) {
    // Looked up once per process (a forked child is a process of its own).
    // A process stays in the PID namespace it started in.
    static std::atomic<std::int64_t> knownPid{0};
    static std::atomic<std::uint64_t> knownStart{0};
    static std::atomic<std::uint64_t> knownNamespace{0};
    const std::int64_t pid = ::getpid();
    if (knownPid.load() != pid) {
        char state = 0;
        std::uint64_t time = 0;
        bool missing = false;
        knownStart.store(ReadProcessStat("/proc/self/stat", state, time, missing) ? time : 0);
        knownNamespace.store(PidNamespace());
        knownPid.store(pid);
    }
    MakerRecord record;
    record.kind = kind;
    record.bootId = BootId();
    record.pidNamespace = knownNamespace.load();
    record.pid = pid;
    record.startTime = knownStart.load();
    record.targetName = std::move(targetName);
    record.ownName = std::move(ownName);
    return record;
}

// Fields separated by NUL, which no file name holds.
std::string FormatMakerRecord(const MakerRecord& r) {
    std::string out(kMagic);
    const auto add = [&out](std::string_view field) {
        out.push_back('\0');
        out.append(field);
    };
    add(std::string_view(reinterpret_cast<const char*>(&r.kind), 1));
    add(r.bootId);
    add(std::to_string(r.pidNamespace));
    add(std::to_string(r.pid));
    add(std::to_string(r.startTime));
    add(r.targetName);
    add(r.ownName);
    return out;
}

std::optional<MakerRecord> ParseMakerRecord(std::string_view bytes) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t nul = bytes.find('\0', at);
        fields.push_back(bytes.substr(at, nul == std::string_view::npos ? nul : nul - at));
        if (nul == std::string_view::npos) break;
        at = nul + 1;
    }
    if (fields.size() != 8 || fields[0] != kMagic || fields[1].size() != 1) return std::nullopt;
    MakerRecord r;
    r.kind = static_cast<MakerRecord::Kind>(fields[1][0]);
    if (r.kind != MakerRecord::Kind::Temporary && r.kind != MakerRecord::Kind::Recovery)
        return std::nullopt;
    r.bootId = fields[2];
    if (!TakeNumber(fields[3], r.pidNamespace) || !TakeNumber(fields[4], r.pid) ||
        !TakeNumber(fields[5], r.startTime) || r.pid <= 0)
        return std::nullopt;
    r.targetName = fields[6];
    r.ownName = fields[7];
    if (r.bootId.empty() || r.targetName.empty() || r.ownName.empty()) return std::nullopt;
    return r;
}

bool SetMakerRecord(int fd, const MakerRecord& record) {
    const std::string bytes = FormatMakerRecord(record);
    return ::fsetxattr(fd, kMakerAttribute, bytes.data(), bytes.size(), 0) == 0;
}

std::optional<MakerRecord> ReadMakerRecord(const std::string& path, bool* unsupported) {
    if (unsupported) *unsupported = false;
    char buffer[2048];
    const ssize_t size = ::lgetxattr(path.c_str(), kMakerAttribute, buffer, sizeof buffer);
    if (size < 0) {
        if (unsupported) *unsupported = errno == ENOTSUP;
        return std::nullopt;
    }
    return ParseMakerRecord(std::string_view(buffer, static_cast<std::size_t>(size)));
}

MakerState StateOfMaker(const MakerRecord& record) {
    const MakerRecord self = OurMakerRecord(record.kind, {}, {});
    if (self.bootId.empty() || self.pidNamespace == 0 || record.bootId != self.bootId ||
        record.pidNamespace != self.pidNamespace)
        return MakerState::Unknown;
    char state = 0;
    std::uint64_t start = 0;
    bool missing = false;
    if (!ReadProcessStat("/proc/" + std::to_string(record.pid) + "/stat", state, start, missing))
        return missing ? MakerState::Gone : MakerState::Unknown;
    // A zombie has ended; a process with another start time is a new one with a reused PID.
    if (state == 'Z' || state == 'X' || start != record.startTime) return MakerState::Gone;
    return MakerState::Alive;
}

}  // namespace trimlet
