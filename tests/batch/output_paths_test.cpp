#include "batch/output_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace trimlet {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

struct ResolveCase {
    const char* name;
    std::string_view base;
    std::string_view folderName;
    Result result;
    std::string_view expected;
};

void RunResolveCases(PathStyle style, const std::vector<ResolveCase>& cases) {
    for (const ResolveCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = "stale";
        EXPECT_RESULT(ResolveOutputFolder(style, c.base, c.folderName, folder), c.result);
        EXPECT_EQ(folder, c.expected);
    }
}

TEST(ResolveOutputFolderTest, Windows) {
    RunResolveCases(
        kWin,
        {
            {"default name", R"(C:\docs\web\)", "Trimlet", RESULT_OK, R"(C:\docs\web\Trimlet)"},
            {"empty name", R"(C:\docs\web\)", "", RESULT_OK, R"(C:\docs\web)"},
            {"up two", R"(C:\docs\web\)", R"(..\..\out)", RESULT_OK, R"(C:\out)"},
            {"up past drive", R"(C:\docs\web\)", R"(..\..\..\out)", RESULT_BAD_PATH, ""},
            {"up to drive", R"(C:\docs\)", "..", RESULT_OK, "C:"},
            {"drive removed", R"(C:\)", "..", RESULT_BAD_PATH, ""},
            {"server removed", R"(\\srv\share\)", R"(..\..\x)", RESULT_BAD_PATH, ""},
            {"network up", R"(\\srv\share\)", R"(..\x)", RESULT_OK, R"(\\srv\x)"},
            {"dotdot in base", R"(C:\a\..\b\)", "out", RESULT_OK, R"(C:\b\out)"},
            // blanks and empty components
            {"blanks around", R"(C:\docs\web\)", R"( sub \ deep )", RESULT_OK,
             R"(C:\docs\web\sub\deep)"},
            {"blank dotdot is dotdot", R"(C:\docs\web\)", R"( .. )", RESULT_OK, R"(C:\docs)"},
            {"dot and double separator", R"(C:\docs\web\)", R"(a\.\b\\c)", RESULT_OK,
             R"(C:\docs\web\a\b\c)"},
            {"three dots", R"(C:\docs\web\)", "...", RESULT_OK, R"(C:\docs\web\...)"},
            {"slash is ordinary", R"(C:\docs\)", "a/b", RESULT_OK, R"(C:\docs\a/b)"},
            // absolute and rooted names are not reduced
            {"absolute kept exactly", R"(C:\docs\)", R"(D:\x\..\y \)", RESULT_OK, R"(D:\x\..\y \)"},
            {"rooted kept exactly", R"(C:\docs\)", R"(\x\..\y\)", RESULT_OK, R"(C:\x\..\y\)"},
            {"network rooted", R"(\\srv\share\web\)", R"(\out)", RESULT_OK, R"(\\srv\share\out)"},
            {"rooted without share", R"(\\srv\)", R"(\out)", RESULT_OK, R"(\\srv\\out)"},
            {"leading blank is relative", R"(C:\docs\web\)", R"( D:\x)", RESULT_OK,
             R"(C:\docs\web\D:\x)"},
            // base folders that are not absolute
            {"relative base", R"(docs\web\)", "Trimlet", RESULT_INVALID_ARGUMENT, ""},
            {"rooted base", R"(\docs\)", "", RESULT_INVALID_ARGUMENT, ""},
            {"drive only base", "C:", "", RESULT_INVALID_ARGUMENT, ""},
            // Shift_JIS trail bytes: 0x95 0x5C is one character, not a separator
            {"trail 5C in name", R"(C:\docs\)", "\x95\x5C..", RESULT_OK, "C:\\docs\\\x95\x5C.."},
            {"trail 5C in base", "C:\\\x95\x5C\\", "..", RESULT_OK, "C:"},
            {"trail 5C in server", "\\\\\x95\x5C\\s\\", "\\out", RESULT_OK, "\\\\\x95\x5C\\s\\out"},
        });
}

