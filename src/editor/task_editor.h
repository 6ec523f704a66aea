#pragma once
// The task editor: everything the main view does, without a window. It holds the task's
// file list, whether the task has unsaved changes, the task file's path and the working
// copies of the settings; it talks to the user only through Dialogs. A window shows its
// rows (FileList) and forwards the commands to it.
//
// The members are implemented by concern: task_editor_core.cpp (construction, settings,
// rows), task_editor_preview.cpp (sizes shown per row), task_editor_adding.cpp (adding
// files and folders), task_editor_commands.cpp (list commands and their enabling rules),
// task_editor_run.cpp (the run of the checked rows); src/task/task_editor_tasks.cpp (task
// files: write, open, run) and src/task/task_editor_task_commands.cpp (the task commands and
// the recent-task list).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/output_paths.h"
#include "batch/run_files.h"
#include "common/dialogs.h"
#include "common/result.h"
#include "editor/work_progress.h"
#include "filelist/file_list.h"
#include "platform/durable_write.h"
#include "platform/file_info.h"
#include "settings/profile.h"
#include "settings/working_settings.h"
#include "text/file_look.h"
#include "text/stylesheets.h"

namespace trimlet {

// Flags of AddFileByPath and AddFolderFiles.
inline constexpr std::uint32_t ADD_QUIET = 0x40000;             // no message boxes
inline constexpr std::uint32_t ADD_SELECT = 0x80000;            // select each added row
inline constexpr std::uint32_t ADD_KEEP_UNMODIFIED = 0x100000;  // leave taskModified alone

// Commands routed to the editor, by id.
inline constexpr int CMD_ADD_FOLDER_FILES = 32771;
inline constexpr int CMD_RUN = 32772;
inline constexpr int CMD_ADD_FILES = 32773;
inline constexpr int CMD_TOGGLE_BASE_FOLDER_BAR = 32774;
inline constexpr int CMD_OPTIONS = 32775;
inline constexpr int CMD_REMOVE = 32784;
inline constexpr int CMD_REFRESH = 32786;
inline constexpr int CMD_RUN_TASK = 32788;
inline constexpr int CMD_MARK = 32790;
inline constexpr int CMD_UNMARK = 32791;
inline constexpr int CMD_OPEN_TASK = 57601;
inline constexpr int CMD_SAVE_TASK = 57603;
inline constexpr int CMD_SAVE_TASK_AS = 57604;
inline constexpr int CMD_CLEAR = 57632;
inline constexpr int CMD_PASTE = 57637;
inline constexpr int CMD_SELECT_ALL = 57642;
inline constexpr int CMD_HELP_CONTENTS = 57666;
inline constexpr int CMD_NEW_TASK = 57600;
// The entries of the recent-task list, newest first.
inline constexpr int CMD_RECENT_TASK_FIRST = 57616;
inline constexpr int CMD_RECENT_TASK_LAST = 57631;

// What a run of a task file came to.
struct TaskRunReport {
    bool ran = false;      // the files were gone through and the summary shown (also after a stop)
    bool stopped = false;  // the user stopped the run
    // Files not trimmed for another reason than the overwrite choice (a skip chosen there is
    // not a failure), included in summary.skippedCount.
    std::uint32_t failedCount = 0;
    RunSummary summary;
};

// Both extension lists as one, blanks around each list trimmed: "HTM:HTML" and "JS:VBS"
// give "HTM:HTML:JS:VBS"; an empty list adds nothing.
std::string CombinedExtensions(std::string_view htmlExtensions, std::string_view scriptExtensions);
// The items of an extension list, left to right, blanks around each trimmed, empty ones
// left out.
std::vector<std::string> ExtensionItems(std::string_view list);

// What a folder holds for the list: files not yet listed and files listed already.
struct FolderCount {
    std::uint32_t newCount = 0;
    std::uint32_t listedCount = 0;
};

class TaskEditor {
  public:
    // ---- Life and state (task_editor_core.cpp) ----

    // Loads the working copies of the settings from `profile`; an empty remembered folder
    // becomes the documents folder found by `lookup` (the system's by default).
    TaskEditor(Dialogs& dialogs, Profile& profile, PathStyle style = NativePathStyle());
    TaskEditor(Dialogs& dialogs, Profile& profile, PathStyle style, DocumentsFolderLookup lookup);
    TaskEditor(const TaskEditor&) = delete;
    TaskEditor& operator=(const TaskEditor&) = delete;

    // Writes back what changed only in memory: the base folder bar and both remembered
    // folders. The window calls it once when it goes away.
    void Close();

