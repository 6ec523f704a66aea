// The profile: defaults and typed reading of its keys, the one-time migration of an old
// layout, and the INI-backed store.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/memory_profile.h"
#include "settings/migration.h"
#include "settings/overlay_profile.h"
#include "settings/profile_keys.h"
#include "settings/qt_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ReadAll;
using test::ScopedEnv;
using test::TempDir;

TEST(ProfileKeys, EmptyProfileGivesDefaultsWithoutWritingThem) {
    MemoryProfile p;
    EXPECT_EQ(ReadTrimMode(p), 0x0F81782Cu);
    EXPECT_EQ(ReadOutputFolderName(p), "Trimlet");
    EXPECT_TRUE(ReadShowToolBar(p));
    EXPECT_EQ(ReadProfileVersion(p), -1);
    EXPECT_EQ(p.KeyCount(), 0u) << "reading must not write defaults";

    WriteOutputFolderName(p, "");  // write over the input, not into the default folder
    p.WriteInteger("SHOW_TOOL_BAR", 5);
    EXPECT_EQ(ReadOutputFolderName(p), "");
    EXPECT_TRUE(ReadShowToolBar(p));
}

TEST(ProfileKeys, TrimModeIsReadAsThirtyTwoBitWord) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"4294967295", 0xFFFFFFFF},
        // written by others as signed
        {"-2", 0xFFFFFFFE},
        {"-2147483648", 0x80000000},
        {" +2092 ", 2092},
        // not a 32-bit integer: the default
        {"0x0F81782C", kDefaultTrimMode},
        {"", kDefaultTrimMode},
        {"4294967296", kDefaultTrimMode},
        {"-2147483649", kDefaultTrimMode},
    };
    for (const auto& [stored, mode] : cases) {
        SCOPED_TRACE(stored);
        MemoryProfile p;
        p.WriteString("MODE", stored);
        EXPECT_EQ(ReadTrimMode(p), mode);
    }
}

TEST(MigrateProfile, Cases) {
    struct Case {
        const char* name;
        const char* version;  // stored text; nullptr when missing
        const char* mode;
        bool migrates;
        std::optional<std::string> modeAfter;  // nullopt: still missing
    };
    const Case cases[] = {
        {"NoVersionOldMode", nullptr, "2092", true, "260048940"},  // 0x0F80082C
        {"NoVersionNoMode", nullptr, nullptr, true, std::nullopt},
        {"Version100ModeZero", "100", "0", true, "260046848"},          // 0x0F800000
        {"ModeStoredSigned", "-1", "-2147483648", true, "2407530496"},  // 0x8F800000
        {"ModeCorruptLeftAlone", nullptr, "abc", true, "abc"},
        {"Version150", "150", "2092", false, "2092"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile p;
        if (c.version) p.WriteString("VERSION", c.version);
        if (c.mode) p.WriteString("MODE", c.mode);
        const int changesBefore = p.ChangeCount();

        EXPECT_EQ(MigrateProfile(p), c.migrates);
        if (c.migrates) {
            EXPECT_EQ(p.FindString("VERSION"), "150");
        } else {
            EXPECT_EQ(p.ChangeCount(), changesBefore) << "nothing may be written";
        }
        EXPECT_EQ(p.FindString("MODE"), c.modeAfter);
        EXPECT_EQ(p.KeyCount(), c.modeAfter ? 2u : 1u);
        EXPECT_FALSE(MigrateProfile(p)) << "runs once";
    }
}

TEST(QtProfile, RoundTripThroughIniFileWrittenAtOnce) {
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
        EXPECT_NE(ReadAll(ini).find("[Settings]\nMODE=260143148\n"), std::string::npos)
            << "not written at once";
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

TEST(QtProfile, KeptCommentsRoundTripAndOldProfilesHaveNone) {
    TempDir dir;
    // A profile of the layout before the list: every key as it was, no list.
    const std::string ini =
        dir.Write("profile.ini", "[Settings]\nMODE=260143148\nVERSION=150\nFILE_FILTER=HTM\n");
    {
        QtProfile p(ini);
        EXPECT_TRUE(ReadKeptComments(p).empty());
        EXPECT_EQ(ReadTrimMode(p), 0x0F81782Cu);
        EXPECT_FALSE(MigrateProfile(p));
        EXPECT_FALSE(p.HasKey("KEEP_COMMENTS"));
        const std::vector<std::string> entries = {"<!-- google_ad", "", "表示, 残す",
                                                  "/* keep\nsecond line", "@license"};
        WriteKeptComments(p, entries);
    }
    QtProfile p(ini);
    EXPECT_EQ(ReadKeptComments(p),
              (std::vector<std::string>{"<!-- google_ad", "表示, 残す", "/* keep", "@license"}));
    EXPECT_EQ(ReadHtmlExtensions(p), "HTM");
    // A list written by hand with CR LF and empty lines reads the same.
    p.WriteString("KEEP_COMMENTS", "a\r\n\r\nb\n");
    EXPECT_EQ(ReadKeptComments(p), (std::vector<std::string>{"a", "b"}));
}

TEST(OpenProfile, ExplicitPathThenEnvironmentThenUserProfile) {
    TempDir dir;
    ScopedEnv env(kProfileEnvironmentVariable, dir.File("env.ini"));
    OpenProfile()->WriteInteger("MODE", 1);
    OpenProfile(dir.File("explicit.ini"))->WriteInteger("MODE", 2);
    EXPECT_EQ(ReadTrimMode(QtProfile(dir.File("env.ini"))), 1u);
    EXPECT_EQ(ReadTrimMode(QtProfile(dir.File("explicit.ini"))), 2u);

    // The user's own profile, moved into the temporary folder; only its location is checked.
    env.Set("");
    ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
    std::unique_ptr<Profile> user = OpenProfile();
    auto* qt = dynamic_cast<QtProfile*>(user.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->FilePath(), dir.File("config/VARD APP/Trimlet HTML!.conf"));
}

}  // namespace
}  // namespace trimlet

namespace trimlet {
namespace {

// What the command line reads: the named profile under its own writes, which never reach
// the file.
TEST(OverlayProfile, ReadsThroughKeepsItsWritesAndLeavesTheFileAlone) {
    TempDir dir;
    const std::string ini = dir.Write("p.ini", "[Settings]\nVERSION=100\nMODE=0\nNAME=a\n");
    {
        OverlayProfile profile(std::make_unique<QtProfile>(ini));
        EXPECT_EQ(ReadTrimMode(profile), 0u);
        MigrateProfile(profile);
        EXPECT_EQ(ReadTrimMode(profile), TM_SCRIPT_OPTIONS_MASK);
        profile.WriteString("NAME", "b");
        profile.RemoveKey("VERSION");
        EXPECT_FALSE(profile.HasKey("VERSION"));
        EXPECT_EQ(profile.ReadString("NAME", ""), "b");
        profile.WriteInteger("VERSION", 7);
        EXPECT_EQ(profile.ReadInteger("VERSION", 0), 7);
        EXPECT_GT(profile.ChangeCount(), 0);
    }
    EXPECT_EQ(ReadAll(ini), "[Settings]\nVERSION=100\nMODE=0\nNAME=a\n");

    // Nothing underneath: the built-in defaults, and nothing written anywhere.
    OverlayProfile empty;
    EXPECT_EQ(ReadTrimMode(empty), kDefaultTrimMode);
    EXPECT_FALSE(empty.HasKey("MODE"));
    empty.WriteInteger("MODE", 4);
    EXPECT_EQ(ReadTrimMode(empty), 4u);
}

}  // namespace
}  // namespace trimlet
