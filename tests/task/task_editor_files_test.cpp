// Task files on the task editor: writing, opening into the list, running.

#include <filesystem>
#include <optional>

#include "../filelist/editor_fixture.h"
#include "settings/profile_keys.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string TaskText(const std::vector<std::string>& paths, std::string_view version = "1.50.00",
                     std::string_view mode = "260143148", std::string_view folder = "Trimlet") {
    std::string text = "TrimletHTML TASK FILE\r\n";
    for (std::string_view line : {version, mode, folder})
        (text += line) += "\r\n";
    for (const std::string& path : paths)
        (text += path) += "\r\n";
    return text;
}

class TaskFileTest : public EditorTest {
  protected:
    // One listed file and unsaved changes: what a failed open must leave alone.
    void ListOneModified() {
        ASSERT_RESULT(Editor().AddFileByPath(Write("kept.htm"), 0), RESULT_OK);
        dialogs.ClearCalls();
    }
    void ExpectUntouched() {
        EXPECT_THAT(Names(), ElementsAre("kept.htm"));
        EXPECT_TRUE(Editor().TaskModified());
        EXPECT_EQ(Editor().TaskPath(), "");
        EXPECT_EQ(Editor().Settings().outputFolderName, "Trimlet");
    }
};

TEST_F(TaskFileTest, TaskOfTwoFilesIsSixLinesAndOpensAgain) {
    const std::string one = Write("b/one.html");
    const std::string two = Write("a/two.htm");
    Editor().AddDroppedFiles({one, two});
    const std::string task = dir.File("t.trh");
    ASSERT_RESULT(Editor().WriteTaskFile(task), RESULT_OK);
    EXPECT_EQ(ReadAll(task), "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\nTrimlet\r\n" + two +
                                 "\r\n" + one + "\r\n");

    Make();
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), IsEmpty());
    EXPECT_THAT(Names(), ElementsAre("a/two.htm", "b/one.html"));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
}

TEST_F(TaskFileTest, HeaderProblemsEndBothReadersBeforeAnythingChanges) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no file
        int messageId;
    };
    const Case cases[] = {
        {"NoFile", std::nullopt, MSG_OPEN_FAILED},
        {"Empty", "", MSG_TASK_READ_ERROR},
        {"BlankAfterSignature", "TrimletHTML TASK FILE \r\n1.50.00\r\n1\r\nx\r\n",
         MSG_NOT_TASK_FILE},
        {"ThreeLines", "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\n", MSG_TASK_READ_ERROR},
    };
    ListOneModified();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string task = dir.File(c.name);
        if (c.bytes) dir.Write(c.name, *c.bytes);
        dialogs.ClearCalls();
        EXPECT_FALSE(Editor().OpenTaskFile(task));
        EXPECT_FALSE(Editor().RunTaskFile(task).ran);
        ASSERT_THAT(dialogs.MessageIds(), ElementsAre(c.messageId, c.messageId));  // no summary
        EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(c.messageId, task));
        EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::Stop);
        ExpectUntouched();
    }
    // Cancel in the settings step: 15004, nothing taken.
    const std::string task = dir.Write("t.trh", TaskText({Write("a.htm")}, "1.50.00", "0", "out"));
    dialogs.ClearCalls();
    dialogs.AnswerSettingsMismatch({MessageAnswer::Cancel, true});
    EXPECT_FALSE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("SettingsMismatchDialog", "message 15004"));
    ExpectUntouched();
    EXPECT_THAT(Editor().RecentTasks(), IsEmpty());
}

TEST_F(TaskFileTest, OpeningAsksAboutEveryOtherVersionRunningOnlyAboutGreaterOnes) {
    const struct {
        const char* version;
        bool openAsks, runAsks;
    } cases[] = {{"1.51.00", true, true},
                 {"1.20.00", true, false},
                 {"1.5", true, false},
                 {"1.50.00", false, false}};
    const std::string file = Write("a.htm");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const std::string task = dir.Write("v.trh", TaskText({file}, c.version));
        Make();
        dialogs.ClearCalls();
        if (c.openAsks) dialogs.AnswerMessage(MSG_NEWER_TASK_VERSION, MessageAnswer::Yes);
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        EXPECT_EQ(List().RowCount(), 1u);
        if (c.runAsks) dialogs.AnswerMessage(MSG_NEWER_TASK_VERSION, MessageAnswer::Yes);
        EXPECT_TRUE(Editor().RunTaskFile(task).ran);
        EXPECT_EQ(dialogs.MessageIds().size(), (c.openAsks ? 1u : 0u) + (c.runAsks ? 1u : 0u));
        if (c.openAsks) {
            EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(MSG_NEWER_TASK_VERSION, c.version));
        }
        fs::remove_all(dir.File("Trimlet"));
    }
}

