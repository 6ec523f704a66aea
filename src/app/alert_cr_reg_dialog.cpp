#include "app/alert_cr_reg_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

namespace {

QLabel* PlainLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(Qs(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

CAlertCRRegAsWSP::CAlertCRRegAsWSP(bool dontShowAgain, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("alertCrRegAsWspDialog"));
    setWindowTitle(Qs(TXT_LINE_BREAK_HINT_TITLE));

    QLabel* text = PlainLabel(TXT_LINE_BREAK_HINT_TEXT, this);
    text->setWordWrap(true);
    m_dontShowAgain = new QCheckBox(Qs(TXT_LINE_BREAK_HINT_DONT_SHOW), this);
    m_dontShowAgain->setObjectName(QStringLiteral("dontShowAgain"));
    m_dontShowAgain->setChecked(dontShowAgain);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(Qs(TXT_BUTTON_OK));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeIconLabel(QStyle::SP_MessageBoxInformation, this), 0, 0, 2, 1,
                      Qt::AlignTop);
    layout->addWidget(text, 0, 1, 1, 2);
    layout->addWidget(PlainLabel(TXT_LINE_BREAK_HINT_NUMBER1, this), 1, 1, Qt::AlignTop);
    layout->addWidget(PlainLabel(TXT_LINE_BREAK_HINT_ITEM1, this), 1, 2);
    layout->addWidget(PlainLabel(TXT_LINE_BREAK_HINT_NUMBER2, this), 2, 1, Qt::AlignTop);
    layout->addWidget(PlainLabel(TXT_LINE_BREAK_HINT_ITEM2, this), 2, 2);
    layout->addWidget(m_dontShowAgain, 3, 1, 1, 2);
    layout->addWidget(buttons, 4, 0, 1, 3);
    layout->setColumnStretch(2, 1);
}

bool ShowAlertCRRegAsWSP(bool dontShowAgain, QWidget* parent) {
    CAlertCRRegAsWSP dialog(dontShowAgain, parent);
    return dialog.exec() == QDialog::Accepted && dialog.DontShowAgain();
}

}  // namespace trimlet
