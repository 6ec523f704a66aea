#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;
using Names = std::set<std::string>;

Names NamesIn(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(WriteFileAtomically, CreatesANewFileWithTheUsualPermissions) {
    mode_t old = umask(022);
    TempDir dir;
    std::string path = dir.File("out.html");
    EXPECT_RESULT(WriteFileAtomically(path, "abc", WriteFault{2}), RESULT_ACCESS_ERROR);
    EXPECT_TRUE(NamesIn(dir.path()).empty());
    ASSERT_RESULT(WriteFileAtomically(path, std::string_view("a\0b", 3)), RESULT_OK);
    EXPECT_EQ(ReadAll(path), std::string_view("a\0b", 3));
    EXPECT_EQ(ModeOf(path), 0644u);
    EXPECT_EQ(NamesIn(dir.path()), Names{"out.html"});
    umask(old);
}

TEST(WriteFileAtomically, ReplacesAFileOnlyWhenCompleteAndKeepsItsPermissions) {
    TempDir dir;
    const std::string big(100000, 'x');
    for (mode_t mode : {0600u, 0755u, 0444u}) {
        SCOPED_TRACE(mode);
        std::string path = dir.Write("page.html", "original");
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        for (std::uint64_t failAfter : {0ull, 1ull, 65536ull, 99999ull}) {
            SCOPED_TRACE(failAfter);
            EXPECT_RESULT(WriteFileAtomically(path, big, WriteFault{failAfter}),
                          RESULT_ACCESS_ERROR);
            EXPECT_EQ(ReadAll(path), "original");
            EXPECT_EQ(ModeOf(path), mode);
            EXPECT_EQ(NamesIn(dir.path()), Names{"page.html"});
        }
        ASSERT_RESULT(WriteFileAtomically(path, big, WriteFault{big.size()}), RESULT_OK);
        EXPECT_EQ(ReadAll(path), big);
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(NamesIn(dir.path()), Names{"page.html"});
        ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    }
}

TEST(WriteFileAtomically, ReportsTargetsThatCannotBeWritten) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0755), 0);
    EXPECT_RESULT(WriteFileAtomically(dir.File("folder"), "x"), RESULT_IS_FOLDER);
    EXPECT_RESULT(WriteFileAtomically(dir.File("missing/out.html"), "x"), RESULT_NOT_FOUND);
    EXPECT_RESULT(WriteFileAtomically("", "x"), RESULT_INVALID_ARGUMENT);
    if (geteuid() != 0) {  // root may write anywhere
        ASSERT_EQ(chmod(dir.File("folder").c_str(), 0555), 0);
        EXPECT_RESULT(WriteFileAtomically(dir.File("folder/out.html"), "x"), RESULT_ACCESS_ERROR);
    }
    EXPECT_TRUE(NamesIn(dir.File("folder")).empty());
}

TEST(WriteFileAtomically, ReplacesTheFileALinkPointsTo) {
    TempDir dir;
    std::string real = dir.Write("real.html", "old");
    std::string link = dir.File("link.html");
    ASSERT_EQ(symlink("real.html", link.c_str()), 0);
    ASSERT_RESULT(WriteFileAtomically(link, "new"), RESULT_OK);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "new");
    EXPECT_EQ(NamesIn(dir.path()), (Names{"link.html", "real.html"}));
}

TEST(WriteFileAtomically, WritesIntoAFifoInsteadOfReplacingIt) {
    TempDir dir;
    std::string fifo = dir.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_RESULT(WriteFileAtomically(fifo, "through"), RESULT_OK);
    char buffer[16] = {};
    EXPECT_EQ(read(reader, buffer, sizeof buffer), 7);
    EXPECT_EQ(std::string(buffer), "through");
    close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace trimlet
