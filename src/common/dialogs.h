#pragma once
// The port through which the core talks to the user. Every message box and modal dialog
// the logic needs is one function here; they take and return plain data. The desktop
// shows real windows, the command line asks on the terminal, tests use ScriptedDialogs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "common/result.h"
#include "common/run_questions.h"

namespace trimlet {

struct SettingsMismatchAnswer {
    MessageAnswer button = MessageAnswer::Cancel;  // Yes, No or Cancel
    bool takeWithoutAsking = false;  // "load the task file's settings without this warning"
};

// A file a run did not trim, and the code that says why (RESULT_SKIPPED: the user chose
// not to overwrite its output).
struct SkippedFile {
    std::string path;
    Result result = RESULT_SKIPPED;
    std::string detail = {};  // RESULT_NOT_EQUIVALENT: where the check found the pages differ
};

// The counters of a finished run.
struct RunSummary {
    std::uint32_t succeededCount = 0;
    std::uint32_t skippedCount = 0;
    std::uint64_t sourceTotal = 0;          // input sizes of the succeeded files
    std::uint64_t trimmedTotal = 0;         // their output sizes
    std::vector<SkippedFile> skippedFiles;  // the skipped ones in run order
};

// Files chosen in the add-files dialog: one folder and the names in it, in the order chosen;
// a file typed with a path outside the folder is named by its absolute path.
struct ChosenFiles {
    std::string folder;
    std::vector<std::string> names;
};

// Every question the core asks; a run's few questions (RunQuestions) are among them.
class Dialogs : public RunQuestions {
  public:
    // "設定の読み込みの確認": asks whether the task file's settings replace the current ones,
    // showing `report` (the list of differences); returns Yes, No or Cancel and the box.
    virtual SettingsMismatchAnswer SettingsMismatchDialog(std::string_view report) = 0;

    // "新しいオプションの指定" for an old task file: five boxes for the script options,
    // ticked from `initialMode`'s bits. Returns the trim-mode bits of the ticked boxes
    // (disabled ones included) on OK, nothing on cancel.
    virtual std::optional<std::uint32_t> AlertVersionDialog(std::uint32_t initialMode) = 0;

    // "トリムレット処理の結果": shows the counters of a run; returns when closed.
    virtual void ResultSummaryDialog(const RunSummary& summary) = 0;

    // Open dialog for a task file, titled with message `titleId` (MSG_TITLE_OPEN_TASK or
    // MSG_TITLE_RUN_TASK), starting in `folder`; the chosen existing file, or nothing.
    virtual std::optional<std::string> OpenTaskFileDialog(int titleId, std::string_view folder) = 0;

    // Save dialog titled MSG_TITLE_SAVE_TASK_AS, starting in `folder` with `proposedName`;
    // asks itself before replacing a file. The chosen path, or nothing.
    virtual std::optional<std::string> SaveTaskFileDialog(std::string_view folder,
                                                          std::string_view proposedName) = 0;

    // Multi-selection open dialog titled MSG_TITLE_ADD_FILES with the HTML, text and all-files
    // filters, starting in `folder`; the chosen files, or nothing.
    virtual std::optional<ChosenFiles> AddFilesDialog(std::string_view folder) = 0;

    // Folder browser titled TXT_BROWSE_FOLDER_TITLE; the chosen folder, or nothing.
    virtual std::optional<std::string> BrowseFolderDialog() = 0;

    // The hint about treating line breaks as blanks, with the box "今後このヒントを表示しない"
    // starting as `dontShowAgain`; returns the box's state when OK was pressed.
    virtual bool AlertCRRegAsWSPDialog(bool dontShowAgain) = 0;

    // "拡張子の追加": the cleaned extension on "追加", nothing when closed. The dialog refuses
    // empty and invalid texts itself and stays open.
    virtual std::optional<std::string> AddExtensionDialog() = 0;

    // The options sheet; true when it was closed with OK (the profile then holds the new
    // settings), false on cancel.
    virtual bool OptionsSheet() = 0;
};

}  // namespace trimlet
