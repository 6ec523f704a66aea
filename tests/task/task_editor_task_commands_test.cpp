// The task commands: new, open, run, save, save as, the recent tasks and the start-up task.

#include <filesystem>
#include <functional>

#include "../filelist/editor_fixture.h"
#include "settings/profile_keys.h"
#include "task/recent_tasks.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string TaskOf(const std::vector<std::string>& paths) {
    std::string text = "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\nTrimlet\r\n";
    for (const std::string& path : paths)
        (text += path) += "\r\n";
    return text;
}

std::string ProposedName(int n) {
    return FormatMessage(MSG_PROPOSED_TASK_NAME, n);
}

class TaskCommandTest : public EditorTest {
  protected:
    // Two listed files in dir/site, changes not saved.
    void ListTwo() {
        Editor().AddDroppedFiles({Write("site/a.htm"), Write("site/b.htm")});
        ASSERT_TRUE(Editor().TaskModified());
        dialogs.ClearCalls();
    }
    // A saved task of one file, dir/saved/x.htm, at dir/saved.trh.
    std::string SavedTask() { return dir.Write("saved.trh", TaskOf({Write("saved/x.htm")})); }
};

TEST(RecentTasks, NewestFirstFourAtMostNoDuplicates) {
    MemoryProfile profile;
    for (const char* path : {"/1.trh", "/2.trh", "/3.trh", "/2.trh", "/4.trh", "/5.trh", ""})
        AddRecentTask(profile, path, PathStyle::Posix);
    EXPECT_THAT(ReadRecentTasks(profile, PathStyle::Posix),
                ElementsAre("/5.trh", "/4.trh", "/2.trh", "/3.trh"));
    EXPECT_EQ(profile.ReadString("File1", "", kRecentTasksSection), "/5.trh");
    EXPECT_EQ(profile.KeyCount(), 0u);  // nothing in "Settings"

    // Windows paths name one file whatever their case; Posix paths do not.
    AddRecentTask(profile, "C:\\A.trh", PathStyle::Windows);
    AddRecentTask(profile, "c:\\a.trh", PathStyle::Windows);
    EXPECT_THAT(ReadRecentTasks(profile, PathStyle::Windows),
                ElementsAre("c:\\a.trh", "/5.trh", "/4.trh", "/2.trh"));

    // A damaged list (a gap, a path twice) reads as what it holds.
    MemoryProfile damaged;
    damaged.WriteString("File2", "/b.trh", kRecentTasksSection);
    damaged.WriteString("File3", "/b.trh", kRecentTasksSection);
    damaged.WriteString("File4", "/c.trh", kRecentTasksSection);
    EXPECT_THAT(ReadRecentTasks(damaged, PathStyle::Posix), ElementsAre("/b.trh", "/c.trh"));
    AddRecentTask(damaged, "/c.trh", PathStyle::Posix);
    EXPECT_THAT(ReadRecentTasks(damaged, PathStyle::Posix), ElementsAre("/c.trh", "/b.trh"));
    EXPECT_FALSE(damaged.HasKey("File3", kRecentTasksSection));
}

TEST_F(TaskCommandTest, TaskModifiedFollowsTheTable) {
    const std::string task = SavedTask();
    struct Step {
        const char* name;
        std::function<void()> action;
        bool modified;
    };
    const Step steps[] = {
        {"created", [] {}, false},
        {"opened", [&] { EXPECT_TRUE(Editor().OpenTaskFile(task)); }, false},
        {"marks changed", [&] { Editor().ToggleCheck(0); }, false},
        {"file added", [&] { Editor().AddDroppedFiles({Write("y.htm")}); }, true},
        {"run",
         [&] {
             dialogs.AnswerFolderCreation({true, false});
             Editor().RunCheckedFiles();
         },
         true},
        {"saved", [&] { Editor().SaveTask(); }, false},
        {"removed",
         [&] {
             dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Ok);
             Editor().SelectAll();
             Editor().RemoveSelected();
         },
         true},
        {"new task answered No",
         [&] {
             dialogs.AnswerMessage(MSG_DISCARD_AND_NEW, MessageAnswer::No);
             Editor().NewTask();
         },
         true},
        {"new task answered Yes",
         [&] {
             dialogs.AnswerMessage(MSG_DISCARD_AND_NEW, MessageAnswer::Yes);
             Editor().NewTask();
         },
         false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.action();
        EXPECT_EQ(Editor().TaskModified(), step.modified);
    }
    EXPECT_EQ(Editor().TaskPath(), "");
    EXPECT_EQ(Editor().TaskTitle(), TXT_UNTITLED_TASK);
}

