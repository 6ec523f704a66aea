#include "app/help_window.h"

#include <QDesktopServices>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/qt_text.h"
#include "app/tool_icons.h"

namespace trimlet {

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(Qs(TXT_HELP_WINDOW_TITLE));
    setWindowIcon(ApplicationIcon());
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Pages of the guide open here; addresses on the web go to the desktop's programs.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.isLocalFile() || url.isRelative() || url.scheme() == QLatin1String("qrc")) {
            m_browser->setSource(m_browser->source().resolved(url));
        } else {
            QDesktopServices::openUrl(url);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(860, 600);
}

void CHelpWindow::ShowGuide(const QUrl& guide) {
    m_browser->setSource(guide);
    show();
    raise();
    activateWindow();
}

}  // namespace trimlet
