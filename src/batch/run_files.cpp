#include "batch/run_files.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "batch/output_plan.h"
#include "batch/trim_ahead.h"
#include "text/stylesheets.h"

namespace trimlet {

namespace {

void Count(RunTally& tally, const FileOutcome& done, std::string path) {
    RunSummary& summary = tally.summary;
    if (done.result == RESULT_OK) {
        ++summary.succeededCount;
        summary.sourceTotal += done.sourceSize;
        summary.trimmedTotal += done.trimmedSize;
        return;
    }
    ++summary.skippedCount;
    if (done.result != RESULT_SKIPPED) ++tally.failedCount;
    summary.skippedFiles.push_back({std::move(path), done.result, done.difference});
}

// A file that names nothing: as a file that cannot be found, asked once what waits is done.
Result AskAboutEmptyPath(RunQuestions& questions) {
    return questions.Ask(MSG_FILE_NOT_FOUND, MessageIcon::Exclamation, MessageButtons::OkCancel,
                         std::string()) == MessageAnswer::Cancel
               ? RESULT_STOPPED
               : RESULT_NOT_FOUND;
}

// A file whose output an earlier file of the run writes.
Result AskAboutSameOutput(RunQuestions& questions, const std::string& path,
                          const std::string& output, const std::string& earlier) {
    return questions.Ask(MSG_SAME_OUTPUT, MessageIcon::Exclamation, MessageButtons::OkCancel, path,
                         output, earlier) == MessageAnswer::Cancel
               ? RESULT_STOPPED
               : RESULT_SAME_OUTPUT;
}

}  // namespace

RunEnd RunFiles(RunQuestions& questions, Profile& profile, const RunRequest& request,
                const NextRunFile& next, const GroupedRunWrites::Report& report,
                const FileDoneHook& fileDone, RunTally& tally) {
    // Each run looks at the leftovers of its folders again: a window stays open for long.
    ForgetCheckedFolders();
    // The paths of the files whose outcome is still to come, by the caller's number.
    std::unordered_map<std::size_t, std::string> waiting;
    GroupedRunWrites writes(questions, [&](const FileOutcome& done) {
        std::string path;
        if (const auto it = waiting.find(done.index); it != waiting.end()) {
            path = std::move(it->second);
            waiting.erase(it);
        }
        Count(tally, done, std::move(path));
        if (report) report(done);
    });
    RunContext ctx(writes, profile, request.scriptExtensions);
    // A style sheet shared by many pages is read once in a run; the next run reads it again.
    StylesheetCache stylesheets;
    ctx.stylesheets = &stylesheets;
    ctx.style = request.style;
    ctx.kind = request.kind;
    ctx.keptComments = request.keptComments;
    ctx.onFolderAlertOff = request.onFolderAlertOff;
    ctx.rememberOverwriteChoice = request.rememberOverwriteChoice;
    if (request.verify) {
        ctx.verifyTrimmed = [&request, &stylesheets](const std::string& path,
                                                     std::string_view trimmed, TrimMode mode,
                                                     Verdict& verdict) {
            return VerifyTrimmedFile(path, trimmed, mode, request.scriptExtensions, verdict,
                                     &stylesheets);
        };
    }
    writes.Attach(ctx);

    std::uint32_t runFlags = request.runFlags;
    const auto stopped = [&](RunEnd end) {
        questions.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok);
        return end;
    };
    std::vector<RunFile> files;
    while (std::optional<RunFile> file = next())
        files.push_back(std::move(*file));
    std::vector<PlannedFile> planned;
    planned.reserve(files.size());
    for (const RunFile& file : files) {
        const std::string& folderName =
            file.outputFolderName ? *file.outputFolderName : request.outputFolderName;
        planned.push_back({file.path, folderName});
    }
    std::vector<std::string> outputs;
    const std::vector<std::optional<std::size_t>> same =
        FindSameOutputs(request.style, planned, outputs);

    // The next file is trimmed on another thread while this one is written, once this one
    // is known to be trimmed: a file the run skips starts no trim.
    std::optional<TrimAhead> ahead;
    if (files.size() >= 2 && !request.kind && TrimAhead::Pays()) {
        ahead.emplace(request.scriptExtensions, request.keptComments, &stylesheets);
        ctx.ahead = &*ahead;
    }
    const auto endRun = [&](RunEnd end) {
        if (ahead) tally.trimmedAheadCount = ahead->StartedCount();
        return end == RunEnd::Finished ? end : stopped(end);
    };

    for (std::size_t i = 0; i < files.size(); ++i) {
        const RunFile* const file = &files[i];
        if (ahead) {
            const bool next = i + 1 < files.size() && !files[i + 1].path.empty() && !same[i + 1];
            ahead->OfferOnTake(next ? AbsoluteInput(request.style, files[i + 1].path) : "",
                               runFlags & ~kRunBits);
        }
        std::uint64_t sourceSize = 0;
        std::uint64_t trimmedSize = 0;
        Result result = RESULT_OK;
        std::string difference;
        if (file->path.empty()) {
            result = AskAboutEmptyPath(writes);
        } else if (same[i]) {
            result = AskAboutSameOutput(writes, file->path, outputs[i], files[*same[i]].path);
        } else {
            result = TrimFileToOutput(ctx, file->path, planned[i].outputFolderName, sourceSize,
                                      trimmedSize, runFlags, &difference);
        }
        // A file offered and then not trimmed (skipped, or stopped) is not trimmed ahead.
        if (ahead && !file->path.empty()) ahead->Withdraw(AbsoluteInput(request.style, file->path));
        waiting[file->index] = file->path;
        if (result == RESULT_STOPPED || !writes.Add(file->index, file->path, result, sourceSize,
                                                    trimmedSize, std::move(difference))) {
            return endRun(RunEnd::Stopped);
        }
        if (fileDone && fileDone()) {
            // A stop between files keeps what was done and completes the writes that wait;
            // a stop at one of their messages is the same stop.
            static_cast<void>(writes.Finish());
            return endRun(RunEnd::StoppedBetweenFiles);
        }
    }
    return endRun(writes.Finish() ? RunEnd::Finished : RunEnd::Stopped);
}

}  // namespace trimlet
