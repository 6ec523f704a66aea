// trimlet trim: one file trimmed as a run would, to standard output or to OUT.

#include <cstdint>
#include <string>

#include "cli/commands.h"
#include "platform/atomic_write.h"
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
    bool verify = false;
    const Option options[] = {
        {.name = "--verify",
         .take =
             [&](std::string_view) {
                 verify = true;
                 return kExitOk;
             }},
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

    std::string trimmed;
    std::uint64_t inputSize = 0, outputSize = 0;
    ClearSystemError();
    Result result = TrimFile(file, settings.Mode(), settings.ScriptExtensions(), trimmed, inputSize,
                             outputSize);
    if (result != RESULT_OK) return Failure(text::kCannotTrim, file, result);
    if (verify) {
        if (int status =
                VerifyBeforeWrite(file, trimmed, settings.Mode(), settings.ScriptExtensions());
            status != kExitOk)
            return status;
    }

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
    WriteOptions writing;
    writing.allowCharacterDevice = true;
    result = WriteFileAtomically(outPath, trimmed, writing);
    if (result != RESULT_OK) return Failure(text::kCannotWrite, outPath, result);
    return kExitOk;
}

}  // namespace trimlet::cli
