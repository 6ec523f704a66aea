#pragma once
// The action page of the options sheet (CPPAction): what choosing a recent task does, and
// whether opening a task whose settings differ asks first, whether a run verifies its results.

#include <QCheckBox>
#include <QRadioButton>

#include "app/options_page.h"
#include "settings/output_options.h"
#include "settings/profile.h"

namespace trimlet {

class CPPAction final : public COptionsPage {
  public:
    explicit CPPAction(Profile& profile, QWidget* parent = nullptr);

    ActionPageState State() const;

  protected:
    void Load() override;
    bool Save() override;

  private:
    Profile& m_profile;
    QRadioButton* m_openRecent;
    QRadioButton* m_runRecent;
    QCheckBox* m_alertNotSame;
    QCheckBox* m_verifyResults;
};

}  // namespace trimlet
