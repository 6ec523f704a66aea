// The per-file step of a run, on real files in a temporary folder, with the questions
// asserted as the user would see them.

#include "batch/run_step.h"

#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "settings/profile_keys.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;

constexpr std::string_view kPage =
    "<html>\n  <body>\n    <!-- note -->\n    <p>  a  b  </p>\n"
    "  </body>\n</html>\n";
constexpr std::string_view kOldOutput = "old output";
constexpr std::uint32_t kMode = kDefaultTrimMode;

std::string Trimmed(std::string_view page) {
    TempDir dir;
    std::string out;
    std::uint64_t in = 0, size = 0;
    EXPECT_RESULT(TrimFile(dir.Write("p.html", page), kMode, "JS:VBS", out, in, size), RESULT_OK);
    return out;
}

void SetWriteTime(const std::string& path, std::time_t seconds) {
    fs::last_write_time(
        path, fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(seconds)));
}

bool IsWritable(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

class RunStepTest : public testing::Test {
  protected:
    struct Outcome {
        Result result;
        std::uint64_t sourceSize;
        std::uint64_t trimmedSize;
    };

    Outcome Run(const std::string& input, std::string_view folderName = "Trimlet") {
        Outcome o{};
        o.result = TrimFileToOutput(ctx, input, folderName, o.sourceSize, o.trimmedSize, flags);
        return o;
    }

    // An input page and an existing output for it in "Trimlet".
    std::string WithExistingOutput(std::string_view name = "page.html") {
        std::string input = dir.Write(name, kPage);
        dir.Write("Trimlet/" + std::string(name), kOldOutput);
        return input;
    }

    void SetUp() override {
        ctx.onFolderAlertOff = [this] { ++alertOffCalls; };
    }

    TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    int alertOffCalls = 0;
    RunContext ctx{dialogs, profile, "JS:VBS"};
    std::uint32_t flags = kMode;
};

// ---- writing ----

TEST_F(RunStepTest, TrimsIntoANewOutputFolderAfterAsking) {
    std::string input = dir.Write("page.html", kPage);
    flags |= RUN_CONFIRM_FOLDER;
    dialogs.AnswerFolderCreation({true, false});

    Outcome o = Run(input);
    EXPECT_RESULT(o.result, RESULT_OK);
    EXPECT_EQ(ReadAll(dir.File("Trimlet/page.html")), Trimmed(kPage));
    EXPECT_EQ(ReadAll(input), kPage);
    EXPECT_EQ(o.sourceSize, kPage.size());
    EXPECT_EQ(o.trimmedSize, Trimmed(kPage).size());
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].kind, DialogKind::FolderCreation);
    EXPECT_EQ(dialogs.Calls()[0].text,
              "出力ファイルを収納するための下のフォルダが存在しません。作成しますか？\n\n" +
                  dir.File("Trimlet"));
    EXPECT_EQ(flags, kMode | RUN_CONFIRM_FOLDER);
    EXPECT_EQ(profile.ChangeCount(), 0);
    EXPECT_EQ(alertOffCalls, 0);
}

TEST_F(RunStepTest, TickingTheFolderBoxSwitchesTheQuestionOff) {
    std::string first = dir.Write("a/page.html", kPage);
    std::string second = dir.Write("b/page.html", kPage);
    flags |= RUN_CONFIRM_FOLDER;
    dialogs.AnswerFolderCreation({true, true});

    EXPECT_RESULT(Run(first).result, RESULT_OK);
    EXPECT_RESULT(Run(second).result, RESULT_OK);
    EXPECT_EQ(dialogs.Sequence(), std::vector<std::string>{"FolderCreationDialog"});
    EXPECT_EQ(flags, kMode);
    EXPECT_EQ(profile.FindInteger("ALERT_CREATE_OUTPUT_FOLDER"), 0);
    EXPECT_EQ(alertOffCalls, 1);
    EXPECT_TRUE(fs::is_regular_file(dir.File("b/Trimlet/page.html")));
}

TEST_F(RunStepTest, CancellingTheFolderQuestionStopsAndCreatesNothing) {
    std::string input = dir.Write("page.html", kPage);
    flags |= RUN_CONFIRM_FOLDER;
    dialogs.AnswerFolderCreation({false, true});
    EXPECT_RESULT(Run(input).result, RESULT_STOPPED);
    EXPECT_FALSE(fs::exists(dir.File("Trimlet")));
    EXPECT_EQ(profile.ChangeCount(), 0);
}

