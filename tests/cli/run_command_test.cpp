// Runs "trimlet task create" and "trimlet run" in a temporary folder: the summary, the safe
// answers without a terminal, --overwrite, and the exit status.

#include <gmock/gmock.h>

#include "batch/format.h"
#include "cli_runner.h"
#include "common/messages.h"
#include "text/trim_file.h"

namespace trimlet::test {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view kPage = "<p>  a  </p>\n\n\n<!-- note -->\n";
constexpr std::string_view kScript = "var a = 1;   // note\n";

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
    CliOutcome Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"run", "--profile", profile});
        return RunCliIn(dir, args);
    }
    TempDir dir;
    std::string profile = dir.Write("p.ini", "[Settings]\nVERSION=150\nFILE_OVERWRITE_METHOD=1\n");
    std::string page = dir.Write("site/index.html", kPage);
    std::string script = dir.Write("site/menu.js", kScript);
    std::string outPage = dir.File("site/Trimlet/index.html");
};

TEST_F(RunCommandTest, CreatedTaskRunsThenExistingOutputsTakeTheSafeAnswer) {
    CliOutcome created = RunCliIn(
        dir, {"task", "create", "--profile", profile, "site.trh", "site/index.html", script});
    ASSERT_EQ(created.status, 0) << created.err;

    CliOutcome run = Run({"site.trh"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string trimmedPage = Trimmed(page), trimmedScript = Trimmed(script);
    EXPECT_EQ(ReadAll(outPage), trimmedPage);
    EXPECT_EQ(ReadAll(dir.File("site/Trimlet/menu.js")), trimmedScript);
    EXPECT_EQ(run.out, Summary(2, 0, kPage.size() + kScript.size(),
                               trimmedPage.size() + trimmedScript.size()));
    EXPECT_EQ(run.err, "");  // the missing folder is made without a question
    EXPECT_THAT(ReadAll(profile),
                HasSubstr("[Recent%20File%20List]\nFile1=" + dir.File("site.trh")));

    // No terminal: the preselected choice (skip) for every file; a skip is no failure.
    dir.Write("site/Trimlet/index.html", "old");
    CliOutcome skipped = Run({"site.trh"});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.out, Summary(0, 2, 0, 0));
    EXPECT_THAT(skipped.err, HasSubstr(std::string("(answer: ") + TXT_OUTPUT_EXISTS_SKIP + ", " +
                                       TXT_OUTPUT_EXISTS_FOR_ALL + ")"));
    EXPECT_EQ(ReadAll(outPage), "old");

    CliOutcome overwritten = Run({"--overwrite=all", "site.trh"});
    EXPECT_EQ(overwritten.status, 0) << overwritten.err;
    EXPECT_EQ(ReadAll(outPage), trimmedPage);
    EXPECT_THAT(ReadAll(profile), HasSubstr("FILE_OVERWRITE_METHOD=1"));  // still the user's
}

TEST_F(RunCommandTest, FailuresExitWithOneBadUsageWithTwo) {
    const std::string header = "TrimletHTML TASK FILE\r\n1.50.00\r\n0\r\nout\r\n";
    const struct {
        const char* name;
        std::string bytes;
        std::string message;  // its first line is shown on standard error
        bool summary;
    } cases[] = {
        {"MissingFileSkipped", header + dir.File("gone.html") + "\r\n" + page + "\r\n",
         FormatMessage(MSG_FILE_NOT_FOUND, dir.File("gone.html")), true},
        {"NotATaskFile", "TrimletHTML TASK FILE \r\n", FormatMessage(MSG_NOT_TASK_FILE), false},
        {"NewerVersionDeclined", "TrimletHTML TASK FILE\r\n1.60.00\r\n0\r\nout\r\n",
         FormatMessage(MSG_NEWER_TASK_VERSION, "1.60.00"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CliOutcome outcome = Run({"--yes", dir.Write("t.trh", c.bytes)});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_THAT(outcome.err, HasSubstr(c.message.substr(0, c.message.find('\n'))));
        EXPECT_EQ(outcome.out.empty(), !c.summary);
    }
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"a.trh", "b.trh"},
                                                 {"--overwrite=maybe", "a.trh"},
                                                 {"a.trh", "--overwrite"},
                                                 {"--force", "a.trh"}}) {
        CliOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_THAT(outcome.err, HasSubstr("usage: trimlet run"));
    }
}

}  // namespace
}  // namespace trimlet::test
