#include <cstdlib>
#include <new>

#include "editor/task_editor.h"
#include "platform/documents_folder.h"
#include "platform/folder_listing.h"
#include "platform/folders.h"
#include "text/text_loading.h"

namespace trimlet {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

// How much of a file the text test looks at.
constexpr std::size_t kTextTestBytes = 1024;

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::string CombinedExtensions(std::string_view htmlExtensions, std::string_view scriptExtensions) {
    const std::string_view html = TrimBlanks(htmlExtensions);
    const std::string_view script = TrimBlanks(scriptExtensions);
    if (html.empty()) return std::string(script);
    if (script.empty()) return std::string(html);
    std::string combined(html);
    combined.push_back(':');
    combined.append(script);
    return combined;
}

std::vector<std::string> ExtensionItems(std::string_view list) {
    std::vector<std::string> items;
    for (;;) {
        const std::size_t colon = list.find(':');
        const std::string_view item = TrimBlanks(list.substr(0, colon));
        if (!item.empty()) items.emplace_back(item);
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return items;
}

std::string TaskEditor::CombinedExtensions() const {
    return trimlet::CombinedExtensions(settings_.htmlExtensions, settings_.scriptExtensions);
}

TaskEditor::TextVerdict TaskEditor::AskIfNotText(const std::string& path) {
    bool nonText = false;
    // A file that cannot be examined is listed without a question.
    if (LooksLikeNonText(path, kTextTestBytes, nonText) != RESULT_OK || !nonText) {
        return TextVerdict::Add;
    }
    return AskNotText(path);
}

TaskEditor::TextVerdict TaskEditor::AskNotText(const std::string& path) {
    switch (
        dialogs_.Ask(MSG_NOT_TEXT_FILE, MessageIcon::Question, MessageButtons::YesNoCancel, path)) {
        case MessageAnswer::Yes:
            return TextVerdict::Add;
        case MessageAnswer::No:
            return TextVerdict::Skip;
        default:
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            return TextVerdict::Stop;
    }
}

bool TaskEditor::AskLineBreakRefused(const std::string& path) {
    return dialogs_.Ask(MSG_NAME_HAS_LINE_BREAK, MessageIcon::Exclamation, MessageButtons::OkCancel,
                        path) != MessageAnswer::Cancel;
}

void TaskEditor::FinishAdding(bool listWasEmpty) {
    list_.RefreshBaseFolder(settings_.showBaseFolder);
    if (listWasEmpty) SortListByPath();
}

FolderCount TaskEditor::CountFolderFiles(std::string_view folder) {
    FolderCount count;
    std::vector<std::string> names;
    if (ListFolderFiles(std::string(folder), names) != RESULT_OK) return count;
    for (const std::string& item : ExtensionItems(CombinedExtensions())) {
        for (const std::string& name : names) {
            if (!NameHasExtension(name, item)) continue;
            // Joined as AddFolderFiles joins it, so a folder given with a trailing separator
            // still finds its listed files.
            if (list_.SelectRowByPath(JoinFolderAndName(style_, folder, name))) {
                ++count.listedCount;
            } else {
                ++count.newCount;
            }
        }
    }
    return count;
}

std::size_t TaskEditor::CountFilesToAdd(const std::vector<std::string>& items,
                                        const std::vector<std::string>& names) {
    std::size_t count = 0;
    for (const std::string& item : items) {
        for (const std::string& name : names) {
            if (NameHasExtension(name, item)) ++count;
        }
    }
    return count;
}

bool TaskEditor::AddFolderFiles(std::string_view folder, std::uint32_t& added,
                                std::uint32_t flags) {
    std::size_t insertAt = list_.RowCount();
    std::vector<std::string> names;
    if (ListFolderFiles(std::string(folder), names) != RESULT_OK) return true;
    const std::vector<std::string> items = ExtensionItems(CombinedExtensions());
    WorkScope work(work_, CountFilesToAdd(items, names));
    // Stops between files at the user's request, with 15004 once.
    const auto stopAfterFile = [&] {
        const bool alreadyStopped = work_.stopped;
        if (!work.FileDone()) return false;
        if (!alreadyStopped) dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
        return true;
    };
    for (const std::string& item : items) {
        for (const std::string& name : names) {
            if (!NameHasExtension(name, item)) continue;
            if (work_.stopped) return true;
            const std::string path = JoinFolderAndName(style_, folder, name);
            // One read serves the text test, the record and the trim. After a question the
            // file is looked at again, as the user may have changed it meanwhile; a file
            // that could not be read goes the long way, which tells what is wrong.
            FileLook look;
            LookAt(path, kTextTestBytes, look);
            const bool measured = look.read && !look.nonText;
            FindRecord record;
            if (measured) {
                record = std::move(look.record);
            } else {
                const TextVerdict verdict = look.read ? AskNotText(path) : AskIfNotText(path);
                if (verdict == TextVerdict::Stop) return true;
                if (verdict == TextVerdict::Skip) continue;
                // A file that vanished since the listing, or became a folder, is passed over.
                if (GetFindRecord(path, record) != RESULT_OK) continue;
            }
            if ((record.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
            const std::size_t rowsBefore = list_.RowCount();
            const Result result = AddEntry(insertAt, record, folder, measured ? &look : nullptr);
            if (result == RESULT_ALREADY_LISTED) continue;
            if (result == RESULT_BAD_PATH) {
                // Told even in a quiet scan: the user would look for the file in vain.
                if (AskLineBreakRefused(path)) continue;
                dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
                return true;
            }
            if (list_.RowCount() == rowsBefore) {
                if ((flags & ADD_QUIET) == 0) {
                    dialogs_.Ask(MSG_OUT_OF_MEMORY, MessageIcon::Stop, MessageButtons::Ok);
                }
                return false;
            }
            // Listed, whether its preview succeeded or left placeholders.
            taskModified_ = true;
            ++added;
            if ((flags & ADD_SELECT) != 0) list_.SetSelected(insertAt, true);
            ++insertAt;
            if (stopAfterFile()) return true;
        }
    }
    return true;
}

void TaskEditor::AddDroppedFiles(const std::vector<std::string>& paths) {
    list_.DeselectAll();
    const bool listWasEmpty = list_.Empty();
    std::uint32_t added = 0;
    WorkScope work(work_, paths.size());

    for (const std::string& path : paths) {
        if (work_.stopped) break;
        std::uint32_t attributes = 0;
        if (!GetFileAttributes(path, attributes)) {
            if (dialogs_.Ask(MSG_FILE_NOT_FOUND, MessageIcon::Exclamation, MessageButtons::OkCancel,
                             path) == MessageAnswer::Cancel) {
                break;
            }
            continue;
        }

        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            const FolderCount count = CountFolderFiles(path);
            if (count.newCount == 0) {
                MessageRequest request;
                if (count.listedCount != 0) {
                    request.id = MSG_FOLDER_ALL_LISTED;
                    request.text = FormatMessage(MSG_FOLDER_ALL_LISTED, count.listedCount);
                    request.text += "\n\n";
                    request.text += path;
                } else {
                    request.id = MSG_FOLDER_NOTHING_TO_ADD;
                    request.text = FormatMessage(MSG_FOLDER_NOTHING_TO_ADD, path);
                }
                request.buttons = MessageButtons::OkCancel;
                if (dialogs_.ShowMessage(request) == MessageAnswer::Cancel) {
                    dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
                    break;
                }
                continue;
            }
            if (!AddFolderFiles(path, added, ADD_SELECT | ADD_QUIET)) {
                dialogs_.Ask(MSG_OUT_OF_MEMORY, MessageIcon::Stop, MessageButtons::Ok);
                break;
            }
            if (work_.stopped) break;
            if (work.FileDone()) {
                dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
                break;
            }
            continue;
        }

        const TextVerdict verdict = AskIfNotText(path);
        if (verdict == TextVerdict::Stop) break;
        if (verdict == TextVerdict::Skip) continue;
        const Result result = AddFileByPath(path, ADD_QUIET);
        if (result == RESULT_OK) {
            list_.SelectRowByPath(path);
            ++added;
        } else if (result == RESULT_OUT_OF_MEMORY) {
            dialogs_.Ask(MSG_OUT_OF_MEMORY, MessageIcon::Stop, MessageButtons::Ok);
            break;
        } else if (result == RESULT_NOT_FOUND) {
            if (dialogs_.Ask(MSG_FILE_NOT_FOUND, MessageIcon::Exclamation, MessageButtons::OkCancel,
                             path) == MessageAnswer::Cancel) {
                break;
            }
        } else if (result == RESULT_BAD_PATH && !AskLineBreakRefused(path)) {
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            break;
        }
        if (work.FileDone()) {
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            break;
        }
    }
    FinishAdding(listWasEmpty);
}

void TaskEditor::AddFilesCommand() {
    std::uint32_t attributes = 0;
    const auto isFolder = [&attributes](const std::string& folder) {
        return !folder.empty() && GetFileAttributes(folder, attributes) &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    };
    // The first time: the folder the listed files share, else the documents folder, else
    // the home folder; never the program's own folder, which a profile without a documents
    // folder starts with as its last one.
    if (!isFolder(settings_.lastFileOpenFolder) ||
        settings_.lastFileOpenFolder == ProgramFolder()) {
        std::string documents;
        const char* home = std::getenv("HOME");
        if (isFolder(list_.BaseFolderLabel())) {
            settings_.lastFileOpenFolder = list_.BaseFolderLabel();
        } else if (documentsLookup_(documents) && isFolder(documents) &&
                   documents != ProgramFolder()) {
            settings_.lastFileOpenFolder = documents;
        } else if (home && isFolder(home)) {
            settings_.lastFileOpenFolder = home;
        }
    }
    const std::optional<ChosenFiles> chosen = dialogs_.AddFilesDialog(settings_.lastFileOpenFolder);
    if (!chosen) return;
    AddChosenFiles(*chosen);
}

std::string TaskEditor::ChosenPath(std::string_view folder, std::string_view name) const {
    // A path typed in the chooser may lie in another folder than the files picked with it.
    if (IsAbsolutePath(style_, name)) return std::string(name);
    return JoinFolderAndName(style_, folder, name);
}

void TaskEditor::AddChosenFiles(const ChosenFiles& chosen) {
    if (chosen.names.empty()) return;
    settings_.lastFileOpenFolder = chosen.folder;
    const bool listWasEmpty = list_.Empty();
    list_.DeselectAll();

    if (chosen.names.size() == 1) {
        const std::string path = ChosenPath(chosen.folder, chosen.names.front());
        bool nonText = false;
        if (LooksLikeNonText(path, kTextTestBytes, nonText) == RESULT_OK && nonText &&
            dialogs_.Ask(MSG_NOT_TEXT_FILE, MessageIcon::Question, MessageButtons::YesNoCancel,
                         path) != MessageAnswer::Yes) {
            // With a single file, declining it ends the command as a stop does.
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
        } else {
            static_cast<void>(AddFileByPath(path, 0));
            list_.SelectRowByPath(path);
        }
    } else {
        for (const std::string& name : chosen.names) {
            const std::string path = ChosenPath(chosen.folder, name);
            const TextVerdict verdict = AskIfNotText(path);
            if (verdict == TextVerdict::Stop) break;
            if (verdict == TextVerdict::Skip) continue;
            const Result result = AddFileByPath(path, 0);
            if (result == RESULT_OUT_OF_MEMORY) break;
            if (result == RESULT_STOPPED) {
                dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
                break;
            }
            list_.SelectRowByPath(path);
        }
    }
    FinishAdding(listWasEmpty);
}

void TaskEditor::AddFolderCommand() {
    const std::optional<std::string> folder = dialogs_.BrowseFolderDialog();
    if (!folder) return;
    AddChosenFolder(*folder);
}

void TaskEditor::AddChosenFolder(std::string_view folder) {
    const FolderCount count = CountFolderFiles(folder);
    if (count.newCount == 0) {
        if (count.listedCount != 0) {
            dialogs_.Ask(MSG_FOLDER_ALL_LISTED, MessageIcon::None, MessageButtons::Ok,
                         count.listedCount);
        } else {
            dialogs_.Ask(MSG_FOLDER_NOTHING_TO_ADD, MessageIcon::None, MessageButtons::Ok, folder);
        }
        return;
    }

    list_.DeselectAll();
    const bool listWasEmpty = list_.Empty();
    std::uint32_t added = 0;
    static_cast<void>(AddFolderFiles(folder, added, ADD_SELECT));
    FinishAdding(listWasEmpty);

    if (added > 0) {
        dialogs_.Ask(MSG_FILES_ADDED, MessageIcon::Information, MessageButtons::Ok, added);
    } else {
        dialogs_.Ask(MSG_FOLDER_HAS_NO_FILES, MessageIcon::None, MessageButtons::Ok);
    }
}

}  // namespace trimlet
