// trimlet trim: one file trimmed as a run would, to standard output or to OUT.

#include <cstdint>
#include <string>

#include "batch/run_step.h"
#include "cli/commands.h"
#include "platform/durable_write.h"
#include "platform/file_info.h"
#include "platform/system_error.h"
#include "text/trim_file.h"

namespace trimlet::cli {

int RunTrimCommand(Args args) {
    constexpr CommandHelp kTrim{text::kTrimUsage, text::kTrimHelp};
    TrimSettingArgs settings;
    std::string outPath;  // empty: standard output
    std::string file;
    bool haveFile = false;
    const Option options[] = {
        settings.ModeOption(kTrim.usage),
        settings.ScriptExtensionsOption(),
        {.name = "-o",
         .takesValue = true,
         .take =
             [&](std::string_view out) {
                 if (out.empty()) return BadUsage(kTrim.usage, text::kMissingValue, "-o");
                 outPath = out;
                 return kExitOk;
             }},
    };
    const auto takeFile = [&](std::string_view arg) {
        if (haveFile) return BadUsage(kTrim.usage, text::kExtraArgument, arg);
        file = arg;
        haveFile = true;
        return kExitOk;
    };
    if (std::optional<int> status = ReadArgs(args, kTrim, options, takeFile)) return *status;
    if (file.empty()) return BadUsage(kTrim.usage, text::kMissingFile);

    // A copy into the file cut short by a crash is rolled back before the file is read, and
    // an output that is the file itself is replaced only while it is still what was read.
    if (WriteTarget input; ResolveWriteTarget(file, input)) CheckFolderOnce(input.folder);
    WriteOptions writing;
    if (!outPath.empty()) writing = WriteOptionsFor(file, outPath);

    std::string trimmed;
    std::uint64_t inputSize = 0, outputSize = 0;
    ClearSystemError();
    Result result = TrimFile(file, settings.Mode(), settings.ScriptExtensions(), trimmed, inputSize,
                             outputSize);
    if (result != RESULT_OK) return Failure(text::kCannotTrim, file, result);

    if (outPath.empty()) {
        if (!WriteStdout(trimmed))
            return Failure(text::kCannotWrite, text::kStandardOutput, RESULT_ACCESS_ERROR);
        return kExitOk;
    }
    // A read-only output is a file its owner chose to protect: leave it alone.
    std::uint32_t attributes = 0;
    if (GetFileAttributes(outPath, attributes) && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return FailureWords(text::kCannotWrite, outPath, text::kReadOnly);
    ClearSystemError();
    // "-o /dev/null" and a terminal take the bytes directly; a FIFO or socket is refused.
    writing.allowCharacterDevice = true;
    result = WriteFileAtomically(outPath, trimmed, writing);
    PrintWriteNotices();
    if (result != RESULT_OK) return Failure(text::kCannotWrite, outPath, result);
    return kExitOk;
}

}  // namespace trimlet::cli
