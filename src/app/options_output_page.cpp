#include "app/options_output_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

namespace {

QPushButton* MakeButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(Qs(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QListWidget* MakeList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

}  // namespace

CPPOutput::CPPOutput(Dialogs& dialogs, Profile& profile, QWidget* parent)
    : COptionsPage(parent), m_dialogs(dialogs), m_profile(profile) {
    setObjectName(QStringLiteral("pageOutput"));
    auto* layout = new QVBoxLayout(this);

    auto* folderGroup = new QGroupBox(Qs(TXT_OUTPUT_FOLDER_GROUP), this);
    auto* folderLayout = new QGridLayout(folderGroup);
    auto* nameLabel = new QLabel(Qs(TXT_OUTPUT_FOLDER_NAME_LABEL), folderGroup);
    m_name = new QLineEdit(folderGroup);
    m_name->setObjectName(QStringLiteral("outputFolderName"));
    nameLabel->setBuddy(m_name);
    m_confirmCreate = new QCheckBox(Qs(TXT_OUTPUT_CONFIRM_CREATE), folderGroup);
    m_confirmCreate->setObjectName(QStringLiteral("confirmCreateFolder"));
    folderLayout->addWidget(nameLabel, 0, 0);
    folderLayout->addWidget(m_name, 0, 1);
    folderLayout->addWidget(m_confirmCreate, 1, 0, 1, 2);
    layout->addWidget(folderGroup);

    auto* extensionGroup = new QGroupBox(Qs(TXT_OUTPUT_EXTENSIONS_GROUP), this);
    auto* extensionLayout = new QGridLayout(extensionGroup);
    struct Column {
        const char* label;
        const char* listName;
        const char* add;
        const char* addName;
        const char* remove;
        const char* removeName;
        ExtensionListKind kind;
    };
    const Column columns[] = {
        {TXT_OUTPUT_HTML_EXTENSIONS_LABEL, "htmlExtensions", TXT_OUTPUT_HTML_ADD, "addHtml",
         TXT_OUTPUT_HTML_REMOVE, "removeHtml", ExtensionListKind::Html},
        {TXT_OUTPUT_SCRIPT_EXTENSIONS_LABEL, "scriptExtensions", TXT_OUTPUT_SCRIPT_ADD, "addScript",
         TXT_OUTPUT_SCRIPT_REMOVE, "removeScript", ExtensionListKind::Script},
    };
    int column = 0;
    for (const Column& c : columns) {
        auto* label = new QLabel(Qs(c.label), extensionGroup);
        QListWidget* list = MakeList(c.listName, extensionGroup);
        label->setBuddy(list);
        QPushButton* add = MakeButton(c.add, c.addName, extensionGroup);
        QPushButton* remove = MakeButton(c.remove, c.removeName, extensionGroup);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        extensionLayout->addWidget(label, 0, column);
        extensionLayout->addWidget(list, 1, column);
        extensionLayout->addLayout(buttons, 2, column);
        (c.kind == ExtensionListKind::Html ? m_htmlList : m_scriptList) = list;
        const ExtensionListKind kind = c.kind;
        connect(add, &QPushButton::clicked, this, [this, kind] { Add(kind); });
        connect(remove, &QPushButton::clicked, this, [this, kind] { Remove(kind); });
        ++column;
    }
    layout->addWidget(extensionGroup);
    layout->addStretch();

    // Only the user's edits: filling the field when the page opens is no edit.
    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString& text) { NoticeBlankOutputFolderName(m_dialogs, Utf8(text)); });
}

void CPPOutput::Load() {
    m_state = ReadOutputPage(m_profile);
    m_name->setText(Qs(m_state.outputFolderName));
    m_confirmCreate->setChecked(m_state.alertCreateOutputFolder);
    ShowList(ExtensionListKind::Html);
    ShowList(ExtensionListKind::Script);
}

bool CPPOutput::Save() {
    m_state.outputFolderName = Utf8(m_name->text());
    m_state.alertCreateOutputFolder = m_confirmCreate->isChecked();
    return ApplyOutputPage(m_dialogs, m_profile, m_state);
}

void CPPOutput::FocusAfterRefusal() {
    m_name->setFocus(Qt::OtherFocusReason);
}

QListWidget* CPPOutput::ListBox(ExtensionListKind kind) const {
    return kind == ExtensionListKind::Html ? m_htmlList : m_scriptList;
}

// The list box shows the page state's list, which the rules keep sorted.
void CPPOutput::ShowList(ExtensionListKind kind) {
    const std::vector<std::string>& items =
        kind == ExtensionListKind::Html ? m_state.htmlExtensions : m_state.scriptExtensions;
    QListWidget* list = ListBox(kind);
    list->clear();
    for (const std::string& item : items)
        list->addItem(Qs(item));
}

void CPPOutput::Add(ExtensionListKind kind) {
    if (AddExtensionFromDialog(m_dialogs, m_state, kind)) ShowList(kind);
}

void CPPOutput::Remove(ExtensionListKind kind) {
    QListWidget* list = ListBox(kind);
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) return;
    const int row = list->row(selected.front());
    if (RemoveExtension(m_state, kind, static_cast<std::size_t>(row))) ShowList(kind);
}

}  // namespace trimlet
