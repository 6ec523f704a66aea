// The per-file step of a run, on real files in a temporary folder, with the questions
// asserted as the user would see them.

#include "batch/run_step.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/system_error.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"
#include "text/trim_file.h"

namespace trimlet {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;

constexpr std::string_view kPage =
    "<html>\n  <body>\n    <!-- note -->\n    <p>  a  </p>\n</html>\n";
constexpr std::string_view kOld = "old output";

std::string Trimmed() {
    TempDir dir;
    std::string out;
    std::uint64_t in = 0, size = 0;
    EXPECT_RESULT(TrimFile(dir.Write("p.html", kPage), kDefaultTrimMode, "JS:VBS", out, in, size),
                  RESULT_OK);
    return out;
}

void SetWriteTime(const std::string& path, std::time_t seconds) {
    fs::last_write_time(
        path, fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(seconds)));
}

class RunStep : public testing::Test {
  protected:
    Result Run(const std::string& input, std::string_view folderName = "Trimlet") {
        return TrimFileToOutput(ctx, input, folderName, sourceSize, trimmedSize, flags);
    }

    TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    RunContext ctx{dialogs, profile, "JS:VBS"};
    std::uint64_t sourceSize = 0, trimmedSize = 0;
    std::uint32_t flags = kDefaultTrimMode;
};

TEST_F(RunStep, ProblemsNameThePathOkSkipsCancelStops) {
    struct Case {
        const char* name;
        const char* input;
        std::string folderName;
        int messageId;
        const char* shownPath;  // "" for the input path
        Result onOk;
        int systemError;  // the reason shown on a line of its own, 0 for none
    };
    std::string up;
    for (int i = 0; i < 32; ++i)
        up += "../";
    const Case cases[] = {
        {"missing input", "missing.html", "Trimlet", 20000, "", RESULT_NOT_FOUND, ENOENT},
        {"input is a folder", "folder", "Trimlet", 20001, "", RESULT_IS_FOLDER, 0},
        {"file as output folder", "page.html", "blocker", 20002, "blocker", RESULT_FOLDER_BLOCKED,
         0},
        {"folder not creatable", "page.html", "blocker/sub", 20003, "blocker/sub",
         RESULT_FILE_ERROR, EEXIST},
        {"folder name too long", "page.html", std::string(300, 'n'), 20003, "", RESULT_FILE_ERROR,
         ENAMETOOLONG},
        {".. removes the root", "page.html", up + "out", 20016, "", RESULT_FILE_ERROR, 0},
        {"folder as output file", "page.html", "taken", 20006, "taken/page.html", RESULT_IS_FOLDER,
         0},
    };
    dir.Write("page.html", kPage);
    dir.Write("blocker", "a plain file");
    fs::create_directories(dir.File("folder"));
    fs::create_directories(dir.File("taken/page.html"));

    for (const Case& c : cases) {
        for (MessageAnswer answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
            SCOPED_TRACE(std::string(c.name) + (answer == MessageAnswer::Ok ? ", OK" : ", Cancel"));
            ScriptedDialogs answers;
            answers.AnswerMessage(c.messageId, answer);
            RunContext run(answers, profile, "JS:VBS");
            std::string input = dir.File(c.input);
            EXPECT_RESULT(
                TrimFileToOutput(run, input, c.folderName, sourceSize, trimmedSize, flags),
                answer == MessageAnswer::Ok ? c.onOk : RESULT_STOPPED);
            ASSERT_EQ(answers.Calls().size(), 1u);
            const DialogCall& call = answers.Calls()[0];
            const std::string shown = c.messageId == 20003 && !*c.shownPath
                                          ? dir.File(c.folderName)
                                          : (*c.shownPath ? dir.File(c.shownPath) : input);
            std::string expected = FormatMessage(c.messageId, shown);
            if (c.systemError != 0) expected += "\n\n" + SystemErrorText(c.systemError);
            EXPECT_EQ(call.text, expected);
            EXPECT_EQ(call.icon,
                      c.messageId == 20016 ? MessageIcon::None : MessageIcon::Exclamation);
            EXPECT_EQ(call.buttons, MessageButtons::OkCancel);
            EXPECT_TRUE(answers.UnexpectedCalls().empty());
        }
    }
}

