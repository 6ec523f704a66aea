// The options sheet's wiring: which pages store, the enabling of controls, the file page's
// refusal, and the messages the pages ask for. The rules themselves are tested with the
// page logic in tests/settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/options_sheet.h"
#include "app/qt_text.h"
#include "engine/trim_mode.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"

namespace trimlet {
namespace {

template <typename T>
T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QStringList Items(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

class OptionsSheetTest : public testing::Test {
  protected:
    void Open() {
        sheet = std::make_unique<COptionsSheet>(dialogs, profile);
        sheet->show();
    }
    void ShowPage(OptionsPageIndex page) { sheet->Tabs()->setCurrentIndex(page); }
    QWidget* Page(OptionsPageIndex page) { return sheet->Page(page); }
    void Click(const char* name) { Child<QAbstractButton>(sheet.get(), name)->click(); }

    MemoryProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<COptionsSheet> sheet;
};

TEST_F(OptionsSheetTest, OnlyShownPagesStore) {
    struct Case {
        const char* name;
        std::vector<OptionsPageIndex> shown;
        std::vector<const char*> written;
        std::vector<const char*> notWritten;
    };
    const Case cases[] = {
        {"first page only", {}, {"MODE"}, {"OUTPUT_FOLDER_NAME", "MRUL_OPEN_ACTION"}},
        {"file page",
         {kPageOutput},
         {"MODE", "OUTPUT_FOLDER_NAME", "FILE_FILTER"},
         {"MRUL_OPEN_ACTION", "ALERT_SETTING_NOT_SAME"}},
        {"action page",
         {kPageAction},
         {"MRUL_OPEN_ACTION", "ALERT_SETTING_NOT_SAME", "VERIFY_TRIM_RESULTS"},
         {"OUTPUT_FOLDER_NAME"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        profile = MemoryProfile();
        Open();
        for (OptionsPageIndex page : c.shown)
            ShowPage(page);
        Click("ok");
        EXPECT_EQ(sheet->result(), QDialog::Accepted);
        for (const char* key : c.written)
            EXPECT_TRUE(profile.HasKey(key)) << key;
        for (const char* key : c.notWritten)
            EXPECT_FALSE(profile.HasKey(key)) << key;
    }
}

// The action page's verify box: off in a profile without it, stored when ticked, ticked
// when the sheet opens again.
TEST_F(OptionsSheetTest, VerifyBoxIsOffByDefaultAndRoundTrips) {
    for (const bool tick : {true, false}) {
        SCOPED_TRACE(tick);
        Open();
        ShowPage(kPageAction);
        auto* box = Child<QCheckBox>(Page(kPageAction), "verifyTrimResults");
        EXPECT_EQ(box->isChecked(), !tick) << "as stored before";
        EXPECT_EQ(box->text(), Qs(TXT_ACTION_VERIFY_RESULTS));
        box->click();
        Click("ok");
        EXPECT_EQ(profile.FindInteger("VERIFY_TRIM_RESULTS"), tick ? 1 : 0);
    }
}

TEST_F(OptionsSheetTest, CommentPageUnchangedKeepsTheStoredMode) {
    profile.WriteInteger("MODE", 0x80000060);  // a bit without meaning, both blank-line bits
    Open();
    ShowPage(kPageComment);
    Click("ok");
    EXPECT_EQ(profile.FindWord("MODE"), 0x80000020u);
}

TEST_F(OptionsSheetTest, CancelAndTheCloseBoxStoreNothing) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "cancel");
        Open();
        for (int page = kPageWhitespace; page <= kPageAction; ++page)
            ShowPage(static_cast<OptionsPageIndex>(page));
        Child<QLineEdit>(Page(kPageOutput), "outputFolderName")->setText("other");
        Click("collapseSpaces");
        if (closeBox) {
            sheet->close();
        } else {
            Click("cancel");
        }
        EXPECT_EQ(sheet->result(), QDialog::Rejected);
        EXPECT_EQ(profile.ChangeCount(), 0);
    }
}

// Line breaks taken as blanks disable the blank-line radios, which keep their choice and
// store it; the inline box follows the between-tags box the same way.
TEST_F(OptionsSheetTest, WhitespacePageEnablingKeepsAndStoresDisabledChoices) {
    profile.WriteInteger("MODE", TM_BLANK_LINES_MERGE | TM_BETWEEN_TAGS | TM_BETWEEN_INLINE_TAGS);
    Open();
    QWidget* page = Page(kPageWhitespace);
    auto* merge = Child<QRadioButton>(page, "blankLinesMerge");
    auto* inlineTags = Child<QCheckBox>(page, "betweenInlineTags");
    EXPECT_TRUE(merge->isChecked());
    EXPECT_TRUE(merge->isEnabled());
    EXPECT_TRUE(inlineTags->isEnabled());

    Click("crRegAsWsp");
    Click("betweenTags");
    for (const char* name : {"blankLinesDelete", "blankLinesMerge", "blankLinesLeave"})
        EXPECT_FALSE(Child<QRadioButton>(page, name)->isEnabled()) << name;
    EXPECT_TRUE(merge->isChecked());
    EXPECT_FALSE(inlineTags->isEnabled());
    EXPECT_TRUE(inlineTags->isChecked());

    Click("ok");
    EXPECT_EQ(profile.FindWord("MODE"),
              TM_CR_REG_AS_WSP | TM_BLANK_LINES_MERGE | TM_BETWEEN_INLINE_TAGS);
}

TEST_F(OptionsSheetTest, CommentPageMasterBoxesEnableTheirGroups) {
    profile.WriteInteger("MODE", TM_HTML_COMMENT_DEL | TM_KEEP_SSI);
    Open();
    ShowPage(kPageComment);
    QWidget* page = Page(kPageComment);
    auto* exceptions = Child<QGroupBox>(page, "htmlExceptionsGroup");
    auto* kinds = Child<QGroupBox>(page, "scriptKindsGroup");
    auto* ssi = Child<QCheckBox>(page, "keepSsi");
    auto* style = Child<QCheckBox>(page, "keepStyle");
    EXPECT_TRUE(ssi->isEnabled());
    EXPECT_FALSE(style->isEnabled());
    EXPECT_FALSE(kinds->isEnabled());

    Click("htmlCommentDel");
    EXPECT_FALSE(exceptions->isEnabled());
    EXPECT_FALSE(ssi->isEnabled());
    EXPECT_TRUE(ssi->isChecked());
    Click("htmlCommentDel");
    EXPECT_TRUE(ssi->isEnabled());
    EXPECT_FALSE(style->isEnabled());  // the STYLE box never is

    Click("scriptCommentDel");
    EXPECT_TRUE(kinds->isEnabled());
    Click("scriptLineComment");
    Click("scriptCommentDel");
    Click("htmlCommentDel");
    Click("ok");
    EXPECT_EQ(profile.FindWord("MODE"), TM_KEEP_SSI | TM_SCRIPT_LINE_COMMENT);
}

// The list of comments to keep: typed into the list's own editor, cleaned, an entry left
// empty dropped, and stored in the profile on OK.
TEST_F(OptionsSheetTest, KeptCommentListIsEditedInPlaceAndStored) {
    profile.WriteString("KEEP_COMMENTS", "google_ad\n@preserve");
    Open();
    ShowPage(kPageComment);
    QWidget* page = Page(kPageComment);
    auto* list = Child<QListWidget>(page, "keptComments");
    auto* edit = Child<QPushButton>(page, "editKeptComment");
    auto* remove = Child<QPushButton>(page, "removeKeptComment");
    EXPECT_EQ(Items(list), (QStringList{"google_ad", "@preserve"}));
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    // Types into the editor the list opened and ends it with `key`.
    const auto type = [list](const QString& text, Qt::Key key) {
        auto* editor = list->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "no editor open";
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key);
        // The editor closes through a queued call and goes later: both happen now, so that
        // the next editor is the only one.
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    Click("addKeptComment");
    type(QStringLiteral("  <!-- ko"), Qt::Key_Return);
    EXPECT_EQ(Items(list), (QStringList{"google_ad", "@preserve", "<!-- ko"}));
    EXPECT_TRUE(edit->isEnabled());

    list->setCurrentRow(0);
    Click("editKeptComment");
    type(QString(), Qt::Key_Return);
    EXPECT_EQ(Items(list), (QStringList{"@preserve", "<!-- ko"})) << "emptied, so dropped";

    list->setCurrentRow(0);
    Click("removeKeptComment");
    Click("addKeptComment");
    type(QStringLiteral("given up"), Qt::Key_Escape);
    EXPECT_EQ(Items(list), (QStringList{"<!-- ko"}));

    Click("ok");
    EXPECT_EQ(profile.FindString("KEEP_COMMENTS"), "<!-- ko");
}

// The hint follows the stored mode, not the comment page's unsaved boxes; when and how often
// it shows is tested with the page logic.
TEST_F(OptionsSheetTest, LineBreakHintOnlyWhenStoredModeDeletesScriptComments) {
    for (bool stored : {true, false}) {
        SCOPED_TRACE(stored ? "stored mode deletes script comments" : "only the unsaved page");
        profile = MemoryProfile();
        dialogs = ScriptedDialogs();
        profile.WriteInteger("MODE", stored ? TM_SCRIPT_COMMENT_DEL : 0);
        if (stored) dialogs.AnswerAlertCRRegAsWSP(false);
        Open();
        if (!stored) {
            ShowPage(kPageComment);
            Click("scriptCommentDel");
            ShowPage(kPageWhitespace);
        }
        Click("crRegAsWsp");
        Click("crRegAsWsp");  // unticking never shows it
        EXPECT_EQ(dialogs.Sequence().size(), stored ? 1u : 0u);
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        Click("cancel");
    }
}

TEST_F(OptionsSheetTest, BadFolderNameKeepsTheSheetOpenOnTheFilePage) {
    Open();
    ShowPage(kPageOutput);
    ShowPage(kPageWhitespace);
    Click("collapseSpaces");
    auto* name = Child<QLineEdit>(Page(kPageOutput), "outputFolderName");
    name->setText("..");
    Click("ok");
    EXPECT_EQ(dialogs.MessageIds(), (std::vector<int>{MSG_FOLDER_NAME_REFUSED_POSIX}));
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->Tabs()->currentIndex(), kPageOutput);
    EXPECT_EQ(sheet->focusWidget(), name);
    EXPECT_EQ(name->text(), "..");
    EXPECT_EQ(profile.ChangeCount(), 0);  // nothing stored before the refusal

