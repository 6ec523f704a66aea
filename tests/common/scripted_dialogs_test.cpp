#include "common/scripted_dialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trimlet {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::SizeIs;

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryCall) {
    ScriptedDialogs dialogs;
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerFolderCreation({true, true})
        .AnswerOutputExists({OutputExistsClose::ForAll, OVERWRITE_CHOICE_SKIP})
        .AnswerMessage(MessageAnswer::No);
    Dialogs& port = dialogs;

    EXPECT_EQ(port.Ask(MSG_FILE_NOT_FOUND, MessageIcon::Exclamation, MessageButtons::OkCancel,
                       "/a/x.htm"),
              MessageAnswer::Ok);
    const FolderCreationAnswer folder =
        port.FolderCreationDialog(FormatMessage(MSG_CREATE_FOLDER_QUESTION, "/a/Trimlet"));
    EXPECT_TRUE(folder.accepted);
    EXPECT_TRUE(folder.createFromNowOn);
    const OutputExistsAnswer exists = port.OutputExistsDialog(
        {MessageText(MSG_OUTPUT_EXISTS), "in", "out", OVERWRITE_CHOICE_IF_NEWER, true});
    EXPECT_EQ(exists.closedWith, OutputExistsClose::ForAll);
    EXPECT_EQ(exists.radioIndex, OVERWRITE_CHOICE_SKIP);
    EXPECT_EQ(port.Ask(MSG_READ_ONLY_OVERWRITE, MessageIcon::Question, MessageButtons::YesNoCancel,
                       "/a/Trimlet/x.htm"),
              MessageAnswer::No);
    // OK-only boxes and the summary need no answer.
    EXPECT_EQ(port.Ask(MSG_STOPPED, MessageIcon::None, MessageButtons::Ok), MessageAnswer::Ok);
    port.ResultSummaryDialog({1, 2, 300, 200});

    EXPECT_EQ(dialogs.Sequence(), (std::vector<std::string>{
                                      "message 20000", "FolderCreationDialog", "OutputExistsDialog",
                                      "message 20019", "message 15004", "ResultSummaryDialog"}));
    EXPECT_EQ(dialogs.MessageIds(), (std::vector<int>{20000, 20019, 15004}));
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_THAT(dialogs.UnexpectedCalls(), IsEmpty());

    const auto& calls = dialogs.Calls();
    ASSERT_THAT(calls, SizeIs(6));
    EXPECT_EQ(calls[0].text,
              "\"/a/x.htm\"\n\n上記ファイルは見つかりません。処理をスキップします。");
    EXPECT_EQ(calls[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(calls[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(calls[1].messageId, MSG_CREATE_FOLDER_QUESTION);
    EXPECT_THAT(calls[1].text, HasSubstr("\n\n/a/Trimlet"));
    EXPECT_EQ(calls[2].outputExists.radioIndex, OVERWRITE_CHOICE_IF_NEWER);
    EXPECT_EQ(calls[2].text, MessageText(MSG_OUTPUT_EXISTS));
    EXPECT_EQ(calls[5].summary.skippedCount, 2u);
    EXPECT_EQ(calls[5].summary.sourceTotal, 300u);
}

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

TEST(ScriptedDialogs, ChoosersRecordTheirInputsAndReturnTheScriptedChoice) {
    ScriptedDialogs dialogs;
    dialogs.AnswerSaveTaskFile("/w/TrimletHTML タスク(2).trh")
        .AnswerAddFiles(ChosenFiles{"/w", {"a.htm", "b.js"}})
        .AnswerBrowseFolder(std::nullopt)
        .AnswerAlertVersion(0x01800000u);

    EXPECT_EQ(dialogs.SaveTaskFileDialog("/w", "TrimletHTML タスク(2).trh"),
              "/w/TrimletHTML タスク(2).trh");
    const auto files = dialogs.AddFilesDialog("/last");
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(files->folder, "/w");
    EXPECT_THAT(files->names, ElementsAre("a.htm", "b.js"));
    EXPECT_FALSE(dialogs.BrowseFolderDialog().has_value());
    EXPECT_EQ(dialogs.AlertVersionDialog(0x0F81782Cu), 0x01800000u);

    const auto& calls = dialogs.Calls();
    ASSERT_THAT(calls, SizeIs(4));
    EXPECT_EQ(calls[0].proposedName, "TrimletHTML タスク(2).trh");
    EXPECT_EQ(calls[0].text, "タスクに名前を付けて保存");
    EXPECT_EQ(calls[1].folder, "/last");
    EXPECT_EQ(calls[3].initialMode, 0x0F81782Cu);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_THAT(dialogs.UnexpectedCalls(), IsEmpty());
}

}  // namespace
}  // namespace trimlet
