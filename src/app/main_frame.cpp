#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <utility>

#include "app/app_texts.h"
#include "app/command_table.h"
#include "app/compare_window.h"
#include "app/dropped_files.h"
#include "app/help_window.h"
#include "app/progress_pane.h"
#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "app/tool_icons.h"
#include "app/trimlet_view.h"
#include "settings/profile_keys.h"

namespace trimlet {
namespace {

// The window's place and size, kept beside the other settings.
constexpr std::string_view kKeyWindowGeometry = "WINDOW_GEOMETRY";

constexpr int kRecentTaskCount = CMD_RECENT_TASK_LAST - CMD_RECENT_TASK_FIRST + 1;
// The before-and-after views one command opens at most.
constexpr int kMaxCompareWindows = 8;

// The keys a desktop program has for these commands, where the command table sets none.
struct StandardKey {
    int id;
    const char* keys;
};
constexpr StandardKey kStandardKeys[] = {
    {CMD_NEW_TASK, "Ctrl+N"},           {CMD_OPEN_TASK, "Ctrl+O"}, {CMD_SAVE_TASK, "Ctrl+S"},
    {CMD_SAVE_TASK_AS, "Ctrl+Shift+S"}, {CMD_EXIT, "Ctrl+Q"},
};

const char* KeysOf(const CommandInfo& info) {
    if (*info.keys) return info.keys;
    for (const StandardKey& key : kStandardKeys)
        if (key.id == info.id) return key.keys;
    return "";
}

bool IsEditorCommand(int id) {
    switch (id) {
        case CMD_EXIT:
        case CMD_ABOUT:
        case CMD_TOGGLE_TOOL_BAR:
        case CMD_TOGGLE_STATUS_BAR:
        case CMD_COMPARE:
        case CMD_OPEN_FILE:
        case CMD_OPEN_OUTPUT_FOLDER:
            return false;
        default:
            return true;
    }
}

}  // namespace

CMainFrame::CMainFrame(Dialogs& dialogs, Profile& profile, QWidget* parent)
    : QMainWindow(parent),
      m_dialogs(dialogs),
      m_profile(profile),
      m_editor(std::make_unique<TaskEditor>(dialogs, profile)),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);

    CreateActions();
    m_view = new CTrimletView(*m_editor, m_actions, this);
    setCentralWidget(m_view);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    m_editor->SetWorkProgress(m_progress);
    connect(m_view, &CTrimletView::ListStateChanged, this, &CMainFrame::RefreshCommandStates);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::RefreshCommandStates);
    connect(m_progress, &CProgressPane::WorkingChanged, this, [this](bool working) {
        m_idle->setVisible(!working);
        m_stopAction->setEnabled(working);
        RefreshCommandStates();
        if (!working) QTimer::singleShot(0, this, &CMainFrame::RunPendingRequest);
    });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (m_editor->TaskModified() && manager.allowsInteraction()) {
            const bool close = QueryClose();
            manager.release();
            if (!close) manager.cancel();
        }
    });

    RestoreWindowState();
    RefreshCommandStates();
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    m_editor->SetWorkProgress(nullptr);
    // The view follows the editor's list, so it goes before the editor does (the base
    // class would delete it only after the members).
    delete takeCentralWidget();
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& info : AllCommands()) {
        auto* action = new QAction(Qs(info.label), this);
        action->setObjectName(QLatin1String(info.objectName));
        action->setData(info.id);
        const QString prompt = Qs(info.prompt);
        const qsizetype split = prompt.indexOf(QLatin1Char('\n'));
        action->setStatusTip(split < 0 ? prompt : prompt.left(split));
        action->setToolTip(split < 0 ? prompt : prompt.mid(split + 1));
        if (const char* keys = KeysOf(info); *keys)
            action->setShortcuts(QKeySequence::listFromString(QLatin1String(keys)));
        action->setIcon(CommandIcon(info.id, info.themeIcon));
        action->setIconVisibleInMenu(false);
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions.insert(id, action);
        addAction(action);  // the keys work with the menu bar hidden too
    }
    for (int id : {CMD_TOGGLE_BASE_FOLDER_BAR, CMD_TOGGLE_TOOL_BAR, CMD_TOGGLE_STATUS_BAR})
        m_actions.value(id)->setCheckable(true);

    m_stopAction = new QAction(this);
    m_stopAction->setObjectName(QStringLiteral("actionStop"));
    m_stopAction->setShortcut(QKeySequence(Qt::Key_Escape));
    m_stopAction->setEnabled(false);
    connect(m_stopAction, &QAction::triggered, this, [this] { m_progress->RequestStop(); });
    addAction(m_stopAction);
}

