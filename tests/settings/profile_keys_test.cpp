#include "settings/profile_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/memory_profile.h"

namespace trimlet {
namespace {

TEST(ProfileKeys, EmptyProfileGivesEveryDefault) {
    MemoryProfile p;
    EXPECT_EQ(ReadTrimMode(p), 0x0F81782Cu);
    EXPECT_EQ(ReadOutputFolderName(p), "Trimlet");
    EXPECT_TRUE(ReadAlertCreateOutputFolder(p));
    EXPECT_EQ(ReadHtmlExtensions(p), "HTM:HTML");
    EXPECT_EQ(ReadScriptExtensions(p), "JS:VBS");
    EXPECT_EQ(ReadMruOpenAction(p), 0);
    EXPECT_TRUE(ReadAlertSettingNotSame(p));
    EXPECT_EQ(ReadDocumentFolder(p), "");
    EXPECT_EQ(ReadLastFileOpenFolder(p), "");
    EXPECT_TRUE(ReadShowBaseFolder(p));
    EXPECT_FALSE(ReadCrRegAsWspHintOff(p));
    EXPECT_EQ(ReadFileOverwriteMethod(p), 0);
    EXPECT_TRUE(ReadShowToolBar(p));
    EXPECT_TRUE(ReadShowStatusBar(p));
    EXPECT_EQ(ReadProfileVersion(p), -1);
    EXPECT_EQ(p.KeyCount(), 0u) << "reading must not write defaults";
}

TEST(ProfileKeys, TableIsConsistent) {
    std::set<std::string> names;
    for (const ProfileKey& key : kProfileKeys) {
        SCOPED_TRACE(key.name);
        EXPECT_TRUE(names.insert(key.name).second) << "listed twice";
        EXPECT_EQ(key.type == ProfileKeyType::String, key.stringDefault != nullptr);
    }
}

TEST(ProfileKeys, StoredValuesWinOverDefaults) {
    MemoryProfile p;
    WriteTrimMode(p, 0xFFFFFFFF);
    WriteOutputFolderName(p, "");
    WriteAlertCreateOutputFolder(p, false);
    WriteFileOverwriteMethod(p, 2);
    WriteCrRegAsWspHintOff(p);
    EXPECT_EQ(ReadTrimMode(p), 0xFFFFFFFFu);
    EXPECT_EQ(p.ReadString("MODE", ""), "4294967295");
    // An empty output folder name means "write over the input", not the default.
    EXPECT_EQ(ReadOutputFolderName(p), "");
    EXPECT_FALSE(ReadAlertCreateOutputFolder(p));
    EXPECT_EQ(ReadFileOverwriteMethod(p), 2);
    EXPECT_EQ(p.ReadInteger("SHOW_ALERT_CR_REG_AS_WSP", 0), 1);
}

TEST(ProfileKeys, StoredIntegersAreReadAsThirtyTwoBitWords) {
    struct Case {
        const char* name;
        const char* stored;
        std::uint32_t mode;
    };
    const Case cases[] = {
        // written by others as signed
        {"Negative", "-2", 0xFFFFFFFE},
        {"Int32Min", "-2147483648", 0x80000000},
        {"MinusOne", "-1", 0xFFFFFFFF},
        {"Blanks", "  2092 ", 2092},
        {"Plus", "+7", 7},
        // not a 32-bit integer: the default
        {"Letters", "abc", kDefaultTrimMode},
        {"Hex", "0x0F81782C", kDefaultTrimMode},
        {"TrailingText", "12abc", kDefaultTrimMode},
        {"Empty", "", kDefaultTrimMode},
        {"TooLarge", "4294967296", kDefaultTrimMode},
        {"TooSmall", "-2147483649", kDefaultTrimMode},
        {"Huge", "99999999999999999999999", kDefaultTrimMode},
        {"SignOnly", "-", kDefaultTrimMode},
        {"TwoSigns", "+-5", kDefaultTrimMode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile p;
        p.WriteString("MODE", c.stored);
        EXPECT_EQ(ReadTrimMode(p), c.mode);
    }
}

TEST(ProfileKeys, NonZeroFlagIsOnAndOtherNumbersPassUnchanged) {
    MemoryProfile p;
    p.WriteInteger("SHOW_TOOL_BAR", 5);
    p.WriteInteger("MRUL_OPEN_ACTION", 2);
    p.WriteInteger("FILE_OVERWRITE_METHOD", 7);
    EXPECT_TRUE(ReadShowToolBar(p));
    EXPECT_EQ(ReadMruOpenAction(p), 2);
    EXPECT_EQ(ReadFileOverwriteMethod(p), 7);
}

TEST(ProfileKeys, OtherSectionsAreSeparate) {
    MemoryProfile p;
    p.WriteString("File1", "/tmp/a.trh", "Recent File List");
    EXPECT_FALSE(p.HasKey("File1"));
    EXPECT_EQ(p.ReadString("File1", "-", "Recent File List"), "/tmp/a.trh");
    p.RemoveKey("File1", "Recent File List");
    EXPECT_FALSE(p.HasKey("File1", "Recent File List"));
}

}  // namespace
}  // namespace trimlet
