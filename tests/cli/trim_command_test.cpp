// Runs the built trimlet program and checks what it prints, writes and exits with.

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/trim_mode.h"
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
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// The program under test: TRIMLET_CLI when set, else the trimlet at the top of the build
// folder this test program was built in.
std::string CliPath() {
    if (const char* cli = getenv("TRIMLET_CLI"); cli != nullptr && *cli != '\0') return cli;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "trimlet").string();
}

Outcome RunCli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string cli = CliPath();
    EXPECT_TRUE(fs::is_regular_file(cli)) << cli;
    std::string command = Quote(cli);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " >" + Quote(dir.File("stdout")) + " 2>" + Quote(dir.File("stderr"));
    int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadAll(dir.File("stdout"));
    outcome.err = ReadAll(dir.File("stderr"));
    return outcome;
}

std::string TrimmedInProcess(const std::string& path, TrimMode mode, std::string_view list) {
    std::string out;
    std::uint64_t inputSize = 0, outputSize = 0;
    EXPECT_RESULT(TrimFile(path, mode, list, out, inputSize, outputSize), RESULT_OK);
    return out;
}

constexpr std::string_view kPage =
    "<html>\n  <body>\n    <!-- about -->\n    <p>  two  blanks  </p>\n"
    "    <script>\n      // note\n      var a = 1 ;\n    </script>\n  </body>\n</html>\n";

TEST(TrimCommand, WritesTheTrimmedBytesToStandardOutputOrAFile) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    const std::string expected = TrimmedInProcess(page, kDefaultTrimMode, "JS:VBS");
    Outcome outcome = RunCli(dir, {"trim", page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, expected);
    EXPECT_EQ(outcome.err, "");

    std::string out = dir.Write("out.html", "previous");
    ASSERT_EQ(chmod(out.c_str(), 0640), 0);
    outcome = RunCli(dir, {"trim", "-o", out, page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(ReadAll(out), expected);
    struct stat st {};
    ASSERT_EQ(stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Over itself: read whole before anything is written.
    EXPECT_EQ(RunCli(dir, {"trim", "-o", page, page}).status, 0);
    EXPECT_EQ(ReadAll(page), expected);
}

TEST(TrimCommand, TakesModeAndScriptExtensions) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    for (const char* mode : {"0", "--mode=0x0", "0X00000000"}) {
        SCOPED_TRACE(mode);
        Outcome outcome = mode[0] == '-' ? RunCli(dir, {"trim", mode, page})
                                         : RunCli(dir, {"trim", "--mode", mode, page});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, kPage);
    }
    EXPECT_EQ(RunCli(dir, {"trim", "--mode=2048", page}).out,
              TrimmedInProcess(page, 2048, "JS:VBS"));
    std::string script = dir.Write("app.mjs", kPage);
    EXPECT_EQ(RunCli(dir, {"trim", "--script-extensions", "mjs", "--", script}).out,
              TrimmedInProcess(script, kDefaultTrimMode, "MJS"));
}

TEST(TrimCommand, ReportsAFailureNamingTheFile) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    std::string readOnly = dir.Write("read-only.html", "protected");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    const std::string missing = dir.File("missing.html");
    const std::string noFolder = dir.File("none/out.html");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {"missing", {"trim", missing}, "cannot trim " + missing + ": RESULT_NOT_FOUND"},
        {"folder",
         {"trim", dir.path().string()},
         "cannot trim " + dir.path().string() + ": RESULT_IS_FOLDER"},
        {"no output folder",
         {"trim", "-o", noFolder, page},
         "cannot write " + noFolder + ": RESULT_NOT_FOUND"},
        {"read-only output",
         {"trim", "-o", readOnly, page},
         "cannot write " + readOnly + ": RESULT_ACCESS_ERROR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = RunCli(dir, c.args);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "trimlet: " + c.err + "\n");
    }
    EXPECT_EQ(ReadAll(readOnly), "protected");
}

TEST(TrimCommand, BadUsageExitsWithTwo) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"no file", {"trim"}},
        {"two files", {"trim", page, page}},
        {"unknown option", {"trim", "--fast", page}},
        {"mode without value", {"trim", page, "--mode"}},
        {"mode with junk", {"trim", "--mode", "12abc", page}},
        {"negative mode", {"trim", "--mode", "-1", page}},
        {"mode over 32 bits", {"trim", "--mode", "0x100000000", page}},
        {"empty mode", {"trim", "--mode=", page}},
        {"output without value", {"trim", page, "-o"}},
        {"unknown command", {"frobnicate", page}},
        {"no command", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = RunCli(dir, c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("trimlet trim [--mode MODE]"), std::string::npos) << outcome.err;
    }
}

TEST(TrimCommand, HelpAndVersion) {
    TempDir dir;
    EXPECT_EQ(RunCli(dir, {"--version"}).out, "trimlet " TRIMLET_VERSION "\n");
    for (const std::vector<std::string>& help :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"trim", "--help"}}) {
        Outcome outcome = RunCli(dir, help);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_NE(outcome.out.find("trimlet trim [--mode MODE]"), std::string::npos);
    }
}

}  // namespace
}  // namespace trimlet
