#include "batch/run_step.h"
#include "filelist/task_editor.h"

namespace trimlet {

void TaskEditor::RunCheckedFiles() {
    const std::size_t rowCount = list_.RowCount();

    RunContext ctx(dialogs_, profile_, settings_.scriptExtensions);
    ctx.style = style_;
    ctx.onFolderAlertOff = [this] { settings_.alertCreateOutputFolder = false; };

    std::uint32_t runFlags = settings_.trimMode;
    if (settings_.alertCreateOutputFolder) {
        runFlags |= RUN_CONFIRM_FOLDER;
    } else {
        runFlags &= ~RUN_CONFIRM_FOLDER;
    }
    // The rule counts rows, not checked rows.
    if (rowCount == 1) runFlags |= RUN_SINGLE_ROW;

    RunSummary summary;
    WorkScope work(work_, list_.CheckedCount());
    for (std::size_t row = 0; row < rowCount && row < list_.RowCount(); ++row) {
        if (!list_.IsChecked(row) || !list_.Entry(row)) continue;
        const std::string inputPath = list_.FullPath(row);

        std::uint64_t sourceSize = 0;
        std::uint64_t trimmedSize = 0;
        const Result result = TrimFileToOutput(ctx, inputPath, settings_.outputFolderName,
                                               sourceSize, trimmedSize, runFlags);
        if (result == RESULT_STOPPED) {
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            return;
        }
        if (result == RESULT_OK) {
            ++summary.succeededCount;
            summary.sourceTotal += sourceSize;
            summary.trimmedTotal += trimmedSize;
            // The row shows the file as it is now; a failure here leaves placeholders.
            static_cast<void>(RefreshRow(row));
            list_.UncheckRow(row);
        } else if (result == RESULT_READ_ONLY_KEPT || result == RESULT_SKIPPED) {
            ++summary.skippedCount;
        } else {
            ++summary.skippedCount;
            ShowPlaceholders(row);
        }
        if (work.FileDone()) {
            // A stop between files keeps what was done and says so.
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            break;
        }
    }
    dialogs_.ResultSummaryDialog(summary);
}

}  // namespace trimlet