TEST_F(RunStep, FolderQuestionAndItsCheckBox) {
    std::string first = dir.Write("a/page.html", kPage);
    std::string second = dir.Write("b/page.html", kPage);
    int alertOff = 0;
    ctx.onFolderAlertOff = [&] { ++alertOff; };
    flags |= RUN_CONFIRM_FOLDER;
    dialogs.AnswerFolderCreation({false, true}).AnswerFolderCreation({true, false});
    dialogs.AnswerFolderCreation({true, true});

    EXPECT_RESULT(Run(first), RESULT_STOPPED);
    EXPECT_FALSE(fs::exists(dir.File("a/Trimlet")));
    EXPECT_RESULT(Run(first), RESULT_OK);
    EXPECT_EQ(ReadAll(dir.File("a/Trimlet/page.html")), Trimmed());
    EXPECT_EQ(sourceSize, kPage.size());
    EXPECT_EQ(trimmedSize, Trimmed().size());
    EXPECT_EQ(profile.ChangeCount(), 0);

    EXPECT_RESULT(Run(second), RESULT_OK);
    EXPECT_EQ(dialogs.Calls()[2].text,
              FormatMessage(MSG_CREATE_FOLDER_QUESTION, dir.File("b/Trimlet")));
    EXPECT_EQ(flags, kDefaultTrimMode);
    EXPECT_EQ(profile.FindInteger("ALERT_CREATE_OUTPUT_FOLDER"), 0);
    EXPECT_EQ(alertOff, 1);
    EXPECT_RESULT(Run(second, "more/deep"), RESULT_OK);
    EXPECT_EQ(dialogs.Calls().size(), 3u) << "no more questions";
}

TEST_F(RunStep, ExistingOutputFollowsTheChoice) {
    struct Case {
        const char* name;
        OutputExistsClose close;
        int choice;
        int inputNewerBy;  // seconds
        bool writes;
    };
    const Case cases[] = {
        {"overwrite", OutputExistsClose::Ok, 0, -60, true},
        {"skip", OutputExistsClose::Ok, 1, 60, false},
        {"if newer, newer", OutputExistsClose::Ok, 2, 60, true},
        {"if newer, equal", OutputExistsClose::Ok, 2, 0, true},
        {"if newer, older", OutputExistsClose::Ok, 2, -60, false},
        {"overwrite for all", OutputExistsClose::ForAll, 0, -60, true},
        {"skip for all", OutputExistsClose::ForAll, 1, 60, false},
        {"if newer for all, older", OutputExistsClose::ForAll, 2, -60, false},
    };
    const std::uint32_t fixedBits[] = {RUN_OVERWRITE_ALL, RUN_SKIP_ALL, RUN_NEWER_ALL};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir local;
        profile.WriteInteger("FILE_OVERWRITE_METHOD", 2);
        ScriptedDialogs answers;
        answers.AnswerOutputExists({c.close, c.choice});
        RunContext run(answers, profile, "JS:VBS");
        std::uint32_t runFlags = kDefaultTrimMode;
        std::vector<std::string> inputs;
        for (const char* name : {"one.html", "two.html"}) {
            inputs.push_back(local.Write(name, kPage));
            SetWriteTime(local.Write(std::string("Trimlet/") + name, kOld), 1'600'000'000);
            SetWriteTime(inputs.back(), 1'600'000'000 + c.inputNewerBy);
        }
        const std::string firstOutput = DescribeFile(local.File("Trimlet/one.html"));
        // A choice for all holds silently for the next file; otherwise the dialog comes again.
        for (std::size_t i = 0; i < 2; ++i) {
            bool asked = i == 1 && c.close == OutputExistsClose::Ok;
            EXPECT_RESULT(
                TrimFileToOutput(run, inputs[i], "Trimlet", sourceSize, trimmedSize, runFlags),
                asked      ? RESULT_STOPPED
                : c.writes ? RESULT_OK
                           : RESULT_SKIPPED);
            EXPECT_EQ(ReadAll(fs::path(local.path()) / "Trimlet" / fs::path(inputs[i]).filename()),
                      c.writes && !asked ? Trimmed() : std::string(kOld));
        }
        EXPECT_EQ(runFlags, kDefaultTrimMode | (c.close == OutputExistsClose::ForAll
                                                    ? RUN_CHOICE_FIXED | fixedBits[c.choice]
                                                    : 0));
        EXPECT_EQ(profile.FindInteger("FILE_OVERWRITE_METHOD"), c.choice);
        const OutputExistsRequest& request = answers.Calls()[0].outputExists;
        EXPECT_EQ(request.outputText, firstOutput);
        EXPECT_EQ(request.radioIndex, 2);
        EXPECT_TRUE(request.forAllEnabled);
    }
}

TEST_F(RunStep, WritingOverTheInput) {
    std::string input = dir.Write("page.html", kPage);
    flags |= RUN_SINGLE_ROW;
    ctx.rememberOverwriteChoice = false;
    dialogs.AnswerOutputExists({OutputExistsClose::Ok, OVERWRITE_CHOICE_OVERWRITE});
    EXPECT_RESULT(Run(input, ""), RESULT_OK);
    EXPECT_FALSE(profile.HasKey("FILE_OVERWRITE_METHOD"));
    EXPECT_EQ(ReadAll(input), Trimmed());
    const OutputExistsRequest& request = dialogs.Calls()[0].outputExists;
    EXPECT_EQ(request.inputText.rfind(input + "\r\n(", 0), 0u);
    EXPECT_FALSE(request.forAllEnabled);
}

TEST_F(RunStep, ReadOnlyOutputIsOverwrittenOnlyOnYes) {
    std::string input = dir.Write("page.html", kPage);
    std::string output = dir.Write("Trimlet/page.html", kOld);
    fs::permissions(output, fs::perms::owner_write, fs::perm_options::remove);
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::No, MessageAnswer::Yes})
        dialogs.AnswerOutputExists({OutputExistsClose::Ok, 0}).AnswerMessage(20019, answer);

    EXPECT_RESULT(Run(input), RESULT_STOPPED);
    EXPECT_RESULT(Run(input), RESULT_READ_ONLY_KEPT);
    EXPECT_EQ(ReadAll(output), kOld);
    EXPECT_RESULT(Run(input), RESULT_OK);
    EXPECT_EQ(ReadAll(output), Trimmed());
    EXPECT_NE(fs::status(output).permissions() & fs::perms::owner_write, fs::perms::none);
    const DialogCall& question = dialogs.Calls()[1];
    EXPECT_EQ(question.text, FormatMessage(MSG_READ_ONLY_OVERWRITE, output));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
}

