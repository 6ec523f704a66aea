// The check before a run writes a result: a result that is not the same document is not
// written and is told under its own message; one too large to check is written after a
// notice.

#include <filesystem>
#include <string>
#include <vector>

#include "batch/run_files.h"
#include "batch/run_step.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::kModeTheCheckRejects;
using test::kPageTheCheckRejects;
using test::ReadAll;
using test::TempDir;

constexpr std::string_view kPage = "<html>\n  <body>\n    <p>  a  </p>\n</html>\n";

class RunVerify : public testing::Test {
  protected:
    // Runs the step with a check that answers `status` (and "where" as the difference).
    Result Run(VerifyStatus status) {
        ctx.verifyTrimmed = [this, status](const std::string& path, std::string_view trimmed,
                                           TrimMode mode, Verdict& verdict) {
            checkedPath = path;
            checkedBytes = trimmed;
            checkedMode = mode;
            verdict.status = status;
            verdict.difference = status == VerifyStatus::Differs ? "where" : "";
            return RESULT_OK;
        };
        return TrimFileToOutput(ctx, input, "Trimlet", sourceSize, trimmedSize, flags);
    }

    TempDir dir;
    std::string input = dir.Write("p.html", kPage);
    std::string output = dir.File("Trimlet/p.html");
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    RunContext ctx{dialogs, profile, "JS:VBS"};
    std::uint64_t sourceSize = 0, trimmedSize = 0;
    std::uint32_t flags = kDefaultTrimMode;
    std::string checkedPath, checkedBytes;
    TrimMode checkedMode = 0;
};

TEST_F(RunVerify, ADifferingResultIsNotWrittenAndToldUnderItsOwnMessage) {
    struct Case {
        const char* name;
        MessageAnswer answer;
        Result expected;
    };
    for (const Case& c : {Case{"Ok skips the file", MessageAnswer::Ok, RESULT_NOT_EQUIVALENT},
                          Case{"Cancel stops", MessageAnswer::Cancel, RESULT_STOPPED}}) {
        SCOPED_TRACE(c.name);
        dialogs.ClearCalls();
        dialogs.AnswerMessage(MSG_TRIM_NOT_EQUIVALENT, c.answer);
        EXPECT_RESULT(Run(VerifyStatus::Differs), c.expected);
        EXPECT_FALSE(std::filesystem::exists(output)) << "nothing is written";
        ASSERT_EQ(dialogs.Calls().size(), 1u);
        EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(MSG_TRIM_NOT_EQUIVALENT, input, "where"));
        EXPECT_EQ(checkedPath, input);
        EXPECT_EQ(checkedMode, kDefaultTrimMode) << "the run bits are not the check's";
        EXPECT_LT(checkedBytes.size(), kPage.size()) << "the check sees the trimmed bytes";
    }
}

TEST_F(RunVerify, SameAndUncheckedResultsAreWritten) {
    EXPECT_RESULT(Run(VerifyStatus::Same), RESULT_OK);
    EXPECT_TRUE(dialogs.Calls().empty());
    EXPECT_EQ(ReadAll(output), checkedBytes);

    std::filesystem::remove(output);
    dialogs.AnswerMessage(MSG_VERIFY_SKIPPED_LARGE, MessageAnswer::Ok);
    EXPECT_RESULT(Run(VerifyStatus::Skipped), RESULT_OK);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(MSG_VERIFY_SKIPPED_LARGE, input));
    EXPECT_EQ(ReadAll(output), checkedBytes);
}

TEST(RunFilesVerify, TheRealCheckPassesATrimAndCountsADifferenceAsFailed) {
    TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    const std::string good = dir.Write("good.html", kPage);
    const std::string bad = dir.Write("bad.html", kPageTheCheckRejects);
    RunRequest request;
    request.runFlags = kModeTheCheckRejects;
    request.scriptExtensions = "JS:VBS";
    request.outputFolderName = "out";
    request.verify = true;
    std::vector<RunFile> files{{0, good}, {1, bad}};
    std::size_t next = 0;
    RunTally tally;
    dialogs.AnswerMessage(MSG_TRIM_NOT_EQUIVALENT, MessageAnswer::Ok);
    const RunEnd end = RunFiles(
        dialogs, profile, request,
        [&]() -> std::optional<RunFile> {
            if (next == files.size()) return std::nullopt;
            return files[next++];
        },
        nullptr, nullptr, tally);
    EXPECT_EQ(end, RunEnd::Finished);
    EXPECT_EQ(tally.summary.succeededCount, 1u);
    EXPECT_EQ(tally.failedCount, 1u);
    EXPECT_FALSE(ReadAll(dir.File("out/good.html")).empty()) << "the good page was written";
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/bad.html")));
    ASSERT_EQ(dialogs.MessageIds(), std::vector<int>{MSG_TRIM_NOT_EQUIVALENT});
}

}  // namespace
}  // namespace trimlet
