// The main window with scripted dialogs: menus, keys, enabling, drop, paste, sorting, the
// close guard, what survives a restart, long work and the hand-over of a second start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QWindow>
#include <functional>
#include <memory>

#include "app/app_texts.h"
#include "app/command_table.h"
#include "app/desktop_app.h"
#include "app/dropped_files.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/progress_pane.h"
#include "app/qt_text.h"
#include "app/single_instance.h"
#include "app/trimlet_view.h"
#include "app_test_support.h"
#include "qstring_printer.h"
#include "scripted_dialogs.h"
#include "settings/memory_profile.h"
#include "settings/profile_keys.h"
#include "test_support.h"

namespace trimlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override { QApplication::clipboard()->clear(); }
    void TearDown() override {
        frame.reset();
        EXPECT_THAT(dialogs.UnexpectedCalls(), IsEmpty());
        EXPECT_EQ(test::VisibleTopLevelCount(), 0);
    }

    CMainFrame& Frame() {
        if (!frame) {
            frame = std::make_unique<CMainFrame>(dialogs, profile);
            frame->show();
        }
        return *frame;
    }
    QTreeView* List() { return Frame().View()->ListView(); }
    std::string Page(const std::string& name) { return dir.Write(name, "<p>  a  </p>\n"); }
    // Drops the pages (written first) on the window as a file manager does.
    void DropPages(std::initializer_list<const char*> names) {
        QList<QUrl> urls;
        for (const char* name : names)
            urls << QUrl::fromLocalFile(QString::fromStdString(Page(name)));
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&Frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Frame(), &drop);
        // The files are added once the drop event has returned, the view follows after.
        QTest::qWait(20);
        QTRY_VERIFY_WITH_TIMEOUT(
            List()->model()->rowCount() > 0 && !Frame().View()->SelectionSyncPending(), 5000);
        dialogs.ClearCalls();
    }
    bool Enabled(int id) { return Frame().Action(id)->isEnabled(); }
    bool ToolButtonEnabled(int id) {
        QWidget* button =
            Frame().findChild<QToolBar*>("toolBar")->widgetForAction(Frame().Action(id));
        return button && button->isEnabled();
    }
    QString Cell(int row, int column) {
        return List()->model()->index(row, column).data().toString();
    }

    test::TempDir dir;
    MemoryProfile profile;
    ScriptedDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
};

QString MenuText(QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            items << QStringLiteral("-");
        } else if (action->isVisible()) {
            items << action->text();
        }
    }
    return items.join(QLatin1Char('|'));
}

TEST_F(FrameTest, MenusHoldEveryCommandInOrderWithItsPrompt) {
    // The file menu also holds the recent tasks' submenu, which is no command.
    EXPECT_EQ(MenuText(Frame().findChild<QMenu*>("menuFile")),
              "新規タスク作成(&N)|-|タスクを実行(&E)|-|タスクを開く(&O)...|タスクを保存(&S)|"
              "タスクに名前を付けて保存(&A)...|-|最近使ったタスク|-|終了(&X)");

    // Every command sits in a menu, with its prompt split into status text and tool tip.
    for (const CommandInfo& info : AllCommands()) {
        SCOPED_TRACE(info.objectName);
        QAction* action = Frame().Action(info.id);
        ASSERT_NE(action, nullptr);
        bool inMenu = false;
        for (QMenu* m : Frame().menuBar()->findChildren<QMenu*>())
            inMenu |= m->actions().contains(action);
        EXPECT_TRUE(inMenu);
        const QStringList prompt = QString::fromUtf8(info.prompt.Get()).split(QLatin1Char('\n'));
        EXPECT_EQ(action->statusTip(), prompt.front());
        EXPECT_EQ(action->toolTip(), prompt.back());
    }

    QStringList tools;
    for (QAction* action : Frame().findChild<QToolBar*>("toolBar")->actions())
        tools << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    EXPECT_EQ(tools.join(QLatin1Char(' ')),
              "actionOpenTask actionSaveTask - actionRemove actionPaste - actionAddFiles "
              "actionAddFolderFiles actionOptions - actionRun - actionHelpContents");
}

