#include "batch/output_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;

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

TEST(ResolveOutputFolderTest, WindowsExamples) {
    RunResolveCases(
        kWin,
        {
            {"default name", R"(C:\docs\web\)", "Trimlet", RESULT_OK, R"(C:\docs\web\Trimlet)"},
            {"empty name", R"(C:\docs\web\)", "", RESULT_OK, R"(C:\docs\web)"},
            {"dot", R"(C:\docs\web\)", ".", RESULT_OK, R"(C:\docs\web)"},
            {"up one", R"(C:\docs\web\)", R"(..\out)", RESULT_OK, R"(C:\docs\out)"},
            {"up two", R"(C:\docs\web\)", R"(..\..\out)", RESULT_OK, R"(C:\out)"},
            {"up past drive", R"(C:\docs\web\)", R"(..\..\..\out)", RESULT_BAD_PATH, ""},
            {"up to drive", R"(C:\docs\)", "..", RESULT_OK, "C:"},
            {"drive removed", R"(C:\)", "..", RESULT_BAD_PATH, ""},
            {"blanks around", R"(C:\docs\web\)", R"( sub \ deep )", RESULT_OK,
             R"(C:\docs\web\sub\deep)"},
            {"dot and double separator", R"(C:\docs\web\)", R"(a\.\b\\c)", RESULT_OK,
             R"(C:\docs\web\a\b\c)"},
            {"three dots", R"(C:\docs\web\)", "...", RESULT_OK, R"(C:\docs\web\...)"},
            {"rooted", R"(C:\docs\web\)", R"(\out)", RESULT_OK, R"(C:\out)"},
            {"absolute", R"(C:\docs\web\)", R"(D:\out\)", RESULT_OK, R"(D:\out\)"},
            {"network default", R"(\\srv\share\web\)", "Trimlet", RESULT_OK,
             R"(\\srv\share\web\Trimlet)"},
            {"network rooted", R"(\\srv\share\web\)", R"(\out)", RESULT_OK, R"(\\srv\share\out)"},
            {"network up", R"(\\srv\share\)", R"(..\x)", RESULT_OK, R"(\\srv\x)"},
        });
}

