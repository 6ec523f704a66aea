#include "scripted_dialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trimlet {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::SizeIs;

// Answering in order and recording every call are what every test of a dialog flow
// asserts through; here the script's guards against a flow the test did not expect.
TEST(ScriptedDialogs, UnscriptedCallGetsTheSafestAnswerAndIsReported) {
    struct Case {
        const char* name;
        MessageButtons buttons;
        MessageAnswer expected;
        bool reported;
    };
    const Case cases[] = {
        {"ok only", MessageButtons::Ok, MessageAnswer::Ok, false},
        {"ok cancel", MessageButtons::OkCancel, MessageAnswer::Cancel, true},
        {"yes no", MessageButtons::YesNo, MessageAnswer::No, true},
        {"yes no cancel", MessageButtons::YesNoCancel, MessageAnswer::Cancel, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        EXPECT_EQ(dialogs.Ask(MSG_CONFIRM_CLEAR, MessageIcon::Question, c.buttons), c.expected);
        EXPECT_EQ(dialogs.UnexpectedCalls().size(), c.reported ? 1u : 0u);
        EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 18000"));
    }

    ScriptedDialogs dialogs;
    EXPECT_FALSE(dialogs.FolderCreationDialog("x").accepted);
    const OutputExistsAnswer exists = dialogs.OutputExistsDialog({"m", "i", "o", 2, true});
    EXPECT_EQ(exists.closedWith, OutputExistsClose::Cancel);
    EXPECT_EQ(dialogs.SettingsMismatchDialog("r").button, MessageAnswer::Cancel);
    EXPECT_FALSE(dialogs.AlertVersionDialog(0).has_value());
    EXPECT_FALSE(dialogs.OpenTaskFileDialog(MSG_TITLE_RUN_TASK, "/d").has_value());
    EXPECT_FALSE(dialogs.SaveTaskFileDialog("/d", "n.trh").has_value());
    EXPECT_FALSE(dialogs.AddFilesDialog("/d").has_value());
    EXPECT_FALSE(dialogs.BrowseFolderDialog().has_value());
    EXPECT_TRUE(dialogs.AlertCRRegAsWSPDialog(true));
    EXPECT_FALSE(dialogs.AddExtensionDialog().has_value());
    EXPECT_FALSE(dialogs.OptionsSheet());
    EXPECT_THAT(dialogs.UnexpectedCalls(), SizeIs(11));
    EXPECT_THAT(dialogs.UnexpectedCalls()[4], HasSubstr("OpenTaskFileDialog 15008"));
}

TEST(ScriptedDialogs, AnswerThatDoesNotFitIsReported) {
    ScriptedDialogs dialogs;
    // Wrong kind at the head: the answer stays for the call it was meant for.
    dialogs.AnswerOpenTaskFile("/d/t.trh");
    EXPECT_EQ(dialogs.Ask(MSG_DISCARD_AND_OPEN, MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(dialogs.PendingAnswers(), 1u);
    EXPECT_EQ(dialogs.OpenTaskFileDialog(MSG_TITLE_OPEN_TASK, "/d"), "/d/t.trh");

    // Another message than the one scripted.
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok);
    EXPECT_EQ(dialogs.Ask(MSG_FILE_ACCESS_ERROR, MessageIcon::None, MessageButtons::OkCancel, "p"),
              MessageAnswer::Cancel);
    EXPECT_FALSE(dialogs.AllAnswersUsed());

    // An answer the box does not offer, and a disabled "以後すべて".
    ScriptedDialogs offered;
    offered.AnswerMessage(MessageAnswer::Yes)
        .AnswerOutputExists({OutputExistsClose::ForAll, 0})
        .AnswerSettingsMismatch({MessageAnswer::Ok, true});
    EXPECT_EQ(offered.Ask(MSG_FILE_NOT_FOUND, MessageIcon::None, MessageButtons::OkCancel, "p"),
              MessageAnswer::Cancel);
    EXPECT_EQ(offered.OutputExistsDialog({"m", "i", "o", 1, false}).closedWith,
              OutputExistsClose::Cancel);
    EXPECT_EQ(offered.SettingsMismatchDialog("r").button, MessageAnswer::Cancel);
    EXPECT_TRUE(offered.AllAnswersUsed());

    EXPECT_THAT(dialogs.UnexpectedCalls(),
                ElementsAre(HasSubstr("next answer is for OpenTaskFileDialog"),
                            HasSubstr("next answer is for message 20000, but the call is "
                                      "message 20021")));
    EXPECT_THAT(offered.UnexpectedCalls(),
                ElementsAre(HasSubstr("answer Yes is not offered by OkCancel"),
                            HasSubstr("disabled"), HasSubstr("answer Ok is not offered")));
}

}  // namespace
}  // namespace trimlet
