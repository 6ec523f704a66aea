// Task files on the task editor: writing the task, opening a task file into the list, and
// running a task file without touching the list.

#include <new>
#include <vector>

#include "batch/run_files.h"
#include "editor/task_editor.h"
#include "settings/output_options.h"
#include "task/recent_tasks.h"
#include "task/settings_report.h"
#include "task/task_file.h"

namespace trimlet {

namespace {

// Reads the task file and its first two lines, telling the user what went wrong. The line
// reader views `bytes`.
bool ReadTaskStart(Dialogs& dialogs, const std::string& path, std::string& bytes,
                   TaskLineReader& lines, TaskHeader& header) {
    if (const Result read = ReadTaskFileBytes(path, bytes); read != RESULT_OK) {
        dialogs.Ask(TaskReadMessageId(read), MessageIcon::Stop, MessageButtons::Ok, path);
        return false;
    }
    lines = TaskLineReader(bytes);
    const TaskHeaderStatus status = ReadTaskSignatureAndVersion(lines, header);
    if (status != TaskHeaderStatus::Ok) {
        dialogs.Ask(TaskHeaderMessageId(status), MessageIcon::Stop, MessageButtons::Ok, path);
        return false;
    }
    return true;
}

bool ReadTaskRest(Dialogs& dialogs, const std::string& path, TaskLineReader& lines,
                  TaskHeader& header, PathStyle style) {
    const TaskHeaderStatus status = ReadTaskSettings(lines, header);
    if (status != TaskHeaderStatus::Ok) {
        dialogs.Ask(TaskHeaderMessageId(status), MessageIcon::Stop, MessageButtons::Ok, path);
        return false;
    }
    // A task file may come from anywhere: a folder name the options refuse would put the
    // outputs beside or over other files.
    if (IsRefusedOutputFolderName(style, header.outputFolderName)) {
        dialogs.Ask(style == PathStyle::Posix ? MSG_FOLDER_NAME_REFUSED_POSIX
                                              : MSG_FOLDER_NAME_BAD_CHARACTERS,
                    MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    return true;
}

bool ContinueWithNewerVersion(Dialogs& dialogs, const std::string& version) {
    return dialogs.Ask(MSG_NEWER_TASK_VERSION, MessageIcon::Question, MessageButtons::YesNo,
                       version) == MessageAnswer::Yes;
}

}  // namespace

Result TaskEditor::WriteTaskFile(const std::string& path) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    std::vector<std::string> paths;
    try {
        paths.reserve(list_.RowCount());
        for (std::size_t row = 0; row < list_.RowCount(); ++row) {
            // A row without its record has no path to keep.
            if (const FileEntry* entry = list_.Entry(row)) {
                paths.push_back(TaskRowPath(style_, entry->folder, entry->findData.name));
            }
        }
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
    return SaveTaskFile(path, settings_.trimMode, settings_.outputFolderName, paths,
                        taskWriteFault_);
}

void TaskEditor::ShowTaskWriteError(Result result, const std::string& path) {
    if (const int id = TaskWriteMessageId(result); id != 0) {
        dialogs_.Ask(id, MessageIcon::Stop, MessageButtons::Ok, path);
    }
}

bool TaskEditor::OpenTaskFile(const std::string& path) {
    std::string bytes;
    TaskLineReader lines{std::string_view()};
    TaskHeader header;
    if (!ReadTaskStart(dialogs_, path, bytes, lines, header)) return false;

    TrimMode addedBits = 0;
    switch (JudgeVersionToOpen(header.version)) {
        case TaskVersionKind::Old:
            addedBits = AskOldVersionOptions(dialogs_, profile_);
            break;
        case TaskVersionKind::Current:
            break;
        case TaskVersionKind::Newer:
            if (!ContinueWithNewerVersion(dialogs_, header.version)) return false;
            break;
    }
    if (!ReadTaskRest(dialogs_, path, lines, header, style_)) return false;
    const TrimMode fileMode = header.trimMode | addedBits;

    switch (RunSettingsStep(dialogs_, profile_, settings_.trimMode, settings_.outputFolderName,
                            fileMode, header.outputFolderName, style_, settings_.keptComments)) {
        case SettingsStepOutcome::Taken:
            settings_.trimMode = fileMode;
            settings_.outputFolderName = header.outputFolderName;
            break;
        case SettingsStepOutcome::Kept:
            break;
        case SettingsStepOutcome::Cancelled:
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            return false;
    }

    EmptyList();
    // A copy into one of the files cut short by a crash is rolled back before it is read.
    ForgetCheckedFolders();
    for (const std::string_view given : TaskPathLines(lines)) {
        const std::string line = TaskLinePath(style_, path, given);
        if (!line.empty()) CheckFolderOnce(FolderOf(line));
        // An empty line names no file, so it is a file that cannot be found.
        Result result =
            line.empty() ? RESULT_NOT_FOUND : AddFileByPath(line, ADD_QUIET | ADD_KEEP_UNMODIFIED);
        if (result == RESULT_OK) continue;
        if (result == RESULT_OUT_OF_MEMORY) {
            dialogs_.Ask(MSG_OUT_OF_MEMORY, MessageIcon::Stop, MessageButtons::Ok);
            break;
        }
        // A folder, a path without a folder part or one listed already is skipped like any
        // file that cannot be accessed; none of them is a lack of memory.
        const int id = result == RESULT_NOT_FOUND ? MSG_FILE_NOT_FOUND : MSG_FILE_ACCESS_ERROR;
        if (dialogs_.Ask(id, MessageIcon::None, MessageButtons::OkCancel, line) ==
            MessageAnswer::Cancel) {
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            break;
        }
    }

    TellWriteNotices(dialogs_);
    AddRecentTask(profile_, path, style_);
    taskPath_ = path;
    list_.RefreshBaseFolder(settings_.showBaseFolder);
    SortListByPath();
    taskModified_ = false;
    return true;
}

TaskRunReport TaskEditor::RunTaskFile(const std::string& path, const TaskFileDone& fileDone) {
    TaskRunReport report;
    std::string bytes;
    TaskLineReader lines{std::string_view()};
    TaskHeader header;
    if (!ReadTaskStart(dialogs_, path, bytes, lines, header)) return report;
    if (AskBeforeRunningVersion(header.version) &&
        !ContinueWithNewerVersion(dialogs_, header.version)) {
        report.stopped = true;
        return report;
    }
    if (!ReadTaskRest(dialogs_, path, lines, header, style_)) return report;

    // The file's own mode without run bits: missing folders are made without asking, and
    // "以後すべて" can always be pressed.
    RunRequest request = MakeRunRequest(header.outputFolderName, header.trimMode & ~kRunBits);
    request.rememberOverwriteChoice = rememberOverwriteChoice_;
    std::vector<std::string> files;
    for (const std::string_view line : TaskPathLines(lines))
        files.push_back(TaskLinePath(style_, path, line));
    std::size_t index = 0;
    const NextRunFile next = [&]() -> std::optional<RunFile> {
        if (index >= files.size()) return std::nullopt;
        RunFile file{index, files[index]};
        ++index;
        return file;
    };
    GroupedRunWrites::Report perFile;
    if (fileDone) perFile = [&](const FileOutcome& done) { fileDone(files[done.index], done); };
    WorkScope work(work_, files.size());
    RunTally tally;
    const RunEnd end = RunFiles(
        dialogs_, profile_, request, next, perFile, [&] { return work.FileDone(); }, tally);
    report.stopped = end != RunEnd::Finished;
    report.failedCount = tally.failedCount;
    report.summary = tally.summary;

    AddRecentTask(profile_, path, style_);
    dialogs_.ResultSummaryDialog(report.summary);
    report.ran = true;
    return report;
}

}  // namespace trimlet
