#include "platform/private_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(PrivateRendezvousFolder, OnlyAFolderOfOursClosedToOthers) {
    const uid_t me = getuid();
    struct Case {
        const char* name;
        std::function<void(const test::TempDir&)> prepare;  // makes "run" and "tmp"
        bool runtimeGiven;
        uid_t uid;
        const char* expected;  // relative to the temporary folder; "" for none
    };
    const auto folder = [](const test::TempDir& d, const char* name, mode_t mode) {
        fs::create_directories(d.File(name));
        chmod(d.File(name).c_str(), mode);
    };
    const std::string mine = "tmp/trimlet-html-" + std::to_string(me);
    const Case cases[] = {
        {"runtime folder", [&](auto& d) { folder(d, "run", 0700); }, true, me, "run"},
        {"runtime open to others",
         [&](auto& d) {
             folder(d, "run", 0755);
             folder(d, "tmp", 01777);
         },
         true, me, mine.c_str()},
        {"runtime a link",
         [&](auto& d) {
             folder(d, "real", 0700);
             fs::create_directory_symlink(d.File("real"), d.File("run"));
             folder(d, "tmp", 01777);
         },
         true, me, mine.c_str()},
        {"no runtime: made", [&](auto& d) { folder(d, "tmp", 01777); }, false, me, mine.c_str()},
        {"made before, kept", [&](auto& d) { folder(d, mine.c_str(), 0700); }, false, me,
         mine.c_str()},
        // The name of user me + 1, made by us: not theirs.
        {"someone else's",
         [&](auto& d) { folder(d, ("tmp/trimlet-html-" + std::to_string(me + 1)).c_str(), 0700); },
         false, me + 1, ""},
        {"ours but open", [&](auto& d) { folder(d, mine.c_str(), 0770); }, false, me, ""},
        {"a link planted",
         [&](auto& d) {
             folder(d, "tmp", 01777);
             folder(d, "bait", 0700);
             fs::create_directory_symlink(d.File("bait"), d.File(mine));
         },
         false, me, ""},
        {"a file planted", [&](auto& d) { d.Write(mine, "x"); }, false, me, ""},
        {"no temporary folder", [](auto&) {}, false, me, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        c.prepare(dir);
        const std::string found =
            PrivateRendezvousFolder(c.runtimeGiven ? dir.File("run") : "", dir.File("tmp"), c.uid);
        EXPECT_EQ(found, *c.expected ? dir.File(c.expected) : "");
        if (!found.empty()) {
            EXPECT_TRUE(IsPrivateFolder(found, c.uid));
            EXPECT_EQ(ModeOf(found) & 077, 0u);
        }
        // A link or an open folder found in the way is left as it was.
        if (std::string(c.name) == "ours but open") {
            EXPECT_EQ(ModeOf(dir.File(mine)), 0770u);
        }
        if (std::string(c.name) == "a link planted") {
            EXPECT_TRUE(fs::is_symlink(dir.File(mine)));
        }
    }
}

}  // namespace
}  // namespace trimlet
