#pragma once
// "新しいオプションの指定": the script options an old task file did not know, to switch on
// for it.

#include <QDialog>
#include <cstdint>

class QCheckBox;

namespace trimlet {

class CAlertVersionDlg final : public QDialog {
    Q_OBJECT
  public:
    // The boxes start ticked from `initialMode`'s bits.
    CAlertVersionDlg(std::uint32_t initialMode, QWidget* parent);

    // The bits of the ticked boxes, disabled ones included.
    std::uint32_t TickedBits() const;

  private:
    void EnableScriptBoxes();

    QCheckBox* m_boxes[5] = {};
};

}  // namespace trimlet
