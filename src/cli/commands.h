#pragma once
// The commands of the command line. Each takes the arguments after its name and returns
// the exit status.

#include "cli/cli_support.h"

namespace trimlet::cli {

// trimlet trim [--mode MODE] [--script-extensions LIST] [-o OUT] FILE
int RunTrimCommand(Args args);

// trimlet preview [--mode MODE] [--script-extensions LIST] FILE...
int RunPreviewCommand(Args args);

}  // namespace trimlet::cli
