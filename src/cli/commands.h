#pragma once
// The commands of the command line. Each takes the arguments after its name and returns
// the exit status.

#include <string_view>

#include "cli/cli_support.h"

namespace trimlet::cli {

namespace text {
inline constexpr std::string_view kRunUsage =
    "trimlet run [--yes] [--overwrite=all|skip|newer] [--json] [-q|-v] TASK.trh";
inline constexpr std::string_view kTaskCreateUsage =
    "trimlet task create [--options LIST|--mode MODE] [--output-folder NAME] [--force]\n"
    "       [--files-from FILE|- [-0]] [--append|--replace] TASK.trh [FILE...]";
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

}  // namespace trimlet::cli
