#include "platform/durable_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ModeOf;
using test::NamesIn;
using test::ReadAll;
using test::TempDir;
using Names = std::set<std::string>;

WriteFault FailingAfter(std::uint64_t bytes) {
    WriteFault fault;
    fault.failAfterBytes = bytes;
    return fault;
}

// Rewrites a file in place, as another program would.
void Put(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(WriteFileAtomically, CreatesANewFileWithTheUsualPermissions) {
    mode_t old = umask(022);
    TempDir dir;
    std::string path = dir.File("out.html");
    EXPECT_RESULT(WriteFileAtomically(path, "abc", FailingAfter(2)), RESULT_ACCESS_ERROR);
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
            EXPECT_RESULT(WriteFileAtomically(path, big, FailingAfter(failAfter)),
                          RESULT_ACCESS_ERROR);
            EXPECT_EQ(ReadAll(path), "original");
            EXPECT_EQ(ModeOf(path), mode);
            EXPECT_EQ(NamesIn(dir.path()), Names{"page.html"});
        }
        ASSERT_RESULT(WriteFileAtomically(path, big, FailingAfter(big.size())), RESULT_OK);
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

// A folder's real path is looked up once, and again as soon as a link on the way is changed
// or the folder it named is moved away.
TEST(RealFolderPath, FollowsAChangedLinkAtOnce) {
    TempDir dir;
    fs::create_directory(dir.File("a"));
    fs::create_directory(dir.File("b"));
    const std::string real = fs::canonical(dir.path()).string();
    const std::string link = dir.File("link");
    ASSERT_EQ(symlink("a", link.c_str()), 0);
    std::string found;
    ASSERT_TRUE(RealFolderPath(link, found));
    EXPECT_EQ(found, real + "/a");
    ASSERT_TRUE(RealFolderPath(link, found));
    EXPECT_EQ(found, real + "/a");
    ASSERT_EQ(unlink(link.c_str()), 0);
    ASSERT_EQ(symlink("b", link.c_str()), 0);
    ASSERT_TRUE(RealFolderPath(link, found));
    EXPECT_EQ(found, real + "/b");
    // The folder it names moved, and another took its name: the new one is found.
    fs::rename(dir.File("b"), dir.File("c"));
    fs::create_directory(dir.File("b"));
    ASSERT_TRUE(RealFolderPath(link + "/", found));
    EXPECT_EQ(found, real + "/b");
    ASSERT_RESULT(WriteFileAtomically(link + "/page.html", "new"), RESULT_OK);
    EXPECT_EQ(ReadAll(dir.File("b/page.html")), "new");
    fs::remove_all(dir.File("b"));
    EXPECT_FALSE(RealFolderPath(link, found));
    EXPECT_RESULT(WriteFileAtomically(link + "/page.html", "new"), RESULT_NOT_FOUND);
    EXPECT_TRUE(NamesIn(dir.File("c")).empty());
}

// What the look at the target found is handed on, so that callers do not look again: it
// must be the status of the file the target names, or nothing where no file is.
TEST(ResolveWriteTarget, TellsWhatStandsAtTheTarget) {
    TempDir dir;
    Put(dir.File("page.html"), "old");
    fs::create_directory(dir.File("sub"));
    ASSERT_EQ(symlink("page.html", dir.File("to-page").c_str()), 0);
    ASSERT_EQ(symlink("missing.html", dir.File("dangling").c_str()), 0);
    ASSERT_EQ(symlink("sub", dir.File("to-sub").c_str()), 0);
    const struct {
        const char* path;
        bool seen;
        const char* found;  // what the status must be of, if anything
    } cases[] = {
        {"page.html", true, "page.html"},
        {"to-page", true, "page.html"},
        {"missing.html", true, nullptr},
        {"dangling", true, nullptr},
        {"sub", true, "sub"},  // a folder: its status says so
        {"to-sub", true, "sub"},
        {"sub/", false, nullptr},  // named as a folder: left to the caller
        {"sub/..", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        WriteTarget target;
        ASSERT_TRUE(ResolveWriteTarget(dir.File(c.path), target));
        EXPECT_EQ(target.seen, c.seen);
        EXPECT_EQ(target.found, c.found != nullptr);
        if (c.found != nullptr) {
            struct stat st {};
            ASSERT_EQ(stat(dir.File(c.found).c_str(), &st), 0);
            EXPECT_EQ(target.status.st_ino, st.st_ino);
            EXPECT_EQ(target.status.st_mode, st.st_mode);
        }
    }
}

TEST(WriteFileAtomically, FollowsLinksAlsoDanglingOnesAndKeepsThem) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // name, what it points to
        const char* given;
        const char* written;  // the file that gets the content, nullptr when refused
        Result expected;
    };
    const Case cases[] = {
        {"dangling link", {{"out.htm", "missing.htm"}}, "out.htm", "missing.htm", RESULT_OK},
        {"chain ending in another folder",
         {{"a.htm", "b.htm"}, {"b.htm", "sub/../sub/c.htm"}},
         "a.htm",
         "sub/c.htm",
         RESULT_OK},
        {"link in a linked folder",
         {{"to-sub", "sub"}, {"sub/d.htm", "e.htm"}},
         "to-sub/d.htm",
         "sub/e.htm",
         RESULT_OK},
        {"into a missing folder",
         {{"out.htm", "nowhere/x.htm"}},
         "out.htm",
         nullptr,
         RESULT_NOT_FOUND},
        {"a loop", {{"a.htm", "b.htm"}, {"b.htm", "a.htm"}}, "a.htm", nullptr, RESULT_FILE_ERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.File("sub"));
        for (const auto& [name, to] : c.links)
            ASSERT_EQ(symlink(to.c_str(), dir.File(name).c_str()), 0);
        EXPECT_RESULT(WriteFileAtomically(dir.File(c.given), "new"), c.expected);
        if (c.written) {
            EXPECT_EQ(ReadAll(dir.File(c.written)), "new");
        }
        for (const auto& [name, to] : c.links)
            EXPECT_TRUE(fs::is_symlink(dir.File(name))) << name << " was replaced";
        std::size_t files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            files += fs::is_regular_file(entry.symlink_status());
        EXPECT_EQ(files, c.written ? 1u : 0u) << "a stray file";
    }
}

