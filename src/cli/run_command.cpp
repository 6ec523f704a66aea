// trimlet run: runs a task file the way the desktop's Run task does and prints the result
// summary. Questions go to the terminal; without one, or with --yes, each takes its safe
// answer (see terminal_dialogs.h).

#include <cerrno>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/terminal_dialogs.h"
#include "editor/task_editor.h"
#include "platform/system_error.h"

namespace trimlet::cli {

int RunRunCommand(Args args) {
    constexpr CommandHelp kRun{text::kRunUsage, text::kRunHelp};
    bool assumeYes = false;
    OverwritePolicy overwrite = OverwritePolicy::Ask;
    std::optional<std::string_view> task;
    bool verify = false;
    const Option options[] = {
        {.name = "--verify",
         .take =
             [&](std::string_view) {
                 verify = true;
                 return kExitOk;
             }},
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
                 if (!policy) return BadUsage(kRun.usage, text::kBadOverwrite, value);
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
    if (taskPath.empty()) return Failure(text::kCannotFindFolder, *task, RESULT_NOT_FOUND);

    std::unique_ptr<TerminalDialogs> dialogs =
        TerminalDialogs::ForStandardStreams(assumeYes, overwrite);
    TaskEditor editor(*dialogs, CliProfile());
    editor.SetRememberOverwriteChoice(dialogs->RemembersOverwriteChoice());
    editor.SetVerifyResults(verify);
    const TaskRunReport report = editor.RunTaskFile(taskPath);
    std::cout << std::flush;
    if (!std::cout) {
        // The summary did not reach its reader (a full disk, a closed pipe): not a success.
        const int error = errno;
        ClearSystemError();
        if (error != 0) NoteSystemError(error);
        return Failure(text::kCannotWrite, text::kStandardOutput, RESULT_ACCESS_ERROR);
    }
    const bool allWell = report.ran && !report.stopped && report.failedCount == 0;
    return allWell ? kExitOk : kExitFailed;
}

}  // namespace trimlet::cli
