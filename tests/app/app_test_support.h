#pragma once
// Helpers of the window tests: the application object, and answering modal dialogs that
// the code under test opens (exec() blocks, so the answer is queued beforehand and given
// from the dialog's own event loop).

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace trimlet::test {

// Calls `action` with the next modal window once it is shown (polling the event loop);
// gives up silently after `timeoutMs`.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Clicks the child button named `name` of `window` (a QAbstractButton).
void ClickChild(QWidget* window, const char* name);

// The visible top-level windows, for the check that a test left none open.
int VisibleTopLevelCount();

// No visible label, button or group title of `window` is narrower or lower than its text
// needs (a word-wrapped label: lower than its width needs).
void ExpectNothingCutOff(QWidget* window);

}  // namespace trimlet::test
