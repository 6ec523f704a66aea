// Long work reports after every file and stops between files when asked.

#include "editor_fixture.h"

namespace trimlet::test {
namespace {

// Asks to stop at its `stopAfter`-th report; records what it was told and whether
// the editor allowed commands while the work ran.
class StoppingProgress final : public WorkProgress {
  public:
    StoppingProgress(TaskEditor& editor, std::size_t stopAfter)
        : editor_(editor), stopAfter_(stopAfter) {}

    void WorkBegins(std::size_t total) override { log.push_back("begin " + std::to_string(total)); }
    bool FileDone(std::size_t done, std::size_t total) override {
        log.push_back(std::to_string(done) + "/" + std::to_string(total));
        busySeen = busySeen && editor_.Busy();
        for (int command : {CMD_RUN, CMD_ADD_FOLDER_FILES, CMD_CLEAR, CMD_OPEN_TASK, CMD_OPTIONS})
            commandEnabledDuringWork |= editor_.IsCommandEnabled(command, true);
        helpEnabledDuringWork &= editor_.IsCommandEnabled(CMD_HELP_CONTENTS, false);
        return ++calls_ >= stopAfter_;
    }
    void WorkEnds() override { log.push_back("end"); }

    std::vector<std::string> log;
    bool busySeen = true;
    bool commandEnabledDuringWork = false;
    bool helpEnabledDuringWork = true;

  private:
    TaskEditor& editor_;
    std::size_t stopAfter_;
    std::size_t calls_ = 0;
};

class WorkTest : public EditorTest {};

TEST_F(WorkTest, RunStopsAfterTheCurrentFileAndShowsTheSummarySoFar) {
    Drop({"a.htm", "b.htm", "c.htm"});
    dialogs.ClearCalls();
    StoppingProgress progress(Editor(), 2);
    Editor().SetWorkProgress(&progress);
    dialogs.AnswerFolderCreation({true, true});

    Editor().RunCheckedFiles();

    EXPECT_THAT(progress.log, ElementsAre("begin 3", "1/3", "2/3", "end"));
    EXPECT_THAT(Shown(),
                ElementsAre("FolderCreationDialog", Msg(MSG_STOPPED), "ResultSummaryDialog"));
    EXPECT_THAT(Summary(), ElementsAre(2, 0, 16, 16));
    EXPECT_THAT(Images(), ElementsAre(ImageHtml, ImageHtml, ImageHtmlChecked));
    EXPECT_FALSE(std::filesystem::exists(dir.File("Trimlet/c.htm")));
    EXPECT_TRUE(progress.busySeen);
    EXPECT_FALSE(progress.commandEnabledDuringWork);
    EXPECT_TRUE(progress.helpEnabledDuringWork);
    EXPECT_FALSE(Editor().Busy());
    EXPECT_TRUE(Editor().IsCommandEnabled(CMD_RUN, false));
}

TEST_F(WorkTest, TaskRunShowsProgressAndStopsAfterTheCurrentFileLikeRun) {
    const std::string task =
        dir.Write("t.trh", TaskText({Write("a.htm"), Write("b.htm"), Write("c.htm")}));
    StoppingProgress progress(Editor(), 2);
    Editor().SetWorkProgress(&progress);

    const TaskRunReport report = Editor().RunTaskFile(task);

    EXPECT_THAT(progress.log, ElementsAre("begin 3", "1/3", "2/3", "end"));
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_STOPPED), "ResultSummaryDialog"));
    EXPECT_TRUE(report.ran);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.summary.succeededCount, 2u);
    EXPECT_TRUE(std::filesystem::exists(dir.File("Trimlet/b.htm")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("Trimlet/c.htm")));
    EXPECT_FALSE(progress.commandEnabledDuringWork);
    EXPECT_FALSE(Editor().Busy());
}

TEST_F(WorkTest, DroppedFolderStopsBetweenFilesAndTheRestOfTheDropIsNotAdded) {
    for (std::string_view name : {"site/a.htm", "site/b.htm", "site/c.htm", "site/d.htm"})
        Write(name);
    const std::string later = Write("later.htm");
    StoppingProgress progress(Editor(), 1);
    Editor().SetWorkProgress(&progress);

    Editor().AddDroppedFiles({Folder("site"), later});

    // The folder's files count as part of the drop's first path.
    EXPECT_THAT(progress.log, ElementsAre("begin 2", "0/2", "end"));
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_STOPPED)));
    EXPECT_THAT(Names(), ElementsAre("site/a.htm"));
    EXPECT_FALSE(Editor().Busy());
}

TEST_F(WorkTest, ChosenFolderStopsAndReportsWhatWasAdded) {
    for (std::string_view name : {"site/a.htm", "site/b.htm", "site/c.htm"})
        Write(name);
    StoppingProgress progress(Editor(), 2);
    Editor().SetWorkProgress(&progress);

    Editor().AddChosenFolder(Folder("site"));

    EXPECT_THAT(progress.log, ElementsAre("begin 3", "1/3", "2/3", "end"));
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_STOPPED), Msg(MSG_FILES_ADDED, 2)));
    EXPECT_EQ(List().RowCount(), 2u);
}

TEST_F(WorkTest, RefreshOfEveryRowStops) {
    Drop({"a.htm", "b.htm", "c.htm"});
    dialogs.ClearCalls();
    StoppingProgress progress(Editor(), 1);
    Editor().SetWorkProgress(&progress);

    Editor().RefreshAll();

    EXPECT_THAT(progress.log, ElementsAre("begin 3", "1/3", "end"));
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_STOPPED)));
}

}  // namespace
}  // namespace trimlet::test