// The mnemonic letter of a menu text ("&File" -> 'F', "ファイル(&F)" -> 'F'), 0 for none.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toUpper();
    }
    return QChar();
}

// In both languages every command has its label and its two-line prompt, and no two items
// of one menu (nor two menus of the bar) answer the same mnemonic letter.
TEST_F(FrameTest, EveryMenuSpeaksTheLanguageWithDistinctMnemonics) {
    for (Language language : {Language::Japanese, Language::English}) {
        SCOPED_TRACE(std::string(LanguageCode(language)));
        test::ScopedLanguage scoped(language);
        frame.reset();
        for (const CommandInfo& info : AllCommands()) {
            SCOPED_TRACE(info.objectName);
            EXPECT_EQ(Frame().Action(info.id)->text(), QString::fromUtf8(info.label.In(language)));
            const QStringList prompt =
                QString::fromUtf8(info.prompt.In(language)).split(QLatin1Char('\n'));
            EXPECT_EQ(prompt.size(), 2);
            EXPECT_EQ(Frame().Action(info.id)->statusTip(), prompt.front());
        }
        std::vector<QMenu*> menus;
        QStringList titles;
        for (QAction* item : Frame().menuBar()->actions()) {
            titles << item->text();
            if (item->menu()) menus.push_back(item->menu());
        }
        EXPECT_EQ(titles.front(), Qs(TXT_MENU_FILE));
        auto distinct = [](const QStringList& texts) {
            QSet<QChar> seen;
            for (const QString& text : texts) {
                const QChar letter = Mnemonic(text);
                if (letter.isNull()) continue;
                EXPECT_FALSE(seen.contains(letter)) << text.toStdString();
                seen.insert(letter);
            }
        };
        distinct(titles);
        for (QMenu* menu : menus) {
            QStringList texts;
            for (QAction* action : menu->actions())
                if (!action->isSeparator() && action->isVisible()) texts << action->text();
            SCOPED_TRACE(menu->title().toStdString());
            distinct(texts);
        }
    }
    frame.reset();
}

TEST_F(FrameTest, TheSevenKeysActWithoutAMenu) {
    DropPages({"a.htm", "b.htm"});
    QClipboard* clipboard = QApplication::clipboard();
    auto* data = new QMimeData;  // the clipboard takes it
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(Page("c.htm")))});
    clipboard->setMimeData(data);
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    List()->setFocus();

    struct Key {
        int id;
        QKeySequence keys;
        std::function<void()> answer;  // what the command will ask, answered
        const char* shown;             // the first dialog it shows, or ""
    };
    const Key keys[] = {
        {CMD_MARK, QKeySequence("Ctrl+M"), [] {}, ""},
        {CMD_UNMARK, QKeySequence("Ctrl+Shift+M"), [] {}, ""},
        {CMD_PASTE, QKeySequence("Ctrl+V"), [] {}, ""},
        {CMD_PASTE, QKeySequence("Shift+Ins"), [] {}, ""},
        {CMD_REMOVE, QKeySequence("Del"),
         [&] { dialogs.AnswerMessage(MSG_CONFIRM_REMOVE, MessageAnswer::Cancel); },
         "message 20026"},
        {CMD_ADD_FILES, QKeySequence("Ctrl+Shift+A"), [&] { dialogs.AnswerAddFiles(std::nullopt); },
         "AddFilesDialog"},
        {CMD_ADD_FOLDER_FILES, QKeySequence("Ctrl+Shift+F"),
         [&] { dialogs.AnswerBrowseFolder(std::nullopt); }, "BrowseFolderDialog"},
        {CMD_RUN, QKeySequence("Ctrl+Shift+E"),
         [&] {
             dialogs.AnswerFolderCreation({false, false});
         },
         "FolderCreationDialog"},
    };
    for (const Key& key : keys) {
        SCOPED_TRACE(key.keys.toString().toStdString());
        Frame().Editor().List().SelectAll();
        Frame().Editor().List().CheckRow(0);
        ASSERT_TRUE(Enabled(key.id));
        QSignalSpy spy(Frame().Action(key.id), &QAction::triggered);
        dialogs.ClearCalls();
        key.answer();
        QTest::keySequence(&Frame(), key.keys);
        EXPECT_EQ(spy.count(), 1);
        if (*key.shown) {
            ASSERT_FALSE(dialogs.Sequence().empty());
            EXPECT_EQ(dialogs.Sequence().front(), key.shown);
        }
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }
    // Ctrl+M checked the selection, Ctrl+Shift+M unchecked it, Ctrl+V added c.htm.
    EXPECT_EQ(List()->model()->rowCount(), 3);
}

