#pragma once
// The guide in a window of our own, for desktops that cannot open it in a web browser.

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace trimlet {

class CHelpWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit CHelpWindow(QWidget* parent);

    // Shows the page `guide` (a local file) with its pictures, and raises the window.
    void ShowGuide(const QUrl& guide);
    QTextBrowser* Browser() const { return m_browser; }

  private:
    QTextBrowser* m_browser = nullptr;
};

}  // namespace trimlet
