// The list commands as a person gives them: rows chosen by clicks, shift-clicks and
// ctrl-clicks on the view, commands by their keys, the result read from the view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <QWindow>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/trimlet_view.h"
#include "app_test_support.h"
#include "qstring_printer.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "test_support.h"

namespace trimlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ListCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { QApplication::clipboard()->clear(); }
    void TearDown() override {
        if (frame) {
            frame->Editor().SetTaskModified(false);
            frame->close();
        }
        frame.reset();
        EXPECT_THAT(dialogs.UnexpectedCalls(), IsEmpty());
        EXPECT_EQ(test::VisibleTopLevelCount(), 0);
    }

    CMainFrame& Frame() {
        if (!frame) {
            frame = std::make_unique<CMainFrame>(dialogs, profile);
            frame->show();
            frame->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        }
        return *frame;
    }
    QTreeView* List() { return Frame().View()->ListView(); }
    // Adds pages a.htm, b.htm, ... (sorted as named) and leaves no row selected.
    void AddPages(int count) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(
                dir.Write(std::string(1, static_cast<char>('a' + i)) + ".htm", "<p>  a  </p>\n"));
        Frame().AddPaths(paths);
        Settle();
        ASSERT_EQ(List()->model()->rowCount(), count);
        List()->clearSelection();
        List()->setFocus();
        dialogs.ClearCalls();
    }
    // Lets the view follow the list.
    void Settle() { QTRY_VERIFY_WITH_TIMEOUT(!Frame().View()->SelectionSyncPending(), 5000); }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect rect = List()->visualRect(List()->model()->index(row, 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    // The names of the rows the view shows, and a "*" after each one that is selected.
    QString Shown() {
        QStringList names;
        QItemSelectionModel* selection = List()->selectionModel();
        for (int row = 0; row < List()->model()->rowCount(); ++row) {
            const QModelIndex index = List()->model()->index(row, 0);
            names << index.data().toString() + (selection->isRowSelected(row) ? "*" : "");
        }
        return names.join(QLatin1Char(' '));
    }
    // "+" for a checked row, "-" for an unchecked one, in view order.
    QString Checks() {
        QString marks;
        for (int row = 0; row < List()->model()->rowCount(); ++row)
            marks += Frame().Editor().List().IsChecked(static_cast<std::size_t>(row)) ? '+' : '-';
        return marks;
    }

    test::TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
};

struct Click {
    int row;
    Qt::KeyboardModifiers modifiers;
};

TEST_F(ListCommandsTest, DeleteRemovesTheRowsChosenByClicks) {
    struct Case {
        const char* name;
        std::vector<Click> clicks;
        MessageAnswer answer;
        const char* shown;  // the rows left, "*" after the selected ones
        bool modified;
    };
    const Case cases[] = {
        {"one row", {{1, {}}}, MessageAnswer::Ok, "a.htm c.htm d.htm", true},
        {"first row", {{0, {}}}, MessageAnswer::Ok, "b.htm c.htm d.htm", true},
        {"last row", {{3, {}}}, MessageAnswer::Ok, "a.htm b.htm c.htm", true},
        {"block by shift",
         {{1, {}}, {2, Qt::ShiftModifier}},
         MessageAnswer::Ok,
         "a.htm d.htm",
         true},
        {"block upwards", {{3, {}}, {0, Qt::ShiftModifier}}, MessageAnswer::Ok, "", true},
        {"scattered by ctrl",
         {{0, {}}, {2, Qt::ControlModifier}},
         MessageAnswer::Ok,
         "b.htm d.htm",
         true},
        {"ctrl takes one back",
         {{0, {}}, {2, Qt::ShiftModifier}, {1, Qt::ControlModifier}},
         MessageAnswer::Ok,
         "b.htm d.htm",
         true},
        {"cancel keeps all",
         {{1, {}}, {2, Qt::ShiftModifier}},
         MessageAnswer::Cancel,
         "a.htm b.htm* c.htm* d.htm",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AddPages(4);
        Frame().Editor().SetTaskModified(false);
        for (const Click& click : c.clicks)
            ClickRow(click.row, click.modifiers);
        Settle();
        dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, c.answer);
        QTest::keyClick(List(), Qt::Key_Delete);
        Settle();
        EXPECT_EQ(Shown(), QString::fromUtf8(c.shown));
        EXPECT_EQ(Frame().Editor().List().RowCount(),
                  static_cast<std::size_t>(List()->model()->rowCount()));
        EXPECT_EQ(Frame().Editor().TaskModified(), c.modified);
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        // The list empties without a question for the next case.
        Frame().Editor().EmptyList();
        dialogs.ClearCalls();
    }
}

TEST_F(ListCommandsTest, RemovalAsksWithTheCountOfTheRowsChosen) {
    AddPages(5);
    ClickRow(1);
    ClickRow(3, Qt::ShiftModifier);
    Settle();
    dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Ok);
    Frame().Action(CMD_REMOVE)->trigger();  // Edit menu
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 20026"));
    EXPECT_NE(dialogs.Calls().front().text.find('3'), std::string::npos);
    EXPECT_EQ(Shown(), "a.htm e.htm");
    EXPECT_FALSE(Frame().Action(CMD_REMOVE)->isEnabled());
}

