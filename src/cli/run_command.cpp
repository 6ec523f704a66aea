// trimlet run: runs a task file the way the desktop's Run task does and prints the result
// summary. Questions go to the terminal; without one, or with --yes, each takes its safe
// answer (see terminal_dialogs.h).

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/terminal_dialogs.h"
#include "filelist/task_editor.h"

namespace trimlet::cli {

namespace {

constexpr std::string_view kRunHelp =
    "Trims every file the task file lists, with the task's own trim mode and output folder\n"
    "name, and prints the result summary. Questions are asked on the terminal; without one,\n"
    "or with --yes, each takes its safe answer: an existing output follows --overwrite (else\n"
    "the preselected choice), a read-only output is kept, a file with an error is skipped.\n"
    "Exit status: 0 when every file was trimmed (or skipped by the overwrite choice), 1 when\n"
    "a file failed or the run was stopped, 2 for bad usage.";
constexpr std::string_view kBadOverwrite = "--overwrite must be all, skip or newer, not";
constexpr std::string_view kCannotFindFolder = "cannot find the current folder for";

}  // namespace

int RunRunCommand(Args args) {
    constexpr CommandHelp kRun{text::kRunUsage, kRunHelp};
    bool assumeYes = false;
    OverwritePolicy overwrite = OverwritePolicy::Ask;
    std::optional<std::string_view> task;
    const Option options[] = {
        {.name = "--yes",
         .alias = "-y",
         .take =
             [&](std::string_view) {
                 assumeYes = true;
                 return kExitOk;
             }},
        {.name = "--overwrite",
         .takesValue = true,
         .take =
             [&](std::string_view value) {
                 std::optional<OverwritePolicy> policy = ParseOverwritePolicy(value);
                 if (!policy) return BadUsage(kRun.usage, kBadOverwrite, value);
                 overwrite = *policy;
                 return kExitOk;
             }},
    };
    const auto takeTask = [&](std::string_view arg) {
        if (task) return BadUsage(kRun.usage, text::kExtraArgument, arg);
        if (arg.empty()) return BadUsage(kRun.usage, text::kMissingTask);
        task = arg;
        return kExitOk;
    };
    if (std::optional<int> status = ReadArgs(args, kRun, options, takeTask)) return *status;
    if (!task) return BadUsage(kRun.usage, text::kMissingTask);
    const std::string taskPath = AbsolutePath(*task);
    if (taskPath.empty()) return Failure(kCannotFindFolder, *task, RESULT_NOT_FOUND);

    std::unique_ptr<TerminalDialogs> dialogs =
        TerminalDialogs::ForStandardStreams(assumeYes, overwrite);
    TaskEditor editor(*dialogs, CliProfile());
    editor.SetRememberOverwriteChoice(dialogs->RemembersOverwriteChoice());
    const TaskRunReport report = editor.RunTaskFile(taskPath);
    std::cout << std::flush;
    const bool allWell = report.ran && !report.stopped && report.failedCount == 0;
    return allWell ? kExitOk : kExitFailed;
}

}  // namespace trimlet::cli
