#pragma once
// The hint shown when "改行コードを空白文字とみなす" is ticked (CAlertCRRegAsWSP): what that
// setting does to scripts, and a box to stop showing the hint.

#include <QCheckBox>
#include <QDialog>

namespace trimlet {

class CAlertCRRegAsWSP final : public QDialog {
  public:
    // The box starts as `dontShowAgain`.
    explicit CAlertCRRegAsWSP(bool dontShowAgain, QWidget* parent = nullptr);

    bool DontShowAgain() const { return m_dontShowAgain->isChecked(); }

  private:
    QCheckBox* m_dontShowAgain;
};

// Shows the hint modally; true when it was closed with OK and its box ticked.
bool ShowAlertCRRegAsWSP(bool dontShowAgain, QWidget* parent);

}  // namespace trimlet
