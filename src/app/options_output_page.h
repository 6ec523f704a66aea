#pragma once
// The file page of the options sheet (CPPOutput): the output folder name, whether creating
// it is confirmed, and the two extension lists. The rules (cleaning, refusals, duplicates,
// sorting) are settings/output_options.h's; the page keeps its list boxes showing the
// page state those rules edit.

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/options_page.h"
#include "common/dialogs.h"
#include "settings/output_options.h"
#include "settings/profile.h"

namespace trimlet {

class CPPOutput final : public COptionsPage {
  public:
    CPPOutput(Dialogs& dialogs, Profile& profile, QWidget* parent = nullptr);

    const OutputPageState& State() const { return m_state; }
    void FocusAfterRefusal() override;

  protected:
    void Load() override;
    bool Save() override;

  private:
    void Add(ExtensionListKind kind);
    void Remove(ExtensionListKind kind);
    void ShowList(ExtensionListKind kind);
    QListWidget* ListBox(ExtensionListKind kind) const;

    Dialogs& m_dialogs;
    Profile& m_profile;
    OutputPageState m_state;
    QLineEdit* m_name;
    QCheckBox* m_confirmCreate;
    QListWidget* m_htmlList;
    QListWidget* m_scriptList;
};

}  // namespace trimlet
