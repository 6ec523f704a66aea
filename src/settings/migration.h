#pragma once
// The one-time update of a profile written by an older version, run at start-up before
// anything reads the settings.

#include "settings/profile.h"

namespace trimlet {

// When "VERSION" is missing or below 150: writes "VERSION" = 150 and, when "MODE" holds
// a trim mode, switches on the script options that older versions did not have. A fresh
// profile without "MODE" keeps having none; it reads the default later. Returns whether
// the profile was migrated.
bool MigrateProfile(Profile& profile);

}  // namespace trimlet
