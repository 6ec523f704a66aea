#pragma once
// The commands of the command line. Each takes the arguments after its name and returns
// the exit status.

#include <string>
#include <string_view>

#include "cli/cli_support.h"

namespace trimlet::cli {

namespace text {
inline constexpr std::string_view kRunUsage =
    "trimlet run [--yes] [--overwrite=all|skip|newer] [--json] [-q|-v] [--verify]\n"
    "       [--keep-comment TEXT]... TASK.trh";
inline constexpr std::string_view kTaskCreateUsage =
    "trimlet task create [--options LIST|--mode MODE] [--output-folder NAME] [--force]\n"
    "       [--files-from FILE|- [-0]] [--append|--replace] TASK.trh [FILE...]";
inline constexpr std::string_view kVerifyUsage =
    "trimlet verify [--mode MODE] [--script-extensions LIST] ORIGINAL TRIMMED";
}  // namespace text

// trimlet trim [OPTIONS] FILE|- [-o OUT], or PATH... -o DIR/ | --in-place
int RunTrimCommand(Args args);

// trimlet preview [OPTIONS] FILE...
int RunPreviewCommand(Args args);

// trimlet options [--print-mode ...]
int RunOptionsCommand(Args args);

// trimlet run [--yes] [--overwrite=all|skip|newer] TASK.trh
int RunRunCommand(Args args);

// trimlet task create [OPTIONS] [--files-from FILE|-] [--append] TASK.trh [FILE...]
int RunTaskCommand(Args args);

// trimlet verify [--mode MODE] [--script-extensions LIST] ORIGINAL TRIMMED
int RunVerifyCommand(Args args);

// The check of --verify before `trimmedBytes`, the trimmed form of the file `inputPath`, is
// written: kExitOk to write it (also, after a warning, when it is too large to check), else
// the difference or failure is printed and kExitFailed returned.
int VerifyBeforeWrite(const std::string& inputPath, std::string_view trimmedBytes, TrimMode mode,
                      const std::string& scriptExtensions);

}  // namespace trimlet::cli