TEST_F(FrameTest, EnablingFollowsSelectionAndListOnMenuAndToolBar) {
    Frame();
    for (int id : {CMD_RUN, CMD_REMOVE, CMD_MARK, CMD_SAVE_TASK, CMD_SAVE_TASK_AS, CMD_CLEAR,
                   CMD_SELECT_ALL, CMD_PASTE}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Enabled(CMD_ADD_FILES));

    DropPages({"a.htm", "b.htm"});
    // Added rows are selected and checked.
    EXPECT_TRUE(Enabled(CMD_RUN));
    EXPECT_TRUE(Enabled(CMD_REMOVE));
    EXPECT_TRUE(ToolButtonEnabled(CMD_REMOVE));
    EXPECT_TRUE(Enabled(CMD_SAVE_TASK));

    List()->clearSelection();
    EXPECT_FALSE(Frame().Editor().List().IsSelected(0));
    EXPECT_FALSE(Enabled(CMD_REMOVE));
    EXPECT_FALSE(ToolButtonEnabled(CMD_REMOVE));
    EXPECT_FALSE(Enabled(CMD_MARK));

    List()->selectionModel()->select(List()->model()->index(1, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(Frame().Editor().List().IsSelected(1));
    EXPECT_TRUE(Enabled(CMD_MARK));

    // Unchecking by double click leaves nothing to run.
    for (int row : {0, 1})
        emit List()->doubleClicked(List()->model()->index(row, 0));
    EXPECT_FALSE(Enabled(CMD_RUN));

    auto* data = new QMimeData;
    data->setData("x-special/gnome-copied-files", "copy\nfile:///tmp/x.htm");
    QApplication::clipboard()->setMimeData(data);
    QApplication::processEvents();
    EXPECT_TRUE(Enabled(CMD_PASTE));
}

TEST_F(FrameTest, DropAndPasteAddRowsAndNonLocalUrlsAreReportedMissing) {
    DropPages({"site/a.htm", "site/b.htm"});
    EXPECT_EQ(List()->model()->rowCount(), 2);
    // One folder: the bar shows it and the rows show bare names.
    EXPECT_EQ(Frame().findChild<QLabel*>("baseFolderLabel")->text(),
              QString::fromStdString(dir.File("site/")));
    EXPECT_EQ(Cell(0, 0), QStringLiteral("a.htm"));

    auto* data = new QMimeData;
    data->setData("x-special/gnome-copied-files",
                  "copy\nfile://" +
                      QByteArray::fromStdString(Page("other/c d.htm")).replace(" ", "%20") +
                      "\nhttps://example.com/e.htm");
    QApplication::clipboard()->setMimeData(data);
    dialogs.AnswerMessage(MSG_FILE_NOT_FOUND, MessageAnswer::Ok);
    Frame().Action(CMD_PASTE)->trigger();
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 20000"));
    EXPECT_EQ(dialogs.Calls().front().text.find("https://example.com/e.htm") != std::string::npos,
              true);
    ASSERT_EQ(List()->model()->rowCount(), 3);
    EXPECT_EQ(Cell(2, 0), QString::fromStdString(dir.File("other/c d.htm")));
    EXPECT_EQ(Frame().findChild<QLabel*>("baseFolderLabel")->text(), QString());
}

TEST_F(FrameTest, HeaderClicksSortAscendingThenFlipAndShowTheIndicator) {
    dir.Write("b.htm", "<p>  bigger  file  </p>\n");
    dir.Write("c.htm", "<p>c</p>");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("c.htm"))),
                  QUrl::fromLocalFile(QString::fromStdString(Page("a.htm"))),
                  QUrl::fromLocalFile(QString::fromStdString(dir.File("b.htm")))});
    Frame().AddPaths(FileListPaths(data));
    QHeaderView* header = List()->header();
    const auto names = [&] {
        QStringList n;
        for (int row = 0; row < 3; ++row)
            n << Cell(row, 0);
        return n.join(QLatin1Char(' '));
    };
    const auto click = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    };
    // Added into an empty list: sorted by path, no indicator yet.
    EXPECT_EQ(names(), "a.htm b.htm c.htm");
    EXPECT_FALSE(header->isSortIndicatorShown());

    struct Step {
        int column;
        const char* order;
        Qt::SortOrder indicator;
    };
    const Step steps[] = {
        {0, "a.htm b.htm c.htm", Qt::AscendingOrder},
        {0, "c.htm b.htm a.htm", Qt::DescendingOrder},
        {1, "c.htm a.htm b.htm", Qt::AscendingOrder},
        {1, "b.htm a.htm c.htm", Qt::DescendingOrder},
    };
    for (const Step& step : steps) {
        click(step.column);
        EXPECT_EQ(names(), QString::fromUtf8(step.order));
        EXPECT_TRUE(header->isSortIndicatorShown());
        EXPECT_EQ(header->sortIndicatorSection(), step.column);
        EXPECT_EQ(header->sortIndicatorOrder(), step.indicator);
    }
}

