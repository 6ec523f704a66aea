#include "app/settings_mismatch_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

CSettingsMismatchDlg::CSettingsMismatchDlg(std::string_view report, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("settingsMismatchDialog"));
    setWindowTitle(Qs(TXT_MISMATCH_TITLE));
    setSizeGripEnabled(true);

    auto* text = new QLabel(Qs(TXT_MISMATCH_TEXT), this);
    text->setObjectName(QStringLiteral("message"));
    text->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    const struct {
        const char* label;
        const char* name;
        MessageAnswer answer;
    } kinds[] = {{TXT_BUTTON_YES, "yes", MessageAnswer::Yes},
                 {TXT_BUTTON_NO, "no", MessageAnswer::No},
                 {TXT_BUTTON_CANCEL_SHORT, "cancel", MessageAnswer::Cancel}};
    for (const auto& kind : kinds) {
        QPushButton* button = buttons->addButton(Qs(kind.label), QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(kind.name));
        const MessageAnswer answer = kind.answer;
        connect(button, &QPushButton::clicked, this, [this, answer] {
            m_button = answer;
            answer == MessageAnswer::Cancel ? reject() : accept();
        });
        if (answer == MessageAnswer::No) {
            button->setDefault(true);
            button->setFocus();
        }
    }

    m_dontAsk = new QCheckBox(Qs(TXT_MISMATCH_DONT_ASK), this);
    m_dontAsk->setObjectName(QStringLiteral("dontAsk"));

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* reportBox = new QPlainTextEdit(this);
    reportBox->setObjectName(QStringLiteral("report"));
    reportBox->setPlainText(Qs(report).remove(QLatin1Char('\r')));
    reportBox->setReadOnly(true);
    reportBox->setTabChangesFocus(true);
    reportBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The report aligns its values with tabs.
    reportBox->setTabStopDistance(reportBox->fontMetrics().horizontalAdvance(QLatin1Char('x')) *
                                  16);
    reportBox->setMinimumHeight(QFontMetrics(reportBox->font()).lineSpacing() * 10);
    auto* reportLabel = new QLabel(Qs(TXT_MISMATCH_REPORT_LABEL), this);
    reportLabel->setBuddy(reportBox);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeIconLabel(QStyle::SP_MessageBoxQuestion, this), 0, 0);
    layout->addWidget(text, 0, 1);
    layout->addWidget(buttons, 0, 2, 2, 1);
    layout->addWidget(m_dontAsk, 1, 1);
    layout->addWidget(line, 2, 0, 1, 3);
    layout->addWidget(reportLabel, 3, 0, 1, 3);
    layout->addWidget(reportBox, 4, 0, 1, 3);
    layout->setRowStretch(4, 1);
    // The report box ends 10 pixels above the bottom edge.
    int left = 0, top = 0, right = 0, bottom = 0;
    layout->getContentsMargins(&left, &top, &right, &bottom);
    layout->setContentsMargins(left, top, right, 10);
    setTabOrder(buttons, m_dontAsk);
    setTabOrder(m_dontAsk, reportBox);
}

bool CSettingsMismatchDlg::TakeWithoutAsking() const {
    return m_dontAsk->isChecked();
}

void CSettingsMismatchDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_sizeFixed) return;
    m_sizeFixed = true;
    // Only the height may grow from the size it opened with.
    const QSize opened = size();
    setMinimumSize(opened);
    setMaximumWidth(opened.width());
}

}  // namespace trimlet
