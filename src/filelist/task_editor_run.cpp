#include <new>

#include "batch/grouped_writes.h"
#include "batch/run_step.h"
#include "filelist/task_editor.h"

namespace trimlet {

void TaskEditor::RunCheckedFiles() {
    const std::size_t rowCount = list_.RowCount();

    RunSummary summary;
    // Outcomes arrive in row order, each once its write is done.
    GroupedRunWrites writes(dialogs_, [&](const FileOutcome& done) {
        if (done.result == RESULT_OK) {
            ++summary.succeededCount;
            summary.sourceTotal += done.sourceSize;
            summary.trimmedTotal += done.trimmedSize;
            // The row shows the file as it is now; a failure here leaves placeholders.
            static_cast<void>(RefreshRow(done.index));
            list_.UncheckRow(done.index);
        } else if (done.result == RESULT_READ_ONLY_KEPT || done.result == RESULT_SKIPPED) {
            ++summary.skippedCount;
        } else {
            ++summary.skippedCount;
            ShowPlaceholders(done.index);
        }
    });
    RunContext ctx(writes, profile_, settings_.scriptExtensions);
    ctx.style = style_;
    ctx.onFolderAlertOff = [this] { settings_.alertCreateOutputFolder = false; };
    writes.Attach(ctx);

    // Bits of a damaged trim mode in the run-bit places must not pass for run choices.
    std::uint32_t runFlags = settings_.trimMode & ~kRunBits;
    if (settings_.alertCreateOutputFolder) {
        runFlags |= RUN_CONFIRM_FOLDER;
    } else {
        runFlags &= ~RUN_CONFIRM_FOLDER;
    }
    // The rule counts rows, not checked rows.
    if (rowCount == 1) runFlags |= RUN_SINGLE_ROW;

    std::vector<std::string> paths;
    try {
        for (std::size_t row = 0; row < rowCount; ++row) {
            if (list_.IsChecked(row) && list_.Entry(row)) paths.push_back(list_.FullPath(row));
        }
    } catch (const std::bad_alloc&) {
        paths.clear();  // no trims ahead: each file is trimmed in its turn
    }
    const TrimAheadScope ahead = StartTrimAhead(std::move(paths), runFlags & ~kRunBits, true);
    ctx.trimAhead = ahead.get();

    WorkScope work(work_, list_.CheckedCount());
    for (std::size_t row = 0; row < rowCount && row < list_.RowCount(); ++row) {
        if (!list_.IsChecked(row) || !list_.Entry(row)) continue;
        const std::string inputPath = list_.FullPath(row);

        std::uint64_t sourceSize = 0;
        std::uint64_t trimmedSize = 0;
        const Result result = TrimFileToOutput(ctx, inputPath, settings_.outputFolderName,
                                               sourceSize, trimmedSize, runFlags);
        if (result == RESULT_STOPPED ||
            !writes.Add(row, inputPath, result, sourceSize, trimmedSize)) {
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            return;
        }
        if (work.FileDone()) {
            // A stop between files keeps what was done, completes the writes that wait,
            // and says so.
            static_cast<void>(writes.Finish());
            dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
            dialogs_.ResultSummaryDialog(summary);
            return;
        }
    }
    if (!writes.Finish()) {
        dialogs_.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
        return;
    }
    dialogs_.ResultSummaryDialog(summary);
}

}  // namespace trimlet
