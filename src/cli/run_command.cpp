// trimlet run: runs a task file the way the desktop's Run task does and prints the result
// summary. Questions go to the terminal; without one, or with --yes, each takes its safe
// answer (see terminal_dialogs.h).

#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/format.h"
#include "cli/commands.h"
#include "cli/json_report.h"
#include "cli/terminal_dialogs.h"
#include "editor/task_editor.h"
#include "platform/system_error.h"
#include "settings/profile_keys.h"

namespace trimlet::cli {

int RunRunCommand(Args args) {
    constexpr CommandHelp kRun{text::kRunUsage, text::kRunHelp};
    bool assumeYes = false;
    bool json = false;
    VerbosityArgs verbosity;
    OverwritePolicy overwrite = OverwritePolicy::Ask;
    std::optional<std::string_view> task;
    bool verify = false;
    std::vector<std::string> keptComments;
    const Option options[] = {
        KeepCommentOption(keptComments, kRun.usage),
        {.name = "--json",
         .take =
             [&](std::string_view) {
                 json = true;
                 return kExitOk;
             }},
        verbosity.QuietOption(kRun.usage),
        verbosity.VerboseOption(kRun.usage),
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

    // The summary goes to standard output unless JSON or -q takes its place.
    std::ostream discarded(nullptr);
    const bool summary = !json && verbosity.level != Verbosity::Quiet;
    TerminalDialogs dialogs(std::cin, std::cerr, summary ? std::cout : discarded,
                            !assumeYes && ::isatty(STDIN_FILENO) == 1, overwrite);
    MessageRequest lastMessage;
    dialogs.SetMessageShown([&](const MessageRequest& shown) { lastMessage = shown; });
    std::vector<JsonFile> files;
    const auto fileDone = [&](const std::string& path, const FileOutcome& done) {
        JsonFile file{.path = path, .result = done.result};
        if (done.result == RESULT_OK) {
            file.size = done.sourceSize;
            file.trimmedSize = done.trimmedSize;
        } else {
            file.messageId = lastMessage.id != 0 ? lastMessage.id : MessageIdOf(done.result);
            file.message =
                lastMessage.id != 0 ? lastMessage.text : FormatMessage(file.messageId, path);
        }
        lastMessage = MessageRequest{};
        if (verbosity.level == Verbosity::Verbose && !json) {
            std::cout << ResultClass(file.result) << ' ' << path;
            if (file.size)
                std::cout << " (" << FormatSize(*file.size) << " -> "
                          << FormatSize(*file.trimmedSize) << ')';
            std::cout << '\n';
        }
        files.push_back(std::move(file));
    };
    // The run reads its settings from the profile, whose writes stay in memory: the comments
    // to keep join its own list there.
    if (!keptComments.empty()) WriteKeptComments(CliProfile(), KeptCommentsWith(keptComments));
    TaskEditor editor(dialogs, CliProfile());
    editor.SetRememberOverwriteChoice(dialogs.RemembersOverwriteChoice());
    editor.SetVerifyResults(verify);
    const TaskRunReport report = editor.RunTaskFile(taskPath, fileDone);
    if (json && report.ran) std::cout << JsonReport("run", files);
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
