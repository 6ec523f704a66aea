#pragma once
// The logic of the options sheet's file page (output folder name, folder-creation
// confirmation, the two extension lists) and action page (what a recent task does, whether
// differing task settings are confirmed, whether a run verifies its results). A page reads its
// state from the profile when it opens and writes it when the sheet closes with OK; until then
// nothing touches the profile.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "batch/output_paths.h"
#include "common/dialogs.h"
#include "settings/profile.h"

namespace trimlet {

// ---- File page -------------------------------------------------------------------------

struct OutputPageState {
    std::string outputFolderName;  // the field's text as typed
    bool alertCreateOutputFolder = true;
    // The list boxes' items, always in list order (see SortExtensionList).
    std::vector<std::string> htmlExtensions;
    std::vector<std::string> scriptExtensions;
};

enum class ExtensionListKind { Html, Script };

// The page as it opens: the stored name and flag, and both stored lists split and sorted.
OutputPageState ReadOutputPage(const Profile& profile);

// The name as stored: without leading and trailing white space (ASCII blanks and controls).
std::string CleanOutputFolderName(std::string_view fieldText);

// Called on every change of the name field: when nothing but white space is left, shows the
// notice that an empty name writes results over the input files. True when shown.
bool NoticeBlankOutputFolderName(Dialogs& dialogs, std::string_view fieldText);

// Whether a cleaned name holds a character no folder name may have. Windows style: the
// name's first two bytes are left out when they are a drive prefix (the name is longer than
// two bytes and its second byte is ":"), then any of / : * ? " < | > is refused; the
// backslash separates folders and passes. Posix style: "/" separates folders and passes,
// and the backslash takes its place among the refused characters, so a name typed the
// Windows way ("..\out") is refused rather than made into one odd folder name; there are no
// drive prefixes. Whole characters are tested (CP932 in Windows style), so a trail byte
// never matches.
bool HasBadOutputFolderCharacters(PathStyle style, std::string_view name);

// Whether an output folder name is refused: a bad character as above; under the Posix
// style also a NUL, and a relative name that is "." or ".." or holds a "/" (outputs would
// land over the inputs, in their parent or deeper). An absolute name may hold "/".
bool IsRefusedOutputFolderName(PathStyle style, std::string_view name);

// Stores the page. A refused name: the message saying so is shown,
// nothing is written and the result is false (the sheet stays open on this page). Otherwise
// writes the cleaned name, the flag and both lists joined in list order, and returns true.
bool ApplyOutputPage(Dialogs& dialogs, Profile& profile, const OutputPageState& state,
                     PathStyle style = NativePathStyle());

// Adds a cleaned extension to one of the page's lists at its sorted place. Refused with a
// message naming the listed item (as listed) when the target list already has it, or else
// when the other list has it; then nothing changes and the result is false.
bool AddExtension(Dialogs& dialogs, OutputPageState& state, ExtensionListKind target,
                  std::string_view extension);
// The add button: asks for the extension, then AddExtension. False when cancelled or refused.
bool AddExtensionFromDialog(Dialogs& dialogs, OutputPageState& state, ExtensionListKind target);
// The remove button: removes the item at `index`; false when there is no such item.
bool RemoveExtension(OutputPageState& state, ExtensionListKind target, std::size_t index);

// ---- Action page -----------------------------------------------------------------------

struct ActionPageState {
    bool runRecentTask = false;  // choosing a recent task runs it rather than opening it
    bool alertSettingNotSame = true;
    bool verifyTrimResults = false;  // a run verifies each result before writing it
};

// Any stored action other than 0 runs, so the page shows "run" for it and stores 1.
ActionPageState ReadActionPage(const Profile& profile);
void ApplyActionPage(Profile& profile, const ActionPageState& state);

}  // namespace trimlet
