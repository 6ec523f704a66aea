#pragma once
// The animated line of the about box: a label that plays a MarqueeFrames effect on a timer
// and keeps the final text when the effect ends. Hiding the label stops the timer.

#include <QLabel>
#include <QTimer>
#include <optional>
#include <string>
#include <string_view>

#include "app/marquee_frames.h"

namespace trimlet {

class CMarqueeLabel final : public QLabel {
  public:
    explicit CMarqueeLabel(QWidget* parent = nullptr);

    // Plays `effect` ending on `finalText`; does nothing while an effect is running.
    void Start(const MarqueeEffect& effect, std::string_view finalText);
    // Stops the effect where it is and frees its frames.
    void Stop();
    bool Running() const { return m_timer->isActive(); }
    int IntervalMs() const { return m_timer->interval(); }

    // How many times `text` fits across the label in its font; -1 for an empty text or
    // when the label or the text has no width.
    int FitCount(std::string_view text) const;

    // One tick of the effect, as the timer does it.
    void Advance();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    QTimer* m_timer;
    std::optional<MarqueeFrames> m_frames;
};

}  // namespace trimlet
