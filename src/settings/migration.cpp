#include "settings/migration.h"

#include "engine/trim_mode.h"
#include "settings/profile_keys.h"

namespace trimlet {

bool MigrateProfile(Profile& profile) {
    if (ReadProfileVersion(profile) >= kProfileVersion) return false;

    profile.WriteInteger(kKeyProfileVersion.name, kProfileVersion);
    // A "MODE" that is present but unreadable is left alone: readers take the default,
    // which already has these options on.
    if (std::optional<TrimMode> mode = profile.FindWord(kKeyTrimMode.name)) {
        WriteTrimMode(profile, *mode | TM_SCRIPT_OPTIONS_MASK);
    }
    return true;
}

}  // namespace trimlet
