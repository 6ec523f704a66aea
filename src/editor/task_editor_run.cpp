#include "batch/run_files.h"
#include "editor/task_editor.h"
#include "settings/output_options.h"

namespace trimlet {

RunRequest TaskEditor::MakeRunRequest(std::string outputFolderName, std::uint32_t runFlags) {
    RunRequest request;
    request.outputFolderName = std::move(outputFolderName);
    request.runFlags = runFlags;
    request.scriptExtensions = settings_.scriptExtensions;
    request.keptComments = settings_.keptComments;
    request.style = style_;
    request.onFolderAlertOff = [this] { settings_.alertCreateOutputFolder = false; };
    request.verify = verifyResults_.value_or(settings_.verifyTrimResults);
    return request;
}

void TaskEditor::RunCheckedFiles() {
    // A profile of an earlier version may keep a name the options refuse now: the outputs
    // would land beside or over other files.
    if (IsRefusedOutputFolderName(style_, settings_.outputFolderName)) {
        dialogs_.Ask(style_ == PathStyle::Posix ? MSG_FOLDER_NAME_REFUSED_POSIX
                                                : MSG_FOLDER_NAME_BAD_CHARACTERS,
                     MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const std::size_t rowCount = list_.RowCount();

    // Bits of a damaged trim mode in the run-bit places must not pass for run choices.
    std::uint32_t runFlags = settings_.trimMode & ~kRunBits;
    if (settings_.alertCreateOutputFolder) runFlags |= RUN_CONFIRM_FOLDER;
    // The rule counts rows, not checked rows.
    if (rowCount == 1) runFlags |= RUN_SINGLE_ROW;
    const RunRequest request = MakeRunRequest(settings_.outputFolderName, runFlags);

    std::size_t row = 0;
    const NextRunFile next = [&]() -> std::optional<RunFile> {
        for (; row < rowCount && row < list_.RowCount(); ++row) {
            if (list_.IsChecked(row) && list_.Entry(row)) {
                RunFile file{row, list_.FullPath(row)};
                ++row;
                return file;
            }
        }
        return std::nullopt;
    };
    // Outcomes arrive in row order, each once its write is done.
    const auto report = [&](const FileOutcome& done) {
        // A row keeps the warning of its last run only: where its result differed.
        list_.SetWarning(done.index,
                         done.result == RESULT_NOT_EQUIVALENT ? done.difference : std::string());
        if (done.result == RESULT_OK) {
            // The row shows the file as it is now; a failure here leaves placeholders.
            static_cast<void>(RefreshRow(done.index));
            list_.UncheckRow(done.index);
        } else if (done.result != RESULT_READ_ONLY_KEPT && done.result != RESULT_SKIPPED &&
                   done.result != RESULT_NOT_EQUIVALENT) {
            // A result that differs was not written: the file is as the row shows it.
            ShowPlaceholders(done.index);
        }
    };
    WorkScope work(work_, list_.CheckedCount());
    RunTally tally;
    const RunEnd end = RunFiles(
        dialogs_, profile_, request, next, report, [&] { return work.FileDone(); }, tally);
    // A stop at a question shows no summary; a stop between files shows what was done.
    if (end != RunEnd::Stopped) dialogs_.ResultSummaryDialog(tally.summary);
}

}  // namespace trimlet
