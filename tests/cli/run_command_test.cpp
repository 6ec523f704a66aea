// Runs "trimlet run" on task files in a temporary folder: its summary, its safe answers
// without a terminal, --overwrite, and its exit status.

#include <gmock/gmock.h>

#include "batch/format.h"
#include "cli_runner.h"
#include "common/messages.h"
#include "text/trim_file.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::string_view kPage = "<p>  a  </p>\n\n\n<!-- note -->\n";
constexpr std::string_view kScript = "var a = 1;   // note\n";

std::string TaskText(std::string_view version, const std::vector<std::string>& paths) {
    std::string text =
        "TrimletHTML TASK FILE\r\n" + std::string(version) + "\r\n260143148\r\nTrimlet\r\n";
    for (const std::string& path : paths)
        (text += path) += "\r\n";
    return text;
}

std::string Trimmed(const std::string& path) {
    std::string out;
    std::uint64_t source = 0, trimmed = 0;
    EXPECT_RESULT(TrimFile(path, kDefaultTrimMode, "JS:VBS", out, source, trimmed), RESULT_OK);
    return out;
}

// The summary as the command prints it.
std::string Summary(std::uint32_t succeeded, std::uint32_t skipped, std::uint64_t source,
                    std::uint64_t trimmed) {
    const SummaryTexts t = FormatSummary(ResultSummary{succeeded, skipped, source, trimmed});
    return std::string(TXT_SUMMARY_HEADING) + "\n" + TXT_SUMMARY_SUCCEEDED + t.successText + "\n" +
           TXT_SUMMARY_SKIPPED + t.skipText + " " + TXT_SUMMARY_SKIPPED_NOTE + "\n" +
           TXT_SUMMARY_SOURCE_TOTAL + t.sourceText + "\n" + TXT_SUMMARY_TRIMMED_TOTAL +
           t.trimmedText + "\n" + TXT_SUMMARY_RATE + t.rateText + "\n";
}

class RunCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        profile = dir.Write("p.ini", "[Settings]\nVERSION=150\nFILE_OVERWRITE_METHOD=1\n");
        page = dir.Write("site/index.html", kPage);
        script = dir.Write("site/menu.js", kScript);
        outPage = dir.File("site/Trimlet/index.html");
        outScript = dir.File("site/Trimlet/menu.js");
    }
    CliOutcome Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"run", "--profile", profile});
        return RunCliIn(dir, args);
    }

    TempDir dir;
    std::string profile, page, script, outPage, outScript;
};

TEST_F(RunCommandTest, CreatedTaskRunsAndPrintsTheSummary) {
    // Relative paths become absolute in the task file.
    CliOutcome created = RunCliIn(dir, {"task", "create", "--profile", profile, "site.trh",
                                        "site/index.html", "./site/menu.js"});
    ASSERT_EQ(created.status, 0) << created.err;
    EXPECT_EQ(ReadAll(dir.File("site.trh")), TaskText("1.50.00", {page, script}));

    CliOutcome run = Run({"site.trh"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string trimmedPage = Trimmed(page);
    const std::string trimmedScript = Trimmed(script);
    EXPECT_EQ(ReadAll(outPage), trimmedPage);
    EXPECT_EQ(ReadAll(outScript), trimmedScript);
    EXPECT_EQ(run.out, Summary(2, 0, kPage.size() + kScript.size(),
                               trimmedPage.size() + trimmedScript.size()));
    EXPECT_EQ(run.err, "");  // the missing folder was made without a question
    EXPECT_THAT(ReadAll(profile),
                HasSubstr("[Recent%20File%20List]\nFile1=" + dir.File("site.trh")));
}

TEST_F(RunCommandTest, ExistingOutputsTakeTheSafeAnswerOrTheOverwriteOption) {
    const std::string task = dir.Write("t.trh", TaskText("1.50.00", {page, script}));
    dir.Write("site/Trimlet/index.html", "old page");
    dir.Write("site/Trimlet/menu.js", "old script");

    // No terminal: the preselected choice (skip, from the profile) for every file.
    CliOutcome skipped = Run({task});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.out, Summary(0, 2, 0, 0));
    EXPECT_THAT(skipped.err, HasSubstr(TXT_OUTPUT_EXISTS_TITLE));
    EXPECT_THAT(skipped.err, HasSubstr(std::string("(answer: ") + TXT_OUTPUT_EXISTS_SKIP + ", " +
                                       TXT_OUTPUT_EXISTS_FOR_ALL + ")"));
    EXPECT_EQ(ReadAll(outPage), "old page");

    CliOutcome overwritten = Run({"--overwrite=all", task});
    EXPECT_EQ(overwritten.status, 0) << overwritten.err;
    EXPECT_EQ(ReadAll(outPage), Trimmed(page));
    EXPECT_EQ(ReadAll(outScript), Trimmed(script));
    // The option answered, so the preselection stays the user's.
    EXPECT_THAT(ReadAll(profile), HasSubstr("FILE_OVERWRITE_METHOD=1"));
}

TEST_F(RunCommandTest, FailuresAndStopsExitWithOne) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;  // its first line is shown
        bool summary;
    };
    const Case cases[] = {
        {"MissingFileSkipped", TaskText("1.50.00", {dir.File("gone.html"), page}),
         FormatMessage(MSG_FILE_NOT_FOUND, dir.File("gone.html")), true},
        {"NotATaskFile", "TrimletHTML TASK FILE \r\n", FormatMessage(MSG_NOT_TASK_FILE), false},
        {"NewerVersionDeclined", TaskText("1.60.00", {page}),
         FormatMessage(MSG_NEWER_TASK_VERSION, "1.60.00"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string task = dir.Write("t.trh", c.bytes);
        CliOutcome outcome = Run({"--yes", task});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_THAT(outcome.err, HasSubstr(c.message.substr(0, c.message.find('\n'))));
        if (c.summary) {
            EXPECT_EQ(outcome.out, Summary(1, 1, kPage.size(), Trimmed(page).size()));
        } else {
            EXPECT_EQ(outcome.out, "");
        }
    }
    EXPECT_EQ(Run({dir.File("none.trh")}).status, 1);
}

TEST_F(RunCommandTest, BadUsageExitsWithTwo) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"a.trh", "b.trh"},
                                                 {"--overwrite=maybe", "a.trh"},
                                                 {"a.trh", "--overwrite"},
                                                 {"--force", "a.trh"}}) {
        CliOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_THAT(outcome.err, HasSubstr("usage: trimlet run"));
    }
    CliOutcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("--overwrite"));
    EXPECT_THAT(help.out, Not(HasSubstr("trimlet trim")));
}

}  // namespace
}  // namespace trimlet::test