TEST_F(RunStepTest, WithoutConfirmationAMissingFolderIsCreatedSilently) {
    std::string input = dir.Write("page.html", kPage);
    EXPECT_RESULT(Run(input, "out/deep").result, RESULT_OK);
    EXPECT_EQ(ReadAll(dir.File("out/deep/page.html")), Trimmed(kPage));
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST_F(RunStepTest, WritingOverTheInputShowsTheOriginalLinesAndReplacesIt) {
    std::string input = dir.Write("page.html", kPage);
    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE});

    EXPECT_RESULT(Run(input, "").result, RESULT_OK);
    EXPECT_EQ(ReadAll(input), Trimmed(kPage));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    const OutputExistsRequest& request = dialogs.Calls()[0].outputExists;
    EXPECT_EQ(request.message,
              "オリジナルのファイルを上書きしようとしています。\n処理を選択してください。");
    EXPECT_EQ(request.outputText, "    (オリジナルを上書き)");
    EXPECT_EQ(request.inputText.substr(0, input.size() + 3), input + "\r\n(");
}

// ---- a failed write ----

TEST_F(RunStepTest, AWriteFailingPartWayLeavesTheOldFileIntact) {
    struct Case {
        const char* name;
        std::string_view folderName;
    };
    for (const Case& c : {Case{"separate output", "Trimlet"}, Case{"over the input", ""}}) {
        SCOPED_TRACE(c.name);
        TempDir local;
        std::string input = local.Write("page.html", kPage);
        std::string output =
            c.folderName.empty() ? input : local.Write("Trimlet/page.html", kOldOutput);
        std::string before = ReadAll(output);
        ScriptedDialogs answers;
        answers.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE})
            .AnswerMessage(MSG_FILE_PROCESSING_ERROR, MessageAnswer::Ok);
        RunContext failing{answers, profile, "JS:VBS"};
        failing.writeFault.failAfterBytes = 5;
        std::uint64_t sourceSize = 0, trimmedSize = 0;
        std::uint32_t runFlags = kMode;

        EXPECT_RESULT(
            TrimFileToOutput(failing, input, c.folderName, sourceSize, trimmedSize, runFlags),
            RESULT_ACCESS_ERROR);
        EXPECT_EQ(ReadAll(output), before);
        EXPECT_EQ(ReadAll(input), kPage);
        EXPECT_EQ(answers.Sequence(),
                  (std::vector<std::string>{"OutputExistsDialog", "message 20008"}));
        EXPECT_EQ(answers.Calls()[1].text, FormatMessage(MSG_FILE_PROCESSING_ERROR, input));
        EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(output).parent_path()),
                                fs::directory_iterator()),
                  1)
            << "no temporary file is left";
    }
}

// ---- per-file problems: OK skips, Cancel stops ----

