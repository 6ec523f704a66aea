// trimlet: the command line. The first argument names the command; each command lives in
// its own file and is listed once in the table below.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "common/language.h"
#include "platform/durable_write.h"

namespace trimlet::cli {
namespace {

struct Command {
    std::string_view name;
    int (*run)(Args args);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"trim", RunTrimCommand, text::kTrimUsage},
    {"preview", RunPreviewCommand, text::kPreviewUsage},
    {"run", RunRunCommand, text::kRunUsage},
    {"task", RunTaskCommand, text::kTaskCreateUsage},
    {"options", RunOptionsCommand, text::kOptionsUsage},
    {"verify", RunVerifyCommand, text::kVerifyUsage},
};

void PrintUsage(std::ostream& out) {
    out << text::kUsageHeader << '\n';
    for (const Command& command : kCommands)
        out << "  " << command.usage << '\n';
    out << "  " << text::kHelpUsage << '\n';
    out << "  " << text::kCommonUsage << '\n';
    out << text::kMainHelp << '\n';
}

// trimlet help [COMMAND]: the command's own --help, or the usage of all.
int RunHelp(Args args) {
    if (!args.empty()) {
        for (const Command& command : kCommands) {
            if (command.name != args[0]) continue;
            const std::string_view help[] = {"--help"};
            return command.run(Args(help));
        }
        return BadUsage(text::kHelpUsage, text::kUnknownCommand, args[0]);
    }
    PrintUsage(std::cout);
    return kExitOk;
}

// Takes the common option --profile FILE (or --profile=FILE) out of `args`, wherever it
// stands before a "--". Returns false when it has no value.
bool TakeProfileOption(std::vector<std::string_view>& args, std::string& profilePath) {
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        bool missing = false;
        if (auto path = OptionValue(args, i, "--profile", missing)) {
            if (path->empty()) return false;
            profilePath = *path;
            continue;
        }
        if (missing) return false;
        rest.push_back(args[i++]);
    }
    args = std::move(rest);
    return true;
}

int Main(std::vector<std::string_view> all) {
    std::string profilePath;
    if (!TakeProfileOption(all, profilePath)) {
        std::cerr << text::kProgram << ": " << text::kMissingValue << " '--profile'\n";
        PrintUsage(std::cerr);
        return kExitBadUsage;
    }
    Args args = all;
    if (args.empty()) {
        PrintUsage(std::cerr);
        return kExitBadUsage;
    }
    std::string_view first = args[0];
    if (first == "--help" || first == "-h") {
        PrintUsage(std::cout);
        return kExitOk;
    }
    if (first == "help") return RunHelp(args.subspan(1));
    if (first == "--version" || first == "-V") {
        std::cout << text::kProgram << ' ' << TRIMLET_VERSION << '\n';
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (command.name != first) continue;
        OpenCliProfile(profilePath);
        return command.run(args.subspan(1));
    }
    std::cerr << text::kProgram << ": " << text::kUnknownCommand << ' ' << first << '\n';
    PrintUsage(std::cerr);
    return kExitBadUsage;
}

}  // namespace
}  // namespace trimlet::cli

int main(int argc, char** argv) {
    // Ctrl+C or a stop request leaves no half-written temporary file behind.
    trimlet::RemoveTemporaryFilesOnSignals();
    // The messages and the summary follow the user's locale.
    trimlet::SetLanguage(trimlet::LanguageFromEnvironment());
    return trimlet::cli::Main(std::vector<std::string_view>(argv + 1, argv + argc));
}
