#pragma once
// "出力ファイル既存時の処理": what to do with an output file that exists already, for this
// file (OK) or for every remaining file ("以後すべて").

#include <QDialog>

#include "common/dialogs.h"

class QButtonGroup;

namespace trimlet {

class COutputExistsDlg final : public QDialog {
    Q_OBJECT
  public:
    // Result codes of exec() beside Accepted and Rejected.
    static constexpr int FOR_ALL = 2;

    COutputExistsDlg(const OutputExistsRequest& request, QWidget* parent);

    int RadioIndex() const;
    OutputExistsClose ClosedWith() const;

  private:
    QButtonGroup* m_choices = nullptr;
};

}  // namespace trimlet
