#pragma once
// The commands of the command line. Each takes the arguments after its name and returns
// the exit status.

#include <string_view>

#include "cli/cli_support.h"

namespace trimlet::cli {

namespace text {
inline constexpr std::string_view kRunUsage =
    "trimlet run [--yes] [--overwrite=all|skip|newer] TASK.trh";
inline constexpr std::string_view kTaskCreateUsage =
    "trimlet task create [--mode MODE] [--output-folder NAME] [--force] TASK.trh FILE...";
}  // namespace text

// trimlet trim [--mode MODE] [--script-extensions LIST] [-o OUT] FILE
int RunTrimCommand(Args args);

// trimlet preview [--mode MODE] [--script-extensions LIST] FILE...
int RunPreviewCommand(Args args);

// trimlet run [--yes] [--overwrite=all|skip|newer] TASK.trh
int RunRunCommand(Args args);

// trimlet task create [--mode MODE] [--output-folder NAME] [--force] TASK.trh FILE...
int RunTaskCommand(Args args);

}  // namespace trimlet::cli