    FileList& List() { return list_; }
    const FileList& List() const { return list_; }
    WorkingSettings& Settings() { return settings_; }
    const WorkingSettings& Settings() const { return settings_; }
    Dialogs& GetDialogs() { return dialogs_; }
    Profile& GetProfile() { return profile_; }
    PathStyle Style() const { return style_; }

    // Whether the task has changes not yet saved.
    bool TaskModified() const { return taskModified_; }
    void SetTaskModified(bool modified) { taskModified_ = modified; }
    // The task file's path; empty for an untitled task.
    const std::string& TaskPath() const { return taskPath_; }
    void SetTaskPath(std::string path) { taskPath_ = std::move(path); }

    // After the options sheet closed with OK: re-reads the settings it edits, then
    // recomputes every row (RefreshAll).
    void ReloadAfterOptions();

    // ---- Rows (task_editor_core.cpp) ----

    // Adds the file `findData` of `folder` as a row at `index` (callers pass the row
    // count) and computes its preview. A file already listed (same full path under the
    // path style, or the same file on disk by another path) is selected instead, with
    // RESULT_ALREADY_LISTED; a folder record, an empty name or folder give
    // RESULT_INVALID_ARGUMENT; a line break in the name or folder, which a task file could
    // not hold, RESULT_BAD_PATH. When the trim fails the row is
    // added all the same, unchecked and with placeholders, and the trim's code returned.
    // A new row starts checked and selected.
    [[nodiscard]] Result AddEntry(std::size_t index, const FindRecord& findData,
                                  std::string_view folder);
    // Looks `path` up and adds it with AddEntry at the end, telling the user about a
    // failure (unless ADD_QUIET): OK returns the code, Cancel RESULT_STOPPED. Sets
    // taskModified when a row was added, unless ADD_KEEP_UNMODIFIED.
    [[nodiscard]] Result AddFileByPath(std::string_view path, std::uint32_t flags);
    // The image a new row gets for `name` under the current extension lists.
    int ImageForName(std::string_view name) const;
    // Deletes every row and empties the base folder label; asks nothing, changes no flag.
    void EmptyList();
    // Sorts the rows by full path, ascending, leaving the column-click state alone.
    void SortListByPath();

    // ---- Preview (task_editor_preview.cpp) ----

    // Measures the row's file again and shows its size, trimmed size and time; the image
    // stays. A file that cannot be opened is reported (20012 or 20021, 20013 for its time):
    // OK gives RESULT_NOT_FOUND or RESULT_ACCESS_ERROR, Cancel RESULT_STOPPED; a trim that
    // fails is not reported and returns its code. Failures leave placeholders.
    // RESULT_INVALID_ARGUMENT for a row without entry. The entry keeps what the row shows.
    [[nodiscard]] Result RefreshRow(std::size_t row);
    // RefreshRow for every row, in order, until the user stops (then 15004).
    void RefreshAll();
    // The placeholder texts in columns 1 to 3; the stored sizes become 0, the image stays.
    void ShowPlaceholders(std::size_t row);

    // ---- Adding files (task_editor_adding.cpp) ----

    std::string CombinedExtensions() const;
    // Counts the files of `folder` (not its sub-folders) matching the extension lists;
    // listed ones are selected. A file matching two items counts twice.
    FolderCount CountFolderFiles(std::string_view folder);
    // Adds the matching files of `folder` at the end, asking before a file that does not
    // look like text. `added` counts the rows added. False when the scan failed (reported
    // with 40000 unless ADD_QUIET); a stop on the text question still returns true.
    [[nodiscard]] bool AddFolderFiles(std::string_view folder, std::uint32_t& added,
                                      std::uint32_t flags);
    // Adds dropped or pasted paths, files and folders, in order.
    void AddDroppedFiles(const std::vector<std::string>& paths);

    // Add files: the chooser, then AddChosenFiles.
    void AddFilesCommand();
    // Add files after the chooser returned `chosen`.
    void AddChosenFiles(const ChosenFiles& chosen);
    // Add folder files: the folder browser, then AddChosenFolder.
    void AddFolderCommand();
    // Add folder files after the browser returned `folder`.
    void AddChosenFolder(std::string_view folder);
    // Paste of a file list taken from the clipboard.
    void Paste(const std::vector<std::string>& paths) { AddDroppedFiles(paths); }

    // ---- List commands (task_editor_commands.cpp) ----

