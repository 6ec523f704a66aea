#include "platform/file_info.h"

#include <errno.h>
#include <sys/stat.h>
#include <time.h>

#include <limits>

#include "platform/system_error.h"

namespace trimlet {

namespace {

// Seconds from 1601-01-01 to 1970-01-01 (UTC).
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kTicksPerSecond = 10'000'000;

// The range a calendar date can take on the system whose file times these are.
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;

std::uint32_t AttributesOf(const struct stat& st) {
    std::uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((st.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

std::string LastComponent(const std::string& path) {
    std::string::size_type end = path.find_last_not_of('/');
    if (end == std::string::npos) return path.empty() ? std::string() : std::string("/");
    std::string::size_type slash = path.rfind('/', end);
    std::string::size_type begin = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(begin, end + 1 - begin);
}

}  // namespace

FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    seconds += nanoseconds / 1'000'000'000;
    nanoseconds %= 1'000'000'000;
    if (nanoseconds < 0) {
        nanoseconds += 1'000'000'000;
        --seconds;
    }
    if (seconds < -kSecondsFrom1601To1970) return 0;
    auto since1601 = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970);
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (since1601 > (kMax - 9'999'999) / kTicksPerSecond) return kMax;
    return since1601 * kTicksPerSecond + static_cast<std::uint64_t>(nanoseconds / 100);
}

Result GetFindRecord(const std::string& path, FindRecord& record) {
    struct stat st {};
    if (path.empty()) return RESULT_NOT_FOUND;
    if (::stat(path.c_str(), &st) != 0) {
        NoteSystemError(errno);
        return RESULT_NOT_FOUND;
    }
    FillFindRecord(path, st, record);
    return RESULT_OK;
}

void FillFindRecord(const std::string& path, const struct stat& st, FindRecord& record) {
    record.attributes = AttributesOf(st);
    record.creationTime = FileTimeFromUnix(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
    record.lastAccessTime = FileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
    record.lastWriteTime = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    record.size = static_cast<std::uint64_t>(st.st_size);
    record.name = LastComponent(path);
    record.identity =
        FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool GetFileIdentity(const std::string& path, FileIdentity& identity) {
    struct stat st {};
    if (path.empty()) return false;
    if (::stat(path.c_str(), &st) != 0) {
        NoteSystemError(errno);
        return false;
    }
    identity =
        FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    FileIdentity first, second;
    return GetFileIdentity(a, first) && GetFileIdentity(b, second) && first == second;
}

bool GetFileAttributes(const std::string& path, std::uint32_t& attributes) {
    struct stat st {};
    if (path.empty()) return false;
    if (::stat(path.c_str(), &st) != 0) {
        NoteSystemError(errno);
        return false;
    }
    attributes = AttributesOf(st);
    return true;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR)) : (mode | S_IWUSR);
    if (::chmod(path.c_str(), mode) == 0) return true;
    NoteSystemError(errno);
    return false;
}

bool FileTimeToLocal(FileTime time, LocalTime& local) {
    auto seconds = static_cast<std::int64_t>(time / kTicksPerSecond) - kSecondsFrom1601To1970;
    auto unixTime = static_cast<time_t>(seconds);
    if (static_cast<std::int64_t>(unixTime) != seconds) return false;
    struct tm parts {};
    if (::localtime_r(&unixTime, &parts) == nullptr) return false;
    int year = parts.tm_year + 1900;
    if (year < kFirstYear || year > kLastYear) return false;
    local =
        LocalTime{year, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
    return true;
}

}  // namespace trimlet
