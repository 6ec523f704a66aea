// The command line's dialogs, driven through string streams.

#include "cli/terminal_dialogs.h"

#include <gmock/gmock.h>

#include <sstream>
#include <string>

#include "engine/trim_mode.h"

namespace trimlet::cli {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

struct Terminal {
    Terminal(std::string input, bool interactive, OverwritePolicy policy = OverwritePolicy::Ask)
        : in(std::move(input)), dialogs(in, err, out, interactive, policy) {}
    std::istringstream in;
    std::ostringstream err, out;
    TerminalDialogs dialogs;
};

TEST(TerminalDialogs, MessageBoxes) {
    struct Case {
        const char* name;
        bool interactive;
        MessageButtons buttons;
        std::string input;
        MessageAnswer answer;
        const char* after;  // what follows the message text
    };
    const Case cases[] = {
        // without a terminal: the safe answer, nothing read
        {"ok only", false, MessageButtons::Ok, "c\n", MessageAnswer::Ok, ""},
        {"ok/cancel skips", false, MessageButtons::OkCancel, "c\n", MessageAnswer::Ok,
         "(answer: OK)\n"},
        {"yes/no declines", false, MessageButtons::YesNo, "y\n", MessageAnswer::No,
         "(answer: No)\n"},
        // on a terminal
        {"cancel", true, MessageButtons::OkCancel, " Cancel\n", MessageAnswer::Cancel,
         "[O]K / [C]ancel: "},
        {"asks again", true, MessageButtons::YesNo, "x\nc\nn\n", MessageAnswer::No,
         "[Y]es / [N]o: [Y]es / [N]o: [Y]es / [N]o: "},
        {"yes", true, MessageButtons::YesNoCancel, "Y\n", MessageAnswer::Yes,
         "[Y]es / [N]o / [C]ancel: "},
        {"end of input", true, MessageButtons::OkCancel, "", MessageAnswer::Ok,
         "[O]K / [C]ancel: \n(answer: OK)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t(c.input, c.interactive);
        std::string text = FormatMessage(MSG_READ_ONLY_OVERWRITE, "/d/a.html");
        EXPECT_EQ(t.dialogs.ShowMessage(
                      {MSG_READ_ONLY_OVERWRITE, text, MessageIcon::Question, c.buttons}),
                  c.answer);
        EXPECT_EQ(t.err.str(), text + "\n" + c.after);
    }
}

TEST(TerminalDialogs, OutputExists) {
    OutputExistsRequest request{MessageText(MSG_OUTPUT_EXISTS),
                                "/d/a.html\r\n(1,234   2006/02/06 9:5)", "/d/T/a.html",
                                OVERWRITE_CHOICE_IF_NEWER, true};
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
        {"digit", true, OverwritePolicy::Ask, true, "1\n", OutputExistsClose::Ok, 1},
        {"digit for all", true, OverwritePolicy::Ask, true, "0 a\n", OutputExistsClose::ForAll, 0},
        {"cancel", true, OverwritePolicy::Ask, true, "c\n", OutputExistsClose::Cancel, 2},
        {"for all disabled", true, OverwritePolicy::Ask, false, "a\n7\no\n", OutputExistsClose::Ok,
         2},
        {"end of input", true, OverwritePolicy::Ask, true, "", OutputExistsClose::ForAll, 2},
        {"option wins", true, OverwritePolicy::All, true, "1\n", OutputExistsClose::ForAll, 0},
        {"preselected", false, OverwritePolicy::Ask, true, "", OutputExistsClose::ForAll, 2},
        {"single row", false, OverwritePolicy::Ask, false, "", OutputExistsClose::Ok, 2},
        {"skip", false, OverwritePolicy::Skip, true, "", OutputExistsClose::ForAll, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terminal t(c.input, c.interactive, c.policy);
        request.forAllEnabled = c.forAllEnabled;
        OutputExistsAnswer answer = t.dialogs.OutputExistsDialog(request);
        EXPECT_EQ(answer.closedWith, c.close);
        EXPECT_EQ(answer.radioIndex, c.index);
        EXPECT_EQ(t.dialogs.RemembersOverwriteChoice(), c.policy == OverwritePolicy::Ask);
    }
}

TEST(TerminalDialogs, OtherQuestionsAskedOrAnsweredSafely) {
    Terminal quiet("a\nr\no\n", false), asked("a\nr\no\n", true);
    FolderCreationAnswer folder = quiet.dialogs.FolderCreationDialog("question");
    EXPECT_TRUE(folder.accepted && !folder.createFromNowOn);
    SettingsMismatchAnswer mismatch = quiet.dialogs.SettingsMismatchDialog("report");
    EXPECT_TRUE(mismatch.button == MessageAnswer::No && !mismatch.takeWithoutAsking);
    EXPECT_EQ(quiet.dialogs.AlertVersionDialog(TM_SCRIPT_COMMENT_DEL), std::nullopt);
    EXPECT_THAT(quiet.err.str(), AllOf(HasSubstr("(answer: OK)\n"), HasSubstr("(answer: No)\n"),
                                       HasSubstr("(answer: Cancel)\n")));

    folder = asked.dialogs.FolderCreationDialog("question");
    EXPECT_TRUE(folder.accepted && folder.createFromNowOn);
    mismatch = asked.dialogs.SettingsMismatchDialog("report");
    EXPECT_TRUE(mismatch.button == MessageAnswer::Yes && mismatch.takeWithoutAsking);
    EXPECT_EQ(asked.dialogs.AlertVersionDialog(TM_SCRIPT_COMMENT_DEL), TM_SCRIPT_COMMENT_DEL);
}

}  // namespace
}  // namespace trimlet::cli
