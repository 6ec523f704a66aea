#include <memory>
#include <new>
#include <utility>

#include "batch/format.h"
#include "editor/task_editor.h"
#include "platform/documents_folder.h"
#include "text/trim_file.h"

namespace trimlet {

namespace {

bool SystemDocumentsFolder(std::string& folder) {
    return FindDocumentsFolder(folder);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

TaskEditor::TaskEditor(Dialogs& dialogs, Profile& profile, PathStyle style)
    : TaskEditor(dialogs, profile, style, SystemDocumentsFolder) {}

TaskEditor::TaskEditor(Dialogs& dialogs, Profile& profile, PathStyle style,
                       DocumentsFolderLookup lookup)
    : dialogs_(dialogs),
      profile_(profile),
      style_(style),
      documentsLookup_(std::move(lookup)),
      settings_(LoadWorkingSettings(profile, documentsLookup_)),
      list_(style) {}

void TaskEditor::Close() {
    SaveSessionSettings(profile_, settings_);
}

void TaskEditor::ReloadAfterOptions() {
    ReloadOptionSettings(profile_, settings_);
    RefreshAll();
}

int TaskEditor::ImageForName(std::string_view name) const {
    return trimlet::ImageForName(style_, name, settings_.htmlExtensions,
                                 settings_.scriptExtensions);
}

Result TaskEditor::AddEntry(std::size_t index, const FindRecord& findData,
                            std::string_view folder) {
    return AddEntry(index, findData, folder, nullptr);
}

Result TaskEditor::AddEntry(std::size_t index, const FindRecord& findData, std::string_view folder,
                            const FileLook* measured) {
    if (folder.empty() || findData.name.empty() ||
        (findData.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return RESULT_INVALID_ARGUMENT;
    }
    // A task file holds one path per line: such a row could not be saved as it is.
    if (HasLineBreak(folder) || HasLineBreak(findData.name)) return RESULT_BAD_PATH;
    std::unique_ptr<FileEntry> entry;
    std::string path;
    try {
        std::string stored = StoredFolder(style_, folder);
        path = stored + findData.name;
        if (list_.SelectRowByPath(path)) return RESULT_ALREADY_LISTED;
        // Another path to a listed file ("/a/./b.html", a link, a second hard link).
        if (const std::optional<std::size_t> row = list_.FindRowByIdentity(findData.identity)) {
            FileIdentity now;
            if (GetFileIdentity(list_.FullPath(*row), now) && now == findData.identity) {
                list_.SetSelected(*row, true);
                return RESULT_ALREADY_LISTED;
            }
        }
        entry = std::make_unique<FileEntry>();
        entry->folder = std::move(stored);
        entry->findData = findData;
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }

    std::array<std::string, kColumnCount> texts;
    texts[kColumnName] = settings_.showBaseFolder ? findData.name : path;
    int image = ImageForName(findData.name);

    std::uint64_t sourceSize = 0;
    std::uint64_t trimmedSize = 0;
    Result result;
    if (measured != nullptr) {
        result = measured->result;
        sourceSize = measured->inputSize;
        trimmedSize = measured->outputSize;
    } else {
        result = MeasureTrim(path, sourceSize, trimmedSize);
    }
    const bool ok = result == RESULT_OK;
    if (ok) {
        entry->sourceSize = sourceSize;
        entry->trimmedSize = trimmedSize;
        texts[kColumnSourceSize] = FormatSize(findData.size);
        texts[kColumnTrimmedSize] =
            FormatSize(trimmedSize) + FormatPercent(trimmedSize, sourceSize);
        texts[kColumnModified] = FormatListTime(findData.lastWriteTime);
    } else {
        // A row whose file cannot be trimmed stays listed, unchecked, with placeholders.
        image = IsCheckedImage(image) ? UncheckedImage(image) : ImageHtml;
        texts[kColumnSourceSize] = kSizePlaceholder;
        texts[kColumnTrimmedSize] = kTrimmedSizePlaceholder;
        texts[kColumnModified] = kTimePlaceholder;
    }
    list_.InsertRow(index, std::move(entry), image, std::move(texts), ok);
    return result;
}

Result TaskEditor::AddFileByPath(std::string_view path, std::uint32_t flags) {
    if (path.empty()) return RESULT_INVALID_ARGUMENT;
    const bool quiet = (flags & ADD_QUIET) != 0;
    const std::string fullPath(path);

    // The folder is the path up to its last separator; a path without one has none, which
    // AddEntry refuses.
    std::string folder;
    std::string name;
    static_cast<void>(SplitFolderAndName(style_, fullPath, folder, name));

    FindRecord record;
    if (GetFindRecord(fullPath, record) != RESULT_OK) {
        if (!quiet) {
            dialogs_.Ask(MSG_FILE_INFO_FAILED, MessageIcon::Stop, MessageButtons::Ok, fullPath);
        }
        return RESULT_NOT_FOUND;
    }

    const std::size_t rowsBefore = list_.RowCount();
    Result result = AddEntry(list_.RowCount(), record, folder);
    // A row whose preview failed is in the list all the same, so the task has changed.
    if (list_.RowCount() != rowsBefore && (flags & ADD_KEEP_UNMODIFIED) == 0) {
        taskModified_ = true;
    }
    if (result == RESULT_OK || quiet) return result;

    MessageAnswer answer;
    if (result == RESULT_BAD_PATH) {
        answer = dialogs_.Ask(MSG_NAME_HAS_LINE_BREAK, MessageIcon::Exclamation,
                              MessageButtons::OkCancel, fullPath);
    } else if (result == RESULT_INVALID_UTF16 || result == RESULT_UNCLEAR_UTF16) {
        answer =
            dialogs_.Ask(result == RESULT_INVALID_UTF16 ? MSG_INVALID_UTF16 : MSG_UNCLEAR_UTF16,
                         MessageIcon::Stop, MessageButtons::OkCancel, fullPath);
    } else if (result == RESULT_OUT_OF_MEMORY) {
        answer = dialogs_.Ask(MSG_OUT_OF_MEMORY, MessageIcon::Stop, MessageButtons::OkCancel);
    } else if (result == RESULT_FILE_ERROR || result == RESULT_ACCESS_ERROR) {
        answer = dialogs_.Ask(MSG_FILE_ACCESS_ERROR, MessageIcon::Stop, MessageButtons::OkCancel,
                              fullPath);
    } else {
        answer = dialogs_.Ask(MSG_FILE_PROCESSING_ERROR, MessageIcon::Stop,
                              MessageButtons::OkCancel, fullPath);
    }
    return answer == MessageAnswer::Cancel ? RESULT_STOPPED : result;
}

void TaskEditor::EmptyList() {
    list_.RemoveAllRows();
    list_.SetBaseFolderLabel(std::string());
}

void TaskEditor::SortListByPath() {
    list_.Sort(kColumnName, true);
}

}  // namespace trimlet