TEST_F(TaskFileTest, TakenSettingsComeFromTheFileAndTheOldVersionDialog) {
    const TrimMode stored = kDefaultTrimMode & ~TM_SCRIPT_OPTIONS_MASK;
    const TrimMode bits = TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_BLOCK_COMMENT;
    const struct {
        const char* name;
        std::string version, modeLine, folder;
        std::optional<std::uint32_t> answer;  // of the old-version dialog
        TrimMode mode;
    } cases[] = {
        {"OldVersionOk", "1.00.00", std::to_string(stored), "Trimlet", bits, stored | bits},
        {"OldVersionCancel", "1.00.00", std::to_string(stored), "Trimlet", std::nullopt, stored},
        {"LettersGiveZero", "1.50.00", "abc", "", std::nullopt, 0},
    };
    WriteAlertSettingNotSame(profile, false);  // take the file's settings without asking
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTrimMode(profile, kDefaultTrimMode);
        const std::string task = dir.Write("m.trh", TaskText({}, c.version, c.modeLine, c.folder));
        Make();
        dialogs.ClearCalls();
        if (c.version == "1.00.00") dialogs.AnswerAlertVersion(c.answer);
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        EXPECT_EQ(Editor().Settings().trimMode, c.mode);
        EXPECT_EQ(Editor().Settings().outputFolderName, c.folder);
        EXPECT_EQ(ReadTrimMode(profile), c.mode);
        EXPECT_EQ(ReadOutputFolderName(profile), c.folder);
        // Running never shows the old-version dialog.
        EXPECT_TRUE(Editor().RunTaskFile(task).ran);
        EXPECT_EQ(dialogs.Calls().back().kind, DialogKind::ResultSummary);
    }
}

TEST_F(TaskFileTest, PathsThatCannotBeListedAreAskedAboutUntilCancel) {
    ListOneModified();
    const std::string a = Write("s/a.htm");
    const std::string b = Write("s/b.htm");
    const std::string gone = dir.File("s/gone.htm");
    const std::string task = dir.Write("t.trh", TaskText({b, "", b, dir.File("s"), gone, a}));
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    EXPECT_TRUE(Editor().OpenTaskFile(task));

    std::vector<std::string> texts;
    for (const DialogCall& call : dialogs.Calls())
        texts.push_back(call.text);
    EXPECT_THAT(
        texts,
        ElementsAre(FormatMessage(MSG_FILE_NOT_FOUND, ""), FormatMessage(MSG_FILE_ACCESS_ERROR, b),
                    FormatMessage(MSG_FILE_ACCESS_ERROR, dir.File("s")),
                    FormatMessage(MSG_FILE_NOT_FOUND, gone), FormatMessage(MSG_STOPPED)));
    EXPECT_THAT(Names(), ElementsAre("s/b.htm"));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(TaskFileTest, RunUsesTheFilesSettingsAndLeavesTheEditorAlone) {
    ListOneModified();
    Write("one/a.htm", "<p>  a  </p>\n");
    Write("two/c.htm", "<p>c</p>   \n");
    Write("two/out/c.htm", "old");
    const std::string task = dir.Write(
        "run.trh", TaskText({dir.File("one/a.htm"), dir.File("one/b.htm"), dir.File("two/c.htm")},
                            "1.50.00", "260143148", "out"));
    Editor().SetRememberOverwriteChoice(false);
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP});
    TaskRunReport report = Editor().RunTaskFile(task);

    // one/out is made without asking; "以後すべて" can be pressed.
    EXPECT_THAT(dialogs.Sequence(),
                ElementsAre("message 20000", "OutputExistsDialog", "ResultSummaryDialog"));
    EXPECT_TRUE(dialogs.Calls()[1].outputExists.forAllEnabled);
    EXPECT_EQ(ReadAll(dir.File("one/out/a.htm")), "<p> a </p>\n");
    EXPECT_EQ(ReadAll(dir.File("two/out/c.htm")), "old");
    EXPECT_FALSE(profile.HasKey("FILE_OVERWRITE_METHOD"));
    const RunSummary& summary = dialogs.Calls().back().summary;
    EXPECT_EQ(summary.succeededCount, 1u);
    EXPECT_EQ(summary.skippedCount, 2u);
    EXPECT_EQ(summary.sourceTotal, 13u);
    EXPECT_EQ(summary.trimmedTotal, 11u);
    EXPECT_EQ(report.failedCount, 1u);  // the chosen skip is no failure
    ExpectUntouched();
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));

    // A stop still shows the summary.
    std::filesystem::remove_all(dir.File("one/out"));
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    report = Editor().RunTaskFile(task);
    EXPECT_THAT(dialogs.Sequence(),
                ElementsAre("message 20000", "message 15004", "ResultSummaryDialog"));
    EXPECT_TRUE(report.ran && report.stopped);

    // An empty task: a summary of zeros.
    dialogs.ClearCalls();
    EXPECT_TRUE(Editor().RunTaskFile(dir.Write("empty.trh", TaskText({}))).ran);
    const RunSummary& zeros = dialogs.Calls().back().summary;
    EXPECT_EQ(zeros.succeededCount + zeros.skippedCount + zeros.sourceTotal + zeros.trimmedTotal,
              0u);
}

TEST_F(TaskFileTest, FailedSaveLeavesTheOldTaskFileWhole) {
    ListOneModified();
    const std::string task = dir.Write("t.trh", "old task file");
    Editor().SetTaskPath(task);
    Editor().SetTaskWriteFault({10});
    Editor().SaveTask();
    ASSERT_THAT(dialogs.MessageIds(), ElementsAre(MSG_TASK_WRITE_ERROR));
    EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ReadAll(task), "old task file");
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace trimlet::test
