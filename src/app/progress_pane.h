#pragma once
// The status bar's pane for long work: "n / N" in a progress bar and a stop button. While
// files are done it lets the window repaint and handle input many times a second (the
// commands that could change the list are disabled meanwhile), and it passes a stop request
// (the button or Esc) on.

#include <QElapsedTimer>
#include <QWidget>

#include "editor/work_progress.h"

class QProgressBar;
class QToolButton;

namespace trimlet {

class CProgressPane final : public QWidget, public WorkProgress {
    Q_OBJECT
  public:
    explicit CProgressPane(QWidget* parent);

    void WorkBegins(std::size_t total) override;
    bool FileDone(std::size_t done, std::size_t total) override;
    void WorkEnds() override;

    // Stops the work under way after its current file.
    void RequestStop() { m_stopRequested = true; }
    bool Working() const { return m_working; }

  signals:
    void WorkingChanged(bool working);

  private:
    void Show(std::size_t done, std::size_t total);

    QProgressBar* m_bar = nullptr;
    QToolButton* m_stop = nullptr;
    QElapsedTimer m_sinceCatchUp;  // since the window last caught up with the work
    bool m_stopRequested = false;
    bool m_working = false;
};

}  // namespace trimlet
