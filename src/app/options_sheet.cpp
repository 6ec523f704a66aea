#include "app/options_sheet.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/options_action_page.h"
#include "app/options_output_page.h"
#include "app/options_parent_scope.h"
#include "app/qt_dialogs.h"
#include "app/qt_text.h"
#include "app/tool_icons.h"
#include "app/trim_pages.h"
#include "common/messages.h"

namespace trimlet {

COptionsSheet::COptionsSheet(Dialogs& dialogs, Profile& profile, QWidget* parent,
                             std::function<void()> help)
    : QDialog(parent) {
    setObjectName(QStringLiteral("optionsSheet"));
    setWindowTitle(Qs(TXT_OPTIONS_TITLE));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("optionsTabs"));
    m_pages[kPageWhitespace] = new CPPTrimlet(dialogs, profile);
    m_pages[kPageComment] = new CPPTrimletComment(profile);
    m_pages[kPageOutput] = new CPPOutput(dialogs, profile);
    m_pages[kPageAction] = new CPPAction(profile);
    const char* titles[] = {TXT_WHITESPACE_PAGE_TITLE, TXT_COMMENT_PAGE_TITLE,
                            TXT_OUTPUT_PAGE_TITLE, TXT_ACTION_PAGE_TITLE};
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        m_tabs->addTab(m_pages[i], Qs(titles[i]));

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Qs(TXT_BUTTON_OK));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(Qs(TXT_BUTTON_CANCEL));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    buttons->button(QDialogButtonBox::Help)->setText(Qs(TXT_BUTTON_HELP));
    buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("help"));
    buttons->button(QDialogButtonBox::Help)
        ->setIcon(CommandIcon(CMD_HELP_CONTENTS, "help-contents"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [help = std::move(help)] {
        if (help) help();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    // A page reads the profile when it is first shown.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) m_pages[static_cast<std::size_t>(index)]->EnsureLoaded();
    });
    m_pages[kPageWhitespace]->EnsureLoaded();
}

// The file page is the only one that may refuse, so it is stored first: a refusal then
// leaves the profile as it was, and a Cancel after it keeps every setting unchanged.
void COptionsSheet::accept() {
    COptionsPage* output = m_pages[kPageOutput];
    if (!output->Store()) {
        m_tabs->setCurrentWidget(output);
        output->FocusAfterRefusal();
        return;
    }
    for (COptionsPage* page : m_pages) {
        if (page != output) page->Store();
    }
    QDialog::accept();
}

namespace {

// The guide at its section on the options, in the desktop's browser or else in a window of
// ours over the sheet; like the Help command, a missing guide is named in a message.
void OpenOptionsHelp(QtDialogs& dialogs) {
    const QStringList candidates = CMainFrame::HelpFileCandidates();
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile()) continue;
        QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        url.setFragment(QStringLiteral("options"));
        if (!dialogs.OpenUrl(url)) {
            auto* help = new CHelpWindow(dialogs.Parent());
            help->setAttribute(Qt::WA_DeleteOnClose);
            help->ShowGuide(url);
        }
        return;
    }
    dialogs.Ask(MSG_HELP_FILE_MISSING, MessageIcon::Stop, MessageButtons::Ok,
                Utf8(QDir::cleanPath(candidates.front())));
}

}  // namespace

bool ShowOptionsSheet(QtDialogs& dialogs) {
    COptionsSheet sheet(dialogs, dialogs.GetProfile(), dialogs.Parent(),
                        [&dialogs] { OpenOptionsHelp(dialogs); });
    DialogParentScope scope(dialogs, &sheet);
    return sheet.exec() == QDialog::Accepted;
}

}  // namespace trimlet