TEST(WriteFileAtomically, RefusesSpecialFilesWithoutWaitingUnlessADeviceIsAllowed) {
    TempDir dir;
    std::string fifo = dir.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A reader keeps an open from waiting, so that writing into the FIFO would succeed.
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    WriteOptions device;
    device.allowCharacterDevice = true;
    EXPECT_RESULT(WriteFileAtomically(fifo, "through"), RESULT_ACCESS_ERROR);
    EXPECT_RESULT(WriteFileAtomically(fifo, "through", device), RESULT_ACCESS_ERROR);
    char buffer[16] = {};
    EXPECT_LE(read(reader, buffer, sizeof buffer), 0) << "bytes went into the FIFO";
    close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(NamesIn(dir.path()), Names{"pipe"});

    EXPECT_RESULT(WriteFileAtomically("/dev/null", "x"), RESULT_ACCESS_ERROR);
    EXPECT_RESULT(WriteFileAtomically("/dev/null", "x", device), RESULT_OK);
}

TEST(WriteFileAtomically, NewFilesAreNoMoreOpenThanAllowed) {
    struct Case {
        mode_t umask;
        std::uint32_t limit;
        mode_t expected;
    };
    const Case cases[] = {
        {022, 0700, 0600},
        {022, 0740, 0640},
        {077, 0777, 0600},
        {0, 0666, 0666},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask << " limit " << c.limit);
        TempDir dir;
        const mode_t old = umask(c.umask);
        WriteOptions options;
        options.newFileModeLimit = c.limit;
        const Result r = WriteFileAtomically(dir.File("out.html"), "abc", options);
        umask(old);
        ASSERT_RESULT(r, RESULT_OK);
        EXPECT_EQ(ModeOf(dir.File("out.html")), c.expected);
    }
}

TEST(WriteFileAtomically, ReplacesOnlyTheFileThatWasRead) {
    struct Case {
        const char* name;
        void (*change)(const std::string& path);
        Result expected;
    };
    const Case cases[] = {
        {"unchanged", [](const std::string&) {}, RESULT_OK},
        {"rewritten in place", [](const std::string& p) { Put(p, "theirs!!"); },
         RESULT_FILE_CHANGED},
        {"same size, new time",
         [](const std::string& p) {
             struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
             utimensat(AT_FDCWD, p.c_str(), times, 0);
         },
         RESULT_FILE_CHANGED},
        {"replaced by a rename",
         [](const std::string& p) {
             Put(p + ".new", "original");
             rename((p + ".new").c_str(), p.c_str());
         },
         RESULT_FILE_CHANGED},
        {"removed", [](const std::string& p) { unlink(p.c_str()); }, RESULT_FILE_CHANGED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.Write("page.html", "original");
        WriteOptions options;
        ASSERT_TRUE(TakeFileStamp(path, options.unchangedSince.emplace()));
        c.change(path);
        const std::string before = ReadAll(path);
        EXPECT_RESULT(WriteFileAtomically(path, "trimmed", options), c.expected);
        EXPECT_EQ(ReadAll(path), c.expected == RESULT_OK ? "trimmed" : before);
        EXPECT_LE(NamesIn(dir.path()).size(), 1u) << "temporary file left";
    }
}

}  // namespace
}  // namespace trimlet
