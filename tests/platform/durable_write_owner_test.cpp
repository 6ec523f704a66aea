// The safe writer keeps a replaced file the same file to everyone else: owner, group,
// permission bits, extended attributes and, where it has other names, its inode.

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/durable_write.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ReadAll;
using test::TempDir;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st;
}

std::string AttributeOf(const std::string& path, const char* name) {
    char value[64] = {};
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? std::string() : std::string(value, static_cast<std::size_t>(size));
}

TEST(WriteFileAtomically, KeepsOwnerGroupModeAttributesAndHardLinks) {
    struct Case {
        const char* name;
        uid_t owner;  // -1: the caller
        gid_t group;
        mode_t mode;
        bool hardLink;
        bool attribute;
        bool sameInode;
    };
    const uid_t me = static_cast<uid_t>(-1);
    const gid_t mine = static_cast<gid_t>(-1);
    const Case cases[] = {
        {"someone else's private file", kNobody, kNoGroup, 0600, false, false, false},
        {"the caller's file in another group", me, kNoGroup, 0640, false, false, false},
        {"extended attribute", me, mine, 0644, false, true, false},
        {"second hard link", me, mine, 0644, true, false, true},
        {"someone else's file with a hard link", kNobody, kNoGroup, 0604, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool foreign = c.owner != me || c.group != mine;
        if (foreign && geteuid() != 0) continue;  // only root can give files away
        TempDir dir;
        const std::string path = dir.Write("page.html", "original content");
        if (c.attribute && setxattr(path.c_str(), "user.origin", "kept", 4, 0) != 0) {
            ADD_FAILURE() << "no user attributes on this file system";
            continue;
        }
        ASSERT_EQ(chown(path.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        const std::string other = dir.File("other-name.html");
        if (c.hardLink) {
            ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
        }
        const struct stat before = StatOf(path);

        ASSERT_RESULT(WriteFileAtomically(path, "trimmed"), RESULT_OK);

        const struct stat after = StatOf(path);
        EXPECT_EQ(ReadAll(path), "trimmed");
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(after.st_ino == before.st_ino, c.sameInode);
        if (c.attribute) {
            EXPECT_EQ(AttributeOf(path, "user.origin"), "kept");
        }
        if (c.hardLink) {
            EXPECT_EQ(ReadAll(other), "trimmed");
        }
        EXPECT_EQ(test::NamesIn(dir.path()).size(), c.hardLink ? 2u : 1u) << "temporary file left";
    }
}

TEST(WriteFileAtomically, ACopyIntoTheExistingFileThatFailsPutsTheOldContentBack) {
    TempDir dir;
    const std::string original(70000, 'o');
    const std::string path = dir.Write("page.html", original);
    ASSERT_EQ(link(path.c_str(), dir.File("other-name.html").c_str()), 0);
    const ino_t inode = StatOf(path).st_ino;
    for (std::uint64_t failAfter : {0ull, 10ull, 65536ull, 69999ull}) {
        SCOPED_TRACE(failAfter);
        WriteFault fault;
        fault.failCopyAfterBytes = failAfter;
        EXPECT_RESULT(WriteFileAtomically(path, std::string(80000, 'n'), fault),
                      RESULT_ACCESS_ERROR);
        EXPECT_EQ(ReadAll(path), original);
        EXPECT_EQ(StatOf(path).st_ino, inode);
        EXPECT_EQ(test::NamesIn(dir.path()).size(), 2u) << "temporary file left";
    }
}

// Runs `write` in a child process as nobody:nogroup; its exit status is 0 on RESULT_OK.
int RunAsNobody(const std::function<Result()>& write) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0) _exit(3);
        _exit(write() == RESULT_OK ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WriteFileAtomically, AFileTheCallerDoesNotOwnKeepsItsInodeAndOwner) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string path = dir.Write("page.html", "original content");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    const struct stat before = StatOf(path);

    EXPECT_EQ(RunAsNobody([&] { return WriteFileAtomically(path, "trimmed"); }), 0);

    const struct stat after = StatOf(path);
    EXPECT_EQ(ReadAll(path), "trimmed");
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0666u);
    EXPECT_EQ(test::NamesIn(dir.path()).size(), 1u) << "temporary file left";
}

}  // namespace
}  // namespace trimlet
