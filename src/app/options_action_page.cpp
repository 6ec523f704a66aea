#include "app/options_action_page.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

CPPAction::CPPAction(Profile& profile, QWidget* parent) : COptionsPage(parent), m_profile(profile) {
    setObjectName(QStringLiteral("pageAction"));
    auto* layout = new QVBoxLayout(this);

    auto* recentGroup = new QGroupBox(Qs(TXT_ACTION_RECENT_GROUP), this);
    auto* recentLayout = new QVBoxLayout(recentGroup);
    m_openRecent = new QRadioButton(Qs(TXT_ACTION_RECENT_OPEN), recentGroup);
    m_openRecent->setObjectName(QStringLiteral("recentOpens"));
    m_runRecent = new QRadioButton(Qs(TXT_ACTION_RECENT_RUN), recentGroup);
    m_runRecent->setObjectName(QStringLiteral("recentRuns"));
    recentLayout->addWidget(m_openRecent);
    recentLayout->addWidget(m_runRecent);
    layout->addWidget(recentGroup);

    auto* openGroup = new QGroupBox(Qs(TXT_ACTION_OPEN_GROUP), this);
    auto* openLayout = new QVBoxLayout(openGroup);
    m_alertNotSame = new QCheckBox(Qs(TXT_ACTION_ALERT_NOT_SAME), openGroup);
    m_alertNotSame->setObjectName(QStringLiteral("alertSettingNotSame"));
    openLayout->addWidget(m_alertNotSame);
    layout->addWidget(openGroup);

    auto* runGroup = new QGroupBox(Qs(TXT_ACTION_RUN_GROUP), this);
    auto* runLayout = new QVBoxLayout(runGroup);
    m_verifyResults = new QCheckBox(Qs(TXT_ACTION_VERIFY_RESULTS), runGroup);
    m_verifyResults->setObjectName(QStringLiteral("verifyTrimResults"));
    m_verifyResults->setToolTip(Qs(TXT_ACTION_VERIFY_RESULTS_TIP));
    runLayout->addWidget(m_verifyResults);
    layout->addWidget(runGroup);
    layout->addStretch();
}

ActionPageState CPPAction::State() const {
    return {m_runRecent->isChecked(), m_alertNotSame->isChecked(), m_verifyResults->isChecked()};
}

void CPPAction::Load() {
    const ActionPageState state = ReadActionPage(m_profile);
    (state.runRecentTask ? m_runRecent : m_openRecent)->setChecked(true);
    m_alertNotSame->setChecked(state.alertSettingNotSame);
    m_verifyResults->setChecked(state.verifyTrimResults);
}

bool CPPAction::Save() {
    ApplyActionPage(m_profile, State());
    return true;
}

}  // namespace trimlet