TEST_F(RunStepTest, ProblemsAreReportedWithThePathAndOkSkips) {
    struct Case {
        const char* name;
        std::string input;       // relative to the temporary folder
        std::string folderName;  // output folder name
        int messageId;
        std::string shownPath;  // relative; "" for the input path
        MessageIcon icon;
        Result onOk;
    };
    const std::string tooFarUp = [] {
        std::string up;
        for (int i = 0; i < 64; ++i)
            up += "../";
        return up + "out";
    }();
    const std::vector<Case> cases = {
        {"missing input", "missing.html", "Trimlet", MSG_FILE_NOT_FOUND, "",
         MessageIcon::Exclamation, RESULT_NOT_FOUND},
        {"input is a folder", "folder", "Trimlet", MSG_INPUT_IS_FOLDER, "",
         MessageIcon::Exclamation, RESULT_IS_FOLDER},
        {"plain file as output folder", "page.html", "blocker", MSG_OUTPUT_FOLDER_BLOCKED,
         "blocker", MessageIcon::Exclamation, RESULT_FOLDER_BLOCKED},
        {"folder cannot be created", "page.html", "blocker/sub", MSG_CANNOT_CREATE_FOLDER,
         "blocker/sub", MessageIcon::Exclamation, RESULT_FILE_ERROR},
        {".. removes the root", "page.html", tooFarUp, MSG_OUTPUT_CREATE_FAILED, "",
         MessageIcon::None, RESULT_FILE_ERROR},
        {"folder as output file", "page.html", "taken", MSG_OUTPUT_IS_FOLDER, "taken/page.html",
         MessageIcon::Exclamation, RESULT_IS_FOLDER},
    };
    dir.Write("page.html", kPage);
    dir.Write("blocker", "a plain file");
    fs::create_directories(dir.File("folder"));
    fs::create_directories(dir.File("taken/page.html"));

    for (const Case& c : cases) {
        for (MessageAnswer answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
            SCOPED_TRACE(std::string(c.name) +
                         (answer == MessageAnswer::Ok ? " / OK" : " / Cancel"));
            ScriptedDialogs answers;
            answers.AnswerMessage(c.messageId, answer);
            RunContext local{answers, profile, "JS:VBS"};
            std::uint64_t sourceSize = 1, trimmedSize = 1;
            std::uint32_t runFlags = kMode;
            std::string input = dir.File(c.input);

            Result r =
                TrimFileToOutput(local, input, c.folderName, sourceSize, trimmedSize, runFlags);
            EXPECT_RESULT(r, answer == MessageAnswer::Ok ? c.onOk : RESULT_STOPPED);
            ASSERT_EQ(answers.Calls().size(), 1u);
            const DialogCall& call = answers.Calls()[0];
            EXPECT_EQ(call.messageId, c.messageId);
            EXPECT_EQ(
                call.text,
                FormatMessage(c.messageId, c.shownPath.empty() ? input : dir.File(c.shownPath)));
            EXPECT_EQ(call.icon, c.icon);
            EXPECT_EQ(call.buttons, MessageButtons::OkCancel);
            EXPECT_EQ(sourceSize + trimmedSize, 0u);
            EXPECT_TRUE(answers.UnexpectedCalls().empty());
        }
    }
    EXPECT_FALSE(fs::exists(dir.File("out")));
}

TEST_F(RunStepTest, MessageTextsNameTheFile) {
    std::string input = dir.File("missing.html");
    dialogs.AnswerMessage(MessageAnswer::Ok);
    EXPECT_RESULT(Run(input).result, RESULT_NOT_FOUND);
    EXPECT_EQ(dialogs.Calls()[0].text,
              "\"" + input + "\"\n\n上記ファイルは見つかりません。処理をスキップします。");
}

// Changes the working folder for one test, so that paths without a folder can be tried.
class ScopedWorkingFolder {
  public:
    explicit ScopedWorkingFolder(const fs::path& folder) : saved_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~ScopedWorkingFolder() { fs::current_path(saved_); }

  private:
    fs::path saved_;
};