void CMainFrame::CreateMenus() {
    const auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(m_actions.value(id));
            }
        }
    };
    m_fileMenu = menuBar()->addMenu(Qs(TXT_MENU_FILE));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    add(m_fileMenu,
        {CMD_NEW_TASK, 0, CMD_RUN_TASK, 0, CMD_OPEN_TASK, CMD_SAVE_TASK, CMD_SAVE_TASK_AS});
    m_recentSeparator = m_fileMenu->addSeparator();
    for (int i = 0; i < kRecentTaskCount; ++i) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("actionRecentTask%1").arg(i));
        action->setStatusTip(Qs(TXT_RECENT_TASK_PROMPT));
        connect(action, &QAction::triggered, this,
                [this, i] { OnCommand(CMD_RECENT_TASK_FIRST + i); });
        m_fileMenu->addAction(action);
        m_recentActions << action;
    }
    m_fileMenu->addSeparator();
    add(m_fileMenu, {CMD_EXIT});
    connect(m_fileMenu, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentTasks);
    RebuildRecentTasks();

    QMenu* edit = menuBar()->addMenu(Qs(TXT_MENU_EDIT));
    edit->setObjectName(QStringLiteral("menuEdit"));
    add(edit, {CMD_MARK, CMD_UNMARK, 0, CMD_PASTE, 0, CMD_REMOVE, CMD_SELECT_ALL, CMD_CLEAR});
    QMenu* view = menuBar()->addMenu(Qs(TXT_MENU_VIEW));
    view->setObjectName(QStringLiteral("menuView"));
    add(view, {CMD_TOGGLE_BASE_FOLDER_BAR, CMD_TOGGLE_TOOL_BAR, CMD_TOGGLE_STATUS_BAR, 0,
               CMD_REFRESH, 0, CMD_COMPARE, CMD_OPEN_FILE, CMD_OPEN_OUTPUT_FOLDER});
    QMenu* trim = menuBar()->addMenu(Qs(TXT_MENU_TRIM));
    trim->setObjectName(QStringLiteral("menuTrim"));
    add(trim, {CMD_ADD_FILES, CMD_ADD_FOLDER_FILES, 0, CMD_RUN, 0, CMD_OPTIONS});
    QMenu* help = menuBar()->addMenu(Qs(TXT_MENU_HELP));
    help->setObjectName(QStringLiteral("menuHelp"));
    add(help, {CMD_HELP_CONTENTS, 0, CMD_ABOUT});
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (int id : {CMD_OPEN_TASK, CMD_SAVE_TASK, 0, CMD_REMOVE, CMD_PASTE, 0, CMD_ADD_FILES,
                   CMD_ADD_FOLDER_FILES, CMD_OPTIONS, 0, CMD_RUN, 0, CMD_HELP_CONTENTS}) {
        if (id == 0) {
            m_toolBar->addSeparator();
        } else {
            m_toolBar->addAction(m_actions.value(id));
        }
    }
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_idle = new QLabel(Qs(TXT_IDLE_STATUS), bar);
    m_idle->setObjectName(QStringLiteral("idleText"));
    bar->addWidget(m_idle, 1);
    m_progress = new CProgressPane(bar);
    bar->addPermanentWidget(m_progress);
}

void CMainFrame::RestoreWindowState() {
    const bool toolBar = ReadFlagKey(m_profile, kKeyShowToolBar);
    const bool statusBar = ReadFlagKey(m_profile, kKeyShowStatusBar);
    m_toolBar->setVisible(toolBar);
    this->statusBar()->setVisible(statusBar);
    const std::string geometry = m_profile.ReadString(kKeyWindowGeometry, "");
    if (geometry.empty() ||
        !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)))) {
        resize(720, 480);
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_fittedToScreen) return;
    m_fittedToScreen = true;
    // A window kept on a larger screen, or at a smaller scale, is fitted to this one, its
    // frame included (known once shown).
    const QScreen* shown = screen();
    if (!shown) return;
    const QRect room = shown->availableGeometry();
    const QSize frameExtra = frameGeometry().size() - size();
    const QSize fitted = size().boundedTo(room.size() - frameExtra);
    if (fitted != size()) {
        if (isMaximized()) showNormal();
        resize(fitted);
    }
    if (!room.contains(frameGeometry())) move(room.topLeft());
}