TEST_F(RunStep, AWriteFailingPartWayLeavesTheOldFile) {
    for (std::string_view folderName : {"Trimlet", ""}) {
        SCOPED_TRACE(folderName.empty() ? "over the input" : "separate output");
        TempDir local;
        std::string input = local.Write("page.html", kPage);
        std::string output = folderName.empty() ? input : local.Write("Trimlet/page.html", kOld);
        std::string before = ReadAll(output);
        dialogs.AnswerOutputExists({OutputExistsClose::Ok, 0})
            .AnswerMessage(20008, MessageAnswer::Ok);
        ctx.writeFault.failAfterBytes = 5;
        EXPECT_RESULT(Run(input, folderName), RESULT_ACCESS_ERROR);
        EXPECT_EQ(ReadAll(output), before);
        EXPECT_EQ(dialogs.Calls().back().text,
                  FormatMessage(20008, input) + "\n\n" + SystemErrorText(EIO));
        EXPECT_EQ(test::NamesIn(fs::path(output).parent_path()).size(), 1u)
            << "temporary file left";
    }
}

TEST_F(RunStep, AnOutputThatIsNoRegularFileIsAnAccessErrorNeverOpened) {
    const std::string input = dir.Write("page.html", kPage);
    fs::create_directories(dir.File("Trimlet"));
    const std::string fifo = dir.File("Trimlet/page.html");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // With a reader present an open would not wait, and bytes would go into the FIFO.
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    flags |= RUN_CHOICE_FIXED | RUN_OVERWRITE_ALL;
    dialogs.AnswerMessage(MSG_FILE_ACCESS_ERROR, MessageAnswer::Ok);
    EXPECT_RESULT(Run(input), RESULT_ACCESS_ERROR);
    char buffer[8];
    EXPECT_LE(read(reader, buffer, sizeof buffer), 0);
    close(reader);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text, FormatMessage(MSG_FILE_ACCESS_ERROR, fifo));
    EXPECT_EQ(dialogs.Calls()[0].icon, MessageIcon::None);
}

TEST_F(RunStep, ANewOutputIsNoMoreReadableThanItsInput) {
    const mode_t oldMask = umask(022);
    struct Case {
        mode_t input;
        mode_t output;
    };
    for (const Case c : {Case{0600, 0600}, Case{0640, 0640}, Case{0444, 0644}, Case{0755, 0644}}) {
        SCOPED_TRACE(testing::Message() << std::oct << c.input);
        TempDir local;
        const std::string input = local.Write("secret.js", "var  a = 1;\n");
        ASSERT_EQ(chmod(input.c_str(), c.input), 0);
        EXPECT_RESULT(TrimFileToOutput(ctx, input, "Trimlet", sourceSize, trimmedSize, flags),
                      RESULT_OK);
        EXPECT_EQ(test::ModeOf(local.File("Trimlet/secret.js")), c.output);
    }
    umask(oldMask);
}

