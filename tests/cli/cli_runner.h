#pragma once
// Runs the trimlet program of this build (TRIMLET_CLI, else the one beside the test) in a
// shell, with standard input from /dev/null (no terminal), and collects what it printed.

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

// Runs the program with `args` in `folder` (the temporary folder when empty). Arguments are
// single-quoted for the shell, so they may hold anything but a single quote.
inline CliOutcome RunCliIn(const TempDir& dir, const std::vector<std::string>& args,
                           const std::string& folder = {}) {
    const char* cli = getenv("TRIMLET_CLI");
    const std::string program =
        cli && *cli ? std::string(cli)
                    : (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                       "trimlet")
                          .string();
    std::string command =
        "cd '" + (folder.empty() ? dir.path().string() : folder) + "' && '" + program + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " </dev/null >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(dir.File("out")),
            ReadAll(dir.File("err"))};
}

}  // namespace trimlet::test
