#include "settings/qt_profile.h"

#include <gtest/gtest.h>

#include "scoped_env.h"
#include "settings/migration.h"
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
    const char* const texts[] = {
        "トリムレット出力",  // Japanese
        "",
        " padded ",
        "a,b",
        "C:\\out\\dir",
        "x=y;z # not a comment",
        "\"quoted\"",
        "@Variant(nope)",
        "line\nbreak",
    };
    {
        QtProfile p(ini);
        WriteTrimMode(p, 0x0F81782C);
        p.WriteInteger("VERSION", 150);
        p.WriteInteger("MODE2", 0xFFFFFFFF);
        p.WriteInteger("NEG", -5);
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            p.WriteString("TEXT" + std::to_string(i), texts[i]);
        }
        p.WriteString("File1", "/tmp/タスク.trh", "Recent File List");
    }
    QtProfile p(ini);
    EXPECT_EQ(ReadTrimMode(p), 0x0F81782Cu);
    EXPECT_EQ(ReadProfileVersion(p), 150);
    EXPECT_EQ(p.ReadWord("MODE2", 0), 0xFFFFFFFFu);
    EXPECT_EQ(p.ReadInteger("NEG", 0), -5);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(p.FindString("TEXT" + std::to_string(i)), texts[i]);
    }
    EXPECT_EQ(p.ReadString("File1", "", "Recent File List"), "/tmp/タスク.trh");
    EXPECT_FALSE(p.HasKey("File1"));
    EXPECT_NE(ReadAll(ini).find("[Settings]"), std::string::npos);
}

TEST(QtProfile, WritesReachTheFileBeforeTheObjectGoesAway) {
    TempDir dir;
    const std::string ini = dir.File("profile.ini");
    QtProfile writer(ini);
    WriteOutputFolderName(writer, "out");
    QtProfile reader(ini);
    EXPECT_EQ(ReadOutputFolderName(reader), "out");
    EXPECT_NE(ReadAll(ini).find("OUTPUT_FOLDER_NAME=out"), std::string::npos);
}

TEST(QtProfile, CorruptValuesFallBackToDefaults) {
    TempDir dir;
    const std::string ini = dir.Write("profile.ini",
                                      "[Settings]\n"
                                      "MODE=abc\n"
                                      "SHOW_TOOL_BAR=true\n"
                                      "FILE_OVERWRITE_METHOD=1.5\n"
                                      "FILE_FILTER=HTM,SHTML\n"
                                      "ALERT_SETTING_NOT_SAME=@Variant(\\0\\0\\0\\x7f)\n"
                                      "garbage line without equals\n"
                                      "[broken\n");
    QtProfile p(ini);
    EXPECT_EQ(ReadTrimMode(p), kDefaultTrimMode);
    EXPECT_TRUE(ReadShowToolBar(p));
    EXPECT_EQ(ReadFileOverwriteMethod(p), 0);
    EXPECT_TRUE(ReadAlertSettingNotSame(p));
    EXPECT_EQ(ReadHtmlExtensions(p), "HTM,SHTML");
    EXPECT_TRUE(p.HasKey("MODE"));
}

TEST(QtProfile, MigrationOfAnIniFile) {
    TempDir dir;
    const std::string ini = dir.Write("profile.ini", "[Settings]\nMODE=2092\n");
    {
        QtProfile p(ini);
        EXPECT_TRUE(MigrateProfile(p));
    }
    QtProfile p(ini);
    EXPECT_EQ(ReadTrimMode(p), 0x0F80082Cu);
    EXPECT_EQ(ReadProfileVersion(p), 150);
}

TEST(OpenProfile, ExplicitPathThenEnvironmentThenUserProfile) {
    TempDir dir;
    const std::string fromEnv = dir.File("env.ini");
    const std::string explicitPath = dir.File("explicit.ini");
    {
        ScopedEnv env(kProfileEnvironmentVariable, fromEnv);
        OpenProfile()->WriteInteger("MODE", 1);
        OpenProfile(explicitPath)->WriteInteger("MODE", 2);
        EXPECT_EQ(ReadTrimMode(QtProfile(fromEnv)), 1u);
        EXPECT_EQ(ReadTrimMode(QtProfile(explicitPath)), 2u);
    }
    // Without either the user's own profile is opened; only its location is checked so
    // that the test leaves it untouched.
    ScopedEnv env(kProfileEnvironmentVariable, "");
    ScopedEnv home("XDG_CONFIG_HOME", dir.File("config"));
    std::unique_ptr<Profile> user = OpenProfile();
    auto* qt = dynamic_cast<QtProfile*>(user.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->FilePath(), dir.File("config/VARD APP/Trimlet HTML!.conf"));
}

}  // namespace
}  // namespace trimlet
