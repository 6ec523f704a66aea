#include "app/add_extension_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/options_parent_scope.h"
#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "common/messages.h"
#include "settings/extension_lists.h"

namespace trimlet {

CAddExtensionDlg::CAddExtensionDlg(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("addExtensionDialog"));
    setWindowTitle(Qs(TXT_ADD_EXTENSION_TITLE));
    auto* label = new QLabel(Qs(TXT_ADD_EXTENSION_LABEL), this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("extension"));
    label->setBuddy(m_field);
    auto* add = new QPushButton(Qs(TXT_ADD_EXTENSION_BUTTON), this);
    add->setObjectName(QStringLiteral("add"));
    add->setDefault(true);
    connect(add, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_field, 1);
    layout->addWidget(add);
    m_field->setFocus(Qt::OtherFocusReason);
}

void CAddExtensionDlg::accept() {
    const TypedExtension typed = CheckTypedExtension(Utf8(m_field->text()));
    if (typed.refusalId != 0) {
        m_dialogs.Ask(typed.refusalId, MessageIcon::None, MessageButtons::Ok);
        m_field->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_extension = typed.cleaned;
    m_field->setText(Qs(m_extension));
    QDialog::accept();
}

std::optional<std::string> ShowAddExtensionDialog(QtDialogs& dialogs) {
    CAddExtensionDlg dialog(dialogs, dialogs.Parent());
    DialogParentScope scope(dialogs, &dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Extension();
}

}  // namespace trimlet
