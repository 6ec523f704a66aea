// Runs "trimlet trim" and "trimlet preview": what they print and write, where their settings
// come from, and their exit status.

#include <errno.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "batch/format.h"
#include "batch/run_step.h"
#include "cli_runner.h"
#include "platform/file_info.h"
#include "platform/system_error.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::string_view kPage =
    "<html>\n  <body>\n    <!-- about -->\n    <p>  two  blanks  </p>\n"
    "    <script>\n      // note\n      var a = 1 ;\n    </script>\n  </body>\n</html>\n";

TEST(TrimCommand, WritesTheTrimmedBytesToStandardOutputOrAFileWithTheGivenSettings) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    const std::string expected = Trimmed(page);
    CliOutcome outcome = RunCli(dir, {"trim", page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, expected);
    EXPECT_EQ(outcome.err, "");

    const std::string out = dir.Write("out.html", "previous");
    ASSERT_EQ(chmod(out.c_str(), 0640), 0);
    outcome = RunCli(dir, {"trim", "-o", out, page});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(ReadAll(out), expected);
    EXPECT_EQ(test::ModeOf(out), 0640u);

    // Over itself: read whole before anything is written.
    EXPECT_EQ(RunCli(dir, {"trim", "-o", page, page}).status, 0);
    EXPECT_EQ(ReadAll(page), expected);

    const std::string script = dir.Write("app.mjs", kPage);
    outcome = RunCli(dir, {"trim", "--mode=2048", "--script-extensions", "mjs", "--", script});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, Trimmed(script, 2048, "MJS"));

    // Bit 18 reaches the engine: the blank between two inline elements goes too.
    const std::string spans = dir.Write("spans.html", "<b>a</b> <i>b</i>");
    outcome = RunCli(dir, {"trim", "--mode", "0x0F85782C", spans});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "<b>a</b><i>b</i>");
    EXPECT_EQ(RunCli(dir, {"trim", "--mode", "260143148", spans}).out, "<b>a</b> <i>b</i>");
}

TEST(TrimCommand, AFailureNamesTheFileAndLeavesAReadOnlyOutput) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    const std::string readOnly = dir.Write("read-only.html", "protected");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    const std::string missing = dir.File("missing.html"), folder = dir.path().string();
    const std::string noFolder = dir.File("none/out.html");
    const std::string marked = dir.Write("marked.html", std::string("\xFF\xFE<\0p\0>", 7));
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"trim", missing},
         "cannot trim " + missing +
             ": no such file: " + SystemErrorText(ENOENT, Language::English)},
        {{"trim", folder}, "cannot trim " + folder + ": is a folder"},
        {{"trim", "-o", noFolder, page},
         "cannot write " + noFolder +
             ": no such file: " + SystemErrorText(ENOENT, Language::English)},
        {{"trim", "-o", readOnly, page}, "cannot write " + readOnly + ": is read-only"},
        {{"trim", marked},
         "cannot trim " + marked +
             ": begins with a UTF-16 byte-order mark but is not valid UTF-16 (odd length or "
             "unpaired surrogate)"},

    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const CliOutcome outcome = RunCli(dir, c.args);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "trimlet: " + c.err + "\n");
    }
    EXPECT_EQ(ReadAll(readOnly), "protected");
}

// The line the file list would show for `path` trimmed with `mode` and `list`.
std::string Line(const std::string& path, TrimMode mode, std::string_view list) {
    const std::string trimmed = Trimmed(path, mode, list);
    FindRecord record;
    EXPECT_RESULT(GetFindRecord(path, record), RESULT_OK);
    return path + '\t' + FormatSize(record.size) + '\t' + FormatSize(trimmed.size()) +
           FormatPercent(trimmed.size(), record.size) + '\t' +
           FormatListTime(record.lastWriteTime) + '\n';
}

// Runs `trimlet trim FILE` with standard output a pipe whose reader is gone.
int TrimIntoClosedPipe(const std::string& file) {
    const char* cli = getenv("TRIMLET_CLI");
    int ends[2];
    if (cli == nullptr || pipe(ends) != 0) return -2;
    close(ends[0]);
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        execl(cli, cli, "trim", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TrimCommand, AClosedPipeOrAFileSizeLimitIsAFailedWriteNotADeath) {
    TempDir dir;
    std::string big;
    while (big.size() < 300000)
        big += kPage;
    const std::string page = dir.Write("page.html", big);
    EXPECT_EQ(TrimIntoClosedPipe(page), 1) << "ended by SIGPIPE";

    const std::string out = dir.Write("trimmed.html", "previous");
    // 100 blocks (of 512 or 1024 bytes) is less than the trimmed page.
    CliOutcome outcome =
        RunCli(dir, {"trim", "-o", out, page}, {.environment = "ulimit -f 100 &&"});
    EXPECT_EQ(outcome.status, 1) << "ended by SIGXFSZ";
    EXPECT_THAT(outcome.err, HasSubstr("trimmed.html"));
    EXPECT_EQ(ReadAll(out), "previous");
    std::set<std::string> names = NamesIn(dir.path());
    names.erase("out");
    names.erase("err");
    EXPECT_EQ(names, (std::set<std::string>{"page.html", "trimmed.html"}));
}

TEST(TrimCommand, OverItselfReplacesTheFileOnlyWhileItIsWhatWasRead) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    ASSERT_EQ(link(page.c_str(), dir.File("hard.html").c_str()), 0);
    for (const std::string& output : {page, dir.File("./page.html"), dir.File("hard.html")}) {
        SCOPED_TRACE(output);
        const WriteOptions options = WriteOptionsFor(page, output);
        ASSERT_TRUE(options.unchangedSince.has_value());
        FileStamp stamp;
        ASSERT_TRUE(TakeFileStamp(page, stamp));
        EXPECT_TRUE(options.unchangedSince->IsUnchanged(stamp));
    }
    EXPECT_FALSE(WriteOptionsFor(page, dir.File("other.html")).unchangedSince.has_value());
    EXPECT_EQ(RunCli(dir, {"trim", "-o", "hard.html", "page.html"}).status, 0);
    EXPECT_EQ(ReadAll(page), Trimmed(page));
}

