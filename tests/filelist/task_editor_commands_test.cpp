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
    // Run, Remove (and Mark, Unmark), Save, Save as, Clear and Select all; Paste, given
    // a clipboard with files.
    const auto enabled = [&] {
        std::string flags;
        for (int command : {CMD_RUN, CMD_REMOVE, CMD_MARK, CMD_UNMARK, CMD_SAVE_TASK,
                            CMD_SAVE_TASK_AS, CMD_CLEAR, CMD_SELECT_ALL, CMD_PASTE, CMD_REFRESH})
            flags += Editor().IsCommandEnabled(command, true) ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(enabled(), "0000000011");
    Editor().SetTaskModified(true);
    EXPECT_EQ(enabled(), "0000000011") << "an empty list is never saved";
    AddFive();
    EXPECT_EQ(enabled(), "1000011111") << "unchanged task";
    List().SetSelected(1, true);
    Editor().SetTaskModified(true);
    EXPECT_EQ(enabled(), "1111111111");
    Editor().SelectAll();
    Editor().UnmarkSelected();
    EXPECT_EQ(enabled(), "0111111111") << "nothing checked";
    EXPECT_FALSE(Editor().IsCommandEnabled(CMD_PASTE, false));
}

TEST_F(CommandTest, BaseFolderBarToggleSwitchesBetweenNamesAndFullPaths) {
    AddFive();
    List().RefreshBaseFolder(true);
    EXPECT_EQ(List().Text(0, 0), "a.htm");

    Editor().ToggleBaseFolderBar();
    EXPECT_FALSE(Editor().IsBaseFolderBarShown());
    EXPECT_EQ(List().Text(0, 0), dir.File("a.htm"));

    Editor().ToggleBaseFolderBar();
    EXPECT_TRUE(Editor().IsBaseFolderBarShown());
    EXPECT_EQ(List().Text(0, 0), "a.htm");
}

}  // namespace
}  // namespace trimlet::test
