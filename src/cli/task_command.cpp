// trimlet task create: writes a task file that lists the given files with the profile's (or
// the given) trim mode and output folder name, ready for "trimlet run" or the desktop.

#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "batch/output_paths.h"
#include "cli/commands.h"
#include "common/messages.h"
#include "platform/file_info.h"
#include "settings/output_options.h"
#include "settings/profile_keys.h"
#include "task/task_file.h"

namespace trimlet::cli {

namespace {

constexpr std::string_view kTaskHelp =
    "Writes TASK.trh listing each FILE by its absolute path, with the trim mode and output\n"
    "folder name of the profile, or those given. MODE is decimal or 0x hexadecimal; an empty\n"
    "NAME writes the trimmed files over their inputs when the task runs. A FILE listed twice\n"
    "is kept once. Nothing is written when a FILE is missing or a folder.";
constexpr std::string_view kMissingSubcommand = "missing subcommand 'create'";
constexpr std::string_view kMissingTask = "missing TASK.trh";
constexpr std::string_view kLineBreak =
    "a task file holds one path per line and cannot store one with a line break:";
constexpr std::string_view kFolderLineBreak =
    "a task file cannot store an output folder name with a line break:";
constexpr std::string_view kBadFolderName = "output folder name with a character not allowed:";
constexpr std::string_view kCannotList = "cannot list";

struct TaskOptions {
    TrimMode mode = 0;
    std::string outputFolderName;
    std::string task;
    std::vector<std::string> files;
};

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Parses the arguments after "create"; returns kExitOk to go on, or the exit status.
int ParseCreateArgs(Args args, TaskOptions& options, bool& helpOnly) {
    helpOnly = false;
    bool optionsEnded = false;
    std::optional<TrimMode> mode;
    std::optional<std::string> folderName;
    std::vector<std::string_view> positional;
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
            } else if (auto value = OptionValue(args, i, "--mode", missing)) {
                mode = ParseTrimMode(*value);
                if (!mode) return BadUsage(text::kTaskCreateUsage, text::kBadMode, *value);
            } else if (auto name = OptionValue(args, i, "--output-folder", missing)) {
                folderName = CleanOutputFolderName(*name);
                if (HasLineBreak(*folderName)) {
                    return BadUsage(text::kTaskCreateUsage, kFolderLineBreak, *name);
                }
                if (HasBadOutputFolderCharacters(NativePathStyle(), *folderName)) {
                    return BadUsage(text::kTaskCreateUsage, kBadFolderName, *name);
                }
            } else if (missing) {
                return BadUsage(text::kTaskCreateUsage, text::kMissingValue, arg);
            } else {
                return BadUsage(text::kTaskCreateUsage, text::kUnknownOption, arg);
            }
            continue;
        }
        if (arg.empty()) return BadUsage(text::kTaskCreateUsage, text::kMissingFile);
        if (HasLineBreak(arg)) return BadUsage(text::kTaskCreateUsage, kLineBreak, arg);
        positional.push_back(arg);
        ++i;
    }
    if (positional.empty()) return BadUsage(text::kTaskCreateUsage, kMissingTask);
    if (positional.size() < 2) return BadUsage(text::kTaskCreateUsage, text::kMissingFile);

    options.task.assign(positional.front());
    for (std::size_t k = 1; k < positional.size(); ++k) {
        std::string path = AbsolutePath(positional[k]);
        if (path.empty()) return Failure(kCannotList, positional[k], RESULT_NOT_FOUND);
        bool listed = false;
        for (const std::string& file : options.files)
            listed = listed || IsSamePath(NativePathStyle(), file, path);
        if (!listed) options.files.push_back(std::move(path));
    }
    options.mode = mode ? *mode : DefaultTrimMode();
    options.outputFolderName = folderName ? *folderName : ReadOutputFolderName(CliProfile());
    return kExitOk;
}

// Every file must be a file that exists now, as a row of the desktop's list would be.
bool AllFilesListable(const std::vector<std::string>& files) {
    bool ok = true;
    for (const std::string& file : files) {
        FindRecord record;
        Result result = GetFindRecord(file, record);
        if (result == RESULT_OK && (record.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            result = RESULT_IS_FOLDER;
        }
        if (result != RESULT_OK) {
            Failure(kCannotList, file, result);
            ok = false;
        }
    }
    return ok;
}

}  // namespace

std::string AbsolutePath(std::string_view path) {
    std::string whole;
    if (path.empty() || path[0] != '/') {
        std::vector<char> buffer(4096);
        while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
            buffer.resize(buffer.size() * 2);
        }
        whole = buffer.data();
        whole += '/';
    }
    whole += path;

    std::string result;
    std::size_t i = 0;
    while (i < whole.size()) {
        std::size_t end = whole.find('/', i);
        if (end == std::string::npos) end = whole.size();
        std::string_view part(whole.data() + i, end - i);
        if (!part.empty() && part != ".") (result += '/') += part;
        i = end + 1;
    }
    return result.empty() ? "/" : result;
}

int RunTaskCommand(Args args) {
    if (args.empty()) return BadUsage(text::kTaskCreateUsage, kMissingSubcommand);
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << text::kUsageHeader << ' ' << text::kTaskCreateUsage << '\n'
                  << kTaskHelp << '\n';
        return kExitOk;
    }
    if (args[0] != "create") {
        return BadUsage(text::kTaskCreateUsage, text::kUnknownCommand, args[0]);
    }

    TaskOptions options;
    bool helpOnly = false;
    if (int status = ParseCreateArgs(args.subspan(1), options, helpOnly); status != kExitOk)
        return status;
    if (helpOnly) {
        std::cout << text::kUsageHeader << ' ' << text::kTaskCreateUsage << '\n'
                  << kTaskHelp << '\n';
        return kExitOk;
    }
    if (!AllFilesListable(options.files)) return kExitFailed;

    const Result result =
        SaveTaskFile(options.task, options.mode, options.outputFolderName, options.files);
    if (result != RESULT_OK) return Failure(text::kCannotWrite, options.task, result);
    return kExitOk;
}

}  // namespace trimlet::cli
