#include "platform/documents_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scoped_env.h"
#include "settings/memory_profile.h"
#include "settings/profile_keys.h"
#include "settings/working_settings.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ScopedEnv;
using test::TempDir;
namespace fs = std::filesystem;

TEST(FindDocumentsFolder, PrefersXdgThenHomeDocumentsThenProgramFolder) {
    TempDir dir;
    fs::create_directories(dir.path() / "xdg");
    fs::create_directories(dir.path() / "home/Documents");
    fs::create_directories(dir.path() / "bare");
    const std::string program = ProgramFolder();
    ASSERT_FALSE(program.empty());

    struct Case {
        const char* name;
        std::optional<std::string> xdg;
        std::string home;
        std::string expected;
    };
    const Case cases[] = {
        {"Xdg", dir.File("xdg"), dir.File("home"), dir.File("xdg")},
        {"XdgTrailingSlash", dir.File("xdg") + "/", dir.File("home"), dir.File("xdg")},
        {"XdgUnset", std::nullopt, dir.File("home"), dir.File("home/Documents")},
        {"XdgEmpty", "", dir.File("home"), dir.File("home/Documents")},
        {"XdgMissing", dir.File("gone"), dir.File("home"), dir.File("home/Documents")},
        {"XdgRelative", "xdg", dir.File("home"), dir.File("home/Documents")},
        {"NoDocuments", std::nullopt, dir.File("bare"), program},
        {"NoHome", std::nullopt, "", program},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv xdg("XDG_DOCUMENTS_DIR", c.xdg);
        ScopedEnv home("HOME", c.home);
        std::string folder = "stale";
        EXPECT_TRUE(FindDocumentsFolder(folder));
        EXPECT_EQ(folder, c.expected);
    }
}

// A lookup that counts its calls and answers as told.
struct FakeLookup {
    bool succeeds;
    std::string text;
    int calls = 0;
    DocumentsFolderLookup Get() {
        return [this](std::string& folder) {
            ++calls;
            folder = text;
            return succeeds;
        };
    }
};

TEST(LoadWorkingSettings, EmptyProfile) {
    MemoryProfile p;
    FakeLookup lookup{true, "/home/u/Documents"};
    WorkingSettings s = LoadWorkingSettings(p, lookup.Get());
    EXPECT_EQ(lookup.calls, 1);
    EXPECT_EQ(s.documentFolder, "/home/u/Documents");
    EXPECT_EQ(s.lastFileOpenFolder, "/home/u/Documents");
    EXPECT_TRUE(s.showBaseFolder);
    EXPECT_EQ(s.trimMode, kDefaultTrimMode);
    EXPECT_EQ(s.outputFolderName, "Trimlet");
    EXPECT_EQ(s.htmlExtensions, "HTM:HTML");
    EXPECT_EQ(s.scriptExtensions, "JS:VBS");
    EXPECT_TRUE(s.alertCreateOutputFolder);
    EXPECT_EQ(s.mruOpenAction, 0);

    // The folder found is stored at exit even when no dialog was used.
    SaveSessionSettings(p, s);
    EXPECT_EQ(ReadDocumentFolder(p), "/home/u/Documents");
    EXPECT_EQ(ReadLastFileOpenFolder(p), "/home/u/Documents");
    EXPECT_TRUE(p.HasKey("SHOW_BASE_FOLDER"));
}

TEST(LoadWorkingSettings, OnlyAnEmptyFolderTakesTheDocumentsFolder) {
    MemoryProfile p;
    WriteDocumentFolder(p, "/tasks");
    FakeLookup lookup{true, "/docs"};
    WorkingSettings s = LoadWorkingSettings(p, lookup.Get());
    EXPECT_EQ(s.documentFolder, "/tasks");
    EXPECT_EQ(s.lastFileOpenFolder, "/docs");
    EXPECT_EQ(lookup.calls, 1);
}

TEST(LoadWorkingSettings, FailedLookup) {
    MemoryProfile p;
    // A failure that still produced a text: the task folder stays empty, the file
    // folder takes the text.
    FakeLookup partial{false, "/partial"};
    WorkingSettings s = LoadWorkingSettings(p, partial.Get());
    EXPECT_EQ(s.documentFolder, "");
    EXPECT_EQ(s.lastFileOpenFolder, "/partial");
    EXPECT_EQ(partial.calls, 1);

    FakeLookup nothing{false, ""};
    s = LoadWorkingSettings(p, nothing.Get());
    EXPECT_EQ(s.documentFolder, "");
    EXPECT_EQ(s.lastFileOpenFolder, "");
    EXPECT_EQ(nothing.calls, 2);
}

TEST(ReloadOptionSettings, LeavesSessionCopiesAlone) {
    MemoryProfile p;
    WorkingSettings s = LoadWorkingSettings(p, FakeLookup{true, "/d"}.Get());
    s.documentFolder = "/moved";
    s.showBaseFolder = false;
    WriteTrimMode(p, 4);
    WriteMruOpenAction(p, 1);
    WriteScriptExtensions(p, "JS");
    WriteDocumentFolder(p, "/elsewhere");
    ReloadOptionSettings(p, s);
    EXPECT_EQ(s.trimMode, 4u);
    EXPECT_EQ(s.mruOpenAction, 1);
    EXPECT_EQ(s.scriptExtensions, "JS");
    EXPECT_EQ(s.documentFolder, "/moved");
    EXPECT_FALSE(s.showBaseFolder);
}

}  // namespace
}  // namespace trimlet