TEST_F(RunStepTest, PathsWithoutAFolderOrNotAbsoluteAreRefused) {
    dir.Write("bare.html", kPage);
    dir.Write("sub/rel.html", kPage);
    ScopedWorkingFolder here(dir.path());

    EXPECT_RESULT(Run("bare.html").result, RESULT_BAD_PATH);
    EXPECT_TRUE(dialogs.Calls().empty());

    EXPECT_RESULT(Run("sub/rel.html").result, RESULT_STOPPED);
    ASSERT_EQ(dialogs.MessageIds(), std::vector<int>{MSG_OUT_OF_MEMORY});
    EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(dialogs.Calls()[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(fs::exists(dir.File("sub/Trimlet")));

    EXPECT_RESULT(Run("").result, RESULT_INVALID_ARGUMENT);
}

// ---- an existing output ----

TEST_F(RunStepTest, ExistingOutputFollowsTheChoiceAndRemembersIt) {
    enum Times { InputNewer, Equal, InputOlder };
    struct Case {
        const char* name;
        OutputExistsClose close;
        int choice;
        Times times;
        Result result;
        std::uint32_t fixedBits;  // run bits gained
    };
    const Case cases[] = {
        {"overwrite", OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE, InputOlder, RESULT_OK, 0},
        {"skip", OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP, InputNewer, RESULT_SKIPPED, 0},
        {"newer, input newer", OutputExistsClose::Ok, OVERWRITE_CHOICE_IF_NEWER, InputNewer,
         RESULT_OK, 0},
        {"newer, equal times", OutputExistsClose::Ok, OVERWRITE_CHOICE_IF_NEWER, Equal, RESULT_OK,
         0},
        {"newer, input older", OutputExistsClose::Ok, OVERWRITE_CHOICE_IF_NEWER, InputOlder,
         RESULT_SKIPPED, 0},
        {"overwrite for all", OutputExistsClose::ForAll, OVERWRITE_CHOICE_OVERWRITE, InputOlder,
         RESULT_OK, RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL},
        {"skip for all", OutputExistsClose::ForAll, OVERWRITE_CHOICE_SKIP, InputNewer,
         RESULT_SKIPPED, RUN_CHOICE_FIXED | RUN_SKIP_ALL},
        {"newer for all, equal", OutputExistsClose::ForAll, OVERWRITE_CHOICE_IF_NEWER, Equal,
         RESULT_OK, RUN_CHOICE_FIXED | RUN_NEWER_ALL},
        {"newer for all, older", OutputExistsClose::ForAll, OVERWRITE_CHOICE_IF_NEWER, InputOlder,
         RESULT_SKIPPED, RUN_CHOICE_FIXED | RUN_NEWER_ALL},
    };
    const std::time_t base = 1'600'000'000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir local;
        MemoryProfile store;
        store.WriteInteger("FILE_OVERWRITE_METHOD", 2);
        ScriptedDialogs answers;
        answers.AnswerOutputExists({c.close, c.choice});
        RunContext run{answers, store, "JS:VBS"};
        std::uint32_t runFlags = kMode | RUN_CONFIRM_FOLDER;

        // Two files with the same time relation to their outputs.
        std::vector<std::string> inputs;
        for (const char* name : {"one.html", "two.html"}) {
            std::string input = local.Write(name, kPage);
            std::string output = local.Write(std::string("Trimlet/") + name, kOldOutput);
            SetWriteTime(output, base);
            SetWriteTime(input, base + (c.times == InputNewer ? 60 : c.times == Equal ? 0 : -60));
            inputs.push_back(input);
        }
        std::string expected = c.result == RESULT_OK ? Trimmed(kPage) : std::string(kOldOutput);
        std::string inputText = DescribeFile(inputs[0]);
        std::string outputText = DescribeFile(local.File("Trimlet/one.html"));

        std::uint64_t sourceSize = 0, trimmedSize = 0;
        EXPECT_RESULT(
            TrimFileToOutput(run, inputs[0], "Trimlet", sourceSize, trimmedSize, runFlags),
            c.result);
        EXPECT_EQ(ReadAll(local.File("Trimlet/one.html")), expected);
        EXPECT_EQ(runFlags, kMode | RUN_CONFIRM_FOLDER | c.fixedBits);
        EXPECT_EQ(store.FindInteger("FILE_OVERWRITE_METHOD"), c.choice);
        ASSERT_EQ(answers.Calls().size(), 1u);
        const OutputExistsRequest& request = answers.Calls()[0].outputExists;
        EXPECT_EQ(request.message, "出力ファイルが既に存在します。処理を選択してください。");
        EXPECT_EQ(request.inputText, inputText);
        EXPECT_EQ(request.outputText, outputText);
        EXPECT_EQ(request.radioIndex, 2);
        EXPECT_TRUE(request.forAllEnabled);

        // A choice made for all applies to the next file without asking; otherwise the
        // dialog comes again.
        if (c.close == OutputExistsClose::ForAll) {
            EXPECT_RESULT(
                TrimFileToOutput(run, inputs[1], "Trimlet", sourceSize, trimmedSize, runFlags),
                c.result);
            EXPECT_EQ(ReadAll(local.File("Trimlet/two.html")), expected);
            EXPECT_EQ(answers.Calls().size(), 1u);
        } else {
            EXPECT_RESULT(
                TrimFileToOutput(run, inputs[1], "Trimlet", sourceSize, trimmedSize, runFlags),
                RESULT_STOPPED);
            EXPECT_EQ(answers.UnexpectedCalls().size(), 1u) << "asked again";
        }
    }
}

TEST_F(RunStepTest, OutputExistsDialogDetails) {
    std::string input = WithExistingOutput();

    // A single-row run cannot choose for all; an unknown stored choice preselects overwrite.
    profile.WriteInteger("FILE_OVERWRITE_METHOD", 7);
    flags |= RUN_SINGLE_ROW;
    dialogs.AnswerOutputExists({OutputExistsClose::Cancel, OVERWRITE_CHOICE_SKIP});
    EXPECT_RESULT(Run(input).result, RESULT_STOPPED);
    EXPECT_FALSE(dialogs.Calls()[0].outputExists.forAllEnabled);
    EXPECT_EQ(dialogs.Calls()[0].outputExists.radioIndex, OVERWRITE_CHOICE_OVERWRITE);
    EXPECT_EQ(profile.FindInteger("FILE_OVERWRITE_METHOD"), 7) << "cancel stores nothing";
    EXPECT_EQ(ReadAll(dir.File("Trimlet/page.html")), kOldOutput);

    // A choice given by an option is not stored.
    ctx.rememberOverwriteChoice = false;
    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_SKIP});
    EXPECT_RESULT(Run(input).result, RESULT_SKIPPED);
    EXPECT_EQ(profile.FindInteger("FILE_OVERWRITE_METHOD"), 7);
}

