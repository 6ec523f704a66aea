#pragma once
// The one loop that runs files: the window's Run (the checked rows), its Run task and the
// command line's run (the files of a task file) all go through RunFiles. Each file is
// trimmed into its output folder by TrimFileToOutput, the writes are grouped
// (grouped_writes.h), each outcome is reported in order once its write is done, and the
// user may stop between two files.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/grouped_writes.h"
#include "batch/run_step.h"
#include "common/dialogs.h"
#include "common/run_questions.h"
#include "settings/profile.h"

namespace trimlet {

// One file to run: the caller's number for it (its row) and its absolute path. An empty
// path names no file: it is reported as a file that cannot be found. A file may name its
// own output folder (absolute, for a tree mirrored into another folder) instead of the
// request's.
struct RunFile {
    std::size_t index = 0;
    std::string path;
    std::optional<std::string> outputFolderName = std::nullopt;
};

// What a run is asked to do.
struct RunRequest {
    std::string outputFolderName;           // the output folder for every file ("" writes over it)
    std::uint32_t runFlags = 0;             // the trim mode with the run bits (run_step.h)
    std::string scriptExtensions;           // how each file is trimmed
    std::vector<std::string> keptComments;  // comment beginnings kept whatever the mode says
    std::optional<FileKind> kind;           // every file trimmed as this kind (see RunContext)
    PathStyle style = NativePathStyle();
    bool rememberOverwriteChoice = true;     // see RunContext
    std::function<void()> onFolderAlertOff;  // see RunContext
    bool verify = false;  // verify each result before it is written (VerifyTrimmedFile)
};

// What the run came to, counted from the outcomes.
struct RunTally {
    RunSummary summary;
    // Files not trimmed for another reason than the overwrite choice (a skip chosen there
    // is not a failure), included in summary.skippedCount.
    std::uint32_t failedCount = 0;
    // Files whose trim was begun on a second thread, ahead of their turn (used or not).
    std::size_t trimmedAheadCount = 0;
};

enum class RunEnd {
    Finished,             // every file was gone through
    StoppedBetweenFiles,  // the user stopped between two files; what waited was completed
    Stopped,              // the user cancelled a question
};

// The next file to run, or nothing after the last one.
using NextRunFile = std::function<std::optional<RunFile>()>;
// After each file: true asks the run to stop before the next one.
using FileDoneHook = std::function<bool()>;

// Runs the files `next` gives, in order, asking through `questions` and the profile as
// RunContext says. Before anything is written, the files whose output another file
// before them writes too are found: each of those is skipped with message 20047 (OK goes
// on, Cancel stops) and counts as failed (RESULT_SAME_OUTPUT). `report` takes each file's outcome
// in order (after the tally counted it). Every stop is confirmed with message 15004. The result
// summary is the caller's.
RunEnd RunFiles(RunQuestions& questions, Profile& profile, const RunRequest& request,
                const NextRunFile& next, const GroupedRunWrites::Report& report,
                const FileDoneHook& fileDone, RunTally& tally);

}  // namespace trimlet
