#include "app/trimlet_view.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/command_table.h"
#include "app/file_list_model.h"
#include "app/qt_text.h"

namespace trimlet {
namespace {

constexpr int kInitialWidths[kColumnCount] = {200, 95, 95, 120};
// Room left beside the columns, and the narrowest width given to the name column.
constexpr int kSpareMargin = 22;
constexpr int kNameColumnMinimum = 100;

}  // namespace

CTrimletView::CTrimletView(TaskEditor& editor, const QHash<int, QAction*>& actions, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_actions(actions) {
    setObjectName(QStringLiteral("trimletView"));
    m_caption = new QLabel(Qs(TXT_BASE_FOLDER_CAPTION), this);
    m_caption->setObjectName(QStringLiteral("baseFolderCaption"));
    m_baseFolder = new QLabel(this);
    m_baseFolder->setObjectName(QStringLiteral("baseFolderLabel"));
    m_baseFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_baseFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("fileList"));
    m_model = new CFileListModel(editor.List(), this);
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::DefaultContextMenu);
    m_list->viewport()->installEventFilter(this);
    m_list->setTextElideMode(Qt::ElideMiddle);
    // The selection stays as visible without focus as with it.
    QPalette palette = m_list->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    m_list->setPalette(palette);

    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    for (int column = 0; column < kColumnCount; ++column)
        header->resizeSection(column, kInitialWidths[column]);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_editor.Busy()) {
            ShowSortIndicator();
            return;
        }
        m_editor.List().SortByColumnClick(column);
        m_sortedByUser = true;
        ShowSortIndicator();
    });

    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (m_editor.Busy()) return;
        m_editor.ToggleCheck(index.isValid() ? index.row() : -1);
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTrimletView::SyncSelectionToList);
    connect(m_model, &CFileListModel::ListSelectionChanged, this,
            &CTrimletView::ScheduleSelectionSync);
    connect(m_model, &CFileListModel::ListWasReset, this, [this] {
        ScheduleSelectionSync();
        ShowSortIndicator();
    });
    connect(m_model, &CFileListModel::BaseFolderLabelChanged, this,
            [this] { m_baseFolder->setText(Qs(m_editor.List().BaseFolderLabel())); });
    connect(m_model, &CFileListModel::ListChanged, this, &CTrimletView::ListStateChanged);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 5, 0);
    bar->addWidget(m_caption);
    bar->addWidget(m_baseFolder, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    layout->addLayout(bar);
    layout->addWidget(m_list, 1);
    m_baseFolder->setText(Qs(m_editor.List().BaseFolderLabel()));
    LayoutControls();
}

void CTrimletView::LayoutControls() {
    const bool shown = m_editor.IsBaseFolderBarShown();
    m_caption->setVisible(shown);
    m_baseFolder->setVisible(shown);
    m_baseFolder->setText(Qs(m_editor.List().BaseFolderLabel()));
    FitNameColumn();
}

void CTrimletView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitNameColumn();
}

void CTrimletView::FitNameColumn() {
    QHeaderView* header = m_list->header();
    int others = 0;
    for (int column = 1; column < kColumnCount; ++column)
        others += header->sectionSize(column);
    const int width = m_list->width() - others - kSpareMargin;
    if (width > kNameColumnMinimum) header->resizeSection(0, width);
}

void CTrimletView::ShowSortIndicator() {
    QHeaderView* header = m_list->header();
    const FileList& list = m_editor.List();
    header->setSortIndicatorShown(m_sortedByUser);
    if (!m_sortedByUser) return;
    header->setSortIndicator(list.SortColumn(),
                             list.LastSortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The arrow takes room from the title: a column too narrow for both widens.
    bool widened = false;
    for (int column = 1; column < kColumnCount; ++column) {
        const int needed = header->sectionSizeHint(column);
        if (header->sectionSize(column) < needed) {
            header->resizeSection(column, needed);
            widened = true;
        }
    }
    if (widened) FitNameColumn();
}

void CTrimletView::ScheduleSelectionSync() {
    if (m_syncing || m_syncPending) return;
    m_syncPending = true;
    QTimer::singleShot(0, this, &CTrimletView::SyncSelectionFromList);
}

void CTrimletView::SyncSelectionFromList() {
    m_syncPending = false;
    const FileList& list = m_editor.List();
    const int rows = m_model->rowCount();
    QItemSelection selection;
    const int lastColumn = kColumnCount - 1;
    // Consecutive selected rows become one range.
    for (int row = 0; row < rows; ++row) {
        if (!list.IsSelected(static_cast<std::size_t>(row))) continue;
        int end = row;
        while (end + 1 < rows && list.IsSelected(static_cast<std::size_t>(end + 1)))
            ++end;
        selection.append(
            QItemSelectionRange(m_model->index(row, 0), m_model->index(end, lastColumn)));
        row = end;
    }
    m_syncing = true;
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
    emit ListStateChanged();
}

void CTrimletView::SyncSelectionToList(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    // Rows leaving the model drop out of the selection; the list decides about them itself.
    if (m_syncing || m_model->Restructuring()) return;
    m_syncing = true;
    FileList& list = m_editor.List();
    const auto apply = [&list](const QItemSelection& ranges, bool state) {
        for (const QItemSelectionRange& range : ranges)
            list.SetSelectedRange(static_cast<std::size_t>(range.top()),
                                  static_cast<std::size_t>(range.bottom()), state);
    };
    apply(deselected, false);
    apply(selected, true);
    m_syncing = false;
    emit ListStateChanged();
}

QMenu* CTrimletView::ContextMenuAt(const QPoint& viewportPoint) {
    const QModelIndex index = m_list->indexAt(viewportPoint);
    // 0 is a separator.
    static constexpr int kOnRow[] = {CMD_MARK,    CMD_UNMARK,     CMD_PASTE,
                                     CMD_REMOVE,  CMD_SELECT_ALL, 0,
                                     CMD_COMPARE, CMD_OPEN_FILE,  CMD_OPEN_OUTPUT_FOLDER};
    static constexpr int kOnEmpty[] = {
        CMD_RUN,        CMD_PASTE, CMD_ADD_FILES, CMD_ADD_FOLDER_FILES,
        CMD_SELECT_ALL, CMD_CLEAR, CMD_REFRESH};
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (index.isValid()) {
        menu->setObjectName(QStringLiteral("contextMenuSelected"));
        for (int id : kOnRow) {
            if (id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(m_actions.value(id));
            }
        }
    } else {
        menu->setObjectName(QStringLiteral("contextMenuUnselected"));
        for (int id : kOnEmpty)
            menu->addAction(m_actions.value(id));
    }
    return menu;
}

bool CTrimletView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QMenu* menu = ContextMenuAt(menuEvent->pos());
        menu->popup(menuEvent->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace trimlet
