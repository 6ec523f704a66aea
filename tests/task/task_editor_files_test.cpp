// Task files on the task editor: writing, opening into the list, running.

#include <filesystem>
#include <optional>

#include "../filelist/editor_fixture.h"
#include "settings/profile_keys.h"
#include "task/recent_tasks.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A task file's text, every line ending with CR LF.
std::string TaskText(std::string_view version, std::string_view mode, std::string_view folder,
                     const std::vector<std::string>& paths) {
    std::string text = "TrimletHTML TASK FILE\r\n";
    for (std::string_view line : {version, mode, folder})
        (text += line) += "\r\n";
    for (const std::string& path : paths)
        (text += path) += "\r\n";
    return text;
}

// Written with the current defaults, so opening it asks nothing about settings.
std::string DefaultTask(const std::vector<std::string>& paths,
                        std::string_view version = "1.50.00") {
    return TaskText(version, "260143148", "Trimlet", paths);
}

class TaskFileTest : public EditorTest {
  protected:
    // One listed file and unsaved changes: what a failed open must leave alone.
    void ListOneModified() {
        ASSERT_RESULT(Editor().AddFileByPath(Write("kept.htm"), 0), RESULT_OK);
        ASSERT_TRUE(Editor().TaskModified());
        dialogs.ClearCalls();
    }
    void ExpectUntouched() {
        EXPECT_THAT(Names(), ElementsAre("kept.htm"));
        EXPECT_TRUE(Editor().TaskModified());
        EXPECT_EQ(Editor().TaskPath(), "");
        EXPECT_THAT(Editor().RecentTasks(), IsEmpty());
    }
};

TEST_F(TaskFileTest, SavedTaskOfTwoFilesIsSixLinesAndOpensAgain) {
    const std::string one = Write("b/one.html");
    const std::string two = Write("a/two.htm");
    Editor().AddDroppedFiles({one, two});
    ASSERT_THAT(Names(), ElementsAre("a/two.htm", "b/one.html"));

    const std::string task = dir.File("t.trh");
    ASSERT_RESULT(Editor().WriteTaskFile(task), RESULT_OK);
    EXPECT_EQ(ReadAll(task), "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\nTrimlet\r\n" + two +
                                 "\r\n" + one + "\r\n");

    Make();
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), IsEmpty());
    EXPECT_THAT(Names(), ElementsAre("a/two.htm", "b/one.html"));
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked, ImageHtmlChecked));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
    EXPECT_EQ(List().BaseFolderLabel(), "");
}

TEST_F(TaskFileTest, HeaderProblemsEndBothReadersBeforeAnythingChanges) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no file
        int messageId;
        bool withPath;
    };
    const Case cases[] = {
        {"NoFile", std::nullopt, MSG_OPEN_FAILED, true},
        {"Folder", "", MSG_OPEN_FAILED, true},
        {"Empty", "", MSG_TASK_READ_ERROR, true},
        {"BlankAfterSignature", "TrimletHTML TASK FILE \r\n1.50.00\r\n1\r\nx\r\n",
         MSG_NOT_TASK_FILE, false},
        {"OnlySignature", "TrimletHTML TASK FILE", MSG_TASK_READ_ERROR, true},
        {"ThreeLines", "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\n", MSG_TASK_READ_ERROR,
         true},
    };
    ListOneModified();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string task = dir.File(std::string(c.name) + ".trh");
        if (std::string_view(c.name) == "Folder") {
            fs::create_directory(task);
        } else if (c.bytes) {
            dir.Write(std::string(c.name) + ".trh", *c.bytes);
        }
        const std::string text =
            c.withPath ? FormatMessage(c.messageId, task) : FormatMessage(c.messageId);

        dialogs.ClearCalls();
        EXPECT_FALSE(Editor().OpenTaskFile(task));
        ASSERT_THAT(dialogs.MessageIds(), ElementsAre(c.messageId));
        EXPECT_EQ(dialogs.Calls()[0].text, text);
        EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::Stop);
        ExpectUntouched();

        dialogs.ClearCalls();
        const TaskRunReport report = Editor().RunTaskFile(task);
        EXPECT_FALSE(report.ran);
        EXPECT_THAT(dialogs.MessageIds(), ElementsAre(c.messageId));
        EXPECT_EQ(dialogs.Calls().size(), 1u);  // no summary
        ExpectUntouched();
    }
}

