// Task files on the task editor: writing, opening into the list, running.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "editor_fixture.h"
#include "settings/profile_keys.h"

namespace trimlet::test {
namespace {

namespace fs = std::filesystem;

class TaskFileTest : public EditorTest {
  protected:
    // One listed file and unsaved changes: what a failed open or a run must leave alone.
    void ListOneModified() {
        ASSERT_RESULT(Editor().AddFileByPath(Write("kept.htm"), 0), RESULT_OK);
    }
    void ExpectUntouched() {
        EXPECT_THAT(Names(), ElementsAre("kept.htm"));
        EXPECT_TRUE(Editor().TaskModified());
        EXPECT_EQ(Editor().TaskPath(), "");
        EXPECT_EQ(Editor().Settings().outputFolderName, "Trimlet");
    }
};

TEST_F(TaskFileTest, HeaderProblemsEndBothReadersBeforeAnythingChanges) {
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no file
        int messageId;
    } cases[] = {
        {"NoFile", std::nullopt, MSG_OPEN_FAILED},
        {"Empty", "", MSG_TASK_READ_ERROR},
        {"BlankAfterSignature", "TrimletHTML TASK FILE \r\n1.50.00\r\n1\r\nx\r\n",
         MSG_NOT_TASK_FILE},
        {"OneLine", "TrimletHTML TASK FILE\r\n", MSG_TASK_READ_ERROR},
        {"ThreeLines", "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\n", MSG_TASK_READ_ERROR},
        // Letters are no mode: never read as 0, which would run and change nothing.
        {"LettersForMode", "TrimletHTML TASK FILE\r\n1.50.00\r\nabc\r\nx\r\n", MSG_TASK_READ_ERROR},
    };
    ListOneModified();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string task = dir.File(c.name);
        if (c.bytes) dir.Write(c.name, *c.bytes);
        dialogs.ClearCalls();
        EXPECT_FALSE(Editor().OpenTaskFile(task));
        EXPECT_FALSE(Editor().RunTaskFile(task).ran);
        // No summary after the run's report.
        EXPECT_THAT(Shown(), ElementsAre(Msg(c.messageId, task), Msg(c.messageId, task)));
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
    } cases[] = {
        {"1.51.00", true, true},
        {"1.5", true, false},
        {"1.50.00", false, false},
        {"1.\xE3", true, true},  // bytes compare unsigned
    };
    const std::string file = Write("a.htm");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const std::string task = dir.Write("v.trh", TaskText({file}, c.version));
        Make();
        std::vector<std::string> expected;
        for (bool asks : {c.openAsks, c.runAsks}) {
            if (!asks) continue;
            dialogs.AnswerMessage(MSG_NEWER_TASK_VERSION, MessageAnswer::Yes);
            expected.push_back(Msg(MSG_NEWER_TASK_VERSION, c.version));
        }
        expected.push_back("ResultSummaryDialog");
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        EXPECT_EQ(List().RowCount(), 1u);
        EXPECT_TRUE(Editor().RunTaskFile(task).ran);
        EXPECT_EQ(Shown(), expected);
        fs::remove_all(dir.File("Trimlet"));
    }
}

