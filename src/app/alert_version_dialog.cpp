#include "app/alert_version_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "engine/trim_mode.h"

namespace trimlet {
namespace {

struct Box {
    Text label;
    const char* name;
    std::uint32_t bit;
    bool indented;
};

constexpr Box kBoxes[5] = {
    {TXT_OLD_VERSION_KEEP_SCRIPT_HTML_COMMENT, "keepScriptHtmlComment", TM_KEEP_SCRIPT_HTML_COMMENT,
     false},
    {TXT_OLD_VERSION_SCRIPT_COMMENT_DEL, "scriptCommentDel", TM_SCRIPT_COMMENT_DEL, false},
    {TXT_OLD_VERSION_SCRIPT_BLOCK_COMMENT, "scriptBlockComment", TM_SCRIPT_BLOCK_COMMENT, true},
    {TXT_OLD_VERSION_SCRIPT_LINE_COMMENT, "scriptLineComment", TM_SCRIPT_LINE_COMMENT, true},
    {TXT_OLD_VERSION_VBS_REM_COMMENT, "vbsRemComment", TM_VBS_REM_COMMENT, true},
};
constexpr int kScriptCommentBox = 1;

}  // namespace

CAlertVersionDlg::CAlertVersionDlg(std::uint32_t initialMode, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("alertVersionDialog"));
    setWindowTitle(Qs(TXT_OLD_VERSION_TITLE));

    auto* text = new QLabel(Qs(TXT_OLD_VERSION_TEXT), this);
    text->setObjectName(QStringLiteral("message"));

    auto* boxes = new QVBoxLayout;
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8;
    for (int i = 0; i < 5; ++i) {
        m_boxes[i] = new QCheckBox(Qs(kBoxes[i].label), this);
        m_boxes[i]->setObjectName(QLatin1String(kBoxes[i].name));
        m_boxes[i]->setChecked((initialMode & kBoxes[i].bit) != 0);
        auto* row = new QHBoxLayout;
        if (kBoxes[i].indented) row->addSpacing(indent);
        row->addWidget(m_boxes[i]);
        boxes->addLayout(row);
    }
    connect(m_boxes[kScriptCommentBox], &QCheckBox::toggled, this,
            &CAlertVersionDlg::EnableScriptBoxes);
    EnableScriptBoxes();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(Qs(TXT_BUTTON_OK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(Qs(TXT_BUTTON_CANCEL), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeIconLabel(QStyle::SP_MessageBoxInformation, this), 0, 0, 2, 1);
    layout->addWidget(text, 0, 1);
    layout->addLayout(boxes, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CAlertVersionDlg::EnableScriptBoxes() {
    const bool on = m_boxes[kScriptCommentBox]->isChecked();
    for (int i = 0; i < 5; ++i)
        if (kBoxes[i].indented) m_boxes[i]->setEnabled(on);
}

std::uint32_t CAlertVersionDlg::TickedBits() const {
    std::uint32_t bits = 0;
    for (int i = 0; i < 5; ++i)
        if (m_boxes[i]->isChecked()) bits |= kBoxes[i].bit;
    return bits;
}

}  // namespace trimlet