TEST_F(TaskFileTest, VersionsAreJudgedDifferentlyByOpeningAndRunning) {
    struct Case {
        const char* version;
        bool openAsks;
        bool runAsks;
    };
    const Case cases[] = {
        {"1.51.00", true, true},   {"1.20.00", true, false}, {"1.5", true, false},
        {"1.50.00", false, false}, {"", true, false},
    };
    const std::string file = Write("a.htm");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const std::string task = dir.Write("v.trh", DefaultTask({file}, c.version));
        Make();
        if (c.openAsks) {
            // No ends the open quietly; Yes reads on as for the current version.
            dialogs.AnswerMessage(MSG_NEWER_TASK_VERSION, MessageAnswer::No);
            EXPECT_FALSE(Editor().OpenTaskFile(task));
            EXPECT_EQ(List().RowCount(), 0u);
            EXPECT_EQ(dialogs.Calls().back().text,
                      FormatMessage(MSG_NEWER_TASK_VERSION, c.version));
            EXPECT_EQ(dialogs.Calls().back().buttons, MessageButtons::YesNo);
            dialogs.AnswerMessage(MSG_NEWER_TASK_VERSION, MessageAnswer::Yes);
        }
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        EXPECT_EQ(List().RowCount(), 1u);

        dialogs.ClearCalls();
        if (c.runAsks) dialogs.AnswerMessage(MSG_NEWER_TASK_VERSION, MessageAnswer::Yes);
        EXPECT_TRUE(Editor().RunTaskFile(task).ran);
        EXPECT_EQ(dialogs.MessageIds().size(), c.runAsks ? 1u : 0u);
        EXPECT_EQ(dialogs.Calls().back().kind, DialogKind::ResultSummary);
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        fs::remove_all(dir.File("Trimlet"));
    }
}

TEST_F(TaskFileTest, OldVersionOffersTheScriptOptionsOnlyWhenOpening) {
    const TrimMode stored = kDefaultTrimMode & ~TM_SCRIPT_OPTIONS_MASK;
    const std::string task = dir.Write(
        "old.trh", TaskText("1.00.00", std::to_string(stored), "Trimlet", {Write("a.htm")}));
    struct Case {
        const char* name;
        std::optional<std::uint32_t> answer;
        TrimMode expected;
    };
    const Case cases[] = {
        {"Ok", TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_BLOCK_COMMENT,
         stored | TM_SCRIPT_COMMENT_DEL | TM_SCRIPT_BLOCK_COMMENT},
        {"Cancel", std::nullopt, stored},
    };
    WriteAlertSettingNotSame(profile, false);  // take the file's settings without asking
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTrimMode(profile, kDefaultTrimMode);
        Make();
        dialogs.ClearCalls();
        dialogs.AnswerAlertVersion(c.answer);
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        EXPECT_THAT(dialogs.Sequence(), ElementsAre("AlertVersionDialog"));
        EXPECT_EQ(dialogs.Calls()[0].initialMode, kDefaultTrimMode);
        EXPECT_EQ(Editor().Settings().trimMode, c.expected);
        EXPECT_EQ(ReadTrimMode(profile), c.expected);
        EXPECT_EQ(List().RowCount(), 1u);
    }

    dialogs.ClearCalls();
    EXPECT_TRUE(Editor().RunTaskFile(task).ran);
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("ResultSummaryDialog"));
}

TEST_F(TaskFileTest, TakenSettingsComeFromTheModeAndFolderLines) {
    struct Case {
        const char* name;
        const char* modeLine;
        const char* folderLine;
        TrimMode mode;
    };
    const Case cases[] = {
        {"LettersGiveZero", "abc", "", 0},
        {"SignedNumber", "  -1x", "Out", 0xFFFFFFFF},
    };
    WriteAlertSettingNotSame(profile, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string task =
            dir.Write("m.trh", TaskText("1.50.00", c.modeLine, c.folderLine, {}));
        Make();
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        EXPECT_EQ(Editor().Settings().trimMode, c.mode);
        EXPECT_EQ(Editor().Settings().outputFolderName, c.folderLine);
        EXPECT_EQ(ReadTrimMode(profile), c.mode);
        EXPECT_EQ(ReadOutputFolderName(profile), c.folderLine);
    }
}

TEST_F(TaskFileTest, CancelInTheSettingsStepLeavesTheListAlone) {
    ListOneModified();
    const std::string task =
        dir.Write("t.trh", TaskText("1.50.00", "0", "Trimlet", {Write("a.htm")}));
    dialogs.AnswerSettingsMismatch({MessageAnswer::Cancel, true});
    EXPECT_FALSE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("SettingsMismatchDialog", "message 15004"));
    ExpectUntouched();
    EXPECT_EQ(Editor().Settings().trimMode, kDefaultTrimMode);
    EXPECT_TRUE(ReadAlertSettingNotSame(profile));
}

