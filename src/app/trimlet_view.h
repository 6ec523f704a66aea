#pragma once
// The main window's client area: the base folder bar ("フォルダ：" and the common folder)
// over the file list. It shows the rows the TaskEditor holds and forwards what the user
// does on the list (header clicks, double clicks, selection, context menus) to it.

#include <QHash>
#include <QWidget>

#include "editor/task_editor.h"

class QAction;
class QLabel;
class QMenu;
class QTreeView;
class QItemSelection;

namespace trimlet {

class CFileListModel;

class CTrimletView final : public QWidget {
    Q_OBJECT
  public:
    // `actions` maps command ids to the window's actions (for the context menus).
    CTrimletView(TaskEditor& editor, const QHash<int, QAction*>& actions, QWidget* parent);

    QTreeView* ListView() const { return m_list; }
    CFileListModel* Model() const { return m_model; }
    // Shows or hides the base folder bar as the editor's setting says, and lays out.
    void LayoutControls();
    // The context menu for a point of the list's viewport: the "選択あり" menu on a row,
    // the "選択なし" menu on empty space; nullptr elsewhere. Built anew for each call.
    QMenu* ContextMenuAt(const QPoint& viewportPoint);

    // Whether the view is yet to show a change of the list's selection.
    bool SelectionSyncPending() const { return m_syncPending; }

  signals:
    // The rows or their selected state changed: enabling states may differ.
    void ListStateChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The list's selection changed: the view follows once control returns to the event
    // loop, in one step however many rows changed (a selection of many single-row ranges
    // would make every later change cost as much as the whole list).
    void ScheduleSelectionSync();
    void SyncSelectionFromList();
    void SyncSelectionToList(const QItemSelection& selected, const QItemSelection& deselected);
    void ShowSortIndicator();
    void FitNameColumn();

    TaskEditor& m_editor;
    const QHash<int, QAction*>& m_actions;
    QLabel* m_caption = nullptr;
    QLabel* m_baseFolder = nullptr;
    QTreeView* m_list = nullptr;
    CFileListModel* m_model = nullptr;
    bool m_syncing = false;
    bool m_sortedByUser = false;
    bool m_syncPending = false;
};

}  // namespace trimlet
