// The task commands on the task editor: new, open, run, save, save as, the recent tasks,
// and the task the program was started with.

#include "editor/task_editor.h"
#include "platform/file_info.h"
#include "task/recent_tasks.h"

namespace trimlet {

namespace {

// The folder a chosen file lies in: the path up to its last separator. A file in the root
// keeps the separator as its folder; a bare name has none (empty).
std::string ChosenFileFolder(PathStyle style, std::string_view path) {
    const std::size_t last = path.rfind(PathSeparator(style));
    if (last == std::string_view::npos) return {};
    return std::string(path.substr(0, last == 0 ? 1 : last));
}

bool Exists(const std::string& path) {
    std::uint32_t attributes = 0;
    return GetFileAttributes(path, attributes);
}

}  // namespace

void TaskEditor::EnsureDocumentFolder() {
    if (!settings_.documentFolder.empty() && Exists(settings_.documentFolder)) return;
    std::string found;
    if (documentsLookup_(found)) settings_.documentFolder = std::move(found);
}

std::string TaskEditor::ProposeTaskFileName(std::string_view folder) const {
    const std::string base = CutTrailingSeparators(style_, folder) + PathSeparator(style_);
    for (int n = 1; n <= 255; ++n) {
        std::string name = FormatMessage(MSG_PROPOSED_TASK_NAME, n);
        if (!Exists(base + name)) return name;
    }
    return FormatMessage(MSG_PROPOSED_TASK_NAME, 1);
}

std::string TaskEditor::TaskTitle() const {
    if (taskPath_.empty()) return TXT_UNTITLED_TASK.Get();
    const std::size_t last = taskPath_.rfind(PathSeparator(style_));
    return last == std::string::npos ? taskPath_ : taskPath_.substr(last + 1);
}

std::vector<std::string> TaskEditor::RecentTasks() const {
    return ReadRecentTasks(profile_, style_);
}

void TaskEditor::OpenRecentTask(std::size_t index) {
    const std::vector<std::string> paths = RecentTasks();
    if (index < paths.size()) OpenRequestedTask(paths[index]);
}

bool TaskEditor::MayDiscardTask(int messageId, std::string_view task) {
    if (!taskModified_) return true;
    switch (dialogs_.Ask(messageId, MessageIcon::Question, MessageButtons::YesNoCancel, task)) {
        case MessageAnswer::Yes:
            // Saved, or the save failed or was cancelled and the task stays.
            SaveTask();
            return !taskModified_;
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

void TaskEditor::OpenRequestedTask(std::string_view path, bool handedOver) {
    if (path.empty()) {
        if (!MayDiscardTask(MSG_DISCARD_AND_NEW)) return;
        EmptyList();
        taskPath_.clear();
        taskModified_ = false;
        return;
    }
    const std::string task(path);
    if (settings_.mruOpenAction != 0) {
        static_cast<void>(RunTaskFile(task));
        return;
    }
    // A task handed over by a later start is named: the user did not pick it here.
    if (!MayDiscardTask(handedOver ? MSG_DISCARD_AND_OPEN_NAMED : MSG_DISCARD_AND_OPEN, task))
        return;
    static_cast<void>(OpenTaskFile(task));
}

bool TaskEditor::InitialUpdate(const std::string& commandLineTask) {
    bool opened = true;
    if (!commandLineTask.empty()) opened = OpenTaskFile(commandLineTask);
    taskModified_ = false;
    return opened;
}

void TaskEditor::OpenTaskCommand() {
    if (!MayDiscardTask(MSG_DISCARD_AND_OPEN)) return;
    EnsureDocumentFolder();
    const std::optional<std::string> path =
        dialogs_.OpenTaskFileDialog(MSG_TITLE_OPEN_TASK, settings_.documentFolder);
    if (!path) return;
    if (std::string folder = ChosenFileFolder(style_, *path); !folder.empty()) {
        settings_.documentFolder = std::move(folder);
    }
    static_cast<void>(OpenTaskFile(*path));
}

void TaskEditor::RunTaskCommand() {
    EnsureDocumentFolder();
    const std::optional<std::string> path =
        dialogs_.OpenTaskFileDialog(MSG_TITLE_RUN_TASK, settings_.documentFolder);
    if (!path) return;
    if (std::string folder = ChosenFileFolder(style_, *path); !folder.empty()) {
        settings_.documentFolder = std::move(folder);
    }
    static_cast<void>(RunTaskFile(*path));
}

void TaskEditor::SaveTask() {
    if (taskPath_.empty()) {
        SaveTaskAs();
        return;
    }
    const Result result = WriteTaskFile(taskPath_);
    if (result != RESULT_OK) {
        ShowTaskWriteError(result, taskPath_);
        return;
    }
    taskModified_ = false;
}

void TaskEditor::SaveTaskAs() {
    // The label holds the folder every row shares only while the bar is shown.
    std::string folder = settings_.showBaseFolder ? list_.BaseFolderLabel() : std::string();
    if (folder.empty()) {
        EnsureDocumentFolder();
        folder = settings_.documentFolder;
    }
    const std::optional<std::string> path =
        dialogs_.SaveTaskFileDialog(folder, ProposeTaskFileName(folder));
    if (!path) return;
    if (std::string chosenFolder = ChosenFileFolder(style_, *path); !chosenFolder.empty()) {
        settings_.documentFolder = std::move(chosenFolder);
    }
    const Result result = WriteTaskFile(*path);
    if (result != RESULT_OK) {
        ShowTaskWriteError(result, *path);
        return;
    }
    taskPath_ = *path;
    taskModified_ = false;
    AddRecentTask(profile_, *path, style_);
}

}  // namespace trimlet
