// The run of the checked rows.

#include <filesystem>

#include "editor_fixture.h"
#include "settings/profile_keys.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;

class RunTest : public EditorTest {
  protected:
    // first/a.htm, then site/b.htm ... site/e.htm, all listed; b unchecked; c's output
    // exists already; d vanished after it was listed.
    void ListFiles() {
        Drop({"first/a.htm", "site/b.htm", "site/c.htm", "site/d.htm", "site/e.htm"});
        Write("site/Trimlet/c.htm", "old");
        Editor().ToggleCheck(1);
        fs::remove(dir.File("site/d.htm"));
        Write("site/b.htm", "<p>changed</p>");
        dialogs.ClearCalls();
    }
};

TEST_F(RunTest, TrimsCheckedRowsSkipsAndFailsOthersAndShowsTheSummary) {
    ListFiles();
    const std::vector<std::string> uncheckedTexts = SizeTexts(1);
    const std::vector<std::string> skippedTexts = SizeTexts(2);

    dialogs.AnswerFolderCreation({true, true})
        .AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP})
        .AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok);
    Editor().RunCheckedFiles();

    EXPECT_THAT(dialogs.Sequence(), ElementsAre("FolderCreationDialog", "OutputExistsDialog",
                                                "message 20000", "ResultSummaryDialog"));
    // Ticking "create automatically" holds for later runs too.
    EXPECT_FALSE(Editor().Settings().alertCreateOutputFolder);
    EXPECT_FALSE(ReadAlertCreateOutputFolder(profile));
    // "以後すべて" counts rows, not checked rows.
    EXPECT_TRUE(dialogs.Calls()[1].outputExists.forAllEnabled);

    EXPECT_THAT(Summary(), ElementsAre(2, 2, 16, 16));
    // Trimmed rows lose their check mark; skipped and failed ones keep it.
    EXPECT_THAT(Images(),
                ElementsAre(ImageHtml, ImageHtml, ImageHtmlChecked, ImageHtmlChecked, ImageHtml));
    EXPECT_EQ(ReadAll(dir.File("first/Trimlet/a.htm")), kPlainHtml);
    EXPECT_EQ(ReadAll(dir.File("site/Trimlet/e.htm")), kPlainHtml);
    EXPECT_EQ(ReadAll(dir.File("site/Trimlet/c.htm")), "old");
    EXPECT_THAT(SizeTexts(0), ElementsAre("8", "8(100%)", TimeText(dir.File("first/a.htm"))));
    EXPECT_EQ(SizeTexts(1), uncheckedTexts);
    EXPECT_EQ(SizeTexts(2), skippedTexts);
    EXPECT_EQ(SizeTexts(3), kPlaceholders);

    // The summary names the files not trimmed, each with its reason, in run order.
    const RunSummary& summary = dialogs.Calls().back().summary;
    ASSERT_EQ(summary.skippedFiles.size(), 2u);
    EXPECT_EQ(summary.skippedFiles[0].path, dir.File("site/c.htm"));
    EXPECT_EQ(summary.skippedFiles[0].result, RESULT_SKIPPED);
    EXPECT_EQ(summary.skippedFiles[1].path, dir.File("site/d.htm"));
    EXPECT_EQ(summary.skippedFiles[1].result, RESULT_NOT_FOUND);
    EXPECT_EQ(SkippedFilesText(summary.skippedFiles),
              dir.File("site/c.htm") + "\t" + TXT_SKIP_REASON_CHOSEN.Get() + "\n" +
                  dir.File("site/d.htm") + "\t" + TXT_SKIP_REASON_NOT_FOUND.Get() + "\n");
}

TEST_F(RunTest, CancelStopsWithoutSummaryAndKeepsWhatWasDone) {
    ListFiles();
    dialogs.AnswerFolderCreation({true, false})
        .AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP})
        .AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    Editor().RunCheckedFiles();

    EXPECT_THAT(dialogs.Sequence(), ElementsAre("FolderCreationDialog", "OutputExistsDialog",
                                                "message 20000", "message 15004"));
    EXPECT_TRUE(Editor().Settings().alertCreateOutputFolder);
    EXPECT_THAT(Images(), ElementsAre(ImageHtml, ImageHtml, ImageHtmlChecked, ImageHtmlChecked,
                                      ImageHtmlChecked));
    EXPECT_FALSE(fs::exists(dir.File("site/Trimlet/e.htm")));
    EXPECT_TRUE(Editor().CanRun());
}

