#pragma once
// The about box (command 57664): the product line with our version, the project's
// attribution line, OK, and the marquee line, which plays the next effect at each opening.

#include <QDialog>

#include "app/marquee_frames.h"
#include "app/marquee_label.h"

namespace trimlet {

class CAboutDlg final : public QDialog {
  public:
    // `counter` picks the effect when the box is first shown.
    explicit CAboutDlg(QWidget* parent = nullptr,
                       MarqueeEffectCounter& counter = ProcessMarqueeEffectCounter());

    CMarqueeLabel* Marquee() const { return m_marquee; }
    // The effect playing or played; -1 before the box was shown.
    int Effect() const { return m_effect; }

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    MarqueeEffectCounter& m_counter;
    CMarqueeLabel* m_marquee;
    int m_effect = -1;
};

void ShowAboutBox(QWidget* parent);

}  // namespace trimlet
