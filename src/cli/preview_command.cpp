// trimlet preview: the file list's columns for each file, as the desktop would show them.

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "batch/format.h"
#include "cli/commands.h"
#include "platform/file_info.h"
#include "text/trim_file.h"

namespace trimlet::cli {

namespace {

struct PreviewOptions {
    TrimMode mode = 0;
    std::string scriptExtensions;
    std::vector<std::string> files;
};

// Parses the arguments; returns kExitOk to go on, or the exit status to end with.
int ParsePreviewArgs(Args args, PreviewOptions& options, bool& helpOnly) {
    helpOnly = false;
    bool optionsEnded = false;
    std::optional<TrimMode> mode;
    std::optional<std::string> list;
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
                if (!mode) return BadUsage(text::kPreviewUsage, text::kBadMode, *value);
            } else if (auto extensions = OptionValue(args, i, "--script-extensions", missing)) {
                list = std::string(*extensions);
            } else if (missing) {
                return BadUsage(text::kPreviewUsage, text::kMissingValue, arg);
            } else {
                return BadUsage(text::kPreviewUsage, text::kUnknownOption, arg);
            }
            continue;
        }
        if (arg.empty()) return BadUsage(text::kPreviewUsage, text::kMissingFile);
        options.files.emplace_back(arg);
        ++i;
    }
    if (options.files.empty()) return BadUsage(text::kPreviewUsage, text::kMissingFile);
    options.mode = mode ? *mode : DefaultTrimMode();
    options.scriptExtensions = list ? *list : DefaultScriptExtensions();
    return kExitOk;
}

// One line of the preview: path, size, trimmed size with percentage, time; placeholders
// when the file cannot be trimmed.
std::string PreviewLine(const std::string& path, const PreviewOptions& options, Result& result) {
    FindRecord record;
    std::string trimmed;
    std::uint64_t sourceSize = 0, trimmedSize = 0;
    result =
        TrimFile(path, options.mode, options.scriptExtensions, trimmed, sourceSize, trimmedSize);
    if (result == RESULT_OK) result = GetFindRecord(path, record);

    std::string line = path;
    line += '\t';
    if (result != RESULT_OK) {
        ((((line += kSizePlaceholder) += '\t') += kTrimmedSizePlaceholder) += '\t') +=
            kTimePlaceholder;
    } else {
        line += FormatSize(record.size) + '\t' + FormatSize(trimmedSize) +
                FormatPercent(trimmedSize, sourceSize) + '\t' +
                FormatListTime(record.lastWriteTime);
    }
    return line + '\n';
}

}  // namespace

int RunPreviewCommand(Args args) {
    PreviewOptions options;
    bool helpOnly = false;
    if (int status = ParsePreviewArgs(args, options, helpOnly); status != kExitOk) return status;
    if (helpOnly) {
        std::cout << text::kUsageHeader << ' ' << text::kPreviewUsage << '\n'
                  << text::kPreviewHelp << '\n';
        return kExitOk;
    }

    int status = kExitOk;
    for (const std::string& file : options.files) {
        Result result = RESULT_OK;
        std::string line = PreviewLine(file, options, result);
        if (!WriteStdout(line)) return Failure(text::kCannotWrite, "-", RESULT_ACCESS_ERROR);
        if (result != RESULT_OK) status = Failure(text::kCannotTrim, file, result);
    }
    return status;
}

}  // namespace trimlet::cli
