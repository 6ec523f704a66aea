#include "platform/file_info.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <limits>
#include <string>

#include "test_support.h"

namespace trimlet {
namespace {

using test::TempDir;

constexpr FileTime kUnixEpoch = 116444736000000000ULL;
constexpr std::int64_t k20060206T090507Z = 1139216707;

TEST(FileTime, ConvertsFromUnixAndToLocalTime) {
    EXPECT_EQ(FileTimeFromUnix(0, 0), kUnixEpoch);
    EXPECT_EQ(FileTimeFromUnix(1, 250), kUnixEpoch + 10'000'000 + 2);
    EXPECT_EQ(FileTimeFromUnix(-11644473601, 0), 0u) << "before 1601 clamps to 0";
    EXPECT_EQ(FileTimeFromUnix(std::numeric_limits<std::int64_t>::max() / 2, 0),
              std::numeric_limits<FileTime>::max());

    // Time zones are followed by the list's time texts (batch/format).
    test::ScopedEnv zone("TZ", "UTC");
    LocalTime t;
    ASSERT_TRUE(FileTimeToLocal(FileTimeFromUnix(k20060206T090507Z, 0), t));
    EXPECT_EQ((std::array{t.year, t.month, t.day, t.hour, t.minute, t.second}),
              (std::array{2006, 2, 6, 9, 5, 7}));
    ASSERT_TRUE(FileTimeToLocal(0, t));
    EXPECT_EQ(t.year, 1601);
    EXPECT_FALSE(FileTimeToLocal(std::numeric_limits<FileTime>::max(), t));
}

TEST(GetFindRecord, DescribesFilesAndFolders) {
    TempDir dir;
    std::string path = dir.Write("page.html", "12345");
    struct timespec times[2] = {{k20060206T090507Z, 0}, {k20060206T090507Z, 500}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    FindRecord record;
    ASSERT_RESULT(GetFindRecord(path, record), RESULT_OK);
    EXPECT_EQ(record.name, "page.html");
    EXPECT_EQ(record.size, 5u);
    EXPECT_EQ(record.attributes, 0u);
    EXPECT_EQ(record.lastWriteTime, FileTimeFromUnix(k20060206T090507Z, 500));
    EXPECT_EQ(record.lastAccessTime, FileTimeFromUnix(k20060206T090507Z, 0));

    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
    ASSERT_RESULT(GetFindRecord(dir.File("sub/"), record), RESULT_OK);
    EXPECT_EQ(record.name, "sub");
    EXPECT_EQ(record.attributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_RESULT(GetFindRecord(dir.File("missing"), record), RESULT_NOT_FOUND);
}

TEST(SetReadOnly, TogglesTheOwnersWritePermissionOnly) {
    TempDir dir;
    std::string path = dir.Write("a.html", "x");
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly);
        ASSERT_TRUE(SetReadOnly(path, readOnly));
        std::uint32_t attributes = 0;
        ASSERT_TRUE(GetFileAttributes(path, attributes));
        EXPECT_EQ(attributes, readOnly ? FILE_ATTRIBUTE_READONLY : 0u);
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, readOnly ? 0464u : 0664u);
    }
    std::uint32_t attributes = 0;
    EXPECT_FALSE(SetReadOnly(dir.File("missing"), true));
    EXPECT_FALSE(GetFileAttributes(dir.File("missing"), attributes));
}

}  // namespace
}  // namespace trimlet
