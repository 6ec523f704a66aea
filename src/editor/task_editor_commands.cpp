#include "editor/task_editor.h"

namespace trimlet {

std::optional<std::size_t> TaskEditor::FirstSelectedRow() const {
    if (list_.SelectedCount() == 0) return std::nullopt;
    for (std::size_t row = 0; row < list_.RowCount(); ++row)
        if (list_.IsSelected(row)) return row;
    return std::nullopt;
}

std::string TaskEditor::RowOutputFolder(std::size_t row) const {
    const FileEntry* entry = list_.Entry(row);
    std::string folder;
    if (!entry || ResolveOutputFolder(style_, entry->folder, settings_.outputFolderName, folder) !=
                      RESULT_OK) {
        return {};
    }
    return folder;
}

void TaskEditor::ToggleCheck(int row) {
    if (row < 0) return;
    const auto index = static_cast<std::size_t>(row);
    list_.SetImage(index, ToggledImage(list_.Image(index)));
}

void TaskEditor::MarkSelected() {
    for (std::size_t row = 0; row < list_.RowCount(); ++row) {
        if (list_.IsSelected(row)) list_.CheckRow(row);
    }
}

void TaskEditor::UnmarkSelected() {
    for (std::size_t row = 0; row < list_.RowCount(); ++row) {
        if (list_.IsSelected(row)) list_.UncheckRow(row);
    }
}

void TaskEditor::RemoveSelected() {
    const std::size_t count = list_.SelectedCount();
    if (count == 0) return;
    if (dialogs_.Ask(MSG_CONFIRM_REMOVE, MessageIcon::Question, MessageButtons::OkCancel, count) ==
        MessageAnswer::Ok) {
        list_.RemoveSelectedRows();
        taskModified_ = true;
    }
    list_.RefreshBaseFolder(settings_.showBaseFolder);
}

void TaskEditor::SelectAll() {
    list_.SelectAll();
}

void TaskEditor::Clear() {
    if (dialogs_.Ask(MSG_CONFIRM_CLEAR, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageAnswer::Yes) {
        return;
    }
    EmptyList();
    taskModified_ = true;
}

void TaskEditor::ToggleBaseFolderBar() {
    settings_.showBaseFolder = !settings_.showBaseFolder;
    if (settings_.showBaseFolder) {
        list_.RefreshBaseFolder(true);
    } else {
        list_.ShowFullPaths();
    }
}

bool TaskEditor::IsCommandEnabled(int command, bool clipboardHoldsFileList) const {
    if (Busy()) return command == CMD_HELP_CONTENTS;
    switch (command) {
        case CMD_RUN:
            return CanRun();
        case CMD_REMOVE:
            return CanRemove();
        case CMD_MARK:
            return CanMark();
        case CMD_UNMARK:
            return CanUnmark();
        case CMD_SAVE_TASK:
            return CanSave();
        case CMD_SAVE_TASK_AS:
            return CanSaveAs();
        case CMD_CLEAR:
            return CanClear();
        case CMD_SELECT_ALL:
            return CanSelectAll();
        case CMD_PASTE:
            return clipboardHoldsFileList;
        default:
            // Adding, the bar toggle, options, refresh, task open and run, help.
            return true;
    }
}

}  // namespace trimlet