TEST_F(ListCommandsTest, MarkUnmarkAndDoubleClickChangeTheClickedRows) {
    AddPages(4);
    struct Step {
        const char* name;
        std::vector<Click> clicks;  // before the key
        QKeySequence keys;          // empty: a double click on the first click's row
        const char* checks;
    };
    const Step steps[] = {
        {"unmark a block", {{1, {}}, {2, Qt::ShiftModifier}}, QKeySequence("Ctrl+Shift+M"), "+--+"},
        {"unmark scattered",
         {{0, {}}, {3, Qt::ControlModifier}},
         QKeySequence("Ctrl+Shift+M"),
         "----"},
        {"mark one", {{2, {}}}, QKeySequence("Ctrl+M"), "--+-"},
        {"double click checks", {{3, {}}}, QKeySequence(), "--++"},
        {"double click unchecks", {{2, {}}}, QKeySequence(), "---+"},
        {"select all, mark", {}, QKeySequence("Ctrl+A"), "---+"},
        {"then mark", {}, QKeySequence("Ctrl+M"), "++++"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        for (const Click& click : step.clicks)
            ClickRow(click.row, click.modifiers);
        Settle();
        if (step.keys.isEmpty()) {
            const QRect rect = List()->visualRect(List()->model()->index(step.clicks[0].row, 0));
            QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
        } else {
            QTest::keySequence(List(), step.keys);
        }
        Settle();
        EXPECT_EQ(Checks(), QString::fromUtf8(step.checks));
    }
    // Ctrl+A selected every row in the view as well.
    EXPECT_EQ(Shown(), "a.htm* b.htm* c.htm* d.htm*");
    EXPECT_THAT(dialogs.Calls(), IsEmpty());
}

TEST_F(ListCommandsTest, ClearAndPasteByKeysAndMenu) {
    AddPages(3);
    ClickRow(0);
    auto* data = new QMimeData;  // the clipboard takes it
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.Write("z.htm", "<p>z</p>")))});
    QApplication::clipboard()->setMimeData(data);
    QApplication::processEvents();
    QTest::keySequence(List(), QKeySequence("Ctrl+V"));
    Settle();
    // The pasted row is added at the end and is the one selected.
    EXPECT_EQ(Shown(), "a.htm b.htm c.htm z.htm*");

    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::No);
    Frame().Action(CMD_CLEAR)->trigger();
    EXPECT_EQ(List()->model()->rowCount(), 4);
    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::Yes);
    Frame().Action(CMD_CLEAR)->trigger();
    Settle();
    EXPECT_EQ(Shown(), "");
    EXPECT_FALSE(Frame().Action(CMD_SELECT_ALL)->isEnabled());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(ListCommandsTest, RemovedRowsStayOutOfTheSavedTaskAndTheTitleShowsUnsavedChanges) {
    AddPages(4);
    Frame().Editor().SetTaskModified(false);
    Frame().OnCommand(CMD_SELECT_ALL);  // refreshes the title like any command
    Frame().Editor().List().DeselectAll();
    Settle();
    EXPECT_FALSE(Frame().isWindowModified());
    EXPECT_EQ(Frame().windowHandle()->title(), QStringLiteral("新規タスク - Trimlet HTML!"));

    ClickRow(1);
    ClickRow(2, Qt::ShiftModifier);
    dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Ok);
    QTest::keyClick(List(), Qt::Key_Delete);
    Settle();
    EXPECT_TRUE(Frame().isWindowModified());
    EXPECT_EQ(Frame().windowHandle()->title(), QStringLiteral("新規タスク* - Trimlet HTML!"));

    const std::string task = dir.File("left.trh");
    dialogs.AnswerSaveTaskFile(task);
    QTest::keySequence(&Frame(), QKeySequence("Ctrl+S"));
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 20026", "SaveTaskFileDialog"));
    const std::string saved = test::ReadAll(task);
    EXPECT_NE(saved.find(dir.File("a.htm") + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find(dir.File("d.htm") + "\r\n"), std::string::npos);
    EXPECT_EQ(saved.find(dir.File("b.htm")), std::string::npos);
    EXPECT_EQ(saved.find(dir.File("c.htm")), std::string::npos);
    EXPECT_FALSE(Frame().isWindowModified());
    EXPECT_EQ(Frame().windowHandle()->title(), QStringLiteral("left.trh - Trimlet HTML!"));
}

