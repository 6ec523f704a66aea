// trimlet task create: writes a task file that lists the given files with the profile's (or
// the given) trim mode and output folder name, ready for "trimlet run" or the desktop.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
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
    std::set<std::string> seen(files.begin(), files.end());
    for (std::string_view given : paths) {
        std::string path = AbsolutePath(given);
        if (path.empty()) {
            Failure(text::kCannotList, given, RESULT_NOT_FOUND);
            return false;
        }
        // Posix paths are the same path exactly when their bytes are.
        if (seen.insert(path).second) files.push_back(std::move(path));
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

// The paths of a list file (standard input for "-"): one per line (a CR before the LF
// dropped), or NUL-separated; empty items are left out. False when it cannot be read.
bool ReadListFile(std::string_view from, bool nulSeparated, std::vector<std::string>& paths) {
    std::string bytes;
    if (from == "-") {
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
            bytes.append(buffer, got);
        if (std::ferror(stdin)) {
            NoteSystemError(errno);
            return false;
        }
    } else if (ReadTaskFileBytes(std::string(from), bytes) != RESULT_OK) {
        return false;
    }
    const char separator = nulSeparated ? '\0' : '\n';
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find(separator, start);
        if (end == std::string::npos) end = bytes.size();
        std::string_view item(bytes.data() + start, end - start);
        if (!nulSeparated && item.ends_with('\r')) item.remove_suffix(1);
        if (!item.empty()) paths.emplace_back(item);
        start = end + 1;
    }
    return true;
}

// What an existing task file holds: its header and paths (relative ones beside it).
bool ReadExistingTask(const std::string& task, TaskHeader& header,
                      std::vector<std::string>& paths) {
    std::string bytes;
    ClearSystemError();
    if (const Result read = ReadTaskFileBytes(task, bytes); read != RESULT_OK) {
        Failure(text::kCannotList, task, read);
        return false;
    }
    TaskLineReader lines(bytes);
    if (ReadTaskSignatureAndVersion(lines, header) != TaskHeaderStatus::Ok ||
        ReadTaskSettings(lines, header) != TaskHeaderStatus::Ok) {
        FailureWords(text::kCannotWrite, task, text::kNotTaskFile);
        return false;
    }
    const std::string absoluteTask = AbsolutePath(task);
    for (const std::string_view line : TaskPathLines(lines))
        paths.push_back(TaskLinePath(NativePathStyle(), absoluteTask, line));
    return true;
}

// Whether an existing task file lists any file.
bool ListsFiles(const std::string& task) {
    std::string bytes;
    if (ReadTaskFileBytes(task, bytes) != RESULT_OK) return false;
    TaskLineReader lines(bytes);
    TaskHeader header;
    if (ReadTaskSignatureAndVersion(lines, header) != TaskHeaderStatus::Ok ||
        ReadTaskSettings(lines, header) != TaskHeaderStatus::Ok)
        return false;
    return !TaskPathLines(lines).empty();
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
    std::vector<std::string> listFiles;
    bool force = false, append = false, replace = false, nulSeparated = false;
    const auto flag = [&](std::string_view name, bool& value, std::string_view alias = {}) {
        return Option{.name = name, .alias = alias, .take = [&](std::string_view) {
                          value = true;
                          return append && replace ? BadUsage(kTask.usage, text::kAppendReplace)
                                                   : kExitOk;
                      }};
    };
    const Option options[] = {
        settings.ModeOption(kTask.usage),
        settings.NamesOption(kTask.usage),
        settings.PrintModeOption(),
        flag("--append", append),
        flag("--replace", replace),
        flag("--null", nulSeparated, "-0"),
        {.name = "--files-from",
         .takesValue = true,
         .take =
             [&](std::string_view from) {
                 if (from.empty())
                     return BadUsage(kTask.usage, text::kMissingValue, "--files-from");
                 listFiles.emplace_back(from);
                 return kExitOk;
             }},
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
    if (std::optional<int> printed = settings.PrintModeIfAsked()) return *printed;
    if (positional.empty()) return BadUsage(kTask.usage, text::kMissingTask);
    const std::string task(positional.front());

    // The paths of the list files, then those of the command line.
    std::vector<std::string> listed;
    for (const std::string& from : listFiles) {
        ClearSystemError();
        if (!ReadListFile(from, nulSeparated, listed))
            return Failure(text::kCannotReadList, from == "-" ? text::kStandardInput : from,
                           RESULT_ACCESS_ERROR);
    }
    for (const std::string& path : listed) {
        if (HasLineBreak(path)) return BadUsage(kTask.usage, text::kLineBreak, path);
    }
    std::vector<std::string_view> given(listed.begin(), listed.end());
    given.insert(given.end(), positional.begin() + 1, positional.end());
    if (given.empty() && !append) return BadUsage(kTask.usage, text::kMissingFile);

    std::error_code error;
    const bool exists = std::filesystem::exists(task, error);
    TaskHeader existing;
    std::vector<std::string> files;
    if (append && exists && !ReadExistingTask(task, existing, files)) return kExitFailed;
    const std::size_t kept = files.size();
    if (!AbsoluteFiles(given, files)) return kExitFailed;
    const bool appending = append && exists;
    const TrimMode mode = appending && !settings.mode ? existing.trimMode : settings.Mode();
    const std::string outputFolderName =
        folderName ? *folderName
                   : (appending ? existing.outputFolderName : ReadOutputFolderName(CliProfile()));
    // What the task listed already is checked by the run, as the desktop would.
    const std::vector<std::string> added(files.begin() + static_cast<std::ptrdiff_t>(kept),
                                         files.end());
    if (!AllFilesListable(added)) return kExitFailed;
    if (!force && !AllFilesText(added)) return kExitFailed;
    if (!TaskMayBeReplaced(task, files)) return kExitFailed;
    // Replacing a task that lists files would lose them silently (xargs calls the command
    // once per part of a long list).
    if (exists && !append && !replace && ListsFiles(task))
        return FailureWords(text::kCannotWrite, task, text::kTaskExists);
    if (!EndsWithTaskExtension(task))
        std::cerr << text::kProgram << ": " << text::kNoTaskExtension << ' ' << task << '\n';

    ClearSystemError();
    const Result result = SaveTaskFile(task, mode, outputFolderName, files);
    if (result != RESULT_OK) return Failure(text::kCannotWrite, task, result);
    return kExitOk;
}

}  // namespace trimlet::cli
