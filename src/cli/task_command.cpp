// trimlet task create: writes a task file that lists the given files with the profile's (or
// the given) trim mode and output folder name, ready for "trimlet run" or the desktop.

#include <filesystem>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch/output_paths.h"
#include "cli/commands.h"
#include "common/messages.h"
#include "platform/file_info.h"
#include "platform/system_error.h"
#include "settings/output_options.h"
#include "settings/profile_keys.h"
#include "task/task_file.h"
#include "text/text_loading.h"

namespace trimlet::cli {

namespace {

// How much of a file the text test looks at, as when the desktop lists it.
constexpr std::size_t kTextTestBytes = 1024;

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
        ClearSystemError();
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

// Every file must look like text, as the desktop asks before listing one; a device or pipe
// does not. A regular file that cannot be examined is listed, as the desktop lists it.
bool AllFilesText(const std::vector<std::string>& files) {
    bool ok = true;
    for (const std::string& file : files) {
        std::error_code error;
        bool nonText = !std::filesystem::is_regular_file(file, error);
        if (!nonText && LooksLikeNonText(file, kTextTestBytes, nonText) != RESULT_OK)
            nonText = false;
        if (nonText) {
            FailureWords(text::kCannotList, file, text::kNotText);
            ok = false;
        }
    }
    return ok;
}

bool EndsWithTaskExtension(std::string_view path) {
    constexpr std::string_view kExtension = ".trh";
    if (path.size() < kExtension.size()) return false;
    path = path.substr(path.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        const char c =
            path[i] >= 'A' && path[i] <= 'Z' ? static_cast<char>(path[i] - 'A' + 'a') : path[i];
        if (c != kExtension[i]) return false;
    }
    return true;
}

// An existing TASK is replaced only when it is a task file (or empty) and none of the files
// to list: "task create index.html about.html" must not turn index.html into a task.
bool TaskMayBeReplaced(const std::string& task, const std::vector<std::string>& files) {
    std::error_code error;
    if (!std::filesystem::exists(task, error)) return true;
    for (const std::string& file : files) {
        if (IsSameFile(task, file)) {
            FailureWords(text::kCannotWrite, task, text::kTaskIsListed);
            return false;
        }
    }
    if (std::filesystem::is_regular_file(task, error) &&
        std::filesystem::file_size(task, error) == 0 && !error)
        return true;
    std::string bytes;
    ClearSystemError();
    if (const Result read = ReadTaskFileBytes(task, bytes); read != RESULT_OK) {
        Failure(text::kCannotWrite, task, read);
        return false;
    }
    TaskLineReader lines(bytes);
    TaskHeader header;
    if (ReadTaskSignatureAndVersion(lines, header) == TaskHeaderStatus::NotTaskFile) {
        FailureWords(text::kCannotWrite, task, text::kNotTaskFile);
        return false;
    }
    return true;
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
    bool force = false;
    const Option options[] = {
        settings.ModeOption(kTask.usage),
        {.name = "--force",
         .take =
             [&](std::string_view) {
                 force = true;
                 return kExitOk;
             }},
        {.name = "--output-folder",
         .takesValue = true,
         .take =
             [&](std::string_view name) {
                 folderName = CleanOutputFolderName(name);
                 if (HasLineBreak(*folderName))
                     return BadUsage(kTask.usage, text::kFolderLineBreak, name);
                 if (IsRefusedOutputFolderName(NativePathStyle(), *folderName))
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
    if (!force && !AllFilesText(files)) return kExitFailed;
    if (!TaskMayBeReplaced(task, files)) return kExitFailed;
    if (!EndsWithTaskExtension(task))
        std::cerr << text::kProgram << ": " << text::kNoTaskExtension << ' ' << task << '\n';

    ClearSystemError();
    const Result result = SaveTaskFile(task, mode, outputFolderName, files);
    if (result != RESULT_OK) return Failure(text::kCannotWrite, task, result);
    return kExitOk;
}

}  // namespace trimlet::cli
