#include "platform/documents_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/memory_profile.h"
#include "settings/profile_keys.h"
#include "settings/working_settings.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ScopedEnv;

TEST(FindDocumentsFolder, PrefersXdgThenHomeDocumentsThenProgramFolder) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "xdg");
    std::filesystem::create_directories(dir.path() / "home/Documents");
    const std::string home = dir.File("home"), program = ProgramFolder();
    ASSERT_FALSE(program.empty());
    struct Case {
        const char* name;
        std::optional<std::string> xdg;
        std::string home;
        std::string expected;
    };
    const Case cases[] = {
        {"Xdg", dir.File("xdg") + "/", home, dir.File("xdg")},
        {"XdgUnset", std::nullopt, home, dir.File("home/Documents")},
        {"XdgMissing", dir.File("gone"), home, dir.File("home/Documents")},
        {"XdgRelative", "xdg", home, dir.File("home/Documents")},
        {"NoDocuments", "", dir.File("xdg"), program},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv xdg("XDG_DOCUMENTS_DIR", c.xdg);
        ScopedEnv homeEnv("HOME", c.home);
        std::string folder = "stale";
        EXPECT_TRUE(FindDocumentsFolder(folder));
        EXPECT_EQ(folder, c.expected);
    }
}

TEST(LoadWorkingSettings, EmptyFoldersTakeTheDocumentsFolder) {
    struct Case {
        const char* name;
        const char* storedDocumentFolder;  // nullptr when missing
        bool lookupSucceeds;
        const char* lookupText;
        const char* documentFolder;
        const char* lastFileOpenFolder;
        int lookups;
    };
    const Case cases[] = {
        {"BothEmpty", nullptr, true, "/docs", "/docs", "/docs", 1},
        {"TaskFolderKept", "/tasks", true, "/docs", "/tasks", "/docs", 1},
        // a failure that still produced a text gives it to the file folder only
        {"FailedWithText", "", false, "/partial", "", "/partial", 1},
        {"FailedEmpty", nullptr, false, "", "", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile p;
        if (c.storedDocumentFolder) WriteDocumentFolder(p, c.storedDocumentFolder);
        int lookups = 0;
        WorkingSettings s = LoadWorkingSettings(p, [&](std::string& folder) {
            ++lookups;
            folder = c.lookupText;
            return c.lookupSucceeds;
        });
        EXPECT_EQ(s.documentFolder, c.documentFolder);
        EXPECT_EQ(s.lastFileOpenFolder, c.lastFileOpenFolder);
        EXPECT_EQ(lookups, c.lookups);
        // A folder found now is remembered at exit even when no dialog was used.
        SaveSessionSettings(p, s);
        EXPECT_EQ(ReadLastFileOpenFolder(p), c.lastFileOpenFolder);
    }
}

}  // namespace
}  // namespace trimlet
