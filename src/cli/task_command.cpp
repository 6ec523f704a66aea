// trimlet task create: writes a task file that lists the given files with the profile's (or
// the given) trim mode and output folder name, ready for "trimlet run" or the desktop.

#include <iostream>
#include <optional>
#include <span>
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

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// The files as absolute paths, each once; false (after saying which) when the current
// folder cannot be had.
bool AbsoluteFiles(std::span<const std::string_view> paths, std::vector<std::string>& files) {
    for (std::string_view given : paths) {
        std::string path = AbsolutePath(given);
        if (path.empty()) {
            Failure(text::kCannotList, given, RESULT_NOT_FOUND);
            return false;
        }
        bool listed = false;
        for (const std::string& file : files)
            listed = listed || IsSamePath(NativePathStyle(), file, path);
        if (!listed) files.push_back(std::move(path));
    }
    return true;
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
            Failure(text::kCannotList, file, result);
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int RunTaskCommand(Args args) {
    constexpr CommandHelp kTask{text::kTaskCreateUsage, text::kTaskHelp};
    if (args.empty()) return BadUsage(kTask.usage, text::kMissingSubcommand);
    if (args[0] == "--help" || args[0] == "-h") return PrintHelp(kTask);
    if (args[0] != "create") return BadUsage(kTask.usage, text::kUnknownCommand, args[0]);

    TrimSettingArgs settings;
    std::optional<std::string> folderName;
    std::vector<std::string_view> positional;
    const Option options[] = {
        settings.ModeOption(kTask.usage),
        {.name = "--output-folder",
         .takesValue = true,
         .take =
             [&](std::string_view name) {
                 folderName = CleanOutputFolderName(name);
                 if (HasLineBreak(*folderName))
                     return BadUsage(kTask.usage, text::kFolderLineBreak, name);
                 if (HasBadOutputFolderCharacters(NativePathStyle(), *folderName))
                     return BadUsage(kTask.usage, text::kBadFolderName, name);
                 return kExitOk;
             }},
    };
    const auto takePath = [&](std::string_view arg) {
        if (arg.empty()) return BadUsage(kTask.usage, text::kMissingFile);
        if (HasLineBreak(arg)) return BadUsage(kTask.usage, text::kLineBreak, arg);
        positional.push_back(arg);
        return kExitOk;
    };
    if (std::optional<int> status = ReadArgs(args.subspan(1), kTask, options, takePath))
        return *status;
    if (positional.empty()) return BadUsage(kTask.usage, text::kMissingTask);
    if (positional.size() < 2) return BadUsage(kTask.usage, text::kMissingFile);

    const std::string task(positional.front());
    std::vector<std::string> files;
    if (!AbsoluteFiles(std::span(positional).subspan(1), files)) return kExitFailed;
    const TrimMode mode = settings.Mode();
    const std::string outputFolderName =
        folderName ? *folderName : ReadOutputFolderName(CliProfile());
    if (!AllFilesListable(files)) return kExitFailed;

    const Result result = SaveTaskFile(task, mode, outputFolderName, files);
    if (result != RESULT_OK) return Failure(text::kCannotWrite, task, result);
    return kExitOk;
}

}  // namespace trimlet::cli
