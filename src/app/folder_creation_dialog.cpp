#include "app/folder_creation_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

CFolderCreationDlg::CFolderCreationDlg(std::string_view text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("folderCreationDialog"));
    setWindowTitle(Qs(TXT_FOLDER_CREATION_TITLE));

    auto* message = new QLabel(Qs(text), this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setMinimumWidth(360);

    m_autoCreate = new QCheckBox(Qs(TXT_FOLDER_CREATION_AUTO), this);
    m_autoCreate->setObjectName(QStringLiteral("autoCreate"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(Qs(TXT_BUTTON_OK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(Qs(TXT_BUTTON_CANCEL_SHORT), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeIconLabel(QStyle::SP_MessageBoxQuestion, this), 0, 0, 2, 1);
    layout->addWidget(message, 0, 1);
    layout->addWidget(m_autoCreate, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ok->setFocus();
}

bool CFolderCreationDlg::CreateFromNowOn() const {
    return m_autoCreate->isChecked();
}

}  // namespace trimlet
