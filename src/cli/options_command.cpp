// trimlet options: every named trim option, or the trim mode a list of them makes.

#include <iostream>

#include "cli/commands.h"
#include "cli/option_names.h"

namespace trimlet::cli {

int RunOptionsCommand(Args args) {
    constexpr CommandHelp kOptions{text::kOptionsUsage, text::kOptionsHelp};
    TrimSettingArgs settings;
    const Option options[] = {settings.ModeOption(kOptions.usage),
                              settings.NamesOption(kOptions.usage), settings.PrintModeOption()};
    const auto noPositional = [&](std::string_view arg) {
        return BadUsage(kOptions.usage, text::kExtraArgument, arg);
    };
    if (std::optional<int> status = ReadArgs(args, kOptions, options, noPositional)) return *status;
    if (std::optional<int> printed = settings.PrintModeIfAsked()) return *printed;
    if (settings.mode) {
        // The names of a mode given without --print-mode.
        return WriteStdout(OptionListOf(settings.Mode()) + '\n') ? kExitOk : kExitFailed;
    }
    return WriteStdout(DescribeOptionNames()) ? kExitOk : kExitFailed;
}

}  // namespace trimlet::cli