TEST_F(TaskFileTest, TakenSettingsComeFromTheFileAndTheOldVersionDialog) {
    const struct {
        const char* name;
        std::string version, modeLine, folder;
        std::optional<std::uint32_t> answer;  // of the old-version dialog
        TrimMode mode;
    } cases[] = {
        // The old-version dialog adds script option bits only.
        {"OldVersionOk", "1.00.00", "44", "Trimlet", 0xFFFFFFFF, 0x2C | TM_SCRIPT_OPTIONS_MASK},
        {"OldVersionCancel", "1.00.00", "44", "Trimlet", std::nullopt, 0x2C},
        {"HexadecimalByHand", "1.50.00", "0x0000002C", "", std::nullopt, 0x2C},
    };
    WriteAlertSettingNotSame(profile, false);  // take the file's settings without asking
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTrimMode(profile, kDefaultTrimMode);
        const std::string task = dir.Write("m.trh", TaskText({}, c.version, c.modeLine, c.folder));
        Make();
        if (c.version == "1.00.00") dialogs.AnswerAlertVersion(c.answer);
        EXPECT_TRUE(Editor().OpenTaskFile(task));
        // Its boxes start from the profile's mode.
        if (c.answer) {
            EXPECT_EQ(dialogs.Calls()[0].initialMode, kDefaultTrimMode);
        }
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
    // "s/b.htm" lies beside the task file, wherever the current folder is.
    const std::string task =
        dir.Write("t.trh", TaskText({b, "", b, "s/b.htm", dir.File("s"), gone, a}));
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok);
    for (int i = 0; i < 3; ++i)
        dialogs.AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok);
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    EXPECT_TRUE(Editor().OpenTaskFile(task));

    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_FILE_NOT_FOUND, ""), Msg(MSG_FILE_ACCESS_ERROR, b),
                                     Msg(MSG_FILE_ACCESS_ERROR, b),
                                     Msg(MSG_FILE_ACCESS_ERROR, dir.File("s")),
                                     Msg(MSG_FILE_NOT_FOUND, gone), Msg(MSG_STOPPED)));
    EXPECT_THAT(Names(), ElementsAre("s/b.htm"));
    EXPECT_EQ(Editor().TaskPath(), task);
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));
    EXPECT_FALSE(Editor().TaskModified());
}

TEST_F(TaskFileTest, OpeningRollsBackACopyCutShortInItsFilesAndSaysSo) {
    const std::string old = std::string(70000, ' ') + std::string(kPlainHtml);
    const std::string page = Write("s/page.htm", old);
    ASSERT_EQ(link(page.c_str(), dir.File("s/second.htm").c_str()), 0);
    // Killed while it copied into the linked file: half new, half old.
    const pid_t child = fork();
    if (child == 0) {
        WriteOptions options;
        options.fault.atStep = [](WriteStep step) {
            if (step == WriteStep::CopyChunk) raise(SIGKILL);
            return 0;
        };
        static_cast<void>(WriteFileAtomically(page, std::string(90000, 'n'), options));
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    ASSERT_NE(test::ReadAll(page), old);
    const std::string task = dir.Write("t.trh", TaskText({page}));
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_RESTORED_OLD_CONTENT, fs::canonical(page).string())));
    EXPECT_EQ(test::ReadAll(page), old);
    EXPECT_EQ(test::NamesIn(dir.File("s")).size(), 2u) << "recovery file left";
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
    EXPECT_THAT(Summary(), ElementsAre(1, 2, 13, 11));
    EXPECT_EQ(report.failedCount, 1u);  // the chosen skip is no failure
    ExpectUntouched();
    EXPECT_THAT(Editor().RecentTasks(), ElementsAre(task));

    // A stop still shows the summary.
    fs::remove_all(dir.File("one/out"));
    dialogs.ClearCalls();
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Cancel);
    report = Editor().RunTaskFile(task);
    EXPECT_THAT(dialogs.Sequence(),
                ElementsAre("message 20000", "message 15004", "ResultSummaryDialog"));
    EXPECT_TRUE(report.ran && report.stopped);

    // An empty task: a summary of zeros.
    EXPECT_TRUE(Editor().RunTaskFile(dir.Write("empty.trh", TaskText({}))).ran);
    EXPECT_THAT(Summary(), ElementsAre(0, 0, 0, 0));
}

// A task file is no safer than where it came from: an output folder name that the options
// refuse would put the outputs beside or over other files, so neither reader takes it.
TEST_F(TaskFileTest, OutputFolderNamesTheOptionsRefuseEndBothReaders) {
    ListOneModified();
    const std::string page = Write("site/in/a.htm", "<p>  a  </p>\n");
    const std::vector<std::string> folders = {"..", ".", "../up", "sub/out",
                                              std::string("o\0ut", 5)};
    for (const std::string& folder : folders) {
        SCOPED_TRACE(folder);
        const std::string task =
            dir.Write("t.trh", TaskText({page}, "1.50.00", "260143148", folder));
        dialogs.ClearCalls();
        EXPECT_FALSE(Editor().OpenTaskFile(task));
        EXPECT_FALSE(Editor().RunTaskFile(task).ran);
        EXPECT_THAT(dialogs.MessageIds(),
                    ElementsAre(MSG_FOLDER_NAME_REFUSED_POSIX, MSG_FOLDER_NAME_REFUSED_POSIX));
        ExpectUntouched();
    }
    EXPECT_FALSE(fs::exists(dir.File("site/a.htm")));
    EXPECT_FALSE(fs::exists(dir.File("site/up")));
    EXPECT_FALSE(fs::exists(dir.File("site/in/sub")));
}