TEST_F(TaskCommandTest, NewTaskAnsweredNoKeepsEverything) {
    const std::string task = SavedTask();
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    Editor().AddDroppedFiles({Write("y.htm")});
    dialogs.AnswerMessage(MSG_DISCARD_AND_NEW, MessageAnswer::No);
    Editor().NewTask();
    EXPECT_EQ(List().RowCount(), 2u);
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_EQ(Editor().TaskTitle(), "saved.trh");
    EXPECT_EQ(dialogs.Calls().back().icon, MessageIcon::Question);

    // Unmodified, New asks nothing.
    Editor().SetTaskModified(false);
    Editor().NewTask();
    EXPECT_EQ(List().RowCount(), 0u);
    EXPECT_EQ(List().BaseFolderLabel(), "");
    EXPECT_EQ(Editor().TaskPath(), "");
}

TEST_F(TaskCommandTest, SaveAsProposesTheFirstFreeNumber) {
    struct Case {
        const char* name;
        std::vector<int> present;
        int proposed;
    };
    const Case cases[] = {
        {"None", {}, 1},
        {"OneAndTwo", {1, 2}, 3},
        {"GapCounts", {2}, 1},
        {"AllTaken", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = dir.File(c.name);
        fs::create_directories(folder);
        for (int n : c.present)
            dir.Write(std::string(c.name) + "/" + ProposedName(n), "");
        if (std::string_view(c.name) == "AllTaken") {
            for (int n = 1; n <= 255; ++n)
                fs::create_directory(folder + "/" + ProposedName(n));
        }
        EXPECT_EQ(Editor().ProposeTaskFileName(folder + "/"), ProposedName(c.proposed));
    }
}

TEST_F(TaskCommandTest, SaveAsStartsInTheSharedFolderOrTheDocumentFolder) {
    ListTwo();
    Write("site/" + ProposedName(1));
    // Save on an untitled task is Save as; the rows share dir/site.
    const std::string task = dir.File("site/mine.trh");
    dialogs.AnswerSaveTaskFile(task);
    Editor().SaveTask();
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("SaveTaskFileDialog"));
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.File("site") + "/");
    EXPECT_EQ(dialogs.Calls()[0].proposedName, ProposedName(2));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_EQ(Editor().Settings().documentFolder, dir.File("site"));
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
    EXPECT_FALSE(Editor().TaskModified());
    EXPECT_FALSE(Editor().CanSave());
    EXPECT_TRUE(Editor().CanSaveAs());

    // Rows in two folders: the document folder, looked up again when it is gone.
    Editor().AddDroppedFiles({Write("other/c.htm")});
    EXPECT_TRUE(Editor().CanSave());
    Editor().Settings().documentFolder = dir.File("gone");
    dialogs.ClearCalls();
    dialogs.AnswerSaveTaskFile(std::nullopt);
    Editor().SaveTaskAs();
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.path().string());
    EXPECT_EQ(dialogs.Calls()[0].proposedName, ProposedName(1));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_TRUE(Editor().TaskModified());

    // Save writes to the task path, and does not move the task up the recent list.
    AddRecentTask(profile, "/elsewhere.trh", PathStyle::Posix);
    Editor().SaveTask();
    EXPECT_EQ(ReadAll(task),
              TaskOf({dir.File("site/a.htm"), dir.File("site/b.htm"), dir.File("other/c.htm")}));
    EXPECT_FALSE(Editor().TaskModified());
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre("/elsewhere.trh", task));
}