TEST_F(FrameTest, CloseGuardNoKeepsTheWindowAndWritesNoBarSettings) {
    DropPages({"a.htm"});
    ASSERT_TRUE(Frame().Editor().TaskModified());
    dialogs.AnswerMessage(MSG_DISCARD_AND_EXIT, MessageAnswer::Cancel);
    EXPECT_FALSE(Frame().close());
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_FALSE(profile.HasKey("SHOW_TOOL_BAR"));
    EXPECT_FALSE(profile.HasKey("SHOW_STATUS_BAR"));

    dialogs.AnswerMessage(MSG_DISCARD_AND_EXIT, MessageAnswer::No);
    Frame().Action(CMD_EXIT)->trigger();
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_EQ(profile.ReadInteger("SHOW_TOOL_BAR", -1), 1);
}

TEST_F(FrameTest, BarVisibilityAndGeometrySurviveARestart) {
    Frame().Action(CMD_TOGGLE_TOOL_BAR)->trigger();
    Frame().Action(CMD_TOGGLE_BASE_FOLDER_BAR)->trigger();
    Frame().resize(612, 433);
    EXPECT_FALSE(Frame().Action(CMD_TOGGLE_TOOL_BAR)->isChecked());
    EXPECT_TRUE(Frame().close());  // an unchanged task closes without a question
    frame.reset();

    CMainFrame& again = Frame();
    EXPECT_TRUE(again.findChild<QToolBar*>("toolBar")->isHidden());
    EXPECT_FALSE(again.statusBar()->isHidden());
    EXPECT_FALSE(again.Action(CMD_TOGGLE_TOOL_BAR)->isChecked());
    EXPECT_FALSE(again.Action(CMD_TOGGLE_BASE_FOLDER_BAR)->isChecked());
    EXPECT_TRUE(again.findChild<QLabel*>("baseFolderCaption")->isHidden());
    EXPECT_EQ(again.size(), QSize(612, 433));
}

