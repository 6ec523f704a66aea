#include "platform/file_stamp.h"

#include <sys/stat.h>
#include <time.h>

namespace trimlet {

FileStamp StampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = {st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    stamp.changed = {st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
    stamp.mode = static_cast<std::uint32_t>(st.st_mode);
    return stamp;
}

bool TakeFileStamp(const std::string& path, FileStamp& stamp) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    stamp = StampOf(st);
    return true;
}

FileStamp::Time FileClockNow() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return {now.tv_sec, now.tv_nsec};
}

bool ChangedBefore(const FileStamp& stamp, FileStamp::Time when, std::chrono::nanoseconds margin) {
    constexpr std::int64_t kBillion = 1000000000;
    const std::int64_t total = stamp.changed.nanoseconds + margin.count();
    const std::int64_t seconds = stamp.changed.seconds + total / kBillion;
    const std::int64_t nanoseconds = total % kBillion;
    return seconds < when.seconds || (seconds == when.seconds && nanoseconds <= when.nanoseconds);
}

bool StampSettled(const FileStamp& stamp, FileStamp::Time when, std::chrono::nanoseconds margin) {
    const bool changedLater =
        stamp.changed.seconds > when.seconds ||
        (stamp.changed.seconds == when.seconds && stamp.changed.nanoseconds > when.nanoseconds);
    return changedLater || ChangedBefore(stamp, when, margin);
}

}  // namespace trimlet
