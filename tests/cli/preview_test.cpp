// Runs "trimlet preview" and checks its lines, its use of the profile and its exit status.

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "batch/format.h"
#include "engine/trim_mode.h"
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
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string CliPath() {
    if (const char* cli = getenv("TRIMLET_CLI"); cli != nullptr && *cli != '\0') return cli;
    std::error_code ec;
    return (fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "trimlet")
        .string();
}

// Runs the program with `args`; `environment` ("NAME=value ...") is put before it.
Outcome RunCli(const TempDir& dir, const std::vector<std::string>& args,
               const std::string& environment = {}) {
    std::string command = environment + " " + Quote(CliPath());
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " </dev/null >" + Quote(dir.File("stdout")) + " 2>" + Quote(dir.File("stderr"));
    int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadAll(dir.File("stdout"));
    outcome.err = ReadAll(dir.File("stderr"));
    return outcome;
}

// The line the list would show for `path` trimmed with `mode` and `list`.
std::string ExpectedLine(const std::string& path, TrimMode mode, std::string_view list) {
    std::string out;
    std::uint64_t sourceSize = 0, trimmedSize = 0;
    EXPECT_RESULT(TrimFile(path, mode, list, out, sourceSize, trimmedSize), RESULT_OK);
    FindRecord record;
    EXPECT_RESULT(GetFindRecord(path, record), RESULT_OK);
    return path + '\t' + FormatSize(record.size) + '\t' + FormatSize(trimmedSize) +
           FormatPercent(trimmedSize, sourceSize) + '\t' + FormatListTime(record.lastWriteTime) +
           '\n';
}

constexpr std::string_view kPage =
    "<html>\n  <body>\n    <!-- about -->\n    <p>  two  blanks  </p>\n  </body>\n</html>\n";
constexpr std::string_view kScript = "// note\nvar a = 1;   /* more */\n";

TEST(PreviewCommand, PrintsTheListColumnsWithPlaceholdersForFailures) {
    TempDir dir;
    std::string profile = dir.Write("profile.ini", "[Settings]\nVERSION=150\n");
    std::string page = dir.Write("page.html", kPage);
    std::string script = dir.Write("code.js", kScript);
    fs::create_directories(dir.File("folder"));

    Outcome all = RunCli(dir, {"preview", "--profile", profile, page, script});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, ExpectedLine(page, kDefaultTrimMode, "JS:VBS") +
                           ExpectedLine(script, kDefaultTrimMode, "JS:VBS"));
    EXPECT_EQ(all.err, "");

    Outcome some = RunCli(dir, {"preview", page, dir.File("missing.html"), dir.File("folder"),
                                "--profile=" + profile});
    EXPECT_EQ(some.status, 1);
    const std::string placeholders = "\t---\t---( --%)\t----/--/-- --:--\n";
    EXPECT_EQ(some.out, ExpectedLine(page, kDefaultTrimMode, "JS:VBS") + dir.File("missing.html") +
                            placeholders + dir.File("folder") + placeholders);
    EXPECT_NE(some.err.find(dir.File("missing.html") + ": RESULT_NOT_FOUND"), std::string::npos);
    EXPECT_NE(some.err.find(dir.File("folder") + ": RESULT_IS_FOLDER"), std::string::npos);
}

TEST(PreviewCommand, TakesModeAndScriptExtensionsFromTheProfileUnlessGiven) {
    TempDir dir;
    std::string profile =
        dir.Write("profile.ini", "[Settings]\nVERSION=150\nMODE=2048\nFILE_FILTER_SCR=MJS\n");
    std::string envProfile = dir.Write("env.ini", "[Settings]\nVERSION=150\nMODE=0\n");
    std::string module = dir.Write("code.mjs", kScript);
    std::string page = dir.Write("page.html", kPage);

    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string environment;
        TrimMode mode;
        const char* list;
    };
    const Case cases[] = {
        {"from --profile", {"preview", "--profile", profile, module, page}, "", 2048, "MJS"},
        {"from TRIMLET_PROFILE",
         {"preview", module, page},
         "TRIMLET_PROFILE=" + Quote(envProfile),
         0,
         "JS:VBS"},
        {"--profile wins",
         {"preview", "--profile", profile, module, page},
         "TRIMLET_PROFILE=" + Quote(envProfile),
         2048,
         "MJS"},
        {"options win",
         {"preview", "--mode", "0x0F81782C", "--script-extensions", "JS", "--profile", profile,
          module, page},
         "",
         kDefaultTrimMode,
         "JS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = RunCli(dir, c.args, c.environment);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out,
                  ExpectedLine(module, c.mode, c.list) + ExpectedLine(page, c.mode, c.list));
    }
}

TEST(PreviewCommand, MigratesAnOldProfileAtStart) {
    TempDir dir;
    std::string profile = dir.Write("profile.ini", "[Settings]\nMODE=2048\n");
    std::string page = dir.Write("page.html", kPage);
    Outcome outcome = RunCli(dir, {"preview", "--profile", profile, page});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::string ini = ReadAll(profile);
    EXPECT_NE(ini.find("VERSION=150"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("MODE=2048"), std::string::npos) << "the script options were added";
}

TEST(PreviewCommand, BadUsage) {
    TempDir dir;
    std::string profile = dir.Write("profile.ini", "[Settings]\nVERSION=150\n");
    std::string page = dir.Write("page.html", kPage);
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"no file", {"preview", "--profile", profile}},
        {"bad mode", {"preview", "--profile", profile, "--mode", "0x", page}},
        {"unknown option", {"preview", "--profile", profile, "--out", page}},
        {"profile without value", {"preview", page, "--profile"}},
        {"empty profile", {"preview", "--profile=", page}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = RunCli(dir, c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("usage:"), std::string::npos) << outcome.err;
    }
}

}  // namespace
}  // namespace trimlet
