#include "app/qt_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/about_dialog.h"
#include "app/add_extension_dialog.h"
#include "app/alert_cr_reg_dialog.h"
#include "app/alert_version_dialog.h"
#include "app/app_texts.h"
#include "app/file_filters.h"
#include "app/folder_creation_dialog.h"
#include "app/options_sheet.h"
#include "app/output_exists_dialog.h"
#include "app/qt_text.h"
#include "app/result_summary_dialog.h"
#include "app/settings_mismatch_dialog.h"
#include "common/messages.h"
#include "settings/profile_keys.h"

namespace trimlet {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct BoxButton {
    QMessageBox::StandardButton standard;
    Text text;
    MessageAnswer answer;
};

constexpr BoxButton kOk{QMessageBox::Ok, TXT_BUTTON_OK, MessageAnswer::Ok};
constexpr BoxButton kCancel{QMessageBox::Cancel, TXT_BUTTON_CANCEL, MessageAnswer::Cancel};
constexpr BoxButton kYes{QMessageBox::Yes, TXT_BUTTON_YES, MessageAnswer::Yes};
constexpr BoxButton kNo{QMessageBox::No, TXT_BUTTON_NO, MessageAnswer::No};

std::vector<BoxButton> ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return {kOk};
        case MessageButtons::OkCancel:
            return {kOk, kCancel};
        case MessageButtons::YesNo:
            return {kYes, kNo};
        case MessageButtons::YesNoCancel:
            return {kYes, kNo, kCancel};
    }
    return {kOk};
}

// A file dialog of ours: Qt's own widgets (the same look everywhere and reachable by
// tests), filter brackets hidden as file_filters.h explains.
void PrepareFileDialog(QFileDialog& dialog, const QStringList& filters) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
}

std::optional<std::string> FirstChosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Utf8(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

// The commands whose windows come with the next version say so and do nothing.
[[maybe_unused]] void ShowComingLater(QWidget* parent) {
    QMessageBox box(QMessageBox::Information, Qs(TXT_APP_TITLE), Qs(TXT_COMING_LATER),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("comingLater"));
    box.addButton(Qs(TXT_BUTTON_OK), QMessageBox::AcceptRole);
    box.exec();
}

}  // namespace

QtDialogs::QtDialogs(Profile& profile, QWidget* parent)
    : m_parent(parent),
      m_profile(profile),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

MessageAnswer QtDialogs::ShowMessage(const MessageRequest& request) {
    QMessageBox box(BoxIcon(request.icon), Qs(TXT_APP_TITLE), Qs(request.text),
                    QMessageBox::NoButton, m_parent);
    box.setObjectName(QStringLiteral("message%1").arg(request.id));
    const std::vector<BoxButton> buttons = ButtonsOf(request.buttons);
    std::vector<std::pair<QAbstractButton*, MessageAnswer>> made;
    // The questions before unsaved changes go offer to save them.
    const bool saveQuestion = request.buttons == MessageButtons::YesNoCancel &&
                              request.id >= MSG_DISCARD_AND_OPEN &&
                              request.id <= MSG_DISCARD_AND_OPEN_NAMED;
    for (const BoxButton& b : buttons) {
        QPushButton* button = box.addButton(b.standard);
        button->setText(Qs(b.text));
        if (saveQuestion && b.answer == MessageAnswer::Yes) button->setText(Qs(TXT_BUTTON_SAVE));
        if (saveQuestion && b.answer == MessageAnswer::No)
            button->setText(Qs(TXT_BUTTON_DONT_SAVE));
        made.emplace_back(button, b.answer);
    }
    // Return must not add a file that does not look like text: there No is the default.
    QAbstractButton* preset = made.front().first;
    for (const auto& [button, answer] : made)
        if (request.id == MSG_NOT_TEXT_FILE && answer == MessageAnswer::No) preset = button;
    box.setDefaultButton(static_cast<QPushButton*>(preset));
    // Esc and the close box answer Cancel where there is one, else the last button (No, or
    // the lone OK).
    box.setEscapeButton(made.back().first);
    box.exec();
    for (const auto& [button, answer] : made)
        if (box.clickedButton() == button) return answer;
    return made.back().second;
}

