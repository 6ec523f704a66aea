#pragma once
// The options sheet (command 32775): a modal dialog with the four pages as tabs, OK, Cancel
// and Help. OK stores every page that was shown; when a page refuses, the sheet stays open
// on that page. Cancel and the close box store nothing.

#include <QDialog>
#include <QTabWidget>
#include <array>
#include <functional>

#include "app/options_page.h"
#include "common/dialogs.h"
#include "settings/profile.h"

namespace trimlet {

class QtDialogs;

enum OptionsPageIndex { kPageWhitespace = 0, kPageComment, kPageOutput, kPageAction };

class COptionsSheet final : public QDialog {
  public:
    // `dialogs` shows the pages' messages and the add-extension dialog; `help` is what the
    // Help button does.
    COptionsSheet(Dialogs& dialogs, Profile& profile, QWidget* parent = nullptr,
                  std::function<void()> help = {});

    QTabWidget* Tabs() const { return m_tabs; }
    COptionsPage* Page(OptionsPageIndex index) const { return m_pages[index]; }

    void accept() override;

  private:
    QTabWidget* m_tabs;
    std::array<COptionsPage*, 4> m_pages{};
};

// Shows the sheet over the dialogs' window, with the pages' messages over the sheet; true
// when it was closed with OK.
bool ShowOptionsSheet(QtDialogs& dialogs);

}  // namespace trimlet