TEST(PreviewCommand, ColumnsWithTheSettingsOfTheOptionsOrTheProfile) {
    TempDir dir;
    const std::string profile = dir.Write("p.ini", "[Settings]\nMODE=2048\nFILE_FILTER_SCR=MJS\n");
    const std::string envProfile = dir.Write("env.ini", "[Settings]\nVERSION=150\nMODE=0\n");
    const std::string script = dir.Write("code.mjs", "// note\nvar a = 1;   /* more */\n");
    const std::string page = dir.Write("page.html", "<p>  a  </p>\n  <!-- c -->\n\n");
    const std::string missing = dir.File("missing.html");

    const CliOutcome first = RunCli(dir, {"preview", "--profile", profile, script, missing, page});
    EXPECT_EQ(first.status, 1);
    // Brought up to date (script options added) in memory only: the file is never written.
    EXPECT_EQ(ReadAll(profile), "[Settings]\nMODE=2048\nFILE_FILTER_SCR=MJS\n");
    const TrimMode mode = 2048u | TM_SCRIPT_OPTIONS_MASK;
    EXPECT_EQ(first.out, Line(script, mode, "MJS") + missing +
                             "\t---\t---( --%)\t----/--/-- --:--\n" + Line(page, mode, "MJS"));
    EXPECT_THAT(first.err, HasSubstr(missing + ": no such file"));
    EXPECT_THAT(first.err, Not(HasSubstr("RESULT_")));

    const std::string env = "TRIMLET_PROFILE=" + envProfile;
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string environment;
        TrimMode mode;
        const char* list;
    } cases[] = {
        {"EnvironmentProfile", {}, env, 0, "JS:VBS"},
        {"ProfileOptionWins", {"--profile=" + profile}, env, mode, "MJS"},
        {"OptionsWin",
         {"--mode=0X0", "--script-extensions", "JS", "--profile", profile},
         {},
         0,
         "JS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"preview", script, page};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliOutcome outcome = RunCli(dir, args, {.environment = c.environment});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, Line(script, c.mode, c.list) + Line(page, c.mode, c.list));
    }
}

TEST(TrimAndPreviewCommands, BadUsageExitsWithTwo) {
    TempDir dir;
    const std::string page = dir.Write("page.html", kPage);
    const struct {
        const char* name;
        std::vector<std::string> args;
    } cases[] = {
        {"NoFile", {"trim"}},
        {"TwoFiles", {"trim", page, page}},
        {"UnknownOption", {"trim", "--fast", page}},
        {"ModeWithoutValue", {"trim", page, "--mode"}},
        {"ModeWithJunk", {"trim", "--mode", "12abc", page}},
        {"NegativeMode", {"trim", "--mode", "-1", page}},
        {"ModeOver32Bits", {"trim", "--mode", "0x100000000", page}},
        {"PreviewWithoutFile", {"preview", "--mode", "1"}},
        {"PreviewBareHex", {"preview", "--mode", "0x", page}},
        {"UnknownCommand", {"frobnicate", page}},
        {"NoCommand", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome outcome = RunCli(dir, c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        // The command's usage, or all of them.
        const bool preview = !c.args.empty() && c.args[0] == "preview";
        EXPECT_THAT(outcome.err,
                    HasSubstr(preview ? "trimlet preview [OPTIONS]" : "trimlet trim [OPTIONS]"));
    }
}

TEST(TrimAndPreviewCommands, HelpAndVersion) {
    TempDir dir;
    EXPECT_EQ(RunCli(dir, {"--version"}).out, "trimlet " TRIMLET_VERSION "\n");
    EXPECT_EQ(RunCli(dir, {"-V"}).out, "trimlet " TRIMLET_VERSION "\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"trim", "--help"},
                                                 {"preview", "-h", "--bogus"},
                                                 {"help"},
                                                 {"help", "trim"}}) {
        const CliOutcome outcome = RunCli(dir, args);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_THAT(outcome.out, HasSubstr("usage:"));
        EXPECT_THAT(outcome.out, HasSubstr("OPTIONS"));
    }
}

}  // namespace
}  // namespace trimlet::test
