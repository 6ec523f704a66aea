#include <new>

#include "batch/format.h"
#include "editor/task_editor.h"
#include "platform/read_file.h"
#include "text/trim_file.h"

namespace trimlet {

Result TaskEditor::RefreshRow(std::size_t row) {
    if (!list_.Entry(row)) return RESULT_INVALID_ARGUMENT;
    const std::string path = list_.FullPath(row);

    // One read gives the record and the sizes; a file that cannot be read, or trimmed, is
    // looked at again step by step to tell what is wrong.
    FileLook look;
    LookAt(path, 0, look);
    if (look.read && look.result == RESULT_OK) {
        ShowMeasures(row, look.inputSize, look.outputSize, look.record);
        return RESULT_OK;
    }

    // Opening reads nothing yet; it tells a vanished file from one that cannot be read.
    std::string none;
    std::uint64_t size = 0;
    const Result opened = ReadRegularFile(path, 0, none, size);
    if (opened != RESULT_OK) {
        Result result = RESULT_ACCESS_ERROR;
        MessageAnswer answer;
        if (opened == RESULT_NOT_FOUND) {
            result = RESULT_NOT_FOUND;
            answer = dialogs_.Ask(MSG_FILE_DOES_NOT_EXIST, MessageIcon::None,
                                  MessageButtons::OkCancel, path);
        } else {
            answer = dialogs_.Ask(MSG_FILE_ACCESS_ERROR, MessageIcon::None,
                                  MessageButtons::OkCancel, path);
        }
        if (answer == MessageAnswer::Cancel) result = RESULT_STOPPED;
        ShowPlaceholders(row);
        return result;
    }

    FindRecord record;
    if (GetFindRecord(path, record) != RESULT_OK) {
        const MessageAnswer answer =
            dialogs_.Ask(MSG_OPEN_FAILED, MessageIcon::None, MessageButtons::OkCancel, path);
        ShowPlaceholders(row);
        return answer == MessageAnswer::Cancel ? RESULT_STOPPED : RESULT_ACCESS_ERROR;
    }

    std::uint64_t sourceSize = 0;
    std::uint64_t trimmedSize = 0;
    const Result result = MeasureTrim(path, sourceSize, trimmedSize);
    if (result != RESULT_OK) {
        ShowPlaceholders(row);
        return result;
    }
    ShowMeasures(row, sourceSize, trimmedSize, record);
    return RESULT_OK;
}

void TaskEditor::ShowMeasures(std::size_t row, std::uint64_t sourceSize, std::uint64_t trimmedSize,
                              const FindRecord& record) {
    // The entry keeps what the row shows, so that sorting follows the texts.
    list_.UpdateMeasures(row, sourceSize, trimmedSize, &record);
    list_.SetSizeTexts(row, FormatSize(sourceSize),
                       FormatSize(trimmedSize) + FormatPercent(trimmedSize, sourceSize),
                       FormatListTime(record.lastWriteTime));
}

void TaskEditor::RefreshAll() {
    // Style sheets changed in place since they were read are read again.
    stylesheets_.Clear();
    const std::size_t count = list_.RowCount();
    WorkScope work(work_, count);
    for (std::size_t row = 0; row < count && row < list_.RowCount(); ++row) {
        if (RefreshRow(row) == RESULT_STOPPED || work.FileDone()) {
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            return;
        }
    }
}

Result TaskEditor::MeasureTrim(const std::string& path, std::uint64_t& sourceSize,
                               std::uint64_t& trimmedSize) {
    std::string trimmed;
    return TrimFile(path, settings_.trimMode, settings_.scriptExtensions, trimmed, sourceSize,
                    trimmedSize, nullptr, settings_.keptComments, &stylesheets_);
}

void TaskEditor::LookAt(const std::string& path, std::size_t textTestBytes, FileLook& look) {
    LookAtFile(path, settings_.trimMode, settings_.scriptExtensions, textTestBytes, false, look,
               settings_.keptComments, &stylesheets_);
}

void TaskEditor::ShowPlaceholders(std::size_t row) {
    list_.UpdateMeasures(row, 0, 0, nullptr);
    list_.SetSizeTexts(row, std::string(kSizePlaceholder), std::string(kTrimmedSizePlaceholder),
                       std::string(kTimePlaceholder));
}

}  // namespace trimlet