TEST_F(RunStepTest, ReadOnlyOutputIsOverwrittenOnlyOnYes) {
    struct Case {
        const char* name;
        MessageAnswer answer;
        Result result;
    };
    for (const Case& c : {Case{"yes", MessageAnswer::Yes, RESULT_OK},
                          Case{"no", MessageAnswer::No, RESULT_READ_ONLY_KEPT},
                          Case{"cancel", MessageAnswer::Cancel, RESULT_STOPPED}}) {
        SCOPED_TRACE(c.name);
        TempDir local;
        std::string input = local.Write("page.html", kPage);
        std::string output = local.Write("Trimlet/page.html", kOldOutput);
        fs::permissions(output, fs::perms::owner_write, fs::perm_options::remove);
        ScriptedDialogs answers;
        answers.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE})
            .AnswerMessage(MSG_READ_ONLY_OVERWRITE, c.answer);
        RunContext run{answers, profile, "JS:VBS"};
        std::uint64_t sourceSize = 0, trimmedSize = 0;
        std::uint32_t runFlags = kMode;

        EXPECT_RESULT(TrimFileToOutput(run, input, "Trimlet", sourceSize, trimmedSize, runFlags),
                      c.result);
        EXPECT_EQ(ReadAll(output),
                  c.result == RESULT_OK ? Trimmed(kPage) : std::string(kOldOutput));
        EXPECT_EQ(IsWritable(output), c.result == RESULT_OK);
        ASSERT_EQ(answers.Calls().size(), 2u);
        const DialogCall& question = answers.Calls()[1];
        EXPECT_EQ(question.text,
                  "このファイルは読み取り専用です。強制的に上書きしますか？\n\n" + output);
        EXPECT_EQ(question.icon, MessageIcon::Question);
        EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
    }
}

// ---- file facts ----

TEST(CompareWriteTimes, ComparesAndTreatsUnreadableAsOlder) {
    TempDir dir;
    std::string a = dir.Write("a", "a");
    std::string b = dir.Write("b", "b");
    SetWriteTime(a, 1'000'000'000);
    SetWriteTime(b, 1'000'000'001);
    EXPECT_EQ(CompareWriteTimes(a, b), -1);
    EXPECT_EQ(CompareWriteTimes(b, a), 1);
    EXPECT_EQ(CompareWriteTimes(a, a), 0);
    EXPECT_EQ(CompareWriteTimes(b, dir.File("missing")), -1);
    EXPECT_EQ(CompareWriteTimes(b, ""), -1);
    EXPECT_EQ(CompareWriteTimes(b, dir.path().string()), -1) << "a folder cannot be opened";
    if (geteuid() != 0) {
        fs::permissions(a, fs::perms::owner_read, fs::perm_options::remove);
        EXPECT_EQ(CompareWriteTimes(b, a), -1);
        EXPECT_EQ(DescribeFile(a), a);
    }
}

TEST(DescribeFile, PathSizeAndUnpaddedLocalTime) {
    TempDir dir;
    std::string path = dir.Write("page.html", std::string(1234, 'x'));
    struct tm local {};
    local.tm_year = 2006 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 6;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_isdst = -1;
    SetWriteTime(path, mktime(&local));
    EXPECT_EQ(DescribeFile(path), path + "\r\n(1,234   2006/02/06 9:5)");
    EXPECT_EQ(DescribeFile(dir.File("missing")), dir.File("missing"));
}

}  // namespace
}  // namespace trimlet
