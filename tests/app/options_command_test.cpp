// The options command in the window: after OK every row is recomputed with the settings
// the sheet stored, also when nothing changed; after Cancel nothing is.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTabWidget>

#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/qt_dialogs.h"
#include "app_test_support.h"
#include "editor/task_editor.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ClickChild;
using test::WhenModal;

class OptionsCommandTest : public testing::Test {
  protected:
    OptionsCommandTest() : dialogs(profile), frame(dialogs, profile) {
        dialogs.SetParent(&frame);
        for (const char* name : {"a.html", "b.html"}) {
            const std::string path = dir.Write(name, "<p>a    b</p>\n");
            EXPECT_RESULT(frame.Editor().AddFileByPath(path, ADD_QUIET), RESULT_OK);
        }
    }
    ~OptionsCommandTest() override { dialogs.SetParent(nullptr); }

    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        const FileList& list = frame.Editor().List();
        for (std::size_t row = 0; row < list.RowCount(); ++row)
            texts.push_back(list.Text(row, column));
        return texts;
    }

    // Opens the sheet from the command, lets `edit` work on it, then presses `button`.
    void RunOptions(const std::function<void(QWidget*)>& edit, const char* button) {
        WhenModal([&](QWidget* sheet) {
            edit(sheet);
            ClickChild(sheet, button);
        });
        frame.OnCommand(CMD_OPTIONS);
    }

    test::TempDir dir;
    MemoryProfile profile;
    QtDialogs dialogs;
    CMainFrame frame;
};

TEST_F(OptionsCommandTest, ChangedTrimOptionShowsInEveryRowAtOnce) {
    const std::vector<std::string> before = Column(kColumnTrimmedSize);
    RunOptions([](QWidget* sheet) { sheet->findChild<QCheckBox*>("collapseSpaces")->click(); },
               "ok");
    EXPECT_FALSE(profile.ReadWord("MODE", 0) & TM_COLLAPSE_SPACES);
    const std::vector<std::string> after = Column(kColumnTrimmedSize);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_NE(after[0], before[0]);
    EXPECT_EQ(after[0], after[1]);
}

TEST_F(OptionsCommandTest, OkUnchangedRecomputesAndCancelDoesNot) {
    for (const char* name : {"a.html", "b.html"})
        dir.Write(name, "<p>longer    text</p>\n");
    const std::vector<std::string> before = Column(kColumnSourceSize);

    RunOptions([](QWidget* sheet) { sheet->findChild<QCheckBox*>("collapseSpaces")->click(); },
               "cancel");
    EXPECT_EQ(Column(kColumnSourceSize), before);
    EXPECT_EQ(profile.ChangeCount(), 0);

    RunOptions([](QWidget*) {}, "ok");
    const std::vector<std::string> after = Column(kColumnSourceSize);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_NE(after[0], before[0]);
    EXPECT_NE(after[1], before[1]);
}

}  // namespace
}  // namespace trimlet
