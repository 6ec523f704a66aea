#include "platform/file_info.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <limits>
#include <optional>
#include <string>

#include "test_support.h"

namespace trimlet {
namespace {

using test::TempDir;

// Runs a test body in a fixed time zone and puts the old one back.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::optional<std::string> old_;
};

constexpr FileTime kUnixEpoch = 116444736000000000ULL;

TEST(FileTimeFromUnix, CountsHundredNanosecondsSince1601) {
    EXPECT_EQ(FileTimeFromUnix(0, 0), kUnixEpoch);
    EXPECT_EQ(FileTimeFromUnix(1, 250), kUnixEpoch + 10'000'000 + 2);
    EXPECT_EQ(FileTimeFromUnix(-11644473600, 0), 0u);
    EXPECT_EQ(FileTimeFromUnix(-11644473601, 0), 0u) << "before 1601 clamps to 0";
    EXPECT_EQ(FileTimeFromUnix(std::numeric_limits<std::int64_t>::max() / 2, 0),
              std::numeric_limits<FileTime>::max());
}

TEST(FileTimeToLocal, GivesCalendarFieldsInTheLocalZone) {
    ScopedTimeZone zone("UTC");
    // 2006-02-06 09:05:07 UTC
    FileTime time = FileTimeFromUnix(1139216707, 0);
    LocalTime local;
    ASSERT_TRUE(FileTimeToLocal(time, local));
    EXPECT_EQ(local.year, 2006);
    EXPECT_EQ(local.month, 2);
    EXPECT_EQ(local.day, 6);
    EXPECT_EQ(local.hour, 9);
    EXPECT_EQ(local.minute, 5);
    EXPECT_EQ(local.second, 7);

    ScopedTimeZone tokyo("JST-9");
    ASSERT_TRUE(FileTimeToLocal(time, local));
    EXPECT_EQ(local.hour, 18);
}

TEST(FileTimeToLocal, RefusesYearsOutOfRange) {
    ScopedTimeZone zone("UTC");
    LocalTime local;
    EXPECT_FALSE(FileTimeToLocal(std::numeric_limits<FileTime>::max(), local));
    EXPECT_TRUE(FileTimeToLocal(0, local)) << "1601-01-01 itself is representable";
    EXPECT_EQ(local.year, 1601);
}

TEST(GetFindRecord, DescribesAFile) {
    TempDir dir;
    std::string path = dir.Write("page.html", "12345");
    struct timespec times[2] = {{1139216707, 0}, {1139216707, 500}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    FindRecord record;
    ASSERT_RESULT(GetFindRecord(path, record), RESULT_OK);
    EXPECT_EQ(record.name, "page.html");
    EXPECT_EQ(record.size, 5u);
    EXPECT_EQ(record.attributes, 0u);
    EXPECT_EQ(record.lastWriteTime, FileTimeFromUnix(1139216707, 500));
    EXPECT_EQ(record.lastAccessTime, FileTimeFromUnix(1139216707, 0));
}

TEST(GetFindRecord, MarksFoldersAndReportsMissingPaths) {
    TempDir dir;
    FindRecord record;
    ASSERT_RESULT(GetFindRecord(dir.File("sub"), record), RESULT_NOT_FOUND);
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
    ASSERT_RESULT(GetFindRecord(dir.File("sub/"), record), RESULT_OK);
    EXPECT_EQ(record.name, "sub");
    EXPECT_EQ(record.attributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_RESULT(GetFindRecord("", record), RESULT_NOT_FOUND);
}

TEST(SetReadOnly, TogglesTheOwnersWritePermissionOnly) {
    TempDir dir;
    std::string path = dir.Write("a.html", "x");
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);

    ASSERT_TRUE(SetReadOnly(path, true));
    std::uint32_t attributes = 0;
    ASSERT_TRUE(GetFileAttributes(path, attributes));
    EXPECT_EQ(attributes, FILE_ATTRIBUTE_READONLY);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0464u);

    ASSERT_TRUE(SetReadOnly(path, false));
    ASSERT_TRUE(GetFileAttributes(path, attributes));
    EXPECT_EQ(attributes, 0u);
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);

    EXPECT_FALSE(SetReadOnly(dir.File("missing"), true));
    EXPECT_FALSE(GetFileAttributes(dir.File("missing"), attributes));
}

}  // namespace
}  // namespace trimlet
