// Runs "trimlet preview" and checks its lines, its use of the profile and its exit status.

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch/format.h"
#include "platform/file_info.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs the program (TRIMLET_CLI, else the trimlet of this build) after `environment`.
Outcome RunCli(const TempDir& dir, const std::vector<std::string>& args,
               const std::string& environment = {}) {
    const char* cli = getenv("TRIMLET_CLI");
    std::string command = environment + " '" +
                          (cli && *cli ? std::string(cli)
                                       : fs::read_symlink("/proc/self/exe")
                                             .parent_path()
                                             .parent_path()
                                             .append("trimlet")
                                             .string()) +
                          "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";  // the test's paths hold no quote
    command += " </dev/null >'" + dir.File("out") + "' 2>'" + dir.File("err") + "'";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(dir.File("out")),
            ReadAll(dir.File("err"))};
}

// The line the list would show for `path` trimmed with `mode` and `list`.
std::string Line(const std::string& path, TrimMode mode, std::string_view list) {
    std::string out;
    std::uint64_t source = 0, trimmed = 0;
    EXPECT_RESULT(TrimFile(path, mode, list, out, source, trimmed), RESULT_OK);
    FindRecord record;
    EXPECT_RESULT(GetFindRecord(path, record), RESULT_OK);
    return path + '\t' + FormatSize(record.size) + '\t' + FormatSize(trimmed) +
           FormatPercent(trimmed, source) + '\t' + FormatListTime(record.lastWriteTime) + '\n';
}

TEST(PreviewCommand, ColumnsFromTheProfilesSettings) {
    TempDir dir;
    std::string profile = dir.Write("p.ini", "[Settings]\nMODE=2048\nFILE_FILTER_SCR=MJS\n");
    std::string envProfile = dir.Write("env.ini", "[Settings]\nVERSION=150\nMODE=0\n");
    std::string script = dir.Write("code.mjs", "// note\nvar a = 1;   /* more */\n");
    std::string page = dir.Write("page.html", "<p>  a  </p>\n  <!-- c -->\n\n");
    std::string missing = dir.File("missing.html");
    const std::string placeholders = "\t---\t---( --%)\t----/--/-- --:--\n";

    Outcome first = RunCli(dir, {"preview", "--profile", profile, script, missing, page});
    EXPECT_EQ(first.status, 1);
    std::string ini = ReadAll(profile);  // migrated at start: script options added to MODE
    EXPECT_NE(ini.find("VERSION=150"), std::string::npos) << ini;
    auto mode = static_cast<TrimMode>(std::stoul(ini.substr(ini.find("MODE=") + 5)));
    EXPECT_EQ(mode, 2048u | TM_SCRIPT_OPTIONS_MASK);
    EXPECT_EQ(first.out,
              Line(script, mode, "MJS") + missing + placeholders + Line(page, mode, "MJS"));
    EXPECT_NE(first.err.find(missing + ": RESULT_NOT_FOUND"), std::string::npos) << first.err;

    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string environment;
        TrimMode mode;
        const char* list;
    };
    const Case cases[] = {
        {"TRIMLET_PROFILE",
         {"preview", script, page},
         "TRIMLET_PROFILE=" + envProfile,
         0,
         "JS:VBS"},
        {"--profile wins",
         {"preview", script, page, "--profile=" + profile},
         "TRIMLET_PROFILE=" + envProfile,
         mode,
         "MJS"},
        {"options win",
         {"preview", "--mode", "0x800", "--script-extensions", "JS", "--profile", profile, script,
          page},
         "",
         2048,
         "JS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = RunCli(dir, c.args, c.environment);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, Line(script, c.mode, c.list) + Line(page, c.mode, c.list));
    }
}

TEST(PreviewCommand, BadUsageExitsWithTwo) {
    TempDir dir;
    std::string profile = dir.Write("p.ini", "");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"preview", "--profile", profile},
          {"preview", "--profile=" + profile, "--mode", "0x"},
          {"preview", "a.html", "--profile"}}) {
        Outcome outcome = RunCli(dir, args);
        EXPECT_EQ(outcome.status, 2) << args.back();
        EXPECT_NE(outcome.err.find("usage:"), std::string::npos) << outcome.err;
    }
}

}  // namespace
}  // namespace trimlet
