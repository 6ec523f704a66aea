// The task commands: new, open, run, save, save as, and the recent tasks.

#include <filesystem>

#include "editor_fixture.h"
#include "settings/profile_keys.h"
#include "task/recent_tasks.h"

namespace trimlet::test {
namespace {

std::string ProposedName(int n) {
    return FormatMessage(MSG_PROPOSED_TASK_NAME, n);
}

class TaskCommandTest : public EditorTest {
  protected:
    // A saved task of one file, dir/saved/x.htm, at dir/saved.trh.
    std::string SavedTask() { return dir.Write("saved.trh", TaskText({Write("saved/x.htm")})); }
};

TEST(RecentTasks, NewestFirstFourAtMostNoDuplicates) {
    MemoryProfile profile;
    for (const char* path : {"/1.trh", "/2.trh", "/3.trh", "/2.trh", "/4.trh", "/5.trh", ""})
        AddRecentTask(profile, path, PathStyle::Posix);
    EXPECT_THAT(ReadRecentTasks(profile, PathStyle::Posix),
                ElementsAre("/5.trh", "/4.trh", "/2.trh", "/3.trh"));
    EXPECT_EQ(profile.ReadString("File1", "", kRecentTasksSection), "/5.trh");
    EXPECT_EQ(profile.KeyCount(), 0u);  // nothing in "Settings"
}

TEST_F(TaskCommandTest, TheQuestionBeforeDiscardingOffersToSave) {
    struct Case {
        const char* name;
        MessageAnswer answer;
        std::optional<std::string> saveAs;  // the save dialog's answer, when it shows
        bool mayDiscard;
        bool saved;
    };
    const Case cases[] = {
        {"save", MessageAnswer::Yes, "saved.trh", true, true},
        {"save, then cancel the file", MessageAnswer::Yes, std::nullopt, false, false},
        {"don't save", MessageAnswer::No, {}, true, false},
        {"cancel", MessageAnswer::Cancel, {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir place;
        TaskEditor editor(dialogs, profile, PathStyle::Posix);
        ASSERT_EQ(editor.AddFileByPath(place.Write("a.htm", "<p>a</p>"), 0), RESULT_OK);
        ASSERT_TRUE(editor.TaskModified());
        dialogs.AnswerMessage(MSG_DISCARD_AND_EXIT, c.answer);
        if (c.answer == MessageAnswer::Yes)
            dialogs.AnswerSaveTaskFile(c.saveAs ? std::optional(place.File(*c.saveAs))
                                                : std::nullopt);
        EXPECT_EQ(editor.MayDiscardTask(MSG_DISCARD_AND_EXIT), c.mayDiscard);
        EXPECT_EQ(std::filesystem::exists(place.File("saved.trh")), c.saved);
        EXPECT_EQ(editor.TaskModified(), !c.saved);
        EXPECT_EQ(dialogs.Calls().front().buttons, MessageButtons::YesNoCancel);
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        dialogs.ClearCalls();
        // Nothing is asked about a task without changes.
        editor.SetTaskModified(false);
        EXPECT_TRUE(editor.MayDiscardTask(MSG_DISCARD_AND_EXIT));
        EXPECT_TRUE(dialogs.Calls().empty());
    }
}

TEST_F(TaskCommandTest, TaskModifiedFollowsWhatChangesTheTask) {
    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::Yes)
        .AnswerMessage(MSG_DISCARD_AND_NEW, MessageAnswer::Cancel)
        .AnswerMessage(MSG_DISCARD_AND_NEW, MessageAnswer::No);
    EXPECT_TRUE(Editor().OpenTaskFile(SavedTask()));
    EXPECT_FALSE(Editor().TaskModified()) << "opened";
    Editor().ToggleCheck(0);
    EXPECT_FALSE(Editor().TaskModified()) << "marks changed";
    Drop({"y.htm"});
    EXPECT_TRUE(Editor().TaskModified()) << "file added";
    Editor().SaveTask();
    EXPECT_FALSE(Editor().TaskModified()) << "saved";
    Editor().Clear();
    EXPECT_TRUE(Editor().TaskModified()) << "cleared";
    Editor().NewTask();
    EXPECT_TRUE(Editor().TaskModified()) << "new task cancelled";
    Editor().NewTask();
    EXPECT_FALSE(Editor().TaskModified()) << "new task without saving";
    EXPECT_EQ(Editor().TaskTitle(), TXT_UNTITLED_TASK.Get());
}

TEST_F(TaskCommandTest, SaveAsProposesTheFirstFreeNumber) {
    const struct {
        const char* folder;
        std::vector<int> present;
        int proposed;
    } cases[] = {{"none", {}, 1}, {"oneAndTwo", {1, 2}, 3}, {"gap", {2}, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        std::filesystem::create_directory(dir.File(c.folder));
        for (int n : c.present)
            Write(std::string(c.folder) + "/" + ProposedName(n));
        EXPECT_EQ(Editor().ProposeTaskFileName(dir.File(c.folder) + "/"), ProposedName(c.proposed));
    }
}

TEST_F(TaskCommandTest, SaveAsStartsInTheSharedFolderThenSaveIsDisabled) {
    Drop({"site/b.htm", "site/a.htm"});
    Write("site/" + ProposedName(1));
    const std::string task = dir.File("site/mine.trh");
    dialogs.AnswerSaveTaskFile(task);
    Editor().SaveTask();  // untitled: Save as
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("SaveTaskFileDialog"));
    EXPECT_EQ(dialogs.Calls()[0].folder, dir.File("site") + "/");
    EXPECT_EQ(dialogs.Calls()[0].proposedName, ProposedName(2));
    EXPECT_EQ(ReadAll(task), TaskText({dir.File("site/a.htm"), dir.File("site/b.htm")}));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_EQ(Editor().Settings().documentFolder, dir.File("site"));
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
    EXPECT_FALSE(Editor().CanSave());
    EXPECT_TRUE(Editor().CanSaveAs());

    // Rows in two folders: the document folder, found again when it is gone.
    Drop({"other/c.htm"});
    Editor().Settings().documentFolder = dir.File("gone");
    dialogs.AnswerSaveTaskFile(std::nullopt);
    Editor().SaveTaskAs();
    EXPECT_EQ(dialogs.Calls()[1].folder, dir.path().string());
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_TRUE(Editor().CanSave());
}

TEST_F(TaskCommandTest, RecentTasksOpenOrRunByTheRecentTaskAction) {
    const std::string task = SavedTask();
    AddRecentTask(profile, task, PathStyle::Posix);
    AddRecentTask(profile, dir.File("gone.trh"), PathStyle::Posix);
    Drop({"a.htm"});

    // Run: no question; the list, the path and the changes stay.
    Editor().Settings().mruOpenAction = 1;
    Editor().OpenRecentTask(1);
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("ResultSummaryDialog"));
    EXPECT_THAT(Names(), ElementsAre("a.htm"));
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task, dir.File("gone.trh")));

    // Open: 18001 first (Cancel changes nothing, and Open task then shows no file dialog); a
    // vanished task fails and stays listed.
    Editor().Settings().mruOpenAction = 0;
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::Cancel)
        .AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::Cancel)
        .AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::No)
        .AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::No);
    Editor().OpenRecentTask(0);
    Editor().OpenTaskCommand();
    Editor().OpenRecentTask(1);
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(18001, 18001, 18001, MSG_OPEN_FAILED));
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task, dir.File("gone.trh")));
    Editor().OpenRecentTask(0);
    EXPECT_THAT(Names(), ElementsAre("saved/x.htm"));
    EXPECT_FALSE(Editor().TaskModified());
}

}  // namespace
}  // namespace trimlet::test
