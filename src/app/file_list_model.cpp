#include "app/file_list_model.h"

#include "app/app_texts.h"
#include "app/qt_text.h"
#include "app/row_images.h"
#include "common/messages.h"

namespace trimlet {

CFileListModel::CFileListModel(FileList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {
    m_list.AddObserver(this);
}

CFileListModel::~CFileListModel() {
    m_list.RemoveObserver(this);
}

int CFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.RowCount());
}

int CFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return Qs(m_list.Text(row, index.column()));
        case Qt::DecorationRole:
            if (index.column() == kColumnName)
                return RowImage(m_list.Image(row), !m_list.Warning(row).empty());
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == kColumnSourceSize || index.column() == kColumnTrimmedSize)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            if (index.column() != kColumnName) return {};
            if (const std::string& warning = m_list.Warning(row); !warning.empty()) {
                return Qs(FormatText(TXT_ROW_NOT_EQUIVALENT, {m_list.FullPath(row), warning}));
            }
            return Qs(m_list.FullPath(row));
        default:
            return {};
    }
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    static constexpr int kTitles[kColumnCount] = {MSG_COLUMN_FILE_NAME, MSG_COLUMN_SOURCE_SIZE,
                                                  MSG_COLUMN_TRIMMED_SIZE, MSG_COLUMN_MODIFIED};
    if (role == Qt::DisplayRole) return Qs(MessageText(kTitles[section]));
    if (role == Qt::TextAlignmentRole) {
        const bool right = section == kColumnSourceSize || section == kColumnTrimmedSize;
        return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

void CFileListModel::RowsAboutToBeInserted(std::size_t first, std::size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void CFileListModel::RowsInserted(std::size_t first, std::size_t last) {
    endInsertRows();
    emit ListSelectionChanged(static_cast<int>(first), static_cast<int>(last));
    emit ListChanged();
}

void CFileListModel::RowsAboutToBeRemoved(std::size_t first, std::size_t last) {
    m_restructuring = true;
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void CFileListModel::RowsRemoved(std::size_t, std::size_t) {
    endRemoveRows();
    m_restructuring = false;
    emit ListChanged();
}

void CFileListModel::RowsChanged(std::size_t first, std::size_t last) {
    emit dataChanged(index(static_cast<int>(first), 0),
                     index(static_cast<int>(last), kColumnCount - 1));
    emit ListSelectionChanged(static_cast<int>(first), static_cast<int>(last));
    emit ListChanged();
}

void CFileListModel::ListAboutToBeReset() {
    m_restructuring = true;
    beginResetModel();
}

void CFileListModel::ListReset() {
    endResetModel();
    m_restructuring = false;
    emit ListWasReset();
    emit ListChanged();
}

void CFileListModel::BaseFolderChanged() {
    emit BaseFolderLabelChanged();
}

}  // namespace trimlet