TEST_F(FrameTest, CommandsPressedDuringARunAreRefusedAndStopEndsItWithTheSummary) {
    DropPages({"a.htm", "b.htm", "c.htm"});
    dialogs.AnswerFolderCreation({true, true});
    int presses = 0;
    // Fires from the window's repaint after the first file.
    QTimer::singleShot(0, &Frame(), [&] {
        ++presses;
        EXPECT_TRUE(Frame().Editor().Busy());
        EXPECT_FALSE(Frame().Action(CMD_CLEAR)->isEnabled());
        EXPECT_FALSE(Frame().Action(CMD_RUN)->isEnabled());
        EXPECT_TRUE(Frame().Action(CMD_HELP_CONTENTS)->isEnabled());
        Frame().OnCommand(CMD_CLEAR);
        Frame().OnCommand(CMD_RUN);
        List()->header()->sectionClicked(0);
        Frame().AddPaths({Page("late.htm")});
        EXPECT_FALSE(Frame().close());
        EXPECT_TRUE(Frame().Progress()->isVisible());
    });
    Frame().OnCommand(CMD_RUN);
    EXPECT_EQ(presses, 1);
    // The close asked for a stop after the current file.
    EXPECT_THAT(dialogs.Sequence(),
                ElementsAre("FolderCreationDialog", "message 15004", "ResultSummaryDialog"));
    EXPECT_EQ(dialogs.Calls().back().summary.succeededCount, 1u);
    // The file dropped during the run is added once it has ended.
    QTRY_COMPARE_WITH_TIMEOUT(List()->model()->rowCount(), 4, 5000);
    EXPECT_EQ(Frame().Editor().List().FullPath(3), dir.File("late.htm"));
    EXPECT_FALSE(Frame().Progress()->isVisible());
    EXPECT_TRUE(Frame().Action(CMD_RUN)->isEnabled());
}

TEST_F(FrameTest, HelpOpensTheGuideInTheBrowserOrInAWindowOfOurs) {
    const QString guide = CMainFrame::HelpFileCandidates().front();
    if (!QFileInfo::exists(guide)) {
        Frame().OnCommand(CMD_HELP_CONTENTS);
        ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 20025"));
        EXPECT_NE(dialogs.Calls().front().text.find("help/index.htm"), std::string::npos);
        return;
    }
    for (const bool browser : {true, false}) {
        SCOPED_TRACE(browser ? "a browser" : "no browser");
        std::vector<QUrl> opened;
        Frame().SetUrlOpener([&](const QUrl& url) {
            opened.push_back(url);
            return browser;
        });
        Frame().activateWindow();
        QTest::keyClick(&Frame(), Qt::Key_F1);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(opened.front().toLocalFile().endsWith(QStringLiteral("help/index.htm")));
        CHelpWindow* help = Frame().HelpWindow();
        if (browser) {
            EXPECT_TRUE(!help || !help->isVisible());
            continue;
        }
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->Browser()->source(), opened.front());
        EXPECT_FALSE(help->Browser()->toPlainText().isEmpty());
        QTest::keyClick(help, Qt::Key_Escape);
        EXPECT_FALSE(help->isVisible());
    }
    EXPECT_THAT(dialogs.Calls(), IsEmpty());
}

