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
constexpr std::string_view kMissingTask = "missing TASK.trh";
constexpr std::string_view kCannotFindFolder = "cannot find the current folder for";

struct RunOptions {
    bool assumeYes = false;
    OverwritePolicy overwrite = OverwritePolicy::Ask;
    std::string task;
};

// Parses the arguments; returns kExitOk to go on, or the exit status to end with.
int ParseRunArgs(Args args, RunOptions& options, bool& helpOnly) {
    helpOnly = false;
    bool optionsEnded = false;
    std::optional<std::string_view> task;
    for (std::size_t i = 0; i < args.size();) {
        std::string_view arg = args[i];
        bool missing = false;
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnded = true;
                ++i;
            } else if (arg == "--help" || arg == "-h") {
                helpOnly = true;
                return kExitOk;
            } else if (arg == "--yes" || arg == "-y") {
                options.assumeYes = true;
                ++i;
            } else if (auto value = OptionValue(args, i, "--overwrite", missing)) {
                std::optional<OverwritePolicy> policy = ParseOverwritePolicy(*value);
                if (!policy) return BadUsage(text::kRunUsage, kBadOverwrite, *value);
                options.overwrite = *policy;
            } else if (missing) {
                return BadUsage(text::kRunUsage, text::kMissingValue, arg);
            } else {
                return BadUsage(text::kRunUsage, text::kUnknownOption, arg);
            }
            continue;
        }
        if (task) return BadUsage(text::kRunUsage, text::kExtraArgument, arg);
        if (arg.empty()) return BadUsage(text::kRunUsage, kMissingTask);
        task = arg;
        ++i;
    }
    if (!task) return BadUsage(text::kRunUsage, kMissingTask);
    options.task = AbsolutePath(*task);
    if (options.task.empty()) return Failure(kCannotFindFolder, *task, RESULT_NOT_FOUND);
    return kExitOk;
}

}  // namespace

int RunRunCommand(Args args) {
    RunOptions options;
    bool helpOnly = false;
    if (int status = ParseRunArgs(args, options, helpOnly); status != kExitOk) return status;
    if (helpOnly) {
        std::cout << text::kUsageHeader << ' ' << text::kRunUsage << '\n' << kRunHelp << '\n';
        return kExitOk;
    }

    std::unique_ptr<TerminalDialogs> dialogs =
        TerminalDialogs::ForStandardStreams(options.assumeYes, options.overwrite);
    TaskEditor editor(*dialogs, CliProfile());
    editor.SetRememberOverwriteChoice(dialogs->RemembersOverwriteChoice());
    const TaskRunReport report = editor.RunTaskFile(options.task);
    std::cout << std::flush;
    const bool allWell = report.ran && !report.stopped && report.failedCount == 0;
    return allWell ? kExitOk : kExitFailed;
}

}  // namespace trimlet::cli
