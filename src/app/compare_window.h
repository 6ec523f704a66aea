#pragma once
// The before-and-after view of one file: its original text on the left and its trim on
// the right, one row per line, the changes tinted. The comparison (compare/file_compare.h)
// runs on a worker thread; the window stays usable and shows it when it arrives. The
// window is not modal and deletes itself when closed.

#include <QFutureWatcher>
#include <QWidget>
#include <string>
#include <vector>

#include "compare/file_compare.h"
#include "engine/trim_mode.h"

class QLabel;
class QPlainTextEdit;

namespace trimlet {

class CCompareWindow final : public QWidget {
    Q_OBJECT
  public:
    // Starts comparing the file at `path` trimmed with `trimMode` (a script by
    // `scriptExtensions`), keeping the comments that begin as one of `keptComments`; with
    // `verify`, the result is also checked as a run with verifying checks it, and the verdict
    // shown above both sides. `parent` owns the window, which shows as one of its own.
    CCompareWindow(const std::string& path, TrimMode trimMode, std::string scriptExtensions,
                   std::vector<std::string> keptComments, QWidget* parent, bool verify = false);
    ~CCompareWindow() override;

    // Whether the comparison has arrived and is shown.
    bool IsReady() const { return m_ready; }
    int ChangeCount() const { return static_cast<int>(m_file.comparison.changes.size()); }
    // The change last moved to, or -1.
    int CurrentChange() const { return m_current; }
    QPlainTextEdit* Before() const { return m_before; }
    QPlainTextEdit* After() const { return m_after; }
    QLabel* Summary() const { return m_summary; }
    // The check's verdict; hidden when none was asked for or made.
    QLabel* VerdictLabel() const { return m_verdict; }

    // Selects the next (previous) change and scrolls both sides to it.
    void NextChange();
    void PreviousChange();

  signals:
    // The comparison arrived (or its failure) and is shown.
    void Ready();

  private:
    void ShowComparison();
    void ShowFailure();
    void MoveToChange(int index);
    void UpdateSummary();
    void ShowVerdict();

    std::string m_path;
    QFutureWatcher<FileComparison>* m_watcher = nullptr;
    FileComparison m_file;
    bool m_ready = false;
    bool m_syncingScroll = false;  // one side is being scrolled to follow the other
    int m_current = -1;
    QLabel* m_summary = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_beforeCaption = nullptr;
    QLabel* m_afterCaption = nullptr;
    QPlainTextEdit* m_before = nullptr;
    QPlainTextEdit* m_after = nullptr;
};

}  // namespace trimlet
