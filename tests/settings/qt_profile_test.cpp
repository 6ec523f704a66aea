#include "settings/qt_profile.h"

#include <gtest/gtest.h>

#include "scoped_env.h"
#include "settings/profile_keys.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ReadAll;
using test::ScopedEnv;
using test::TempDir;

TEST(QtProfile, RoundTripThroughIniFile) {
    TempDir dir;
    const std::string ini = dir.File("sub/profile.ini");
    const char* const texts[] = {"トリムレット出力", "",   " padded ",   "a,b",
                                 "C:\\out",          "@x", "line\nbreak"};
    {
        QtProfile p(ini);
        WriteTrimMode(p, 0x0F81782C);
        p.WriteInteger("MODE2", 0xFFFFFFFF);
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            p.WriteString("TEXT" + std::to_string(i), texts[i]);
        }
        p.WriteString("File1", "/tmp/タスク.trh", "Recent File List");
    }
    QtProfile p(ini);
    EXPECT_EQ(ReadTrimMode(p), 0x0F81782Cu);
    EXPECT_EQ(p.ReadWord("MODE2", 0), 0xFFFFFFFFu);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(p.FindString("TEXT" + std::to_string(i)), texts[i]);
    }
    EXPECT_EQ(p.ReadString("File1", "", "Recent File List"), "/tmp/タスク.trh");
    EXPECT_FALSE(p.HasKey("File1"));
}

TEST(QtProfile, WritesReachTheFileAtOnce) {
    TempDir dir;
    QtProfile writer(dir.File("profile.ini"));
    WriteOutputFolderName(writer, "out");
    EXPECT_NE(ReadAll(dir.File("profile.ini")).find("[Settings]\nOUTPUT_FOLDER_NAME=out"),
              std::string::npos);
}

TEST(QtProfile, CorruptValuesFallBackToDefaults) {
    TempDir dir;
    QtProfile p(dir.Write("profile.ini",
                          "[Settings]\nMODE=abc\nSHOW_TOOL_BAR=false\nFILE_OVERWRITE_METHOD=1.5\n"
                          "ALERT_SETTING_NOT_SAME=@Variant(\\0\\0\\0\\x7f)\nFILE_FILTER=HTM,SHTML\n"
                          "no equals sign\n[broken\n"));
    EXPECT_EQ(ReadTrimMode(p), kDefaultTrimMode);
    EXPECT_TRUE(ReadShowToolBar(p));
    EXPECT_EQ(ReadFileOverwriteMethod(p), 0);
    EXPECT_TRUE(ReadAlertSettingNotSame(p));
    EXPECT_EQ(ReadHtmlExtensions(p), "HTM,SHTML");  // an unquoted list reads as written
}

TEST(OpenProfile, ExplicitPathThenEnvironmentThenUserProfile) {
    TempDir dir;
    {
        ScopedEnv env(kProfileEnvironmentVariable, dir.File("env.ini"));
        OpenProfile()->WriteInteger("MODE", 1);
        OpenProfile(dir.File("explicit.ini"))->WriteInteger("MODE", 2);
        EXPECT_EQ(ReadTrimMode(QtProfile(dir.File("env.ini"))), 1u);
        EXPECT_EQ(ReadTrimMode(QtProfile(dir.File("explicit.ini"))), 2u);
    }
    // The user's own profile, moved into the temporary folder; only its location is checked.
    ScopedEnv env(kProfileEnvironmentVariable, "");
    ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
    std::unique_ptr<Profile> user = OpenProfile();
    auto* qt = dynamic_cast<QtProfile*>(user.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->FilePath(), dir.File("config/VARD APP/Trimlet HTML!.conf"));
}

}  // namespace
}  // namespace trimlet
