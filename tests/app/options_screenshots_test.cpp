// The option pages, the about box and the small dialogs as the user sees them: every label
// and button shows its whole text, the tab key walks the controls in reading order, and each
// dialog has a default button. With TRIMLET_SCREENSHOT_DIR set, each window is also saved
// there as a PNG (scripts/screenshots-options runs this under Xvfb).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "app/about_dialog.h"
#include "app/add_extension_dialog.h"
#include "app/alert_cr_reg_dialog.h"
#include "app/options_sheet.h"
#include "app/qt_text.h"
#include "app_test_support.h"
#include "common/messages.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ExpectNothingCutOff;

void Settle(QWidget* window) {
    window->show();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void Save(QWidget* window, const char* file) {
    const QByteArray dir = qgetenv("TRIMLET_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    EXPECT_TRUE(window->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(file)));
}

// The object names of `page`'s controls in the order the tab key reaches them.
QStringList TabOrder(QWidget* page) {
    QStringList names;
    QWidget* w = page;
    for (int guard = 0; guard < 200; ++guard) {
        w = w->nextInFocusChain();
        if (w == page) break;
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) &&
            !w->objectName().isEmpty())
            names << w->objectName();
    }
    return names;
}

TEST(OptionsScreenshots, PagesShowWholeTextsInReadingOrder) {
    struct Case {
        OptionsPageIndex page;
        const char* file;
        QStringList tabOrder;
    };
    const Case cases[] = {
        {kPageWhitespace,
         "options-1-whitespace.png",
         {"collapseSpaces", "zenkakuAsWsp", "crRegAsWsp", "trimLineEnds", "blankLinesDelete",
          "blankLinesMerge", "blankLinesLeave", "betweenTags", "betweenInlineTags", "insidePre"}},
        {kPageComment,
         "options-2-comment.png",
         {"htmlCommentDel", "bodyCommentsOnly", "keepStyle", "keepScriptHtmlComment", "keepSsi",
          "keepDovetag", "scriptCommentDel", "scriptBlockComment", "scriptLineComment",
          "vbsRemComment", "specialCommentsDel", "keptComments", "addKeptComment",
          "editKeptComment", "removeKeptComment"}},
        {kPageOutput,
         "options-3-file.png",
         {"outputFolderName", "confirmCreateFolder", "htmlExtensions", "addHtml", "removeHtml",
          "scriptExtensions", "addScript", "removeScript"}},
        {kPageAction,
         "options-4-action.png",
         {"recentOpens", "recentRuns", "alertSettingNotSame", "verifyTrimResults"}},
    };
    test::ScopedLanguage language(LanguageFromEnvironment());
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    COptionsSheet sheet(dialogs, profile);
    EXPECT_TRUE(sheet.findChild<QPushButton*>("ok")->isDefault());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        sheet.Tabs()->setCurrentIndex(c.page);
        Settle(&sheet);
        ExpectNothingCutOff(&sheet);
        EXPECT_EQ(TabOrder(sheet.Page(c.page)), c.tabOrder);
        Save(&sheet, c.file);
    }
    sheet.close();
}

TEST(OptionsScreenshots, AboutBoxAndSmallDialogs) {
    test::ScopedLanguage language(LanguageFromEnvironment());
    MarqueeEffectCounter counter;
    CAboutDlg about(nullptr, counter);
    Settle(&about);
    for (int i = 0; i < 5000 && about.Marquee()->Running(); ++i)
        about.Marquee()->Advance();
    EXPECT_TRUE(about.findChild<QPushButton*>("ok")->isDefault());
    ExpectNothingCutOff(&about);
    Save(&about, "about.png");
    about.Marquee()->Stop();
    about.Marquee()->Start(MarqueeEffectFor(0), TXT_ABOUT_ATTRIBUTION);
    for (int i = 0; i < 40; ++i)
        about.Marquee()->Advance();
    Save(&about, "about-marquee.png");
    about.close();

    ScriptedDialogs dialogs;
    CAddExtensionDlg add(dialogs);
    Settle(&add);
    EXPECT_TRUE(add.findChild<QPushButton*>("add")->isDefault());
    ExpectNothingCutOff(&add);
    Save(&add, "options-add-extension.png");
    add.close();

    CAlertCRRegAsWSP hint(false);
    Settle(&hint);
    EXPECT_TRUE(hint.findChild<QPushButton*>("ok")->isDefault());
    ExpectNothingCutOff(&hint);
    Save(&hint, "options-line-break-hint.png");
    hint.close();
}

}  // namespace
}  // namespace trimlet
