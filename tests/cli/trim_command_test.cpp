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

TEST(TrimCommand, WritesTheTrimmedBytesToStandardOutput) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    Outcome outcome = RunCli(dir, {"trim", page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, TrimmedInProcess(page, kDefaultTrimMode, "JS:VBS"));
    EXPECT_EQ(outcome.err, "");
}

TEST(TrimCommand, TakesModeAndScriptExtensions) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    for (const char* mode : {"0", "0x0", "0X00000000"}) {
        SCOPED_TRACE(mode);
        Outcome outcome = RunCli(dir, {"trim", "--mode", mode, page});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, kPage);
    }
    Outcome outcome = RunCli(dir, {"trim", "--mode=2048", page});
    EXPECT_EQ(outcome.out, TrimmedInProcess(page, 2048, "JS:VBS"));

    std::string script = dir.Write("app.mjs", kPage);
    outcome = RunCli(dir, {"trim", "--script-extensions", "mjs", "--", script});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, TrimmedInProcess(script, kDefaultTrimMode, "MJS"));
}

TEST(TrimCommand, WritesToAnOutputFileKeepingItsPermissions) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    std::string out = dir.Write("out.html", "previous");
    ASSERT_EQ(chmod(out.c_str(), 0640), 0);
    Outcome outcome = RunCli(dir, {"trim", "-o", out, page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(ReadAll(out), TrimmedInProcess(page, kDefaultTrimMode, "JS:VBS"));
    struct stat st {};
    ASSERT_EQ(stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(TrimCommand, TrimsAFileOverItself) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    std::string expected = TrimmedInProcess(page, kDefaultTrimMode, "JS:VBS");
    Outcome outcome = RunCli(dir, {"trim", "-o", page, page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(ReadAll(page), expected);
}

TEST(TrimCommand, ReportsAFailureNamingTheFile) {
    TempDir dir;
    std::string missing = dir.File("missing.html");
    Outcome outcome = RunCli(dir, {"trim", missing});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "trimlet: cannot trim " + missing + ": RESULT_NOT_FOUND\n");

    outcome = RunCli(dir, {"trim", dir.path().string()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("RESULT_IS_FOLDER"), std::string::npos);

    std::string page = dir.Write("page.html", kPage);
    outcome = RunCli(dir, {"trim", "-o", dir.File("none/out.html"), page});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "trimlet: cannot write " + dir.File("none/out.html") + ": RESULT_NOT_FOUND\n");
}

TEST(TrimCommand, LeavesAReadOnlyOutputAlone) {
    TempDir dir;
    std::string page = dir.Write("page.html", kPage);
    std::string out = dir.Write("out.html", "protected");
    ASSERT_EQ(chmod(out.c_str(), 0444), 0);
    Outcome outcome = RunCli(dir, {"trim", "-o", out, page});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "trimlet: cannot write " + out + ": RESULT_ACCESS_ERROR\n");
    EXPECT_EQ(ReadAll(out), "protected");
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = RunCli(dir, c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("usage: trimlet trim [--mode MODE]"), std::string::npos)
            << outcome.err;
    }
    Outcome outcome = RunCli(dir, {"frobnicate"});
    EXPECT_EQ(outcome.status, 2);
    outcome = RunCli(dir, {});
    EXPECT_EQ(outcome.status, 2);
}

TEST(TrimCommand, HelpAndVersion) {
    TempDir dir;
    Outcome outcome = RunCli(dir, {"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "trimlet " TRIMLET_VERSION "\n");
    outcome = RunCli(dir, {"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("trimlet trim"), std::string::npos);
    outcome = RunCli(dir, {"trim", "--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("usage: trimlet trim"), std::string::npos);
}

}  // namespace
}  // namespace trimlet
