#pragma once
// The main window: menus, tool bar and status bar over the file list view. Every command
// is one QAction; the TaskEditor decides what is enabled and does the work. The frame
// itself handles only the window's own commands (bars, exit, help, about), drops, the
// close guard and what the window remembers between starts.

#include <QHash>
#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "editor/task_editor.h"
#include "settings/profile.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace trimlet {

class CHelpWindow;
class CProgressPane;
class CTrimletView;

class CMainFrame final : public QMainWindow {
    Q_OBJECT
  public:
    // The frame makes its TaskEditor over `dialogs` and `profile`; both outlive it.
    CMainFrame(Dialogs& dialogs, Profile& profile, QWidget* parent = nullptr);
    ~CMainFrame() override;

    TaskEditor& Editor() { return *m_editor; }
    CTrimletView* View() const { return m_view; }
    QAction* Action(int id) const { return m_actions.value(id); }
    CProgressPane* Progress() const { return m_progress; }
    // The guide's own window, once help has needed it.
    CHelpWindow* HelpWindow() const { return m_helpWindow; }

    // The first update: opens the task of the command line (or leaves a new task).
    void InitialUpdate(const QString& taskPath);
    // Carries out command `id` as its menu item would (when it is enabled).
    void OnCommand(int id);
    // Recomputes the enabled and checked state of every action.
    void RefreshCommandStates();
    // Adds dropped or pasted paths; while work or a question is under way, once it ended.
    void AddPaths(const std::vector<std::string>& paths);
    // A later start asked for `taskPath`: raise the window and open it (after the command
    // or work under way, if any).
    void HandleTaskRequest(const QString& taskPath);

    // Where the guide is looked for, first the one beside the program.
    static QStringList HelpFileCandidates();
    // Opens URLs for help and a row's file or folder; tests put a recorder here.
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void RestoreWindowState();
    void SaveBarState();
    void RebuildRecentTasks();
    void UpdateTitle();
    void OpenHelp();
    // A before-and-after view for each selected row (a few at most).
    void OpenCompareWindows();
    // Opens the first selected row's file, or its output folder, in the desktop's programs.
    void OpenRowOnDesktop(bool outputFolder);
    bool ClipboardHoldsFileList() const;
    void RunPendingRequest();
    // The question before the task is thrown away; true when the window may close.
    bool QueryClose();

    Dialogs& m_dialogs;
    Profile& m_profile;
    std::unique_ptr<TaskEditor> m_editor;
    QHash<int, QAction*> m_actions;
    CTrimletView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_idle = nullptr;
    CProgressPane* m_progress = nullptr;
    QAction* m_stopAction = nullptr;
    int m_commandDepth = 0;
    QString m_pendingRequest;
    bool m_hasPendingRequest = false;
    std::vector<std::string> m_pendingPaths;
    std::function<bool(const QUrl&)> m_openUrl;
    CHelpWindow* m_helpWindow = nullptr;
    bool m_fittedToScreen = false;
};

}  // namespace trimlet
