#pragma once
// Comparing a task file's settings with the current ones when the task is opened: whether
// they differ, the report of the differences the user is shown, the step that decides
// whether the file's settings are taken, and the question for files of the old format.

#include <span>
#include <string>
#include <string_view>

#include "batch/output_paths.h"
#include "common/dialogs.h"
#include "engine/trim_mode.h"
#include "settings/profile.h"

namespace trimlet {

// Output folder names in Windows style compare without regard to the case of ASCII letters
// (other bytes exactly); in Posix style, where "Trimlet" and "trimlet" are two folders,
// byte for byte.
bool SameOutputFolderName(std::string_view a, std::string_view b,
                          PathStyle style = PathStyle::Windows);

// The file's settings differ when any of the 32 bits of the trim modes differ, bits
// without meaning included, or the output folder names differ as SameOutputFolderName says.
bool TaskSettingsDiffer(TrimMode currentMode, std::string_view currentFolderName, TrimMode fileMode,
                        std::string_view fileFolderName, PathStyle style = PathStyle::Windows);

// The report shown in the settings-mismatch dialog: one section per group of options that
// differ (whitespace, HTML comments, script comments), then the output folder section
// when the names differ. Every line ends with CR LF. Bits without meaning are never
// reported, so modes that differ only there give an empty report (or only the folders).
// When a comment section is reported, the user's own comment beginnings `keptComments`
// (which a task file does not hold, and which stay under either setting) follow it.
std::string BuildSettingsReport(TrimMode currentMode, std::string_view currentFolderName,
                                TrimMode fileMode, std::string_view fileFolderName,
                                PathStyle style = PathStyle::Windows,
                                std::span<const std::string> keptComments = {});

enum class SettingsStepOutcome {
    Taken,      // the file's settings replace the current ones (already written to the profile)
    Kept,       // the current settings stay (also when nothing differs)
    Cancelled,  // the user cancelled; the caller reports the stop and ends the open
};

// Decides whether an opened task file's settings replace the current ones. Nothing is asked
// when they do not differ (Kept), nor when "ALERT_SETTING_NOT_SAME" is 0 (Taken). Otherwise
// the settings-mismatch dialog asks with the report: Yes takes them and, when its box is
// ticked, writes "ALERT_SETTING_NOT_SAME" = 0; No keeps; Cancel cancels. Taking writes
// "MODE" and "OUTPUT_FOLDER_NAME" (the name exactly as the file has it); the caller then
// sets its working copies to the file's values.
SettingsStepOutcome RunSettingsStep(Dialogs& dialogs, Profile& profile, TrimMode currentMode,
                                    std::string_view currentFolderName, TrimMode fileMode,
                                    std::string_view fileFolderName,
                                    PathStyle style = PathStyle::Windows,
                                    std::span<const std::string> keptComments = {});

// For a task file of the old format: asks which of the script options added since should
// apply, the boxes starting from the stored "MODE". The bits to OR into the file's trim
// mode: those of the ticked boxes on OK, none on cancel. Only the script option bits are
// ever returned.
TrimMode AskOldVersionOptions(Dialogs& dialogs, const Profile& profile);

}  // namespace trimlet
