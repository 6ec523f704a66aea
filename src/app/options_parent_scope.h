#pragma once
// While a dialog of ours is open, the messages and dialogs it asks for through QtDialogs
// open over it rather than over the main window.

#include <QPointer>
#include <QWidget>

#include "app/qt_dialogs.h"

namespace trimlet {

class DialogParentScope {
  public:
    DialogParentScope(QtDialogs& dialogs, QWidget* window)
        : m_dialogs(dialogs), m_saved(dialogs.Parent()) {
        m_dialogs.SetParent(window);
    }
    ~DialogParentScope() { m_dialogs.SetParent(m_saved); }
    DialogParentScope(const DialogParentScope&) = delete;
    DialogParentScope& operator=(const DialogParentScope&) = delete;

  private:
    QtDialogs& m_dialogs;
    QPointer<QWidget> m_saved;
};

}  // namespace trimlet