TEST_F(RunTest, SingleRowDisablesForAllAndOverwriteRefreshesFromTheTrimmedFile) {
    Drop({"page.htm"});
    const std::string page = dir.File("page.htm");
    Editor().Settings().outputFolderName = "";
    Write("page.htm", "<p>b</p>\n");

    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE});
    Editor().RunCheckedFiles();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("OutputExistsDialog", "ResultSummaryDialog"));
    EXPECT_FALSE(dialogs.Calls()[0].outputExists.forAllEnabled);
    // Written over itself: the row now shows the trimmed file.
    const std::uint64_t size = fs::file_size(page);
    EXPECT_EQ(List().Text(0, 1), std::to_string(size));
    EXPECT_EQ(Summary()[3], size);
    EXPECT_THAT(Images(), ElementsAre(ImageHtml));
}

// A damaged trim mode (-1 in a task whose settings were taken) has bits in the places of the
// run choices: they must not answer the output-exists question by themselves.
TEST_F(RunTest, StrayRunBitsInTheTrimModeChooseNothing) {
    Drop({"page.htm"});
    Write("Trimlet/page.htm", "old");
    Editor().Settings().trimMode = 0xFFFFFFFF;
    Editor().Settings().alertCreateOutputFolder = false;
    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP});
    Editor().RunCheckedFiles();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("OutputExistsDialog", "ResultSummaryDialog"));
    EXPECT_FALSE(dialogs.Calls()[0].outputExists.forAllEnabled);
    EXPECT_EQ(ReadAll(dir.File("Trimlet/page.htm")), "old");
}

// With verifying on (the profile's option), a result the check rejects is not written: its
// row keeps its check mark and its sizes, warns with where it differs, and the summary lists
// it with that reason. The command line's choice wins over the option; a later run that
// writes the file takes the warning away.
TEST_F(RunTest, AResultTheCheckRejectsIsNotWrittenAndItsRowWarns) {
    WriteVerifyTrimResults(profile, true);
    Make();
    Editor().Settings().trimMode = kModeTheCheckRejects;
    Drop({"good.htm"});
    const std::string bad = Write("bad.htm", kPageTheCheckRejects);
    Editor().AddDroppedFiles({bad});
    const std::size_t badRow = *List().FindRow(bad);
    const std::size_t goodRow = *List().FindRow(dir.File("good.htm"));
    const std::vector<std::string> badTexts = SizeTexts(badRow);
    Editor().Settings().alertCreateOutputFolder = false;
    dialogs.ClearCalls();

    dialogs.AnswerMessage(MSG_TRIM_NOT_EQUIVALENT, MessageAnswer::Ok);
    Editor().RunCheckedFiles();
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 20049", "ResultSummaryDialog"))
        << "the check must still reject the page";
    const std::string warning = List().Warning(badRow);
    ASSERT_FALSE(warning.empty());
    EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(MSG_TRIM_NOT_EQUIVALENT, bad, warning));
    EXPECT_EQ(List().Warning(goodRow), "");
    EXPECT_FALSE(fs::exists(dir.File("Trimlet/bad.htm")));
    EXPECT_EQ(ReadAll(dir.File("Trimlet/good.htm")), kPlainHtml);
    EXPECT_EQ(List().Image(badRow), ImageHtmlChecked);
    EXPECT_EQ(List().Image(goodRow), ImageHtml);
    EXPECT_EQ(SizeTexts(badRow), badTexts) << "the file is as the row shows it";

    EXPECT_THAT(Summary(), ElementsAre(1, 1, 8, 8));
    const RunSummary& summary = dialogs.Calls().back().summary;
    ASSERT_EQ(summary.skippedFiles.size(), 1u);
    EXPECT_EQ(summary.skippedFiles[0].path, bad);
    EXPECT_EQ(summary.skippedFiles[0].result, RESULT_NOT_EQUIVALENT);
    EXPECT_EQ(summary.skippedFiles[0].detail, warning);
    EXPECT_NE(SkippedFilesText(summary.skippedFiles).find(warning.substr(0, 20)),
              std::string::npos);

    // Off by the command line's choice though the option is on: written, the warning gone.
    Editor().SetVerifyResults(false);
    dialogs.ClearCalls();
    Editor().RunCheckedFiles();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("ResultSummaryDialog"));
    EXPECT_TRUE(fs::exists(dir.File("Trimlet/bad.htm")));
    EXPECT_EQ(List().Warning(badRow), "");
    EXPECT_EQ(List().Image(badRow), ImageHtml);
}

// Earlier versions kept any name: one the options now refuse writes nothing.
TEST_F(RunTest, AStoredOutputFolderNameTheOptionsRefuseRunsNothing) {
    WriteOutputFolderName(profile, "..");
    Make();
    Drop({"site/a.htm"});
    Editor().Settings().alertCreateOutputFolder = false;
    Editor().RunCheckedFiles();
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_FOLDER_NAME_REFUSED_POSIX));
    EXPECT_FALSE(fs::exists(dir.File("a.htm")));
}

}  // namespace
}  // namespace trimlet::test