TEST_F(TaskCommandTest, OpenAsksAboutChangesThenMovesTheDocumentFolder) {
    const std::string task = SavedTask();
    ListTwo();
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::No);
    Editor().OpenTaskCommand();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 18001"));  // no file dialog
    EXPECT_EQ(List().RowCount(), 2u);

    Editor().Settings().documentFolder = dir.File("gone");
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::Yes).AnswerOpenTaskFile(task);
    Editor().OpenTaskCommand();
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 18001", "OpenTaskFileDialog 15007"));
    EXPECT_EQ(dialogs.Calls()[1].folder, dir.path().string());
    EXPECT_THAT(Names(), ElementsAre("saved/x.htm"));
    EXPECT_EQ(Editor().Settings().documentFolder, dir.path().string());
    EXPECT_EQ(Editor().TaskPath(), task);

    // Run asks nothing about the list, and leaves it.
    Editor().AddDroppedFiles({Write("y.htm")});
    Editor().Settings().documentFolder = dir.File("saved");
    dialogs.ClearCalls();
    dialogs.AnswerOpenTaskFile(task);
    Editor().RunTaskCommand();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("OpenTaskFileDialog 15008", "ResultSummaryDialog"));
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.File("saved"));
    EXPECT_EQ(Editor().Settings().documentFolder, dir.path().string());
    EXPECT_TRUE(fs::exists(dir.File("saved/Trimlet/x.htm")));
    EXPECT_EQ(List().RowCount(), 2u);
    EXPECT_TRUE(Editor().TaskModified());
}

TEST_F(TaskCommandTest, RecentTasksOpenOrRunByTheRecentTaskAction) {
    const std::string task = SavedTask();
    AddRecentTask(profile, task, PathStyle::Posix);
    AddRecentTask(profile, dir.File("gone.trh"), PathStyle::Posix);
    ListTwo();

    // Run: no question, the list, the path and the changes stay.
    Editor().Settings().mruOpenAction = 1;
    Editor().OpenRecentTask(1);
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("ResultSummaryDialog"));
    EXPECT_THAT(Names(), ElementsAre("site/a.htm", "site/b.htm"));
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_EQ(Editor().TaskPath(), "");
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task, dir.File("gone.trh")));

    // Open: asks about the changes first; a vanished task stays in the list.
    Editor().Settings().mruOpenAction = 0;
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::No);
    Editor().OpenRecentTask(0);
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 18001"));
    EXPECT_EQ(List().RowCount(), 2u);

    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::Yes);
    Editor().OpenRecentTask(1);
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_DISCARD_AND_OPEN, MSG_OPEN_FAILED));
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task, dir.File("gone.trh")));

    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::Yes);
    Editor().OpenRecentTask(0);
    EXPECT_THAT(Names(), ElementsAre("saved/x.htm"));
    EXPECT_FALSE(Editor().TaskModified());
    Editor().OpenRecentTask(7);  // no such entry: nothing
    EXPECT_EQ(dialogs.Calls().size(), 1u);
}

TEST_F(TaskCommandTest, StartUpTaskIsAlwaysOpened) {
    const std::string task = SavedTask();
    WriteMruOpenAction(profile, 1);
    Make();
    Editor().SetTaskModified(true);
    EXPECT_TRUE(Editor().InitialUpdate(task));
    EXPECT_THAT(Names(), ElementsAre("saved/x.htm"));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_FALSE(Editor().TaskModified());

    Make();
    Editor().SetTaskModified(true);
    EXPECT_TRUE(Editor().InitialUpdate(""));
    EXPECT_FALSE(Editor().TaskModified());
    EXPECT_THAT(dialogs.Sequence(), IsEmpty());
}

}  // namespace
}  // namespace trimlet::test