TEST_F(ListCommandsTest, TheDesktopsKeysForTaskCommandsAndQuit) {
    AddPages(2);
    ASSERT_TRUE(Frame().Editor().TaskModified());
    struct Key {
        const char* keys;
        std::function<void()> answer;
        const char* shown;
    };
    const Key keys[] = {
        {"Ctrl+N", [&] { dialogs.AnswerMessage(MSG_DISCARD_AND_NEW, MessageAnswer::Cancel); },
         "message 18003"},
        {"Ctrl+O", [&] { dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN, MessageAnswer::Cancel); },
         "message 18001"},
        {"Ctrl+S", [&] { dialogs.AnswerSaveTaskFile(std::nullopt); }, "SaveTaskFileDialog"},
        {"Ctrl+Shift+S", [&] { dialogs.AnswerSaveTaskFile(std::nullopt); }, "SaveTaskFileDialog"},
        {"Ctrl+Q", [&] { dialogs.AnswerMessage(MSG_DISCARD_AND_EXIT, MessageAnswer::Cancel); },
         "message 18002"},
    };
    for (const Key& key : keys) {
        SCOPED_TRACE(key.keys);
        dialogs.ClearCalls();
        key.answer();
        QTest::keySequence(&Frame(), QKeySequence(QString::fromLatin1(key.keys)));
        EXPECT_THAT(dialogs.Sequence(), ElementsAre(key.shown));
        EXPECT_TRUE(dialogs.AllAnswersUsed());
        // Every answer kept the task and the window.
        EXPECT_EQ(List()->model()->rowCount(), 2);
        EXPECT_TRUE(Frame().isVisible());
        EXPECT_TRUE(Frame().isWindowModified());
    }
    // Quit, saving first: the task is written and the window goes.
    const std::string task = dir.File("quit.trh");
    dialogs.AnswerMessage(MSG_DISCARD_AND_EXIT, MessageAnswer::Yes).AnswerSaveTaskFile(task);
    QTest::keySequence(&Frame(), QKeySequence("Ctrl+Q"));
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_NE(test::ReadAll(task).find(dir.File("b.htm")), std::string::npos);
}

TEST_F(ListCommandsTest, TheRowsMenuOpensItsFileAndOutputFolderOnTheDesktop) {
    AddPages(2);
    std::vector<QString> opened;
    Frame().SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url.toLocalFile());
        return true;
    });
    ClickRow(1);
    Settle();
    QMenu* menu =
        Frame().View()->ContextMenuAt(List()->visualRect(List()->model()->index(1, 0)).center());
    QStringList names;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) names << action->objectName();
    EXPECT_TRUE(names.contains("actionOpenFile"));
    EXPECT_TRUE(names.contains("actionOpenOutputFolder"));
    delete menu;

    Frame().Action(CMD_OPEN_FILE)->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.back(), QString::fromStdString(dir.File("b.htm")));

    // No run yet: the output folder does not exist, which is said.
    dialogs.ClearCalls();
    Frame().Action(CMD_OPEN_OUTPUT_FOLDER)->trigger();
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 20044"));
    EXPECT_NE(dialogs.Calls().front().text.find(dir.File("Trimlet")), std::string::npos);

    std::filesystem::create_directories(dir.File("Trimlet"));
    Frame().Action(CMD_OPEN_OUTPUT_FOLDER)->trigger();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened.back(), QString::fromStdString(dir.File("Trimlet")));

    // Without a selected row there is nothing to open.
    List()->clearSelection();
    Settle();
    EXPECT_FALSE(Frame().Action(CMD_OPEN_FILE)->isEnabled());
    EXPECT_FALSE(Frame().Action(CMD_OPEN_OUTPUT_FOLDER)->isEnabled());
}