void CMainFrame::SaveBarState() {
    WriteFlagKey(m_profile, kKeyShowToolBar, !m_toolBar->isHidden());
    WriteFlagKey(m_profile, kKeyShowStatusBar, !statusBar()->isHidden());
    m_profile.WriteString(kKeyWindowGeometry, saveGeometry().toBase64().toStdString());
}

bool CMainFrame::ClipboardHoldsFileList() const {
    return HoldsFileList(QApplication::clipboard()->mimeData());
}

void CMainFrame::RefreshCommandStates() {
    const bool clipboard = ClipboardHoldsFileList();
    const bool busy = m_editor->Busy();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const int id = it.key();
        bool enabled = true;
        if (IsEditorCommand(id)) {
            enabled = m_editor->IsCommandEnabled(id, clipboard);
        } else if (id == CMD_EXIT || id == CMD_ABOUT) {
            enabled = !busy;
        } else if (id == CMD_COMPARE) {
            enabled = !busy && m_editor->List().SelectedCount() > 0;
        } else if (id == CMD_OPEN_FILE || id == CMD_OPEN_OUTPUT_FOLDER) {
            enabled = !busy && m_editor->FirstSelectedRow().has_value();
        }
        it.value()->setEnabled(enabled);
    }
    for (QAction* recent : m_recentActions)
        recent->setEnabled(!busy && recent->isVisible());
    m_actions.value(CMD_TOGGLE_BASE_FOLDER_BAR)->setChecked(m_editor->IsBaseFolderBarShown());
    m_actions.value(CMD_TOGGLE_TOOL_BAR)->setChecked(!m_toolBar->isHidden());
    m_actions.value(CMD_TOGGLE_STATUS_BAR)->setChecked(!statusBar()->isHidden());
}

void CMainFrame::RebuildRecentTasks() {
    const std::vector<std::string> tasks = m_editor->RecentTasks();
    for (int i = 0; i < kRecentTaskCount; ++i) {
        QAction* action = m_recentActions[i];
        const auto index = static_cast<std::size_t>(i);
        if (index < tasks.size()) {
            QString path = Qs(tasks[index]);
            path.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(Qs(FormatText(TXT_RECENT_TASK_FORMAT, {i + 1, Utf8(path)})));
            action->setVisible(true);
            action->setEnabled(!m_editor->Busy());
        } else if (i == 0 && tasks.empty()) {
            action->setText(Qs(TXT_RECENT_TASKS_PLACEHOLDER));
            action->setVisible(true);
            action->setEnabled(false);
        } else {
            action->setVisible(false);
        }
    }
}

void CMainFrame::UpdateTitle() {
    // "[*]" marks where the desktop shows unsaved changes; one in the name is doubled.
    QString name = Qs(m_editor->TaskTitle());
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(Qs(FormatText(TXT_WINDOW_TITLE_FORMAT, {Utf8(name + QStringLiteral("[*]"))})));
    setWindowModified(m_editor->TaskModified());
}