    // The first selected row, if any: the row the row commands act on.
    std::optional<std::size_t> FirstSelectedRow() const;
    // Where a run writes the row's file: its output folder under the working output
    // folder name. Empty for a row without entry or a name that cannot be resolved.
    std::string RowOutputFolder(std::size_t row) const;

    // Double click on `row` (-1: on no row): checks or unchecks it.
    void ToggleCheck(int row);
    void MarkSelected();
    void UnmarkSelected();
    // Asks 20026 and removes the selected rows.
    void RemoveSelected();
    void SelectAll();
    // Asks 18000 and empties the list.
    void Clear();
    void ToggleBaseFolderBar();

    // Enabling rules of the commands.
    bool CanRun() const { return list_.CheckedCount() > 0; }
    bool CanRemove() const { return list_.SelectedCount() > 0; }
    bool CanMark() const { return list_.SelectedCount() > 0; }
    bool CanUnmark() const { return list_.SelectedCount() > 0; }
    bool CanSave() const { return taskModified_ && !list_.Empty(); }
    bool CanSaveAs() const { return !list_.Empty(); }
    bool CanClear() const { return !list_.Empty(); }
    bool CanSelectAll() const { return !list_.Empty(); }
    // Any command by id; Paste depends on what the clipboard holds, which the window knows.
    // While long work runs only help is enabled, so no command can change the list under it.
    bool IsCommandEnabled(int command, bool clipboardHoldsFileList) const;
    // The bar toggle shows a check mark while the bar is shown.
    bool IsBaseFolderBarShown() const { return settings_.showBaseFolder; }

    // ---- Long work (filelist/work_progress.h) ----

    // Told after every file of a run, a folder add, a drop and a refresh of every row; a
    // stop it asks for ends the work after the current file with 15004 (a run then shows
    // the summary of the files done so far). nullptr: nobody is told.
    void SetWorkProgress(WorkProgress* progress) { work_.progress = progress; }
    // Whether such work is under way.
    bool Busy() const { return work_.depth > 0; }

    // ---- Run (task_editor_run.cpp) ----

    // Trims every checked row into its output folder and shows the summary; stops at the
    // user's Cancel with 15004 and no summary.
    void RunCheckedFiles();

    // How the commands trim files ahead on worker threads (tests and benchmarks; whether
    // bytes are kept is each command's own choice).

    // ---- Task files (src/task/task_editor_tasks.cpp) ----

    // Writes the task: the working trim mode and output folder name, then the path of every
    // row in display order. A failure leaves an existing file as it was. Results as
    // SaveTaskFile; nothing is shown.
    [[nodiscard]] Result WriteTaskFile(const std::string& path);
    // Opens a task file: checks its header and version, lets the user take its settings,
    // then replaces the list by its paths (quietly, taskModified left alone), reporting
    // each path that cannot be listed. Afterwards the path is the task path and the newest
    // recent task, the rows are sorted by path and taskModified is clear. True when the list
    // now holds the file's paths (some of them when the user stopped); false when the open
    // ended before the list was touched, or on a read error.
    bool OpenTaskFile(const std::string& path);
    // Trims every file the task file lists with the file's own trim mode and output folder
    // name, then shows the summary (also after a stop) and makes it the newest recent task.
    // A relative path line is found beside the task file; empty lines at the end are left
    // out. `fileDone`, when given, takes each file's path and outcome in order. The list,
    // the working settings, the task path and taskModified are not touched.
    using TaskFileDone = std::function<void(const std::string& path, const FileOutcome& done)>;
    TaskRunReport RunTaskFile(const std::string& path, const TaskFileDone& fileDone = nullptr);
    // Makes the task file writes fail part-way (tests).
    void SetTaskWriteFault(WriteFault fault) { taskWriteFault_ = fault; }
    // False: a choice in the output-exists dialog of a task run does not become the next
    // preselection (when an option of the command line gives the answer).
    void SetRememberOverwriteChoice(bool remember) { rememberOverwriteChoice_ = remember; }
    // On: every trimmed result is verified before it is written (RunRequest::verify),
    // whatever the profile's option says (the command line's choice).
    void SetVerifyResults(bool verify) { verifyResults_ = verify; }

    // ---- Task commands (src/task/task_editor_task_commands.cpp) ----

    // Before unsaved changes are thrown away: asks `messageId` (18001 to 18004, `task` for
    // its "%s") with Save (Yes), Don't save (No) and Cancel. True when the task may go: it
    // was unchanged, saved, or the user chose not to save.
    bool MayDiscardTask(int messageId, std::string_view task = {});

