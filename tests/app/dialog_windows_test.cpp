// Each dialog of the window on its own: what it shows, its default button, and the answer
// QtDialogs returns for each way of closing it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/file_filters.h"
#include "app/qt_dialogs.h"
#include "app_test_support.h"
#include "batch/format.h"
#include "engine/trim_mode.h"
#include "qstring_printer.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

using test::ClickChild;
using test::WhenModal;

template <typename T>
T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QPushButton* DefaultButton(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isDefault()) return button;
    return nullptr;
}

// Clicks the named button, or presses Esc when there is no name.
void Press(QWidget* window, const char* button) {
    if (button) {
        ClickChild(window, button);
    } else {
        QTest::keyClick(window, Qt::Key_Escape);
    }
}

class DialogTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(test::VisibleTopLevelCount(), 0); }
    MemoryProfile profile;
    QtDialogs dialogs{profile};
};

TEST_F(DialogTest, FolderCreationAnswersOkWithItsBoxAndCancelWithout) {
    struct Case {
        const char* name;
        bool tick;
        const char* button;  // nullptr: Esc
        FolderCreationAnswer expected;
    };
    const Case cases[] = {
        {"ok with box", true, "ok", {true, true}},
        {"cancel with box", true, "cancel", {false, false}},
        {"esc", false, nullptr, {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WhenModal([&](QWidget* window) {
            EXPECT_EQ(Child<QLabel>(window, "message")->text(),
                      QStringLiteral("作成しますか？\n\n/x/Trimlet"));
            auto* box = Child<QCheckBox>(window, "autoCreate");
            EXPECT_FALSE(box->isChecked());
            EXPECT_EQ(DefaultButton(window), Child<QPushButton>(window, "ok"));
            box->setChecked(c.tick);
            Press(window, c.button);
        });
        const FolderCreationAnswer answer =
            dialogs.FolderCreationDialog("作成しますか？\n\n/x/Trimlet");
        EXPECT_EQ(answer.accepted, c.expected.accepted);
        EXPECT_EQ(answer.createFromNowOn, c.expected.createFromNowOn);
    }
}

TEST_F(DialogTest, OutputExistsReturnsHowItClosedAndTheChoice) {
    struct Case {
        const char* name;
        int initial;
        bool forAllEnabled;
        const char* pick;    // radio to click, or nullptr
        const char* button;  // nullptr: Esc
        OutputExistsClose closed;
        int index;
    };
    const Case cases[] = {
        {"ok keeps preselection", OVERWRITE_CHOICE_SKIP, true, nullptr, "ok", OutputExistsClose::Ok,
         OVERWRITE_CHOICE_SKIP},
        {"for all with newer", OVERWRITE_CHOICE_OVERWRITE, true, "choice2", "forAll",
         OutputExistsClose::ForAll, OVERWRITE_CHOICE_IF_NEWER},
        {"cancel", OVERWRITE_CHOICE_IF_NEWER, false, "choice0", "cancel", OutputExistsClose::Cancel,
         OVERWRITE_CHOICE_OVERWRITE},
        {"index out of range starts at overwrite", 7, true, nullptr, "ok", OutputExistsClose::Ok,
         OVERWRITE_CHOICE_OVERWRITE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutputExistsRequest request;
        request.message = "出力ファイルが既に存在します。処理を選択してください。";
        request.inputText = "/site/a.htm\r\n(1,234   2024/01/02 3:4)";
        request.outputText = "/site/Trimlet/a.htm\r\n(999   2024/01/01 0:0)";
        request.radioIndex = c.initial;
        request.forAllEnabled = c.forAllEnabled;
        WhenModal([&](QWidget* window) {
            EXPECT_EQ(Child<QPlainTextEdit>(window, "input")->toPlainText(),
                      QStringLiteral("/site/a.htm\n(1,234   2024/01/02 3:4)"));
            EXPECT_TRUE(Child<QPlainTextEdit>(window, "output")->isReadOnly());
            EXPECT_EQ(Child<QPushButton>(window, "forAll")->isEnabled(), c.forAllEnabled);
            EXPECT_EQ(DefaultButton(window), Child<QPushButton>(window, "ok"));
            if (c.pick) Child<QRadioButton>(window, c.pick)->click();
            Press(window, c.button);
        });
        const OutputExistsAnswer answer = dialogs.OutputExistsDialog(request);
        EXPECT_EQ(answer.closedWith, c.closed);
        EXPECT_EQ(answer.radioIndex, c.index);
    }
}

TEST_F(DialogTest, SettingsMismatchDefaultsToNoAndOnlyGrowsInHeight) {
    struct Case {
        const char* name;
        bool tick;
        const char* button;
        MessageAnswer expected;
    };
    const Case cases[] = {
        {"yes with box", true, "yes", MessageAnswer::Yes},
        {"no", false, "no", MessageAnswer::No},
        {"closed", false, nullptr, MessageAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WhenModal([&](QWidget* window) {
            EXPECT_EQ(Child<QPlainTextEdit>(window, "report")->toPlainText(),
                      QStringLiteral("*****  HTMLのコメント削除\n\n○ コメントを削除する\n"));
            EXPECT_EQ(DefaultButton(window), Child<QPushButton>(window, "no"));
            const QSize opened = window->size();
            EXPECT_EQ(window->minimumSize(), opened);
            EXPECT_EQ(window->maximumWidth(), opened.width());
            EXPECT_GT(window->maximumHeight(), opened.height());
            Child<QCheckBox>(window, "dontAsk")->setChecked(c.tick);
            if (c.button) {
                ClickChild(window, c.button);
            } else {
                window->close();
            }
        });
        const SettingsMismatchAnswer answer = dialogs.SettingsMismatchDialog(
            "*****  HTMLのコメント削除\r\n\r\n○ コメントを削除する\r\n");
        EXPECT_EQ(answer.button, c.expected);
        EXPECT_EQ(answer.takeWithoutAsking, c.tick);
    }
}

TEST_F(DialogTest, AlertVersionReturnsTickedBitsIncludingDisabledBoxes) {
    // Script comments off: the three indented boxes start disabled, ticks kept.
    const std::uint32_t initial = TM_SCRIPT_BLOCK_COMMENT | TM_KEEP_SCRIPT_HTML_COMMENT;
    WhenModal([&](QWidget* window) {
        auto* block = Child<QCheckBox>(window, "scriptBlockComment");
        EXPECT_TRUE(block->isChecked());
        EXPECT_FALSE(block->isEnabled());
        EXPECT_FALSE(Child<QCheckBox>(window, "vbsRemComment")->isEnabled());
        Child<QCheckBox>(window, "scriptCommentDel")->click();
        EXPECT_TRUE(block->isEnabled());
        Child<QCheckBox>(window, "scriptCommentDel")->click();
        EXPECT_EQ(DefaultButton(window), Child<QPushButton>(window, "ok"));
        ClickChild(window, "ok");
    });
    EXPECT_EQ(dialogs.AlertVersionDialog(initial), std::optional<std::uint32_t>(initial));

    WhenModal([&](QWidget* window) { ClickChild(window, "cancel"); });
    EXPECT_EQ(dialogs.AlertVersionDialog(initial), std::nullopt);
}

TEST_F(DialogTest, SummaryShowsCountsSizesAndRateOrGreysThem) {
    struct Case {
        const char* name;
        RunSummary summary;
        const char* source;
        const char* rate;
        bool enabled;
    };
    const Case cases[] = {
        {"measured", {3, 1, 20000, 17000, {}}, "20,000", "85 %", true},
        {"nothing succeeded", {0, 2, 0, 0, {}}, "***,***", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WhenModal([&](QWidget* window) {
            EXPECT_EQ(Child<QLabel>(window, "succeeded")->text(),
                      QStringLiteral("%1 個").arg(c.summary.succeededCount));
            EXPECT_EQ(Child<QLabel>(window, "sourceTotal")->text(), QString::fromUtf8(c.source));
            EXPECT_EQ(Child<QLabel>(window, "rate")->text(), QString::fromUtf8(c.rate));
            EXPECT_EQ(Child<QLabel>(window, "rate")->isEnabled(), c.enabled);
            EXPECT_EQ(DefaultButton(window), Child<QPushButton>(window, "ok"));
            QTest::keyClick(window, Qt::Key_Return);
        });
        dialogs.ResultSummaryDialog(c.summary);
    }
}

TEST_F(DialogTest, SummaryListsTheFilesNotTrimmedWithTheirReasonsToCopy) {
    RunSummary summary{1, 2, 100, 80, {}};
    summary.skippedFiles = {{"/site/gone.htm", RESULT_NOT_FOUND},
                            {"/site/kept.js", RESULT_SKIPPED}};
    const QString expected = QString::fromStdString(SkippedFilesText(summary.skippedFiles));
    WhenModal([&](QWidget* window) {
        auto* list = Child<QPlainTextEdit>(window, "skippedFiles");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isReadOnly());
        EXPECT_EQ(list->toPlainText(), expected);
        EXPECT_NE(list->toPlainText().indexOf(QString::fromUtf8(TXT_SKIP_REASON_NOT_FOUND.Get())),
                  -1);
        QApplication::clipboard()->clear();
        ClickChild(window, "copySkipped");
        EXPECT_EQ(QApplication::clipboard()->text(), expected);
        // OK stays the default button; Return closes.
        EXPECT_EQ(DefaultButton(window), Child<QPushButton>(window, "ok"));
        QTest::keyClick(window, Qt::Key_Return);
    });
    dialogs.ResultSummaryDialog(summary);

    // Without skipped files there is no list.
    WhenModal([&](QWidget* window) {
        EXPECT_EQ(window->findChild<QPlainTextEdit*>("skippedFiles"), nullptr);
        EXPECT_EQ(window->findChild<QPushButton*>("copySkipped"), nullptr);
        QTest::keyClick(window, Qt::Key_Return);
    });
    dialogs.ResultSummaryDialog(RunSummary{2, 0, 100, 80, {}});
}

TEST_F(DialogTest, NotTextQuestionDefaultsToNoAndSaveQuestionsOfferSave) {
    struct Case {
        int id;
        const char* defaultText;
        const char* texts;  // every button
    };
    const Case cases[] = {
        {MSG_NOT_TEXT_FILE, "いいえ", "いいえ|キャンセル|はい"},
        {MSG_DISCARD_AND_EXIT, "保存(&S)", "キャンセル|保存(&S)|保存しない(&N)"},
        {MSG_DISCARD_AND_OPEN_NAMED, "保存(&S)", "キャンセル|保存(&S)|保存しない(&N)"},
        {MSG_CONFIRM_CLEAR, "はい", "いいえ|キャンセル|はい"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        QStringList texts;
        QString preset;
        WhenModal([&](QWidget* window) {
            for (QPushButton* button : window->findChildren<QPushButton*>())
                texts << button->text();
            preset = DefaultButton(window) ? DefaultButton(window)->text() : QString();
            QTest::keyClick(window, Qt::Key_Return);
        });
        const MessageAnswer answer = dialogs.ShowMessage(
            MessageRequest{c.id, "x", MessageIcon::Question, MessageButtons::YesNoCancel});
        QStringList expected = QString::fromUtf8(c.texts).split(QLatin1Char('|'));
        texts.sort();
        expected.sort();
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(preset, QString::fromUtf8(c.defaultText));
        EXPECT_EQ(answer, c.id == MSG_NOT_TEXT_FILE ? MessageAnswer::No : MessageAnswer::Yes);
    }
}

TEST(FileFilters, AddFilesShowPagesAndScriptsFirstFromTheExtensionLists) {
    struct Case {
        const char* name;
        const char* html;
        const char* script;
        const char* filters;  // the user's texts, "|" between filters
        const char* first;    // the patterns Qt matches with in the first
    };
    const Case cases[] = {
        {"both", "HTM:HTML", "JS:VBS",
         "HTMLとスクリプト(*.htm;*.html;*.js;*.vbs)|HTMLドキュメント(*.htm;*.html)|"
         "スクリプト(*.js;*.vbs)|テキストファイル(*.txt)|すべてのファイル(*.*)",
         "*.htm *.HTM *.html *.HTML *.js *.JS *.vbs *.VBS"},
        {"no scripts", "htm", "",
         "HTMLドキュメント(*.htm)|テキストファイル(*.txt)|すべてのファイル(*.*)", "*.htm *.HTM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList filters = AddFilesFilters(c.html, c.script);
        QStringList shown;
        for (const QString& filter : filters)
            shown << filter.left(filter.lastIndexOf(QStringLiteral(" (")));
        EXPECT_EQ(shown.join(QLatin1Char('|')), QString::fromUtf8(c.filters));
        EXPECT_TRUE(
            filters.front().endsWith(QStringLiteral(" (%1)").arg(QString::fromUtf8(c.first))))
            << filters.front().toStdString();
    }
}

TEST(FileFilters, ShowOurTextsAndMatchWhatQtUnderstands) {
    EXPECT_EQ(QtFilter("HTMLドキュメント(*.htm;*.html)", "*.htm;*.html"),
              QStringLiteral("HTMLドキュメント(*.htm;*.html) (*.htm *.html)"));
    EXPECT_EQ(QtFilter("すべてのファイル(*.*)", "*.*"),
              QStringLiteral("すべてのファイル(*.*) (*)"));
}

class FileDialogTest : public DialogTest {
  protected:
    test::TempDir dir;
};

TEST_F(FileDialogTest, AddFilesReturnsTheFolderAndTheNamesChosen) {
    dir.Write("a.htm", "<p>");
    dir.Write("b.html", "<p>");
    dir.Write("c.js", "x");
    dir.Write("elsewhere/d.htm", "<p>");
    WhenModal([&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        // The user sees our text; the bracket Qt matches with stays hidden. Pages and
        // scripts show together first.
        EXPECT_EQ(dialog->selectedNameFilter(),
                  QStringLiteral("HTMLとスクリプト(*.htm;*.html;*.js;*.vbs)"));
        EXPECT_EQ(QDir(dialog->directory()).absolutePath(),
                  QString::fromStdString(dir.path().string()));
        // A path typed in another folder keeps its path.
        dialog->selectFile(QStringLiteral("\"a.htm\" \"c.js\" \"%1\"")
                               .arg(QString::fromStdString(dir.File("elsewhere/d.htm"))));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::optional<ChosenFiles> chosen = dialogs.AddFilesDialog(dir.path().string());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->folder, dir.path().string());
    EXPECT_EQ(chosen->names,
              (std::vector<std::string>{"a.htm", "c.js", dir.File("elsewhere/d.htm")}));

    WhenModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    EXPECT_FALSE(dialogs.AddFilesDialog(dir.path().string()));
}

TEST_F(FileDialogTest, TaskDialogsTitleProposeAndReturnThePath) {
    dir.Write("old.trh", "x");
    WhenModal([&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->selectFile(QStringLiteral("old.trh"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(dialogs.OpenTaskFileDialog(MSG_TITLE_RUN_TASK, dir.path().string()),
              std::optional<std::string>(dir.File("old.trh")));

    WhenModal([&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("trh"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(dialogs.SaveTaskFileDialog(dir.path().string(), "TrimletHTML タスク(1).trh"),
              std::optional<std::string>(dir.File("TrimletHTML タスク(1).trh")));
}

}  // namespace
}  // namespace trimlet
