#pragma once
// The Qt model of the task's file list. It reads the rows of a FileList and follows its
// observer calls one to one: inserted and removed rows, changed rows, and a reset only
// when the list was reordered or emptied.

#include <QAbstractTableModel>

#include "filelist/file_list.h"

namespace trimlet {

class CFileListModel final : public QAbstractTableModel, private FileListObserver {
    Q_OBJECT
  public:
    CFileListModel(FileList& list, QObject* parent);
    ~CFileListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Whether rows are being removed or the list reset: a view's selection then follows the
    // model, and what it deselects is no choice of the user.
    bool Restructuring() const { return m_restructuring; }

  signals:
    // The selected state of rows [first, last] changed in the list.
    void ListSelectionChanged(int first, int last);
    // The list was reset (sorted, emptied): selection and sort indicator are to be read again.
    void ListWasReset();
    void BaseFolderLabelChanged();
    // Rows were inserted, removed or changed: enabling states may differ.
    void ListChanged();

  private:
    void RowsAboutToBeInserted(std::size_t first, std::size_t last) override;
    void RowsInserted(std::size_t first, std::size_t last) override;
    void RowsAboutToBeRemoved(std::size_t first, std::size_t last) override;
    void RowsRemoved(std::size_t first, std::size_t last) override;
    void RowsChanged(std::size_t first, std::size_t last) override;
    void ListAboutToBeReset() override;
    void ListReset() override;
    void BaseFolderChanged() override;

    FileList& m_list;
    bool m_restructuring = false;
};

}  // namespace trimlet