TEST_F(TaskFileTest, PathsThatCannotBeListedAreReportedOneByOne) {
    ListOneModified();
    const std::string a = Write("s/a.htm");
    const std::string b = Write("s/b.htm");
    const std::string task =
        dir.Write("t.trh", DefaultTask({b, "", a, b, dir.File("s"), "relative.htm"}));
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok)
        .AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok);
    EXPECT_TRUE(Editor().OpenTaskFile(task));

    ASSERT_EQ(dialogs.Calls().size(), 4u);
    EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(MSG_FILE_NOT_FOUND, ""));
    EXPECT_EQ(dialogs.Calls()[1].text, FormatMessage(MSG_FILE_ACCESS_ERROR, b));
    EXPECT_EQ(dialogs.Calls()[2].text, FormatMessage(MSG_FILE_ACCESS_ERROR, dir.File("s")));
    EXPECT_EQ(dialogs.Calls()[3].text, FormatMessage(MSG_FILE_NOT_FOUND, "relative.htm"));
    for (const DialogCall& call : dialogs.Calls()) {
        EXPECT_EQ(call.icon, MessageIcon::None);
        EXPECT_EQ(call.buttons, MessageButtons::OkCancel);
    }
    // Sorted by path, every row checked whatever it was, one shared folder.
    EXPECT_THAT(Names(), ElementsAre("s/a.htm", "s/b.htm"));
    EXPECT_THAT(Images(), ElementsAre(ImageHtmlChecked, ImageHtmlChecked));
    EXPECT_EQ(List().BaseFolderLabel(), dir.File("s") + "/");
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(TaskFileTest, CancelWhileAddingKeepsEarlierRowsAndFinishesTheOpen) {
    ListOneModified();
    const std::string b = Write("b.htm");
    const std::string task =
        dir.Write("t.trh", DefaultTask({b, dir.File("gone.htm"), Write("a.htm")}));
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 20000", "message 15004"));
    EXPECT_THAT(Names(), ElementsAre("b.htm"));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
    EXPECT_FALSE(Editor().TaskModified());
}

class TaskRunTest : public TaskFileTest {
  protected:
    // one/a.htm and two/c.htm with blanks to trim, one/b.htm missing; the task's output
    // folder "out" differs from the working copy, and two/out/c.htm exists.
    std::string SiteTask() {
        a = Write("one/a.htm", "<p>  a  </p>\n");
        c = Write("two/c.htm", "<p>c</p>   \n");
        Write("two/out/c.htm", "old");
        return dir.Write("run.trh",
                         TaskText("1.50.00", "260143148", "out", {a, dir.File("one/b.htm"), c}));
    }
    void ExpectEditorUntouched() {
        EXPECT_THAT(Names(), ElementsAre("kept.htm"));
        EXPECT_TRUE(Editor().TaskModified());
        EXPECT_EQ(Editor().TaskPath(), "");
        EXPECT_EQ(Editor().Settings().outputFolderName, "Trimlet");
    }
    std::string a, c;
};

TEST_F(TaskRunTest, TrimsEveryListedFileWithTheTasksSettings) {
    ListOneModified();
    const std::string task = SiteTask();
    Editor().SetRememberOverwriteChoice(false);
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP});
    const TaskRunReport report = Editor().RunTaskFile(task);

    // The missing folder is made without asking; "以後すべて" can be pressed.
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
    EXPECT_TRUE(report.ran);
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(report.failedCount, 1u);  // the skip chosen for c.htm is no failure
    ExpectEditorUntouched();
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
}

TEST_F(TaskRunTest, StopStillShowsTheSummary) {
    ListOneModified();
    const std::string task = SiteTask();
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    const TaskRunReport report = Editor().RunTaskFile(task);
    EXPECT_THAT(dialogs.Sequence(),
                ElementsAre("message 20000", "message 15004", "ResultSummaryDialog"));
    EXPECT_EQ(dialogs.Calls().back().summary.succeededCount, 1u);
    EXPECT_TRUE(report.ran);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(ReadAll(dir.File("two/out/c.htm")), "old");
    ExpectEditorUntouched();
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
}

TEST_F(TaskRunTest, EmptyTaskShowsASummaryOfZeros) {
    const std::string task = dir.Write("empty.trh", DefaultTask({}));
    const TaskRunReport report = Editor().RunTaskFile(task);
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("ResultSummaryDialog"));
    const RunSummary& summary = dialogs.Calls()[0].summary;
    EXPECT_EQ(summary.succeededCount + summary.skippedCount, 0u);
    EXPECT_EQ(summary.sourceTotal + summary.trimmedTotal, 0u);
    EXPECT_TRUE(report.ran);
    EXPECT_EQ(report.failedCount, 0u);
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
    std::vector<std::string> files;
    for (const auto& item : fs::directory_iterator(dir.path()))
        files.push_back(item.path().filename().string());
    EXPECT_THAT(files, ::testing::UnorderedElementsAre("kept.htm", "t.trh"));

    // A task file that cannot be created names itself; the task path stays.
    const std::string elsewhere = dir.File("missing/t.trh");
    Editor().SetTaskWriteFault({});
    dialogs.ClearCalls();
    dialogs.AnswerSaveTaskFile(elsewhere);
    Editor().SaveTaskAs();
    ASSERT_THAT(dialogs.MessageIds(), ElementsAre(MSG_OPEN_FAILED));
    EXPECT_EQ(dialogs.Calls().back().text, FormatMessage(MSG_OPEN_FAILED, elsewhere));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_THAT(Editor().RecentTasks(), IsEmpty());
}

}  // namespace
}  // namespace trimlet::test