TEST_F(FrameTest, AHandOverDuringAQuestionWaitsAndNamesTheTask) {
    DropPages({"a.htm"});
    dir.Write("t.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\nTrimlet\r\n" +
                           Page("t/b.htm") + "\r\n");
    // The hand-over arrives while the clear question is open.
    dialogs.AnswerMessage(MSG_CONFIRM_CLEAR, MessageAnswer::No);
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN_NAMED, MessageAnswer::No);
    bool handed = false;
    dialogs.OnMessage([&](const DialogCall&) {
        if (handed) return;
        handed = true;
        Frame().HandleTaskRequest(QString::fromStdString(dir.File("t.trh")));
        EXPECT_EQ(Frame().Editor().TaskPath(), "");
    });
    Frame().Action(CMD_CLEAR)->trigger();
    EXPECT_EQ(List()->model()->rowCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(Frame().Editor().TaskPath()),
                              QString::fromStdString(dir.File("t.trh")), 5000);
    ASSERT_THAT(dialogs.Sequence(), ElementsAre("message 18000", "message 18004"));
    EXPECT_NE(dialogs.Calls().back().text.find(dir.File("t.trh")), std::string::npos);
}

TEST_F(FrameTest, HelpOpensTheGuideOfTheLanguage) {
    struct Case {
        Language language;
        const char* guide;
    };
    const Case cases[] = {{Language::Japanese, "/help/index.htm"},
                          {Language::English, "/help/en/index.htm"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.guide);
        test::ScopedLanguage language(c.language);
        std::vector<QUrl> opened;
        Frame().SetUrlOpener([&](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
        ASSERT_TRUE(CMainFrame::HelpFileCandidates().front().endsWith(QLatin1String(c.guide)));
        if (!QFileInfo::exists(CMainFrame::HelpFileCandidates().front())) continue;
        Frame().OnCommand(CMD_HELP_CONTENTS);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(opened.front().toLocalFile().endsWith(QLatin1String(c.guide)));
    }
}

// The second start has ended believing its task taken: a window that closes meanwhile
// stays to open it.
TEST_F(FrameTest, AHandOverDuringTheCloseQuestionKeepsTheWindowForTheTask) {
    DropPages({"a.htm"});
    dir.Write("t.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\nTrimlet\r\n" +
                           Page("t/b.htm") + "\r\n");
    dialogs.AnswerMessage(MSG_DISCARD_AND_EXIT, MessageAnswer::No);
    dialogs.AnswerMessage(MSG_DISCARD_AND_OPEN_NAMED, MessageAnswer::No);
    bool handed = false;
    dialogs.OnMessage([&](const DialogCall&) {
        if (handed) return;
        handed = true;
        Frame().HandleTaskRequest(QString::fromStdString(dir.File("t.trh")));
    });
    Frame().activateWindow();
    QTest::keyClick(&Frame(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(Frame().isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(Frame().Editor().TaskPath()),
                              QString::fromStdString(dir.File("t.trh")), 5000);
    EXPECT_THAT(dialogs.Sequence(), ElementsAre("message 18002", "message 18004"));
    EXPECT_EQ(List()->model()->rowCount(), 1);
}

TEST_F(FrameTest, ASecondStartHandsItsTaskToTheRunningWindowAndEnds) {
    const QByteArray program = qgetenv("TRIMLET_GUI_PROGRAM");
    ASSERT_FALSE(program.isEmpty());
    const QString profilePath = QString::fromStdString(dir.File("profile.ini"));
    CInstanceServer server;
    ASSERT_TRUE(server.Listen(InstanceSocketPath(InstanceProfileKey(profilePath))));
    QObject::connect(&server, &CInstanceServer::TaskRequested, &Frame(),
                     &CMainFrame::HandleTaskRequest);
    dir.Write("site.trh", "TrimletHTML TASK FILE\r\n1.50.00\r\n260143148\r\nTrimlet\r\n" +
                              Page("site/a.htm") + "\r\n");

    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    // A relative task path: the running window gets it made absolute.
    second.start(QString::fromLocal8Bit(program), {"--profile", profilePath, "site.trh"});
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
    EXPECT_EQ(second.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(List()->model()->rowCount(), 1, 5000);
    EXPECT_EQ(Frame().Editor().TaskPath(), dir.File("site.trh"));
    EXPECT_EQ(Frame().windowHandle()->title(), QStringLiteral("site.trh - Trimlet HTML!"));
}

}  // namespace
}  // namespace trimlet
