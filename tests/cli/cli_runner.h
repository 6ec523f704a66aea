#pragma once
// Runs the trimlet program of this build (TRIMLET_CLI, else the one beside the test) in a
// shell, with standard input from /dev/null (no terminal) unless given, and collects what it
// printed.

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/trim_mode.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet::test {

struct CliOutcome {
    int status = -1;
    std::string out, err;
};

// Where and how the program runs: in `folder` (the temporary folder when empty), after the
// shell words `environment` ("TRIMLET_PROFILE=/p.ini").
struct CliPlace {
    std::string folder = {};
    std::string environment = {};
    std::string standardOutput = {};  // where standard output goes instead ("/dev/full")
    std::string standardInput = {};   // the file standard input comes from instead
};

inline CliOutcome RunCli(const TempDir& dir, const std::vector<std::string>& args,
                         const CliPlace& place = {}) {
    const char* cli = getenv("TRIMLET_CLI");
    const std::string program =
        cli && *cli ? std::string(cli)
                    : (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                       "trimlet")
                          .string();
    // Single quotes for the shell: the tests' arguments hold none.
    std::string command = "cd '" + (place.folder.empty() ? dir.path().string() : place.folder) +
                          "' && " + place.environment + " '" + program + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    const std::string out = place.standardOutput.empty() ? dir.File("out") : place.standardOutput;
    const std::string in = place.standardInput.empty() ? "/dev/null" : place.standardInput;
    command += " <'" + in + "' >'" + out + "' 2>'" + dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
            place.standardOutput.empty() ? ReadAll(out) : std::string(), ReadAll(dir.File("err"))};
}

// `path` trimmed in this process, as the program should trim it.
inline std::string Trimmed(const std::string& path, TrimMode mode = kDefaultTrimMode,
                           std::string_view scriptExtensions = "JS:VBS") {
    std::string out;
    std::uint64_t source = 0, trimmed = 0;
    EXPECT_RESULT(TrimFile(path, mode, scriptExtensions, out, source, trimmed), RESULT_OK);
    return out;
}

}  // namespace trimlet::test