TEST(ResolveOutputFolderTest, Posix) {
    RunResolveCases(
        kPosix,
        {
            {"default name", "/docs/web/", "Trimlet", RESULT_OK, "/docs/web/Trimlet"},
            {"up past root", "/docs/web/", "../../../out", RESULT_BAD_PATH, ""},
            {"up to root", "/docs/", "..", RESULT_OK, "/"},
            {"root removed", "/", "..", RESULT_BAD_PATH, ""},
            {"blanks around", "/docs/web/", " sub / deep ", RESULT_OK, "/docs/web/sub/deep"},
            {"absolute kept exactly", "/docs/", "/x/../y /", RESULT_OK, "/x/../y /"},
            {"leading blank is relative", "/docs/", " /x", RESULT_OK, "/docs/x"},
            {"doubled separators in base", "//docs//web/", "out", RESULT_OK, "/docs/web/out"},
            // real folder names keep their blanks; the setting's components are trimmed
            {"blanks in base kept", "/my docs / web/", " out ", RESULT_OK, "/my docs / web/out"},
            {"relative base", "docs/web/", "Trimlet", RESULT_INVALID_ARGUMENT, ""},
        });
}

TEST(CutTrailingSeparatorsTest, BothStyles) {
    struct Case {
        const char* name;
        PathStyle style;
        std::string_view text;
        std::string_view expected;
    };
    const Case cases[] = {
        {"mixed run", kWin, "C:\\docs\\ \x81\x40\\\\", R"(C:\docs)"},
        {"trail 5C kept", kWin, "C:\\\x95\x5C", "C:\\\x95\x5C"},
        {"trail 5C before separator", kWin, "C:\\\x95\x5C\\ ", "C:\\\x95\x5C"},
        {"81 as a trail byte starts no blank", kWin, "C:\\\x88\x81\x40", "C:\\\x88\x81\x40"},
        {"slash kept", kWin, "a/", "a/"},
        {"posix separators", kPosix, "/docs//", "/docs"},
        {"posix blanks are part of the name", kPosix, "/docs/a \xE3\x80\x80/",
         "/docs/a \xE3\x80\x80"},
        {"posix root", kPosix, "/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CutTrailingSeparators(c.style, c.text), c.expected);
    }
}

TEST(SplitFolderAndNameTest, BothStylesAndJoinedBack) {
    struct Case {
        const char* name;
        PathStyle style;
        std::string_view path;
        Result result;
        std::string_view folder;
        std::string_view file;
    };
    const Case cases[] = {
        {"drive", kWin, R"(C:\docs\a.htm)", RESULT_OK, R"(C:\docs\)", "a.htm"},
        {"trail 5C name", kWin, "C:\\\x95\x5C", RESULT_OK, "C:\\", "\x95\x5C"},
        {"posix", kPosix, "/docs/a.htm", RESULT_OK, "/docs/", "a.htm"},
        {"posix root", kPosix, "/a.htm", RESULT_OK, "/", "a.htm"},
        {"posix none", kPosix, "a.htm", RESULT_BAD_PATH, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = "x", name = "y";
        EXPECT_RESULT(SplitFolderAndName(c.style, c.path, folder, name), c.result);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(name, c.file);
        if (c.result == RESULT_OK) {
            EXPECT_EQ(JoinFolderAndName(c.style, folder, name), c.path);
        }
    }
    // Joining puts one separator after a folder given without one; an empty name adds none.
    EXPECT_EQ(JoinFolderAndName(kWin, R"(C:\docs\web\Trimlet)", "a.htm"),
              R"(C:\docs\web\Trimlet\a.htm)");
    EXPECT_EQ(JoinFolderAndName(kWin, "C:", "a.htm"), R"(C:\a.htm)");
    EXPECT_EQ(JoinFolderAndName(kWin, R"(C:\docs\)", ""), R"(C:\docs\)");
}

TEST(IsSamePathTest, BothStyles) {
    EXPECT_TRUE(IsSamePath(kWin, R"(C:\Docs\A.HTM)", R"(c:\docs\a.htm)"));
    EXPECT_FALSE(IsSamePath(kWin, R"(C:\docs\a.htm)", R"(C:\docs\b.htm)"));
    EXPECT_FALSE(IsSamePath(kWin, R"(C:\docs)", R"(C:\docs\)"));
    // 83 41 and 83 61 are different characters: trail bytes keep their case.
    EXPECT_FALSE(IsSamePath(kWin, "C:\\\x83\x41", "C:\\\x83\x61"));
    EXPECT_TRUE(IsSamePath(kWin, "C:\\\x83\x41X", "C:\\\x83\x41x"));
    // Only ASCII letters fold.
    EXPECT_FALSE(IsSamePath(kWin, "\xC0", "\xE0"));
    EXPECT_TRUE(IsSamePath(kPosix, "/docs/a.html", "/docs/a.html"));
    EXPECT_FALSE(IsSamePath(kPosix, "/docs/a.html", "/docs/A.html"));
}

// Records the walk ("exists X; create X; ...") and answers from a set of existing paths. The
// walk on disk is exercised by the run step's tests (nested folders, a file in the way).
class FakeFolders : public FolderSystem {
  public:
    std::set<std::string> existing;
    std::string failOn;
    std::string log;

    bool Exists(const std::string& path) override {
        log += "exists " + path + "; ";
        return existing.count(path) != 0;
    }
    bool Create(const std::string& path) override {
        log += "create " + path + "; ";
        if (path == failOn) return false;
        existing.insert(path);
        return true;
    }
};

TEST(CreateFolderPathTest, WalksFromTheTopDown) {
    struct Case {
        const char* name;
        PathStyle style;
        std::string_view path;
        const char* existing;
        const char* failOn;
        bool ok;
        std::string_view log;
    };
    const Case cases[] = {
        {"drive", kWin, R"( C:\a\b\c )", R"(C:\a\)", "", true,
         R"(exists C:\a\; exists C:\a\b\; create C:\a\b\; exists C:\a\b\c; create C:\a\b\c; )"},
        {"network starts below the share", kWin, R"(\\srv\share\out\x)", "", "", true,
         R"(exists \\srv\share\out\; create \\srv\share\out\; )"
         R"(exists \\srv\share\out\x; create \\srv\share\out\x; )"},
        {"posix starts after the root", kPosix, "/a/b ", "/a/", "", true,
         "exists /a/; exists /a/b ; create /a/b ; "},
        {"stops at the first failure", kPosix, "/a/b", "", "/a/", false,
         "exists /a/; create /a/; "},
        // nothing to walk
        {"drive only", kWin, "C:", "", "", true, ""},
        {"share only", kWin, R"(\\srv\share)", "", "", true, ""},
        {"root only", kPosix, "/", "", "", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFolders folders;
        folders.existing = {c.existing};
        folders.failOn = c.failOn;
        EXPECT_EQ(CreateFolderPath(c.style, c.path, folders), c.ok);
        EXPECT_EQ(folders.log, c.log);
    }
}

// Another run makes the folders between the look and the creation: the real folders, seen
// as missing by a look that came too early.
class LateLook : public FolderSystem {
  public:
    bool Exists(const std::string&) override { return false; }
    bool Create(const std::string& path) override { return CreateFolder(path); }
};

TEST(CreateFolderPathTest, AFolderMadeMeanwhileIsSuccess) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("made/by/other"));
    dir.Write("plain", "a file");
    LateLook folders;
    EXPECT_TRUE(CreateFolderPath(kPosix, dir.File("made/by/other"), folders));
    EXPECT_TRUE(CreateFolderPath(kPosix, dir.File("made/by/other/and/more"), folders));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("made/by/other/and/more")));
    EXPECT_FALSE(CreateFolderPath(kPosix, dir.File("plain"), folders)) << "a file is no folder";
}

}  // namespace
}  // namespace trimlet