    name->setText(" out ");
    Click("ok");
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(profile.ReadString("OUTPUT_FOLDER_NAME", ""), "out");
    EXPECT_FALSE(profile.ReadWord("MODE", 0) & TM_COLLAPSE_SPACES);
}

// Only the user's edits count: opening the page on a stored empty name says nothing.
TEST_F(OptionsSheetTest, BlankNameNoticeOnEveryEditThatLeavesItBlank) {
    profile.WriteString("OUTPUT_FOLDER_NAME", "");
    Open();
    ShowPage(kPageOutput);
    auto* name = Child<QLineEdit>(Page(kPageOutput), "outputFolderName");
    name->setFocus();
    EXPECT_TRUE(dialogs.MessageIds().empty());
    QTest::keyClicks(name, "ab");
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_Space);
    EXPECT_EQ(dialogs.MessageIds(),
              (std::vector<int>{MSG_BLANK_OUTPUT_FOLDER_NOTICE, MSG_BLANK_OUTPUT_FOLDER_NOTICE}));
}

// The list boxes follow the page state: additions at their sorted place, refusals leave
// them as they were, and removal takes the selected item (none selected: nothing).
TEST_F(OptionsSheetTest, ExtensionListBoxesFollowAddsRefusalsAndRemovals) {
    Open();
    ShowPage(kPageOutput);
    auto* html = Child<QListWidget>(Page(kPageOutput), "htmlExtensions");
    auto* script = Child<QListWidget>(Page(kPageOutput), "scriptExtensions");
    dialogs.AnswerAddExtension("shtml").AnswerAddExtension("htm");
    Click("addHtml");
    Click("addScript");
    EXPECT_EQ(
        dialogs.Sequence(),
        (std::vector<std::string>{"AddExtensionDialog", "AddExtensionDialog", "message 40009"}));
    EXPECT_EQ(Items(html), (QStringList{"HTM", "HTML", "shtml"}));
    EXPECT_EQ(Items(script), (QStringList{"JS", "VBS"}));

    Click("removeScript");
    EXPECT_EQ(script->count(), 2);
    html->setCurrentRow(1);
    Click("removeHtml");
    Click("ok");
    EXPECT_EQ(profile.ReadString("FILE_FILTER", ""), "HTM:shtml");
    EXPECT_EQ(profile.ReadString("FILE_FILTER_SCR", ""), "JS:VBS");
}

TEST_F(OptionsSheetTest, HelpButtonAsksForHelpAndKeepsTheSheetOpen) {
    int asked = 0;
    COptionsSheet withHelp(dialogs, profile, nullptr, [&] { ++asked; });
    withHelp.show();
    Child<QAbstractButton>(&withHelp, "help")->click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(withHelp.isVisible());
    EXPECT_EQ(profile.ChangeCount(), 0);
}

}  // namespace
}  // namespace trimlet
