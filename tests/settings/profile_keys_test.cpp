#include "settings/profile_keys.h"

#include <gtest/gtest.h>

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

TEST(ProfileKeys, StoredValuesAreUsedUnchanged) {
    MemoryProfile p;
    WriteOutputFolderName(p, "");  // write over the input, not the default folder
    p.WriteInteger("SHOW_TOOL_BAR", 5);
    p.WriteInteger("MRUL_OPEN_ACTION", 2);
    p.WriteInteger("FILE_OVERWRITE_METHOD", 7);
    EXPECT_EQ(ReadOutputFolderName(p), "");
    EXPECT_TRUE(ReadShowToolBar(p));
    EXPECT_EQ(ReadMruOpenAction(p), 2);
    EXPECT_EQ(ReadFileOverwriteMethod(p), 7);
}

TEST(ProfileKeys, TrimModeIsReadAsThirtyTwoBitWord) {
    struct Case {
        const char* name;
        const char* stored;
        std::uint32_t mode;
    };
    const Case cases[] = {
        {"Unsigned", "4294967295", 0xFFFFFFFF},
        // written by others as signed
        {"MinusTwo", "-2", 0xFFFFFFFE},
        {"Int32Min", "-2147483648", 0x80000000},
        {"BlanksAndPlus", " +2092 ", 2092},
        // not a 32-bit integer: the default
        {"Letters", "abc", kDefaultTrimMode},
        {"Hex", "0x0F81782C", kDefaultTrimMode},
        {"Empty", "", kDefaultTrimMode},
        {"TooLarge", "4294967296", kDefaultTrimMode},
        {"TooSmall", "-2147483649", kDefaultTrimMode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile p;
        p.WriteString("MODE", c.stored);
        EXPECT_EQ(ReadTrimMode(p), c.mode);
    }
}

}  // namespace
}  // namespace trimlet
