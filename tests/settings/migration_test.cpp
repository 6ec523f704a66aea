#include "settings/migration.h"

#include <gtest/gtest.h>

#include <optional>

#include "settings/memory_profile.h"

namespace trimlet {
namespace {

TEST(MigrateProfile, Cases) {
    struct Case {
        const char* name;
        std::optional<const char*> version;  // stored text, nullopt when missing
        std::optional<const char*> mode;
        bool migrates;
        std::optional<std::int64_t> modeAfter;  // nullopt: MODE still missing
    };
    const Case cases[] = {
        {"NoVersionOldMode", std::nullopt, "2092", true, 0x0F80082C},
        {"NoVersionNoMode", std::nullopt, std::nullopt, true, std::nullopt},
        {"Version100ModeZero", "100", "0", true, 0x0F800000},
        {"Version149", "149", "2092", true, 0x0F80082C},
        {"VersionMinusOne", "-1", "2092", true, 0x0F80082C},
        {"VersionCorrupt", "x", "2092", true, 0x0F80082C},
        {"ModeAlreadyFull", "100", "4294967295", true, 0xFFFFFFFF},
        {"ModeStoredSigned", "100", "-2147483648", true, 0x8F800000},
        {"Version150", "150", "2092", false, 2092},
        {"Version151NoMode", "151", std::nullopt, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile p;
        if (c.version) p.WriteString("VERSION", *c.version);
        if (c.mode) p.WriteString("MODE", *c.mode);
        const int changesBefore = p.ChangeCount();

        EXPECT_EQ(MigrateProfile(p), c.migrates);
        if (c.migrates) {
            EXPECT_EQ(p.FindInteger("VERSION"), 150);
        } else {
            EXPECT_EQ(p.ChangeCount(), changesBefore) << "nothing may be written";
        }
        EXPECT_EQ(p.FindInteger("MODE"), c.modeAfter);
        EXPECT_EQ(p.KeyCount(), c.modeAfter ? 2u : 1u);
        EXPECT_FALSE(MigrateProfile(p)) << "runs once";
    }
}

TEST(MigrateProfile, CorruptModeIsLeftAlone) {
    MemoryProfile p;
    p.WriteString("MODE", "abc");
    EXPECT_TRUE(MigrateProfile(p));
    EXPECT_EQ(p.ReadString("MODE", ""), "abc");
}

}  // namespace
}  // namespace trimlet