FolderCreationAnswer QtDialogs::FolderCreationDialog(std::string_view text) {
    CFolderCreationDlg dialog(text, m_parent);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return {accepted, accepted && dialog.CreateFromNowOn()};
}

OutputExistsAnswer QtDialogs::OutputExistsDialog(const OutputExistsRequest& request) {
    COutputExistsDlg dialog(request, m_parent);
    dialog.exec();
    return {dialog.ClosedWith(), dialog.RadioIndex()};
}

SettingsMismatchAnswer QtDialogs::SettingsMismatchDialog(std::string_view report) {
    CSettingsMismatchDlg dialog(report, m_parent);
    dialog.exec();
    return {dialog.Button(), dialog.TakeWithoutAsking()};
}

std::optional<std::uint32_t> QtDialogs::AlertVersionDialog(std::uint32_t initialMode) {
    CAlertVersionDlg dialog(initialMode, m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.TickedBits();
}

void QtDialogs::ResultSummaryDialog(const RunSummary& summary) {
    CResultSummaryDlg dialog(summary, m_parent);
    dialog.exec();
}

std::optional<std::string> QtDialogs::OpenTaskFileDialog(int titleId, std::string_view folder) {
    QFileDialog dialog(m_parent, Qs(MessageText(titleId)), Qs(folder));
    dialog.setObjectName(QStringLiteral("openTaskDialog"));
    PrepareFileDialog(dialog, TaskFileFilters());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return FirstChosen(dialog);
}

std::optional<std::string> QtDialogs::SaveTaskFileDialog(std::string_view folder,
                                                         std::string_view proposedName) {
    QFileDialog dialog(m_parent, Qs(MessageText(MSG_TITLE_SAVE_TASK_AS)), Qs(folder));
    dialog.setObjectName(QStringLiteral("saveTaskDialog"));
    PrepareFileDialog(dialog, TaskFileFilters());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(Qs(TXT_TASK_FILE_EXTENSION));
    dialog.selectFile(Qs(proposedName));
    return FirstChosen(dialog);
}

std::optional<ChosenFiles> QtDialogs::AddFilesDialog(std::string_view folder) {
    QFileDialog dialog(m_parent, Qs(MessageText(MSG_TITLE_ADD_FILES)), Qs(folder));
    dialog.setObjectName(QStringLiteral("addFilesDialog"));
    PrepareFileDialog(
        dialog, AddFilesFilters(ReadHtmlExtensions(m_profile), ReadScriptExtensions(m_profile)));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    ChosenFiles chosen;
    const QString chosenFolder = QFileInfo(dialog.selectedFiles().front()).absolutePath();
    chosen.folder = Utf8(QDir::toNativeSeparators(chosenFolder));
    // A file typed with a path elsewhere keeps its path, so it is added from there (or
    // reported) rather than looked for in the wrong folder.
    for (const QString& path : dialog.selectedFiles()) {
        const QFileInfo file(path);
        chosen.names.push_back(
            Utf8(file.absolutePath() == chosenFolder ? file.fileName() : file.absoluteFilePath()));
    }
    return chosen;
}

std::optional<std::string> QtDialogs::BrowseFolderDialog() {
    QFileDialog dialog(m_parent, Qs(TXT_BROWSE_FOLDER_TITLE));
    dialog.setObjectName(QStringLiteral("browseFolderDialog"));
    PrepareFileDialog(dialog, {});
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    return FirstChosen(dialog);
}

bool QtDialogs::AlertCRRegAsWSPDialog(bool dontShowAgain) {
    return ShowAlertCRRegAsWSP(dontShowAgain, m_parent);
}

std::optional<std::string> QtDialogs::AddExtensionDialog() {
    return ShowAddExtensionDialog(*this);
}

bool QtDialogs::OptionsSheet() {
    return ShowOptionsSheet(*this);
}

void QtDialogs::AboutBox() {
    ShowAboutBox(m_parent);
}

}  // namespace trimlet
