// The command line's dialogs, driven through string streams.

#include "cli/terminal_dialogs.h"

#include <filesystem>
#include <sstream>
#include <string>

#include "batch/run_step.h"
#include "engine/trim_mode.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet::cli {
namespace {

namespace fs = std::filesystem;

struct Terminal {
    explicit Terminal(std::string input, bool interactive,
                      OverwritePolicy policy = OverwritePolicy::Ask)
        : in(std::move(input)), dialogs(in, err, out, interactive, policy) {}

    // What is left unread of the input.
    std::string Unread() {
        std::string rest;
        std::getline(in, rest, '\0');
        return rest;
    }

    std::istringstream in;
    std::ostringstream err;
    std::ostringstream out;
    TerminalDialogs dialogs;
};

MessageRequest Request(MessageButtons buttons) {
    return {MSG_READ_ONLY_OVERWRITE, FormatMessage(MSG_READ_ONLY_OVERWRITE, "/d/a.html"),
            MessageIcon::Question, buttons};
}

TEST(TerminalDialogs, MessagesTakeTheirSafeAnswerWithoutATerminal) {
    struct Case {
        const char* name;
        MessageButtons buttons;
        MessageAnswer answer;
        const char* shown;
    };
    const Case cases[] = {
        {"ok", MessageButtons::Ok, MessageAnswer::Ok, ""},
        {"ok/cancel skips", MessageButtons::OkCancel, MessageAnswer::Ok, "(answer: OK)\n"},
        {"yes/no declines", MessageButtons::YesNo, MessageAnswer::No, "(answer: No)\n"},
        {"yes/no/cancel keeps", MessageButtons::YesNoCancel, MessageAnswer::No, "(answer: No)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t("c\ny\n", false);
        EXPECT_EQ(t.dialogs.ShowMessage(Request(c.buttons)), c.answer);
        EXPECT_EQ(t.err.str(),
                  "このファイルは読み取り専用です。強制的に上書きしますか？\n\n/d/a.html\n" +
                      std::string(c.shown));
        EXPECT_EQ(t.Unread(), "c\ny\n") << "nothing is read";
        EXPECT_EQ(t.out.str(), "");
    }
}

TEST(TerminalDialogs, MessagesAskOnATerminal) {
    struct Case {
        const char* name;
        MessageButtons buttons;
        std::string input;
        MessageAnswer answer;
        int prompts;
    };
    const Case cases[] = {
        {"ok", MessageButtons::OkCancel, "o\n", MessageAnswer::Ok, 1},
        {"cancel in words", MessageButtons::OkCancel, " Cancel \n", MessageAnswer::Cancel, 1},
        {"yes", MessageButtons::YesNoCancel, "Y\n", MessageAnswer::Yes, 1},
        {"asks again", MessageButtons::YesNo, "x\n\nc\nn\n", MessageAnswer::No, 4},
        {"end of input", MessageButtons::OkCancel, "", MessageAnswer::Ok, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t(c.input, true);
        EXPECT_EQ(t.dialogs.ShowMessage(Request(c.buttons)), c.answer);
        std::string choices = c.buttons == MessageButtons::OkCancel ? "[O]K / [C]ancel: "
                              : c.buttons == MessageButtons::YesNo  ? "[Y]es / [N]o: "
                                                                    : "[Y]es / [N]o / [C]ancel: ";
        std::string err = t.err.str();
        int prompts = 0;
        for (auto at = err.find(choices); at != std::string::npos; at = err.find(choices, at + 1))
            ++prompts;
        EXPECT_EQ(prompts, c.prompts) << err;
        EXPECT_EQ(err.find("(answer:") != std::string::npos, c.input.empty());
    }
}

TEST(TerminalDialogs, OutputExistsChoices) {
    OutputExistsRequest request;
    request.message = MessageText(MSG_OUTPUT_EXISTS);
    request.inputText = "/d/a.html\r\n(1,234   2006/02/06 9:5)";
    request.outputText = "/d/Trimlet/a.html\r\n(1,000   2006/02/07 10:15)";
    request.radioIndex = OVERWRITE_CHOICE_IF_NEWER;

    struct Case {
        const char* name;
        bool interactive;
        OverwritePolicy policy;
        bool forAllEnabled;
        std::string input;
        OutputExistsClose close;
        int index;
    };
    const Case cases[] = {
        // on a terminal
        {"digit is OK", true, OverwritePolicy::Ask, true, "1\n", OutputExistsClose::Ok, 1},
        {"digit for all", true, OverwritePolicy::Ask, true, "0 a\n", OutputExistsClose::ForAll, 0},
        {"preselected for all", true, OverwritePolicy::Ask, true, "a\n", OutputExistsClose::ForAll,
         2},
        {"cancel", true, OverwritePolicy::Ask, true, "c\n", OutputExistsClose::Cancel, 2},
        {"for all disabled", true, OverwritePolicy::Ask, false, "a\n7\no\n", OutputExistsClose::Ok,
         2},
        {"end of input", true, OverwritePolicy::Ask, true, "", OutputExistsClose::ForAll, 2},
        {"option on a terminal", true, OverwritePolicy::All, true, "1\n", OutputExistsClose::ForAll,
         0},
        // without one
        {"preselected", false, OverwritePolicy::Ask, true, "", OutputExistsClose::ForAll, 2},
        {"preselected, single row", false, OverwritePolicy::Ask, false, "", OutputExistsClose::Ok,
         2},
        {"skip", false, OverwritePolicy::Skip, true, "", OutputExistsClose::ForAll, 1},
        {"newer", false, OverwritePolicy::Newer, true, "", OutputExistsClose::ForAll, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t(c.input, c.interactive, c.policy);
        request.forAllEnabled = c.forAllEnabled;
        OutputExistsAnswer answer = t.dialogs.OutputExistsDialog(request);
        EXPECT_EQ(answer.closedWith, c.close);
        EXPECT_EQ(answer.radioIndex, c.index);
        EXPECT_EQ(t.dialogs.RemembersOverwriteChoice(), c.policy == OverwritePolicy::Ask);
        std::string err = t.err.str();
        EXPECT_EQ(err.rfind("出力ファイル既存時の処理\n"
                            "出力ファイルが既に存在します。処理を選択してください。\n"
                            "オリジナル　 ：/d/a.html\n  (1,234   2006/02/06 9:5)\n"
                            "出力ファイル：/d/Trimlet/a.html\n  (1,000   2006/02/07 10:15)\n",
                            0),
                  0u)
            << err;
        EXPECT_EQ(err.find("以後すべて / [C]ancel") != std::string::npos,
                  c.interactive && c.policy == OverwritePolicy::Ask && c.forAllEnabled);
    }
}

TEST(TerminalDialogs, FolderCreationAndOtherDialogs) {
    {
        Terminal t("a\n", true);
        FolderCreationAnswer answer = t.dialogs.FolderCreationDialog("question");
        EXPECT_TRUE(answer.accepted);
        EXPECT_TRUE(answer.createFromNowOn);
        EXPECT_NE(t.err.str().find("[A] 以後、フォルダが存在しない場合には自動的に作成する / "),
                  std::string::npos);
    }
    {
        Terminal t("a\n", false);
        FolderCreationAnswer answer = t.dialogs.FolderCreationDialog("question");
        EXPECT_TRUE(answer.accepted);
        EXPECT_FALSE(answer.createFromNowOn);
    }
    Terminal t("", false);
    SettingsMismatchAnswer mismatch = t.dialogs.SettingsMismatchDialog("report");
    EXPECT_EQ(mismatch.button, MessageAnswer::No);
    EXPECT_FALSE(mismatch.takeWithoutAsking);
    EXPECT_EQ(t.dialogs.AlertVersionDialog(TM_SCRIPT_OPTIONS_MASK), std::nullopt);
    EXPECT_EQ(t.dialogs.OpenTaskFileDialog(MSG_TITLE_OPEN_TASK, "/d"), std::nullopt);
    EXPECT_FALSE(t.dialogs.OptionsSheet());
    EXPECT_TRUE(t.dialogs.AlertCRRegAsWSPDialog(true));

    Terminal version("o\n", true);
    EXPECT_EQ(version.dialogs.AlertVersionDialog(kDefaultTrimMode | 0x30000000),
              kDefaultTrimMode & TM_SCRIPT_OPTIONS_MASK);
}

TEST(TerminalDialogs, SummaryGoesToTheOutput) {
    {
        Terminal t("", false);
        t.dialogs.ResultSummaryDialog({3, 1, 1'234'567, 1'000'000});
        EXPECT_EQ(t.out.str(),
                  "トリムレット処理が完了しました！\n"
                  "処理に成功したファイル：3 個\n"
                  "処理をスキップしたファイル：1 個 (または処理に失敗したファイル)\n"
                  "処理前のファイルサイズ合計：1,234,567\n"
                  "処理後のファイルサイズ合計：1,000,000\n"
                  "平均トリムレット率：81 %\n");
        EXPECT_EQ(t.err.str(), "");
    }
    Terminal t("", false);
    t.dialogs.ResultSummaryDialog({0, 2, 0, 0});
    EXPECT_NE(t.out.str().find("処理前のファイルサイズ合計：***,***\n"), std::string::npos);
    EXPECT_NE(t.out.str().find("平均トリムレット率：\n"), std::string::npos);
}

// The safe answers, through the run step: an existing output follows the option, a
// read-only one is kept.
TEST(TerminalDialogs, RunStepWithoutATerminal) {
    test::TempDir dir;
    std::string input = dir.Write("a.html", "<p>  a  </p>\n");
    std::string output = dir.Write("Trimlet/a.html", "old");
    MemoryProfile profile;
    std::uint64_t sourceSize = 0, trimmedSize = 0;

    Terminal skipping("", false, OverwritePolicy::Skip);
    RunContext skip(skipping.dialogs, profile, "JS:VBS");
    skip.rememberOverwriteChoice = skipping.dialogs.RemembersOverwriteChoice();
    std::uint32_t flags = kDefaultTrimMode | RUN_CONFIRM_FOLDER;
    EXPECT_RESULT(TrimFileToOutput(skip, input, "Trimlet", sourceSize, trimmedSize, flags),
                  RESULT_SKIPPED);
    EXPECT_EQ(flags & RUN_SKIP_ALL, RUN_SKIP_ALL);
    EXPECT_FALSE(profile.HasKey("FILE_OVERWRITE_METHOD"));

    fs::permissions(output, fs::perms::owner_write, fs::perm_options::remove);
    Terminal asking("", false);
    RunContext keep(asking.dialogs, profile, "JS:VBS");
    flags = kDefaultTrimMode;
    EXPECT_RESULT(TrimFileToOutput(keep, input, "Trimlet", sourceSize, trimmedSize, flags),
                  RESULT_READ_ONLY_KEPT);
    EXPECT_EQ(test::ReadAll(output), "old");
    EXPECT_NE(asking.err.str().find("(answer: No)"), std::string::npos);
}

}  // namespace
}  // namespace trimlet::cli
