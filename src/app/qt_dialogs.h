#pragma once
// The desktop's answers to the Dialogs port: every question of the core becomes a modal Qt
// window over the main window. Each dialog lives in its own class; this class only turns
// the port's plain data into a dialog and the dialog's result back into plain data.

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "common/dialogs.h"
#include "settings/profile.h"

namespace trimlet {

class QtDialogs final : public Dialogs {
  public:
    // `profile` is what the options sheet edits; `parent` owns the dialogs while they show.
    explicit QtDialogs(Profile& profile, QWidget* parent = nullptr);

    void SetParent(QWidget* parent) { m_parent = parent; }
    QWidget* Parent() const { return m_parent; }
    Profile& GetProfile() { return m_profile; }

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    FolderCreationAnswer FolderCreationDialog(std::string_view text) override;
    OutputExistsAnswer OutputExistsDialog(const OutputExistsRequest& request) override;
    SettingsMismatchAnswer SettingsMismatchDialog(std::string_view report) override;
    std::optional<std::uint32_t> AlertVersionDialog(std::uint32_t initialMode) override;
    void ResultSummaryDialog(const RunSummary& summary) override;
    std::optional<std::string> OpenTaskFileDialog(int titleId, std::string_view folder) override;
    std::optional<std::string> SaveTaskFileDialog(std::string_view folder,
                                                  std::string_view proposedName) override;
    std::optional<ChosenFiles> AddFilesDialog(std::string_view folder) override;
    std::optional<std::string> BrowseFolderDialog() override;
    bool AlertCRRegAsWSPDialog(bool dontShowAgain) override;
    std::optional<std::string> AddExtensionDialog() override;
    bool OptionsSheet() override;

    // The about box (command 57664).
    void AboutBox();

    // Opens `url` in the desktop's program for it; false when there is none. Tests put a
    // recorder here.
    bool OpenUrl(const QUrl& url) { return m_openUrl(url); }
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

  private:
    QPointer<QWidget> m_parent;
    Profile& m_profile;
    std::function<bool(const QUrl&)> m_openUrl;
};

}  // namespace trimlet