void CMainFrame::OnCommand(int id) {
    QAction* action = m_actions.value(id);
    if (action && !action->isEnabled()) return;
    const bool recent = id >= CMD_RECENT_TASK_FIRST && id <= CMD_RECENT_TASK_LAST;
    // The editor has the last word, also when an action's state is not yet refreshed.
    if (recent ? m_editor->Busy()
               : IsEditorCommand(id) && !m_editor->IsCommandEnabled(id, ClipboardHoldsFileList())) {
        return;
    }

    ++m_commandDepth;
    TaskEditor& editor = *m_editor;
    switch (id) {
        case CMD_NEW_TASK:
            editor.NewTask();
            break;
        case CMD_RUN_TASK:
            editor.RunTaskCommand();
            break;
        case CMD_OPEN_TASK:
            editor.OpenTaskCommand();
            break;
        case CMD_SAVE_TASK:
            editor.SaveTask();
            break;
        case CMD_SAVE_TASK_AS:
            editor.SaveTaskAs();
            break;
        case CMD_EXIT:
            close();
            break;
        case CMD_MARK:
            editor.MarkSelected();
            break;
        case CMD_UNMARK:
            editor.UnmarkSelected();
            break;
        case CMD_PASTE: {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            if (HoldsFileList(data)) editor.Paste(FileListPaths(*data));
            break;
        }
        case CMD_REMOVE:
            editor.RemoveSelected();
            break;
        case CMD_SELECT_ALL:
            editor.SelectAll();
            break;
        case CMD_CLEAR:
            editor.Clear();
            break;
        case CMD_TOGGLE_BASE_FOLDER_BAR:
            editor.ToggleBaseFolderBar();
            m_view->LayoutControls();
            break;
        case CMD_TOGGLE_TOOL_BAR:
            m_toolBar->setVisible(m_toolBar->isHidden());
            break;
        case CMD_TOGGLE_STATUS_BAR:
            statusBar()->setVisible(statusBar()->isHidden());
            break;
        case CMD_REFRESH:
            editor.RefreshAll();
            break;
        case CMD_ADD_FILES:
            editor.AddFilesCommand();
            break;
        case CMD_ADD_FOLDER_FILES:
            editor.AddFolderCommand();
            break;
        case CMD_RUN:
            editor.RunCheckedFiles();
            break;
        case CMD_OPTIONS:
            if (m_dialogs.OptionsSheet()) editor.ReloadAfterOptions();
            break;
        case CMD_HELP_CONTENTS:
            OpenHelp();
            break;
        case CMD_ABOUT:
            if (auto* qt = dynamic_cast<QtDialogs*>(&m_dialogs)) qt->AboutBox();
            break;
        case CMD_COMPARE:
            OpenCompareWindows();
            break;
        case CMD_OPEN_FILE:
        case CMD_OPEN_OUTPUT_FOLDER:
            OpenRowOnDesktop(id == CMD_OPEN_OUTPUT_FOLDER);
            break;
        default:
            if (id >= CMD_RECENT_TASK_FIRST && id <= CMD_RECENT_TASK_LAST)
                editor.OpenRecentTask(static_cast<std::size_t>(id - CMD_RECENT_TASK_FIRST));
            break;
    }
    --m_commandDepth;
    m_view->LayoutControls();
    RefreshCommandStates();
    UpdateTitle();
    if (m_commandDepth == 0 && (m_hasPendingRequest || !m_pendingPaths.empty()))
        QTimer::singleShot(0, this, &CMainFrame::RunPendingRequest);
}

void CMainFrame::InitialUpdate(const QString& taskPath) {
    ++m_commandDepth;
    m_editor->InitialUpdate(Utf8(taskPath));
    --m_commandDepth;
    m_view->LayoutControls();
    RefreshCommandStates();
    UpdateTitle();
}

void CMainFrame::AddPaths(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    // Work or a question under way would see the list change: the paths wait for its end.
    if (m_editor->Busy() || m_commandDepth > 0) {
        m_pendingPaths.insert(m_pendingPaths.end(), paths.begin(), paths.end());
        return;
    }
    raise();
    activateWindow();
    ++m_commandDepth;
    m_editor->AddDroppedFiles(paths);
    --m_commandDepth;
    RefreshCommandStates();
    UpdateTitle();
}

void CMainFrame::HandleTaskRequest(const QString& taskPath) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (taskPath.isEmpty()) return;
    m_pendingRequest = taskPath;
    m_hasPendingRequest = true;
    RunPendingRequest();
}

void CMainFrame::RunPendingRequest() {
    const bool pending = m_hasPendingRequest || !m_pendingPaths.empty();
    // Not inside a command, its questions or long work: those would see the list change.
    if (!pending || m_commandDepth > 0 || m_editor->Busy() || QApplication::activeModalWidget()) {
        if (pending && !m_editor->Busy() && m_commandDepth == 0)
            QTimer::singleShot(200, this, &CMainFrame::RunPendingRequest);
        return;
    }
    if (!m_pendingPaths.empty()) {
        const std::vector<std::string> paths = std::exchange(m_pendingPaths, {});
        AddPaths(paths);
    }
    if (m_hasPendingRequest) {
        m_hasPendingRequest = false;
        ++m_commandDepth;
        m_editor->OpenRequestedTask(Utf8(m_pendingRequest), true);
        --m_commandDepth;
    }
    RefreshCommandStates();
    UpdateTitle();
}

