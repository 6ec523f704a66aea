#include <cstdint>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "platform/atomic_write.h"
#include "platform/file_info.h"
#include "text/trim_file.h"

namespace trimlet::cli {

namespace {

struct TrimOptions {
    TrimMode mode = DefaultTrimMode();
    std::string scriptExtensions = DefaultScriptExtensions();
    std::string outPath;  // empty: standard output
    std::string file;
};

// Parses the arguments; returns kExitOk to go on, or the exit status to end with.
int ParseTrimArgs(Args args, TrimOptions& options, bool& helpOnly) {
    helpOnly = false;
    bool haveFile = false;
    bool optionsEnded = false;
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
            } else if (auto mode = OptionValue(args, i, "--mode", missing)) {
                std::optional<TrimMode> parsed = ParseTrimMode(*mode);
                if (!parsed) return BadUsage(text::kTrimUsage, text::kBadMode, *mode);
                options.mode = *parsed;
            } else if (auto list = OptionValue(args, i, "--script-extensions", missing)) {
                options.scriptExtensions = *list;
            } else if (auto out = OptionValue(args, i, "-o", missing)) {
                if (out->empty()) return BadUsage(text::kTrimUsage, text::kMissingValue, "-o");
                options.outPath = *out;
            } else if (missing) {
                return BadUsage(text::kTrimUsage, text::kMissingValue, arg);
            } else {
                return BadUsage(text::kTrimUsage, text::kUnknownOption, arg);
            }
            continue;
        }
        if (haveFile) return BadUsage(text::kTrimUsage, text::kExtraArgument, arg);
        options.file = arg;
        haveFile = true;
        ++i;
    }
    if (!haveFile || options.file.empty()) return BadUsage(text::kTrimUsage, text::kMissingFile);
    return kExitOk;
}

}  // namespace

int RunTrimCommand(Args args) {
    TrimOptions options;
    bool helpOnly = false;
    if (int status = ParseTrimArgs(args, options, helpOnly); status != kExitOk) return status;
    if (helpOnly) {
        std::cout << text::kUsageHeader << ' ' << text::kTrimUsage << '\n'
                  << text::kTrimHelp << '\n';
        return kExitOk;
    }

    std::string trimmed;
    std::uint64_t inputSize = 0, outputSize = 0;
    Result result = TrimFile(options.file, options.mode, options.scriptExtensions, trimmed,
                             inputSize, outputSize);
    if (result != RESULT_OK) return Failure(text::kCannotTrim, options.file, result);

    if (options.outPath.empty()) {
        if (!WriteStdout(trimmed)) return Failure(text::kCannotWrite, "-", RESULT_ACCESS_ERROR);
        return kExitOk;
    }
    // A read-only output is a file its owner chose to protect: leave it alone.
    std::uint32_t attributes = 0;
    if (GetFileAttributes(options.outPath, attributes) &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return Failure(text::kCannotWrite, options.outPath, RESULT_ACCESS_ERROR);
    result = WriteFileAtomically(options.outPath, trimmed);
    if (result != RESULT_OK) return Failure(text::kCannotWrite, options.outPath, result);
    return kExitOk;
}

}  // namespace trimlet::cli