TEST_F(RunStep, RelativeInputIsTakenAgainstTheCurrentFolder) {
    dir.Write("bare.html", kPage);
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok);
    const fs::path saved = fs::current_path();
    fs::current_path(dir.path());
    const std::string gone = (fs::current_path() / "gone.html").string();
    EXPECT_RESULT(Run("bare.html"), RESULT_OK);
    EXPECT_RESULT(Run("gone.html"), RESULT_NOT_FOUND);
    fs::current_path(saved);
    EXPECT_EQ(ReadAll(dir.File("Trimlet/bare.html")), Trimmed());
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].text,
              FormatMessage(MSG_FILE_NOT_FOUND, gone) + "\n\n" + SystemErrorText(ENOENT));
}

// A file whose text is neither UTF-16 nor safe to trim as bytes is named as such.
TEST_F(RunStep, BrokenUtf16IsReportedAsSuch) {
    struct Case {
        const char* name;
        std::string bytes;
        int messageId;
        Result result;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"marked", "\xFF\xFE<\0p\0\x3D\xD8>\0"s, MSG_INVALID_UTF16, RESULT_INVALID_UTF16},
        {"unmarked", "<\0p\0>\0\x3D\xD8<\0/\0p\0>\0"s, MSG_UNCLEAR_UTF16, RESULT_UNCLEAR_UTF16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string input = dir.Write(std::string(c.name) + ".html", c.bytes);
        ScriptedDialogs answers;
        answers.AnswerMessage(c.messageId, MessageAnswer::Ok);
        RunContext run(answers, profile, "JS:VBS");
        EXPECT_RESULT(TrimFileToOutput(run, input, "Trimlet", sourceSize, trimmedSize, flags),
                      c.result);
        ASSERT_EQ(answers.Calls().size(), 1u);
        EXPECT_EQ(answers.Calls()[0].text, FormatMessage(c.messageId, input));
        EXPECT_FALSE(fs::exists(dir.File("Trimlet/" + std::string(c.name) + ".html")));
    }
}

// The output folder is worked out from the folder the input really lies in, and whether the
// output is the input is decided by the files, not by the text of their paths.
TEST_F(RunStep, PathsAreTakenAsTheSystemFollowsThem) {
    const std::string real = dir.Write("real/x.html", kPage);
    dir.Write("real/sub/keep.txt", "");
    const std::string decoy = dir.Write("x.html", kOld);  // where ".." taken as text leads
    fs::create_directory_symlink(dir.File("real/sub"), dir.File("link"));
    struct Case {
        const char* name;
        std::string input;
        std::string folderName;
        std::string output;  // where the trimmed text must land
        bool overInput;      // the in-place question, or the ordinary one
    };
    const Case cases[] = {
        {"link then .., own folder", dir.File("link/../x.html"), "Trimlet",
         dir.File("real/Trimlet/x.html"), false},
        {"link then .., in place", dir.File("link/../x.html"), "", real, true},
        {"doubled separator, in place", dir.File("real//x.html"), "", real, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write("real/x.html", kPage);
        if (c.output != real) dir.Write("real/Trimlet/x.html", kOld);
        ScriptedDialogs answers;
        answers.AnswerOutputExists({OutputExistsClose::Ok, 0});
        RunContext run(answers, profile, "JS:VBS");
        EXPECT_RESULT(TrimFileToOutput(run, c.input, c.folderName, sourceSize, trimmedSize, flags),
                      RESULT_OK);
        EXPECT_EQ(ReadAll(c.output), Trimmed());
        EXPECT_EQ(ReadAll(decoy), kOld);
        EXPECT_FALSE(fs::exists(dir.File("Trimlet")));
        ASSERT_EQ(answers.Calls().size(), 1u);
        const OutputExistsRequest& request = answers.Calls()[0].outputExists;
        EXPECT_EQ(request.message,
                  MessageText(c.overInput ? MSG_OVERWRITING_ORIGINAL : MSG_OUTPUT_EXISTS));
        EXPECT_EQ(request.outputText == MessageText(MSG_OUTPUT_IS_ORIGINAL), c.overInput);
    }
}

TEST(DescribeFile, SizeAndUnpaddedLocalTimeOrTheBarePath) {
    TempDir dir;
    test::ScopedEnv zone("TZ", "UTC");
    std::string path = dir.Write("page.html", std::string(1234, 'x'));
    SetWriteTime(path, 1139216700);  // 2006-02-06 09:05 UTC
    EXPECT_EQ(DescribeFile(path), path + "\r\n(1,234   2006/02/06 9:5)");
    EXPECT_EQ(DescribeFile(dir.File("missing")), dir.File("missing"));
    EXPECT_EQ(CompareWriteTimes(path, dir.File("missing")), -1);
    EXPECT_EQ(CompareWriteTimes(path, dir.path().string()), -1) << "a folder is not opened";
}

}  // namespace
}  // namespace trimlet