    // New task: empties the list, after asking 18003 when it has unsaved changes.
    void NewTask() { OpenRequestedTask({}); }
    // Open task: asks 18001 when the list has unsaved changes, then the open dialog.
    void OpenTaskCommand();
    // Run task: the open dialog, then RunTaskFile; the list is not touched, so nothing is
    // asked about it.
    void RunTaskCommand();
    // Save task: writes to the task path (Save as for an untitled task).
    void SaveTask();
    // Save task as: the save dialog with a proposed name, then the write.
    void SaveTaskAs();
    // The recent tasks, newest first; entry i is command CMD_RECENT_TASK_FIRST + i.
    std::vector<std::string> RecentTasks() const;
    // A recent task chosen from the menu: OpenRequestedTask with its path.
    void OpenRecentTask(std::size_t index);
    // A task path from the recent-task list, from a request of the shell (while running),
    // or empty for New task. A path is run when mruOpenAction is non-zero, else opened
    // after asking 18001 when the list has unsaved changes (18004, naming the task, for a
    // task `handedOver` by a later start).
    void OpenRequestedTask(std::string_view path, bool handedOver = false);
    // The first update of the view: opens the task named on the command line (always
    // opened, never run), then clears taskModified. The result of the open, or true.
    bool InitialUpdate(const std::string& commandLineTask);
    // When documentFolder does not exist, it becomes the documents folder (unchanged when
    // that cannot be found).
    void EnsureDocumentFolder();
    // The name proposed for a new task file in `folder`: "TrimletHTML タスク(n).trh" with the
    // first n from 1 to 255 whose file does not exist there; n = 1 when all do.
    std::string ProposeTaskFileName(std::string_view folder) const;
    // The window title's task name: the task file's name, or "新規タスク" while untitled.
    std::string TaskTitle() const;

  private:
    enum class TextVerdict { Add, Skip, Stop };

    // The not-text question for `path`, when its first bytes do not look like text.
    TextVerdict AskIfNotText(const std::string& path);
    // The not-text question for `path`, whose first bytes do not look like text.
    TextVerdict AskNotText(const std::string& path);
    // Tells that `path` is not listed because of a line break in it; false on Cancel.
    bool AskLineBreakRefused(const std::string& path);
    // A name the add-files chooser returned, as a path: `folder` and the name, or the name
    // itself when it is an absolute path.
    std::string ChosenPath(std::string_view folder, std::string_view name) const;
    // Sort by path after adding into a list that was empty.
    void FinishAdding(bool listWasEmpty);
    // The sizes of `path` trimmed with the working trim mode, from the trims made ahead when
    // a command has started them (task_editor_preview.cpp).
    Result MeasureTrim(const std::string& path, std::uint64_t& sourceSize,
                       std::uint64_t& trimmedSize);
    // LookAtFile for `path` with the working trim mode, from the looks made ahead when a
    // command has started them (with their own text test), else with `textTestBytes`.
    void LookAt(const std::string& path, std::size_t textTestBytes, FileLook& look);
    // AddEntry with the trim already made: `measured` (when given) holds the sizes and
    // result of trimming the file as `findData` describes it.
    Result AddEntry(std::size_t index, const FindRecord& findData, std::string_view folder,
                    const FileLook* measured);
    // The sizes and time of a row whose file was measured.
    void ShowMeasures(std::size_t row, std::uint64_t sourceSize, std::uint64_t trimmedSize,
                      const FindRecord& record);
    // A run of the files of this task with these settings and the editor's others.
    RunRequest MakeRunRequest(std::string outputFolderName, std::uint32_t runFlags);
    // How many files AddFolderFiles measures: the files of `names` matching each extension
    // of `items` in turn.
    static std::size_t CountFilesToAdd(const std::vector<std::string>& items,
                                       const std::vector<std::string>& names);

    Dialogs& dialogs_;
    Profile& profile_;
    PathStyle style_;
    DocumentsFolderLookup documentsLookup_;
    WorkingSettings settings_;
    FileList list_;
    bool taskModified_ = false;
    std::string taskPath_;

    // Task files.
    void ShowTaskWriteError(Result result, const std::string& path);
    WriteFault taskWriteFault_;
    bool rememberOverwriteChoice_ = true;
    std::optional<bool> verifyResults_;  // else the working settings' option

    WorkState work_;
    // The style sheets the listed pages link, read once while adding and refreshing (see
    // LearnPreformattedForPage); forgotten when the whole list is refreshed.
    StylesheetCache stylesheets_;
};

}  // namespace trimlet
