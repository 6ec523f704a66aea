#pragma once
// "トリムレット処理の結果": the counters and sizes of a finished run.

#include <QDialog>

#include "common/dialogs.h"

namespace trimlet {

class CResultSummaryDlg final : public QDialog {
    Q_OBJECT
  public:
    CResultSummaryDlg(const RunSummary& summary, QWidget* parent);
};

}  // namespace trimlet
