#include "batch/run_files.h"

namespace trimlet {

namespace {

void Count(RunTally& tally, const FileOutcome& done) {
    RunSummary& summary = tally.summary;
    if (done.result == RESULT_OK) {
        ++summary.succeededCount;
        summary.sourceTotal += done.sourceSize;
        summary.trimmedTotal += done.trimmedSize;
        return;
    }
    ++summary.skippedCount;
    if (done.result != RESULT_SKIPPED) ++tally.failedCount;
}

// A file that names nothing: as a file that cannot be found, asked once what waits is done.
Result AskAboutEmptyPath(RunQuestions& questions) {
    return questions.Ask(MSG_FILE_NOT_FOUND, MessageIcon::Exclamation, MessageButtons::OkCancel,
                         std::string()) == MessageAnswer::Cancel
               ? RESULT_STOPPED
               : RESULT_NOT_FOUND;
}

}  // namespace

RunEnd RunFiles(RunQuestions& questions, Profile& profile, const RunRequest& request,
                const NextRunFile& next, const GroupedRunWrites::Report& report,
                const FileDoneHook& fileDone, RunTally& tally) {
    // Each run looks at the leftovers of its folders again: a window stays open for long.
    ForgetCheckedFolders();
    GroupedRunWrites writes(questions, [&](const FileOutcome& done) {
        Count(tally, done);
        if (report) report(done);
    });
    RunContext ctx(writes, profile, request.scriptExtensions);
    ctx.style = request.style;
    ctx.onFolderAlertOff = request.onFolderAlertOff;
    ctx.rememberOverwriteChoice = request.rememberOverwriteChoice;
    writes.Attach(ctx);

    std::uint32_t runFlags = request.runFlags;
    const auto stopped = [&](RunEnd end) {
        questions.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
        return end;
    };
    while (const std::optional<RunFile> file = next()) {
        std::uint64_t sourceSize = 0;
        std::uint64_t trimmedSize = 0;
        const Result result = file->path.empty()
                                  ? AskAboutEmptyPath(writes)
                                  : TrimFileToOutput(ctx, file->path, request.outputFolderName,
                                                     sourceSize, trimmedSize, runFlags);
        if (result == RESULT_STOPPED ||
            !writes.Add(file->index, file->path, result, sourceSize, trimmedSize)) {
            return stopped(RunEnd::Stopped);
        }
        if (fileDone && fileDone()) {
            // A stop between files keeps what was done and completes the writes that wait;
            // a stop at one of their messages is the same stop.
            static_cast<void>(writes.Finish());
            return stopped(RunEnd::StoppedBetweenFiles);
        }
    }
    if (!writes.Finish()) return stopped(RunEnd::Stopped);
    return RunEnd::Finished;
}

}  // namespace trimlet
