// The before-and-after view as a user reaches it: a click on a row, Ctrl+D, the keys of
// the view, Esc; the reason of a failed trim; the options of the moment.
#include <gtest/gtest.h>

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeView>
#include <filesystem>
#include <memory>

#include "app/app_texts.h"
#include "app/command_table.h"
#include "app/compare_window.h"
#include "app/main_frame.h"
#include "app/qt_text.h"
#include "app/result_summary_dialog.h"
#include "app/row_images.h"
#include "app/trimlet_view.h"
#include "app_test_support.h"
#include "common/messages.h"
#include "compare/file_compare.h"
#include "qstring_printer.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

// Two blanks collapsed twice and two blank lines removed: three changes by default.
constexpr const char* kPage = "<p>  a  </p>\n\n\n<p>b</p>\n";

class CompareWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        frame = std::make_unique<CMainFrame>(dialogs, profile);
        frame->show();
        for (const char* name : {"first.htm", "second.htm"})
            ASSERT_RESULT(frame->Editor().AddFileByPath(dir.Write(name, kPage), ADD_QUIET),
                          RESULT_OK);
        frame->RefreshCommandStates();
        QTRY_VERIFY(!frame->View()->SelectionSyncPending());
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        EXPECT_EQ(test::VisibleTopLevelCount(), 0);
    }

    // Clicks the row of `name` in the list, as a user does.
    void ClickRow(const QString& name) {
        QTreeView* list = frame->View()->ListView();
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            if (!index.data().toString().endsWith(name)) continue;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(index).center());
            return;
        }
        FAIL() << "no row " << name.toStdString();
    }
    // Presses Ctrl+D on the list and returns the view that opens.
    CCompareWindow* OpenWithKeys() {
        QTest::keyClick(frame->View()->ListView(), Qt::Key_D, Qt::ControlModifier);
        CCompareWindow* window = nullptr;
        // The comparison arrives within a second.
        const bool ready = QTest::qWaitFor(
            [&] {
                window = frame->findChild<CCompareWindow*>();
                return window && window->IsReady();
            },
            1000);
        return ready ? window : nullptr;
    }

    // Adds a file, clicks its row and opens its view with Ctrl+D, sized and active.
    CCompareWindow* OpenFile(const char* name, const std::string& bytes) {
        if (frame->Editor().AddFileByPath(dir.Write(name, bytes), ADD_QUIET) != RESULT_OK) {
            ADD_FAILURE() << "add";
            return nullptr;
        }
        frame->RefreshCommandStates();
        if (!QTest::qWaitFor([&] { return !frame->View()->SelectionSyncPending(); }))
            return nullptr;
        ClickRow(QString::fromUtf8(name));
        CCompareWindow* window = OpenWithKeys();
        if (!window) {
            ADD_FAILURE() << "open " << frame->Editor().List().SelectedCount();
            return nullptr;
        }
        window->resize(640, 400);
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window)) return nullptr;
        return window;
    }

    test::TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(CompareWindowTest, ClickCtrlDNextChangeEsc) {
    ClickRow(QStringLiteral("second.htm"));
    ASSERT_EQ(frame->Editor().List().SelectedCount(), 1u);
    QPointer<CCompareWindow> window = OpenWithKeys();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("second.htm")));
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->ChangeCount(), 3);
    EXPECT_EQ(
        CompareFile(dir.File("second.htm"), kDefaultTrimMode, "JS:VBS").comparison.changes.size(),
        3u);
    EXPECT_TRUE(window->Summary()->text().contains(QStringLiteral("変更 3 箇所")));
    EXPECT_TRUE(window->Summary()->text().contains(QStringLiteral("処理前 24 バイト")));
    // Every row shows on both sides, so they scroll together.
    EXPECT_EQ(window->Before()->blockCount(), window->After()->blockCount());
    EXPECT_EQ(window->Before()->document()->findBlockByNumber(0).text(),
              QStringLiteral("<p>  a  </p>"));
    EXPECT_EQ(window->After()->document()->findBlockByNumber(0).text(),
              QStringLiteral("<p> a </p>"));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->Before(), Qt::Key_F8);
    EXPECT_EQ(window->CurrentChange(), 0);
    EXPECT_EQ(window->Before()->textCursor().selectedText(), QStringLiteral(" "));
    QTest::keyClick(window->Before(), Qt::Key_F8);
    QTest::keyClick(window->Before(), Qt::Key_F8);
    EXPECT_EQ(window->CurrentChange(), 2);
    EXPECT_EQ(window->Before()->textCursor().blockNumber(), 1);
    QTest::keyClick(window->Before(), Qt::Key_F8);  // stays on the last
    EXPECT_EQ(window->CurrentChange(), 2);
    QTest::keyClick(window->Before(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(window->CurrentChange(), 1);
    EXPECT_TRUE(window->Summary()->text().contains(QStringLiteral("2 / 3")));

    QTest::keyClick(window->Before(), Qt::Key_Escape);
    QTRY_VERIFY(window.isNull());
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(CompareWindowTest, OpensFromTheRowMenuAndTheViewMenuOnlyWithASelection) {
    QTreeView* list = frame->View()->ListView();
    const QRect row = list->visualRect(list->model()->index(0, 0));
    QMenu* menu = frame->View()->ContextMenuAt(row.center());
    EXPECT_TRUE(menu->actions().contains(frame->Action(CMD_COMPARE)));
    delete menu;
    EXPECT_TRUE(
        frame->findChild<QMenu*>("menuView")->actions().contains(frame->Action(CMD_COMPARE)));

    frame->Editor().List().SetSelected(0, false);
    frame->Editor().List().SetSelected(1, false);
    frame->RefreshCommandStates();
    EXPECT_FALSE(frame->Action(CMD_COMPARE)->isEnabled());
    frame->OnCommand(CMD_COMPARE);
    EXPECT_EQ(frame->findChild<CCompareWindow*>(), nullptr);
}

TEST_F(CompareWindowTest, FailedTrimShowsItsReason) {
    ClickRow(QStringLiteral("first.htm"));
    std::filesystem::remove(dir.File("first.htm"));
    QPointer<CCompareWindow> window = OpenWithKeys();
    ASSERT_TRUE(window);
    auto* note = window->findChild<QLabel*>("compareNote");
    EXPECT_TRUE(note->isVisibleTo(window));
    EXPECT_EQ(note->text().toStdString(),
              FormatMessage(MSG_FILE_DOES_NOT_EXIST, dir.File("first.htm")));
    EXPECT_EQ(window->ChangeCount(), 0);
    window->close();
    QTRY_VERIFY(window.isNull());
}

TEST_F(CompareWindowTest, UsesTheOptionsOfTheMoment) {
    ClickRow(QStringLiteral("first.htm"));
    frame->Editor().Settings().trimMode = TM_BLANK_LINES_DELETE;
    QPointer<CCompareWindow> window = OpenWithKeys();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->ChangeCount(), 1);
    EXPECT_FALSE(window->VerdictLabel()->isVisibleTo(window)) << "verifying is off";
    window->close();
    QTRY_VERIFY(window.isNull());
}

// With verifying on, a run leaves a page the check rejects unwritten: its row shows the
// warning picture and says where in its tip, the summary lists it with that reason, and the
// before-and-after view gives the check's verdict; a page that passes shows it the same.
TEST_F(CompareWindowTest, ARowTheCheckRejectedWarnsAndItsViewSaysWhere) {
    profile.WriteInteger("VERIFY_TRIM_RESULTS", 1);
    frame->Editor().ReloadAfterOptions();
    frame->Editor().Settings().trimMode = test::kModeTheCheckRejects;
    const std::string bad = dir.Write("bad.htm", test::kPageTheCheckRejects);
    ASSERT_RESULT(frame->Editor().AddFileByPath(bad, ADD_QUIET), RESULT_OK);
    frame->Editor().Settings().alertCreateOutputFolder = false;
    dialogs.AnswerMessage(MSG_TRIM_NOT_EQUIVALENT, MessageAnswer::Ok);
    frame->OnCommand(CMD_RUN);
    ASSERT_EQ(dialogs.Sequence(),
              (std::vector<std::string>{"message 20049", "ResultSummaryDialog"}))
        << "the check must still reject the page";
    EXPECT_FALSE(std::filesystem::exists(dir.File("Trimlet/bad.htm")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Trimlet/first.htm")));

    const FileList& list = frame->Editor().List();
    const std::size_t row = *list.FindRow(bad);
    const std::string warning = list.Warning(row);
    ASSERT_FALSE(warning.empty());
    const QModelIndex index =
        frame->View()->ListView()->model()->index(static_cast<int>(row), kColumnName);
    const auto icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    EXPECT_EQ(icon.cacheKey(), RowImage(ImageHtmlChecked, true).cacheKey());
    EXPECT_NE(icon.cacheKey(), RowImage(ImageHtmlChecked).cacheKey());
    EXPECT_TRUE(index.data(Qt::ToolTipRole).toString().contains(Qs(warning)));
    const QModelIndex good =
        index.siblingAtRow(static_cast<int>(*list.FindRow(dir.File("first.htm"))));
    EXPECT_EQ(qvariant_cast<QIcon>(good.data(Qt::DecorationRole)).cacheKey(),
              RowImage(ImageHtml).cacheKey());

    // The summary as the window shows it lists the file with where it differs.
    const RunSummary summary = dialogs.Calls().back().summary;
    CResultSummaryDlg summaryDialog(summary, frame.get());
    auto* skipped = summaryDialog.findChild<QPlainTextEdit*>("skippedFiles");
    ASSERT_TRUE(skipped);
    EXPECT_TRUE(skipped->toPlainText().startsWith(Qs(bad + "\t")));
    EXPECT_TRUE(skipped->toPlainText().contains(Qs(warning.substr(0, 20))));

    ClickRow(QStringLiteral("bad.htm"));
    QPointer<CCompareWindow> window = OpenWithKeys();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->VerdictLabel()->isVisibleTo(window));
    EXPECT_TRUE(window->VerdictLabel()->text().contains(Qs(warning)));
    window->close();
    QTRY_VERIFY(window.isNull());

    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    ClickRow(QStringLiteral("second.htm"));
    window = OpenWithKeys();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->VerdictLabel()->text(), Qs(TXT_COMPARE_VERIFY_SAME));
    window->close();
    QTRY_VERIFY(window.isNull());
}

// A long line that trimming removes whole: only the original side is that wide, and its
// end can still be reached; the last row shows on both sides at once.
TEST_F(CompareWindowTest, TheWiderSideScrollsToItsEnd) {
    std::string page = "<!-- " + std::string(3000, 'c') + " -->\n";
    for (int i = 0; i < 200; ++i)
        page += "<p>  " + std::to_string(i) + "</p>\n";
    QPointer<CCompareWindow> window = OpenFile("wide.htm", page);
    ASSERT_TRUE(window);
    QPlainTextEdit* before = window->Before();
    QPlainTextEdit* after = window->After();
    ASSERT_EQ(before->blockCount(), 201);

    // A click on the long line and End: the caret goes to its end, which must show.
    const QRect first = before->cursorRect(QTextCursor(before->document()->firstBlock()));
    QTest::mouseClick(before->viewport(), Qt::LeftButton, Qt::NoModifier, first.center());
    QTest::keyClick(before, Qt::Key_End);
    EXPECT_GT(before->horizontalScrollBar()->value(), after->horizontalScrollBar()->maximum());
    EXPECT_TRUE(before->viewport()->rect().contains(before->cursorRect().center()));

    // Ctrl+End: the last row shows, at the same height on both sides.
    QTest::keyClick(before, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(before->textCursor().blockNumber(), 200);
    EXPECT_TRUE(before->viewport()->rect().contains(before->cursorRect().center()));
    EXPECT_EQ(before->verticalScrollBar()->value(), after->verticalScrollBar()->value());
    const QTextCursor last(after->document()->lastBlock());
    EXPECT_EQ(after->cursorRect(last).top(), before->cursorRect().top());
    window->close();
    QTRY_VERIFY(window.isNull());
}

// The next change far along a long line scrolls the view to it, sideways too.
TEST_F(CompareWindowTest, NextChangeShowsAChangeFarAlongItsLine) {
    QPointer<CCompareWindow> window =
        OpenFile("far.htm", "<p>" + std::string(3000, 'x') + "  y</p>\n<p>z</p>\n");
    ASSERT_TRUE(window);
    ASSERT_EQ(window->ChangeCount(), 1);
    QTest::keyClick(window->Before(), Qt::Key_F8);
    EXPECT_EQ(window->Before()->textCursor().selectedText(), QStringLiteral(" "));
    EXPECT_GT(window->Before()->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(
        window->Before()->viewport()->rect().contains(window->Before()->cursorRect().center()));
    window->close();
    QTRY_VERIFY(window.isNull());
}

// Characters at which a text view breaks a line leave every row one line on both sides.
TEST_F(CompareWindowTest, EveryRowIsOneLine) {
    QPointer<CCompareWindow> window =
        OpenFile("lines.htm", "<p>a\u2029b  c</p>\n<p>d\u2028e  f</p>\n<p>g\u0085h  i</p>\n");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->ChangeCount(), 3);
    for (QPlainTextEdit* side : {window->Before(), window->After()}) {
        SCOPED_TRACE(side->objectName().toStdString());
        EXPECT_EQ(side->blockCount(), 3);
        for (QTextBlock block = side->document()->firstBlock(); block.isValid();
             block = block.next())
            EXPECT_EQ(block.layout()->lineCount(), 1) << block.blockNumber();
    }
    EXPECT_EQ(window->Before()->document()->findBlockByNumber(2).text(),
              QStringLiteral("<p>g\u2424h  i</p>"));
    window->close();
    QTRY_VERIFY(window.isNull());
}

}  // namespace
}  // namespace trimlet