void CMainFrame::OpenCompareWindows() {
    if (m_editor->Busy()) return;
    // Each window compares with the options as they are now.
    const WorkingSettings& settings = m_editor->Settings();
    const FileList& list = m_editor->List();
    int opened = 0;
    for (std::size_t row = 0; row < list.RowCount() && opened < kMaxCompareWindows; ++row) {
        if (!list.IsSelected(row) || !list.Entry(row)) continue;
        // A row the last run did not write for a difference shows where, verifying on or off.
        const bool verify = settings.verifyTrimResults || !list.Warning(row).empty();
        auto* window =
            new CCompareWindow(list.FullPath(row), settings.trimMode, settings.scriptExtensions,
                               settings.keptComments, this, verify);
        window->move(pos() + QPoint(40 + 24 * opened, 40 + 24 * opened));
        window->show();
        ++opened;
    }
}

QStringList CMainFrame::HelpFileCandidates() {
    const QString dir = QCoreApplication::applicationDirPath();
    // The English guide lies in help/en/; the Japanese one stands in when it is missing.
    QStringList guides;
    if (CurrentLanguage() == Language::English) guides << QStringLiteral("en/index.htm");
    guides << QStringLiteral("index.htm");
    QStringList candidates;
    for (const QString& guide : guides) {
        candidates << QDir(dir).filePath(QStringLiteral("help/") + guide)
                   << QDir(dir).filePath(QStringLiteral("../share/trimlet-html/help/") + guide);
    }
    return candidates;
}

void CMainFrame::OpenHelp() {
    const QStringList candidates = HelpFileCandidates();
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile()) {
            const QUrl guide = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
            // Without a web browser on the desktop the guide shows in a window of ours.
            if (!m_openUrl(guide)) {
                if (!m_helpWindow) m_helpWindow = new CHelpWindow(this);
                m_helpWindow->ShowGuide(guide);
            }
            return;
        }
    }
    m_dialogs.Ask(MSG_HELP_FILE_MISSING, MessageIcon::Stop, MessageButtons::Ok,
                  Utf8(QDir::cleanPath(candidates.front())));
}

void CMainFrame::OpenRowOnDesktop(bool outputFolder) {
    const std::optional<std::size_t> row = m_editor->FirstSelectedRow();
    if (!row) return;
    const std::string path =
        outputFolder ? m_editor->RowOutputFolder(*row) : m_editor->List().FullPath(*row);
    // A folder not made yet has nothing to show; nor has a file that went away.
    if (path.empty() || !QFileInfo::exists(Qs(path)) || !m_openUrl(QUrl::fromLocalFile(Qs(path))))
        m_dialogs.Ask(MSG_CANNOT_OPEN_ON_DESKTOP, MessageIcon::Exclamation, MessageButtons::Ok,
                      path);
}

bool CMainFrame::QueryClose() {
    ++m_commandDepth;
    const bool close = m_editor->MayDiscardTask(MSG_DISCARD_AND_EXIT);
    --m_commandDepth;
    UpdateTitle();
    return close;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Work under way ends first; the window stays.
    if (m_editor->Busy()) {
        m_progress->RequestStop();
        event->ignore();
        return;
    }
    if (!QueryClose()) {
        event->ignore();
        return;
    }
    // A later start handed its task over during the question and has ended believing it
    // taken: the window stays to open it.
    if (m_hasPendingRequest) {
        event->ignore();
        QTimer::singleShot(0, this, &CMainFrame::RunPendingRequest);
        return;
    }
    SaveBarState();
    m_editor->Close();
    event->accept();
}

// Files dropped while work runs are added once it has ended.
void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (HoldsFileList(event->mimeData())) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (!HoldsFileList(event->mimeData())) return;
    event->acceptProposedAction();
    const std::vector<std::string> paths = FileListPaths(*event->mimeData());
    // The drop's source waits until the event returns; the files are added after it.
    QTimer::singleShot(0, this, [this, paths] { AddPaths(paths); });
}

}  // namespace trimlet
