#include "app/progress_pane.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QToolButton>
#include <limits>

#include "app/app_texts.h"
#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

CProgressPane::CProgressPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("progressPane"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setMinimumWidth(160);
    m_bar->setTextVisible(true);
    m_stop = new QToolButton(this);
    m_stop->setObjectName(QStringLiteral("stopButton"));
    m_stop->setText(Qs(TXT_STOP_BUTTON));
    m_stop->setToolTip(Qs(TXT_STOP_TIP));
    connect(m_stop, &QToolButton::clicked, this, &CProgressPane::RequestStop);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);
    layout->addWidget(m_stop);
    hide();
}

void CProgressPane::Show(std::size_t done, std::size_t total) {
    // QProgressBar counts in int; a larger count is shown scaled.
    const std::size_t limit = static_cast<std::size_t>(std::numeric_limits<int>::max());
    const std::size_t scale = total > limit ? total / limit + 1 : 1;
    m_bar->setMaximum(static_cast<int>(total / scale));
    m_bar->setValue(static_cast<int>(done / scale));
    m_bar->setFormat(Qs(FormatText(TXT_PROGRESS_FORMAT, {done, total})));
}

void CProgressPane::WorkBegins(std::size_t total) {
    m_stopRequested = false;
    m_working = true;
    m_sinceCatchUp.invalidate();
    Show(0, total);
    show();
    emit WorkingChanged(true);
    QCoreApplication::processEvents();
}

bool CProgressPane::FileDone(std::size_t done, std::size_t total) {
    // Repainting the window costs more than trimming a small page: it catches up after the
    // first file, then at most every kCatchUpMs and after the last one. A stop is seen then.
    // The count itself is always current, so a question shown between two catch-ups (its
    // own event loop repaints) shows how far the work has come.
    constexpr qint64 kCatchUpMs = 40;
    Show(done, total);
    if (done < total && m_sinceCatchUp.isValid() && m_sinceCatchUp.elapsed() < kCatchUpMs)
        return m_stopRequested;
    QCoreApplication::processEvents();
    m_sinceCatchUp.start();
    return m_stopRequested;
}

void CProgressPane::WorkEnds() {
    m_working = false;
    hide();
    emit WorkingChanged(false);
}

}  // namespace trimlet