TEST(ResolveOutputFolderTest, WindowsEdges) {
    RunResolveCases(
        kWin,
        {
            // blanks and empty components
            {"blanks inside", R"(C:\docs\web\)", R"( a \ b )", RESULT_OK, R"(C:\docs\web\a\b)"},
            {"blank dotdot is dotdot", R"(C:\docs\web\)", R"( .. )", RESULT_OK, R"(C:\docs)"},
            {"server removed", R"(\\srv\share\)", R"(..\..\x)", RESULT_BAD_PATH, ""},
            {"dotdot in base", R"(C:\a\..\b\)", "out", RESULT_OK, R"(C:\b\out)"},
            // absolute and rooted names are not reduced
            {"absolute kept exactly", R"(C:\docs\)", R"(D:\x\..\y )", RESULT_OK, R"(D:\x\..\y )"},
            {"rooted kept exactly", R"(C:\docs\)", R"(\x\..\y\)", RESULT_OK, R"(C:\x\..\y\)"},
            {"leading blank is relative", R"(C:\docs\web\)", R"( D:\x)", RESULT_OK,
             R"(C:\docs\web\D:\x)"},
            {"rooted without share", R"(\\srv\)", R"(\out)", RESULT_OK, R"(\\srv\\out)"},
            {"slash is ordinary", R"(C:\docs\)", "a/b", RESULT_OK, R"(C:\docs\a/b)"},
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

TEST(ResolveOutputFolderTest, PosixExamples) {
    RunResolveCases(
        kPosix,
        {
            {"default name", "/docs/web/", "Trimlet", RESULT_OK, "/docs/web/Trimlet"},
            {"empty name", "/docs/web/", "", RESULT_OK, "/docs/web"},
            {"up one", "/docs/web/", "../out", RESULT_OK, "/docs/out"},
            {"up two", "/docs/web/", "../../out", RESULT_OK, "/out"},
            {"up past root", "/docs/web/", "../../../out", RESULT_BAD_PATH, ""},
            {"up to root", "/docs/", "..", RESULT_OK, "/"},
            {"root removed", "/", "..", RESULT_BAD_PATH, ""},
            {"blanks around", "/docs/web/", " sub / deep ", RESULT_OK, "/docs/web/sub/deep"},
            {"absolute", "/docs/web/", "/out/", RESULT_OK, "/out/"},
            {"absolute kept exactly", "/docs/", "/x/../y ", RESULT_OK, "/x/../y "},
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

TEST(JoinFolderAndNameTest, BothStyles) {
    EXPECT_EQ(JoinFolderAndName(kWin, R"(C:\docs\web\Trimlet)", "a.htm"),
              R"(C:\docs\web\Trimlet\a.htm)");
    EXPECT_EQ(JoinFolderAndName(kWin, R"(C:\docs\web\)", "a.htm"), R"(C:\docs\web\a.htm)");
    EXPECT_EQ(JoinFolderAndName(kWin, "C:", "a.htm"), R"(C:\a.htm)");
    EXPECT_EQ(JoinFolderAndName(kWin, R"(C:\docs\)", ""), R"(C:\docs\)");
    EXPECT_EQ(JoinFolderAndName(kPosix, "/docs/web/", "a.htm"), "/docs/web/a.htm");
    EXPECT_EQ(JoinFolderAndName(kPosix, "/", "a.htm"), "/a.htm");
}

TEST(SplitFolderAndNameTest, BothStyles) {
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
    }
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

// Records the walk and answers from a set of existing paths.
class FakeFolders : public FolderSystem {
  public:
    std::set<std::string> existing;
    std::string failOn;
    std::vector<std::string> log;

    bool Exists(const std::string& path) override {
        log.push_back("exists " + path);
        return existing.count(path) != 0;
    }
    bool Create(const std::string& path) override {
        log.push_back("create " + path);
        if (path == failOn) return false;
        existing.insert(path);
        return true;
    }
};

TEST(CreateFolderPathTest, WalksFromTheTopDown) {
    using Log = std::vector<std::string>;
    {
        SCOPED_TRACE("drive");
        FakeFolders folders;
        folders.existing = {R"(C:\a\)"};
        EXPECT_TRUE(CreateFolderPath(kWin, R"( C:\a\b\c )", folders));
        EXPECT_EQ(folders.log, (Log{R"(exists C:\a\)", R"(exists C:\a\b\)", R"(create C:\a\b\)",
                                    R"(exists C:\a\b\c)", R"(create C:\a\b\c)"}));
    }
    {
        SCOPED_TRACE("network starts below the share");
        FakeFolders folders;
        EXPECT_TRUE(CreateFolderPath(kWin, R"(\\srv\share\out\x)", folders));
        EXPECT_EQ(folders.log, (Log{R"(exists \\srv\share\out\)", R"(create \\srv\share\out\)",
                                    R"(exists \\srv\share\out\x)", R"(create \\srv\share\out\x)"}));
    }
    {
        SCOPED_TRACE("posix starts after the root");
        FakeFolders folders;
        folders.existing = {"/a/"};
        EXPECT_TRUE(CreateFolderPath(kPosix, "/a/b ", folders));
        EXPECT_EQ(folders.log, (Log{"exists /a/", "exists /a/b ", "create /a/b "}));
    }
    {
        SCOPED_TRACE("stops at the first failure");
        FakeFolders folders;
        folders.failOn = "/a/";
        EXPECT_FALSE(CreateFolderPath(kPosix, "/a/b", folders));
        EXPECT_EQ(folders.log, (Log{"exists /a/", "create /a/"}));
    }
    {
        SCOPED_TRACE("nothing to walk");
        FakeFolders folders;
        EXPECT_TRUE(CreateFolderPath(kWin, "C:", folders));
        EXPECT_TRUE(CreateFolderPath(kWin, R"(\\srv\share)", folders));
        EXPECT_TRUE(CreateFolderPath(kPosix, "/", folders));
        EXPECT_TRUE(folders.log.empty());
    }
}

TEST(CreateFolderPathTest, OnDisk) {
    test::TempDir dir;
    const fs::path top = dir.path();
    ASSERT_TRUE(fs::create_directory(top / "a"));

    EXPECT_TRUE(CreateFolderPath(kPosix, (top / "a/b/c").string()));
    EXPECT_TRUE(fs::is_directory(top / "a/b/c"));
    EXPECT_TRUE(CreateFolderPath(kPosix, (top / "a/b/c").string()));  // already there

    dir.Write("file", "x");
    EXPECT_FALSE(CreateFolderPath(kPosix, (top / "file/sub").string()));
    EXPECT_TRUE(fs::is_regular_file(top / "file"));
}

}  // namespace
}  // namespace trimlet
