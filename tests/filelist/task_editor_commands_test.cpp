// The list commands and their enabling rules.

#include "editor_fixture.h"

namespace trimlet::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CommandTest : public EditorTest {
  protected:
    // Five listed files a.htm ... e.htm, nothing selected, task unmodified.
    void AddFive() {
        for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"})
            ASSERT_RESULT(Editor().AddFileByPath(Write(name), 0), RESULT_OK);
        List().DeselectAll();
        Editor().SetTaskModified(false);
    }
};

TEST_F(CommandTest, RemoveAsksWithTheCountAndDeletesExactlyTheSelectedRows) {
    AddFive();
    Editor().RemoveSelected();  // nothing selected: no question
    EXPECT_THAT(dialogs.Calls(), IsEmpty());

    for (std::size_t row : {0u, 2u, 3u})
        List().SetSelected(row, true);
    dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Cancel);
    Editor().RemoveSelected();
    EXPECT_EQ(List().RowCount(), 5u);
    EXPECT_FALSE(Editor().TaskModified());

    dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Ok);
    Editor().RemoveSelected();
    EXPECT_THAT(Names(), ElementsAre("b.htm", "e.htm"));
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(SelectedRows(), IsEmpty());
    const DialogCall& ask = dialogs.Calls().back();
    EXPECT_EQ(ask.text, "3 個のファイルをリストから削除します。\n\nよろしいですか？");
    EXPECT_EQ(ask.icon, MessageIcon::Question);
    EXPECT_EQ(ask.buttons, MessageButtons::OkCancel);
    // The removed files can be added again.
    EXPECT_RESULT(Editor().AddFileByPath(dir.File("a.htm"), 0), RESULT_OK);
}

TEST_F(CommandTest, ClearAnsweredNoKeepsEverythingAndYesEmptiesTheList) {
    AddFive();
    List().RefreshBaseFolder(true);
    ASSERT_EQ(List().BaseFolderLabel(), Base());

    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::No);
    Editor().Clear();
    EXPECT_EQ(List().RowCount(), 5u);
    EXPECT_FALSE(Editor().TaskModified());
    EXPECT_EQ(dialogs.Calls()[0].text, "ファイルリストをクリアします。よろしいですか？");
    EXPECT_EQ(dialogs.Calls()[0].buttons, MessageButtons::YesNo);

    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::Yes);
    Editor().Clear();
    EXPECT_EQ(List().RowCount(), 0u);
    EXPECT_EQ(List().BaseFolderLabel(), "");
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_FALSE(List().FindRow(dir.File("a.htm")));
}

TEST_F(CommandTest, MarkUnmarkAndDoubleClickChangeOnlyPicturesThatHaveAKind) {
    Write("page.htm");
    Write("notes.txt");
    Write("menu.js");
    Write("README");
    Editor().AddChosenFolder(dir.path().string());  // only the HTML and script files
    ASSERT_RESULT(Editor().AddFileByPath(dir.File("notes.txt"), 0), RESULT_OK);
    ASSERT_RESULT(Editor().AddFileByPath(dir.File("README"), 0), RESULT_OK);
    ASSERT_THAT(Names(), ElementsAre("menu.js", "page.htm", "notes.txt", "README"));
    Editor().SetTaskModified(false);

    Editor().SelectAll();
    Editor().UnmarkSelected();
    EXPECT_THAT(Images(), ElementsAre(ImageScript, ImageHtml, ImageText, ImageNone));
    EXPECT_FALSE(Editor().CanRun());

    List().SetSelected(0, false);
    Editor().MarkSelected();
    EXPECT_THAT(Images(), ElementsAre(ImageScript, ImageHtmlChecked, ImageTextChecked, ImageNone));
    EXPECT_TRUE(Editor().CanRun());

    Editor().ToggleCheck(0);
    Editor().ToggleCheck(1);
    Editor().ToggleCheck(3);
    Editor().ToggleCheck(-1);
    List().SetImage(2, ImageFolder);
    Editor().ToggleCheck(2);
    EXPECT_THAT(Images(), ElementsAre(ImageScriptChecked, ImageHtml, ImageFolder, ImageNone));
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(CommandTest, EnablingRulesFollowTheListAndTheTaskState) {
    struct Expect {
        bool run, remove, save, saveAs, clear, selectAll;
    };
    const auto check = [&](const char* name, Expect e) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_RUN, false), e.run);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_REMOVE, false), e.remove);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_MARK, false), e.remove);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_UNMARK, false), e.remove);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_SAVE_TASK, false), e.save);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_SAVE_TASK_AS, false), e.saveAs);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_CLEAR, false), e.clear);
        EXPECT_EQ(Editor().IsCommandEnabled(CMD_SELECT_ALL, false), e.selectAll);
        for (int always : {CMD_ADD_FILES, CMD_ADD_FOLDER_FILES, CMD_REFRESH, CMD_OPTIONS,
                           CMD_OPEN_TASK, CMD_RUN_TASK, CMD_TOGGLE_BASE_FOLDER_BAR})
            EXPECT_TRUE(Editor().IsCommandEnabled(always, false)) << always;
        EXPECT_FALSE(Editor().IsCommandEnabled(CMD_PASTE, false));
        EXPECT_TRUE(Editor().IsCommandEnabled(CMD_PASTE, true));
    };

    check("empty", {false, false, false, false, false, false});
    Editor().SetTaskModified(true);
    check("empty but modified", {false, false, false, false, false, false});

    AddFive();
    check("unchanged task", {true, false, false, true, true, true});
    List().SetSelected(1, true);
    Editor().SetTaskModified(true);
    check("selection, changes", {true, true, true, true, true, true});
    Editor().SelectAll();
    Editor().UnmarkSelected();
    check("nothing checked", {false, true, true, true, true, true});
}

TEST_F(CommandTest, BaseFolderBarToggleSwitchesBetweenNamesAndFullPaths) {
    AddFive();
    List().RefreshBaseFolder(true);
    EXPECT_EQ(List().Text(0, 0), "a.htm");

    Editor().ToggleBaseFolderBar();
    EXPECT_FALSE(Editor().IsBaseFolderBarShown());
    EXPECT_EQ(List().Text(0, 0), dir.File("a.htm"));

    // While hidden, rows show full paths as they are added.
    ASSERT_RESULT(Editor().AddFileByPath(Write("f.htm"), 0), RESULT_OK);
    EXPECT_EQ(List().Text(5, 0), dir.File("f.htm"));

    Editor().ToggleBaseFolderBar();
    EXPECT_TRUE(Editor().IsBaseFolderBarShown());
    EXPECT_EQ(List().BaseFolderLabel(), Base());
    EXPECT_EQ(List().Text(5, 0), "f.htm");
}

}  // namespace
}  // namespace trimlet::test
