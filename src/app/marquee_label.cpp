#include "app/marquee_label.h"

#include <QFontMetrics>

#include "app/qt_text.h"

namespace trimlet {

CMarqueeLabel::CMarqueeLabel(QWidget* parent) : QLabel(parent), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("marquee"));
    setTextFormat(Qt::PlainText);
    // The line shows what fits; a long frame must not widen the dialog.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumHeight(fontMetrics().height());
    connect(m_timer, &QTimer::timeout, this, [this] { Advance(); });
}

void CMarqueeLabel::Start(const MarqueeEffect& effect, std::string_view finalText) {
    if (Running()) return;
    m_frames.emplace(effect.kind, effect.text, finalText, effect.repeatCount,
                     [this](std::string_view text) { return FitCount(text); });
    m_timer->start(effect.intervalMs);
}

void CMarqueeLabel::Stop() {
    m_timer->stop();
    m_frames.reset();
}

int CMarqueeLabel::FitCount(std::string_view text) const {
    if (text.empty()) return -1;
    const int textWidth = QFontMetrics(font()).horizontalAdvance(Qs(text));
    if (textWidth <= 0 || width() <= 0) return -1;
    return width() / textWidth;
}

void CMarqueeLabel::Advance() {
    if (!m_frames) return;
    setText(Qs(m_frames->Tick()));
    if (m_frames->Finished()) Stop();
}

void CMarqueeLabel::hideEvent(QHideEvent* event) {
    Stop();
    QLabel::hideEvent(event);
}

}  // namespace trimlet
