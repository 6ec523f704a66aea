#pragma once
// Runs the trimlet program of this build (or TRIMLET_CLI) in a shell, in a given folder,
// with standard input from /dev/null (no terminal), and collects what it printed.

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace trimlet::test {

struct CliOutcome {
    int status = -1;
    std::string out, err;
};

inline std::string CliProgram() {
    const char* cli = getenv("TRIMLET_CLI");
    if (cli && *cli) return cli;
    return std::filesystem::read_symlink("/proc/self/exe")
        .parent_path()
        .parent_path()
        .append("trimlet")
        .string();
}

// Runs the program with `args` in `folder` (dir itself when empty). The arguments are
// single-quoted for the shell, so they may hold anything but a single quote.
inline CliOutcome RunCliIn(const TempDir& dir, const std::vector<std::string>& args,
                           const std::string& folder = {}) {
    std::string command =
        "cd '" + (folder.empty() ? dir.path().string() : folder) + "' && '" + CliProgram() + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " </dev/null >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(dir.File("out")),
            ReadAll(dir.File("err"))};
}

}  // namespace trimlet::test
