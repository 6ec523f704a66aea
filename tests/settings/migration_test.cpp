#include "settings/migration.h"

#include <gtest/gtest.h>

#include <optional>

#include "settings/memory_profile.h"

namespace trimlet {
namespace {

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
        {"Version100ModeZero", "100", "0", true, "260046848"},  // 0x0F800000
        {"VersionCorrupt", "x", "2092", true, "260048940"},
        {"ModeStoredSigned", "-1", "-2147483648", true, "2407530496"},  // 0x8F800000
        {"ModeCorruptLeftAlone", nullptr, "abc", true, "abc"},
        {"Version150", "150", "2092", false, "2092"},
        {"Version151NoMode", "151", nullptr, false, std::nullopt},
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

}  // namespace
}  // namespace trimlet
