#pragma once
// "設定の読み込みの確認": whether an opened task file's settings replace the current ones,
// with the report of what differs. It may grow taller, never narrower, wider or smaller
// than it opened.

#include <QDialog>
#include <string_view>

#include "common/dialogs.h"

class QCheckBox;

namespace trimlet {

class CSettingsMismatchDlg final : public QDialog {
    Q_OBJECT
  public:
    CSettingsMismatchDlg(std::string_view report, QWidget* parent);

    // Yes, No or Cancel (also when the window was closed).
    MessageAnswer Button() const { return m_button; }
    bool TakeWithoutAsking() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QCheckBox* m_dontAsk = nullptr;
    MessageAnswer m_button = MessageAnswer::Cancel;
    bool m_sizeFixed = false;
};

}  // namespace trimlet