TEST_F(ListCommandsTest, ASortArrowNeverCutsAColumnTitle) {
    AddPages(2);
    QHeaderView* header = List()->header();
    for (int column = 0; column < kColumnCount; ++column) {
        SCOPED_TRACE(column);
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
        ASSERT_TRUE(header->isSortIndicatorShown());
        for (int c = 1; c < kColumnCount; ++c)
            EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c)) << "column " << c;
    }
}

TEST_F(ListCommandsTest, AWindowKeptLargerThanTheScreenIsFittedToIt) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    {
        CMainFrame big(dialogs, profile);
        big.show();
        big.resize(room.width() * 2, room.height() * 2);
        big.move(room.width(), room.height());
        ASSERT_TRUE(big.close());
    }
    CMainFrame& again = Frame();
    EXPECT_LE(again.frameGeometry().width(), room.width());
    EXPECT_LE(again.frameGeometry().height(), room.height());
    EXPECT_TRUE(room.contains(again.frameGeometry())) << again.frameGeometry().x();
}

// Not a timed test: it prints how long removing half of a long list took, for the
// record, and checks that the view and the list agree afterwards.
TEST_F(ListCommandsTest, HalfOfTenThousandRowsGoesAtOnce) {
    constexpr std::size_t kRows = 10000;
    FileList& rows = Frame().Editor().List();
    for (const bool block : {true, false}) {
        SCOPED_TRACE(block ? "one block" : "every other row");
        for (std::size_t i = 0; i < kRows; ++i) {
            auto entry = std::make_unique<FileEntry>();
            entry->folder = "/data/";
            entry->findData.name = "p" + std::to_string(100000 + i) + ".htm";
            const std::string name = entry->findData.name;
            rows.InsertRow(i, std::move(entry), ImageHtmlChecked, {name, "1", "1", "t"}, false);
        }
        Settle();
        List()->setFocus();
        QElapsedTimer timer;
        timer.start();
        if (block) {
            ClickRow(0);
            List()->scrollToBottom();
            const int last = static_cast<int>(kRows / 2 - 1);
            List()->scrollTo(List()->model()->index(last, 0));
            ClickRow(last, Qt::ShiftModifier);
        } else {
            QItemSelection half;
            for (int row = 0; row < static_cast<int>(kRows); row += 2)
                half.select(List()->model()->index(row, 0), List()->model()->index(row, 3));
            List()->selectionModel()->select(half, QItemSelectionModel::ClearAndSelect);
        }
        Settle();
        const qint64 selecting = timer.restart();
        ASSERT_EQ(rows.SelectedCount(), kRows / 2);
        dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Ok);
        QTest::keyClick(List(), Qt::Key_Delete);
        Settle();
        const qint64 removing = timer.elapsed();
        std::printf("[ timing ] %s: selecting 5000 of 10000 rows %lld ms, removing them %lld ms\n",
                    block ? "one block" : "every other row", static_cast<long long>(selecting),
                    static_cast<long long>(removing));
        ASSERT_EQ(List()->model()->rowCount(), static_cast<int>(kRows / 2));
        EXPECT_EQ(rows.SelectedCount(), 0u);
        EXPECT_EQ(List()->model()->index(0, 0).data().toString(),
                  block ? QStringLiteral("p105000.htm") : QStringLiteral("p100001.htm"));
        rows.RemoveAllRows();
        dialogs.ClearCalls();
    }
}

}  // namespace
}  // namespace trimlet
