// trimlet: the command line. The first argument names the command; each command lives in
// its own file and is listed once in the table below.

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace trimlet::cli {
namespace {

struct Command {
    std::string_view name;
    int (*run)(Args args);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"trim", RunTrimCommand, text::kTrimUsage},
};

void PrintUsage(std::ostream& out) {
    out << text::kUsageHeader << '\n';
    for (const Command& command : kCommands)
        out << "  " << command.usage << '\n';
    out << "  " << text::kCommonUsage << '\n';
}

int Main(Args args) {
    if (args.empty()) {
        PrintUsage(std::cerr);
        return kExitBadUsage;
    }
    std::string_view first = args[0];
    if (first == "--help" || first == "-h") {
        PrintUsage(std::cout);
        return kExitOk;
    }
    if (first == "--version") {
        std::cout << text::kProgram << ' ' << TRIMLET_VERSION << '\n';
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (command.name == first) return command.run(args.subspan(1));
    }
    std::cerr << text::kProgram << ": " << text::kUnknownCommand << ' ' << first << '\n';
    PrintUsage(std::cerr);
    return kExitBadUsage;
}

}  // namespace
}  // namespace trimlet::cli

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    return trimlet::cli::Main(args);
}
