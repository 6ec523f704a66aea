#pragma once
// "フォルダ作成の確認": asks before a missing output folder is made, with the box that makes
// later runs create folders without asking.

#include <QDialog>
#include <string_view>

class QCheckBox;

namespace trimlet {

class CFolderCreationDlg final : public QDialog {
    Q_OBJECT
  public:
    CFolderCreationDlg(std::string_view text, QWidget* parent);

    bool CreateFromNowOn() const;

  private:
    QCheckBox* m_autoCreate = nullptr;
};

}  // namespace trimlet