// An empty path line names no file: the run says so, as opening does, and OK skips it.
// Empty lines at the end name nothing; a relative line lies beside the task file; a second
// file with the same output is found before anything is written and skipped as failed.
TEST_F(TaskFileTest, RunShowsAnEmptyPathLineAndASecondSameOutput) {
    const std::string a = Write("s/a.htm");
    const std::string output = dir.File("s/Trimlet/a.htm");
    const std::string task = dir.Write("t.trh", TaskText({"s/a.htm", "", a}) + "\r\n\r\n");
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerMessage(MSG_SAME_OUTPUT, MessageAnswer::Ok);
    std::vector<std::pair<std::string, Result>> done;
    const TaskRunReport report = Editor().RunTaskFile(
        task,
        [&](const std::string& path, const FileOutcome& o) { done.emplace_back(path, o.result); });
    EXPECT_THAT(Shown(), ElementsAre(Msg(MSG_FILE_NOT_FOUND, ""),
                                     Msg(MSG_SAME_OUTPUT, a, output, a), "ResultSummaryDialog"));
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(report.failedCount, 2u);
    EXPECT_THAT(done,
                ElementsAre(std::pair(a, RESULT_OK), std::pair(std::string(), RESULT_NOT_FOUND),
                            std::pair(a, RESULT_SAME_OUTPUT)));
    EXPECT_TRUE(fs::exists(output));

    // Cancel at the second stops the run.
    dialogs.ClearCalls();
    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE})
        .AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok)
        .AnswerMessage(MSG_SAME_OUTPUT, MessageAnswer::Cancel);
    EXPECT_TRUE(Editor().RunTaskFile(task).stopped);
    EXPECT_THAT(Shown(), ElementsAre("OutputExistsDialog", Msg(MSG_FILE_NOT_FOUND, ""),
                                     Msg(MSG_SAME_OUTPUT, a, output, a), Msg(MSG_STOPPED),
                                     "ResultSummaryDialog"));
}

// Under the Posix style "Trimlet" and "trimlet" are two folders: the settings differ.
TEST_F(TaskFileTest, FolderNamesDifferingInCaseDifferUnderPosixOnly) {
    const std::string task =
        dir.Write("t.trh", TaskText({Write("a.htm")}, "1.50.00", "260143148", "trimlet"));
    dialogs.AnswerSettingsMismatch({MessageAnswer::Yes, false});
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("SettingsMismatchDialog"));
    EXPECT_EQ(Editor().Settings().outputFolderName, "trimlet");

    Make(PathStyle::Windows);
    Editor().Settings().outputFolderName = "Trimlet";
    // (the path, written in the other style, cannot be listed)
    dialogs.AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok);
    EXPECT_TRUE(Editor().OpenTaskFile(task));
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 20021"));
    EXPECT_EQ(Editor().Settings().outputFolderName, "Trimlet");
}

TEST_F(TaskFileTest, FailedSaveLeavesTheOldTaskFileWhole) {
    ListOneModified();
    const std::string task = dir.Write("t.trh", "old task file");
    Editor().SetTaskPath(task);
    WriteFault fault;
    fault.failAfterBytes = 10;
    Editor().SetTaskWriteFault(fault);
    Editor().SaveTask();
    EXPECT_THAT(dialogs.MessageIds(), ElementsAre(MSG_TASK_WRITE_ERROR));
    EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ReadAll(task), "old task file");
    EXPECT_TRUE(Editor().TaskModified());
    EXPECT_EQ(NamesIn(dir.path()).size(), 2u);
}

}  // namespace
}  // namespace trimlet::test
