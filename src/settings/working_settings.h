#pragma once
// The copies of the settings the task editor keeps while it lives: loaded from the profile
// when it is created, partly reloaded after the options sheet closes with OK, and the
// remembered folders and the base folder bar written back when it goes away.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/trim_mode.h"
#include "settings/profile.h"

namespace trimlet {

struct WorkingSettings {
    bool showBaseFolder = true;
    std::string htmlExtensions;
    std::string scriptExtensions;
    TrimMode trimMode = kDefaultTrimMode;
    std::string outputFolderName;
    bool alertCreateOutputFolder = true;
    std::string documentFolder;
    std::string lastFileOpenFolder;
    std::int32_t mruOpenAction = 0;
    bool verifyTrimResults = false;         // each result is verified before a run writes it
    std::vector<std::string> keptComments;  // the user's comment beginnings to keep
};

// Finds the documents folder into its argument; false when none could be named.
using DocumentsFolderLookup = std::function<bool(std::string&)>;

// Reads every working copy. An empty remembered folder becomes the documents folder; the
// lookup runs at most once when both folders are empty, and when it fails for the task
// folder the file folder still takes whatever text it produced.
WorkingSettings LoadWorkingSettings(const Profile& profile, const DocumentsFolderLookup& lookup);
// The same with the system's documents folder.
WorkingSettings LoadWorkingSettings(const Profile& profile);

// Re-reads the copies the options sheet edits: trim mode, output folder name, folder
// creation confirmation, both extension lists, the recent-task action, verifying and the
// comments to keep.
void ReloadOptionSettings(const Profile& profile, WorkingSettings& settings);

// Writes back what changes only in memory during a session: the base folder bar and the
// two remembered folders.
void SaveSessionSettings(Profile& profile, const WorkingSettings& settings);

}  // namespace trimlet
