#pragma once
// "拡張子の追加": one field and the button "追加". The button cleans the typed extension
// and refuses an empty or invalid one with its message, keeping the dialog open with the
// focus in the field; the close box and Esc cancel.

#include <QDialog>
#include <QLineEdit>
#include <optional>
#include <string>

#include "common/dialogs.h"

namespace trimlet {

class QtDialogs;

class CAddExtensionDlg final : public QDialog {
  public:
    explicit CAddExtensionDlg(Dialogs& dialogs, QWidget* parent = nullptr);

    // The cleaned extension, in the case the user typed; valid after accept.
    const std::string& Extension() const { return m_extension; }

    void accept() override;

  private:
    Dialogs& m_dialogs;
    QLineEdit* m_field;
    std::string m_extension;
};

// Shows the dialog over the dialogs' window; the cleaned extension, or nothing.
std::optional<std::string> ShowAddExtensionDialog(QtDialogs& dialogs);

}  // namespace trimlet
