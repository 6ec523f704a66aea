// Every kind of dialog in both languages: its title is in that language and no label,
// button or group title is cut off, whatever the length of the English words.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "app/about_dialog.h"
#include "app/add_extension_dialog.h"
#include "app/alert_cr_reg_dialog.h"
#include "app/alert_version_dialog.h"
#include "app/folder_creation_dialog.h"
#include "app/options_sheet.h"
#include "app/output_exists_dialog.h"
#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "app/result_summary_dialog.h"
#include "app/settings_mismatch_dialog.h"
#include "app_test_support.h"
#include "common/messages.h"
#include "engine/trim_mode.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "task/settings_report.h"
#include "test_support.h"

namespace trimlet {
namespace {

void Settle(QWidget* window) {
    window->show();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Shows `window`, checks its title and that nothing is cut off, and closes it.
void Check(QWidget* window, const Text& title) {
    Settle(window);
    EXPECT_EQ(window->windowTitle(), Qs(title));
    test::ExpectNothingCutOff(window);
    window->close();
}

class DialogLanguageTest : public ::testing::TestWithParam<Language> {
  protected:
    void TearDown() override { EXPECT_EQ(test::VisibleTopLevelCount(), 0); }
    test::ScopedLanguage language{GetParam()};
    MemoryProfile profile;
    ScriptedDialogs scripted;
};

TEST_P(DialogLanguageTest, RunQuestionsAndSummary) {
    const std::string path = "/home/user/site/index.html";
    CFolderCreationDlg folder(FormatMessage(MSG_CREATE_FOLDER_QUESTION, "/home/user/site/Trimlet"),
                              nullptr);
    Check(&folder, TXT_FOLDER_CREATION_TITLE);

    const OutputExistsRequest request{
        MessageText(MSG_OUTPUT_EXISTS),
        FormatMessage(MSG_FILE_DESCRIPTION, path, "12,345", 2024, 5, 6, 7, 8),
        MessageText(MSG_OUTPUT_IS_ORIGINAL)};
    COutputExistsDlg exists(request, nullptr);
    Check(&exists, TXT_OUTPUT_EXISTS_TITLE);

    CResultSummaryDlg summary(RunSummary{12, 3, 1234567, 987654, {}}, nullptr);
    Check(&summary, TXT_SUMMARY_TITLE);

    const std::string report = BuildSettingsReport(kDefaultTrimMode, "Trimlet",
                                                   kDefaultTrimMode ^ TM_BLANK_LINES_MERGE, "out");
    CSettingsMismatchDlg mismatch(report, nullptr);
    Check(&mismatch, TXT_MISMATCH_TITLE);

    CAlertVersionDlg version(kDefaultTrimMode, nullptr);
    Check(&version, TXT_OLD_VERSION_TITLE);
}

TEST_P(DialogLanguageTest, OptionPagesAndTheirSmallDialogs) {
    COptionsSheet sheet(scripted, profile);
    for (int page = 0; page < sheet.Tabs()->count(); ++page) {
        SCOPED_TRACE(page);
        sheet.Tabs()->setCurrentIndex(page);
        Settle(&sheet);
        EXPECT_EQ(sheet.windowTitle(), Qs(TXT_OPTIONS_TITLE));
        test::ExpectNothingCutOff(&sheet);
    }
    EXPECT_EQ(sheet.Tabs()->tabText(0), Qs(TXT_WHITESPACE_PAGE_TITLE));
    sheet.close();

    CAddExtensionDlg add(scripted);
    Check(&add, TXT_ADD_EXTENSION_TITLE);
    CAlertCRRegAsWSP hint(false);
    Check(&hint, TXT_LINE_BREAK_HINT_TITLE);
}

TEST_P(DialogLanguageTest, AboutBoxAndMessageBox) {
    MarqueeEffectCounter counter;
    CAboutDlg about(nullptr, counter);
    Settle(&about);
    for (int i = 0; i < 5000 && about.Marquee()->Running(); ++i)
        about.Marquee()->Advance();
    EXPECT_EQ(about.windowTitle(), Qs(TXT_ABOUT_TITLE));
    test::ExpectNothingCutOff(&about);
    about.Marquee()->Stop();
    about.close();

    QtDialogs dialogs(profile);
    std::vector<QString> seen;
    test::WhenModal([&](QWidget* window) {
        for (auto* button : window->findChildren<QPushButton*>())
            seen.push_back(button->text());
        test::ExpectNothingCutOff(window);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    (void)dialogs.ShowMessage({MSG_CONFIRM_CLEAR, MessageText(MSG_CONFIRM_CLEAR),
                               MessageIcon::Question, MessageButtons::YesNo});
    EXPECT_EQ(seen, (std::vector<QString>{Qs(TXT_BUTTON_YES), Qs(TXT_BUTTON_NO)}));
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogLanguageTest,
                         ::testing::Values(Language::Japanese, Language::English),
                         [](const auto& info) {
                             return info.param == Language::Japanese ? "Japanese" : "English";
                         });

}  // namespace
}  // namespace trimlet
