// The list commands and their enabling rules.

#include "editor_fixture.h"

namespace trimlet::test {
namespace {

class CommandTest : public EditorTest {
  protected:
    // Five listed files a.htm ... e.htm, nothing selected, task unmodified.
    void AddFive() {
        Drop({"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"});
        List().DeselectAll();
        Editor().SetTaskModified(false);
    }
};

TEST_F(CommandTest, RemoveAsksWithTheCountAndDeletesExactlyTheSelectedRows) {
    AddFive();
    Editor().RemoveSelected();  // nothing selected: no question
    for (std::size_t row : {0u, 2u, 3u})
        List().SetSelected(row, true);
    dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Cancel)
        .AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Ok);
    Editor().RemoveSelected();
    EXPECT_EQ(List().RowCount(), 5u);
    EXPECT_FALSE(Editor().TaskModified());

    Editor().RemoveSelected();
    EXPECT_THAT(Names(), ElementsAre("b.htm", "e.htm"));
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_EQ(Selected(), "00");
    const std::string ask = Msg(MSG_CONFIRM_REMOVE, 3);
    EXPECT_THAT(Shown(), ElementsAre(ask, ask));
    EXPECT_EQ(dialogs.Calls()[0].buttons, MessageButtons::OkCancel);
}

TEST_F(CommandTest, BarToggleAndClearAnsweredNoKeepEverythingAndYesEmptiesTheList) {
    AddFive();
    ASSERT_EQ(List().BaseFolderLabel(), Base());
    for (bool shown : {false, true}) {
        Editor().ToggleBaseFolderBar();
        EXPECT_EQ(Editor().IsBaseFolderBarShown(), shown);
        EXPECT_EQ(List().Text(0, 0), shown ? "a.htm" : dir.File("a.htm"));
    }

    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::No)
        .AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::Yes);
    Editor().Clear();
    EXPECT_EQ(List().RowCount(), 5u);
    EXPECT_FALSE(Editor().TaskModified());
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_CONFIRM_CLEAR)));
    EXPECT_EQ(dialogs.Calls()[0].buttons, MessageButtons::YesNo);

    Editor().Clear();
    EXPECT_EQ(List().RowCount(), 0u);
    EXPECT_EQ(List().BaseFolderLabel(), "");
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_FALSE(List().FindRow(dir.File("a.htm")));
}

TEST_F(CommandTest, MarkUnmarkAndDoubleClickChangeOnlyPicturesThatHaveAKind) {
    Drop({"page.htm", "menu.js"});
    Drop({"notes.txt", "README"});
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

    List().SetImage(2, ImageFolder);
    for (int row : {0, 1, 2, 3, -1})
        Editor().ToggleCheck(row);
    EXPECT_THAT(Images(), ElementsAre(ImageScriptChecked, ImageHtml, ImageFolder, ImageNone));
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(CommandTest, EnablingRulesFollowTheListAndTheTaskState) {
    // Run, Remove, Mark, Unmark, Save, Save as, Clear, Select all, Paste (given a clipboard
    // with files) and Refresh.
    const auto enabled = [&] {
        std::string flags;
        for (int command : {CMD_RUN, CMD_REMOVE, CMD_MARK, CMD_UNMARK, CMD_SAVE_TASK,
                            CMD_SAVE_TASK_AS, CMD_CLEAR, CMD_SELECT_ALL, CMD_PASTE, CMD_REFRESH})
            flags += Editor().IsCommandEnabled(command, true) ? '1' : '0';
        return flags;
    };
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

}  // namespace
}  // namespace trimlet::test
