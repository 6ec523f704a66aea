#include "app/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/qt_text.h"
#include "common/messages.h"

namespace trimlet {

CAboutDlg::CAboutDlg(QWidget* parent, MarqueeEffectCounter& counter)
    : QDialog(parent), m_counter(counter) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(Qs(TXT_ABOUT_TITLE));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* product = new QLabel(Qs(FormatText(TXT_ABOUT_PRODUCT, {TRIMLET_VERSION})), this);
    product->setObjectName(QStringLiteral("productLine"));
    product->setTextFormat(Qt::PlainText);
    auto* attribution = new QLabel(Qs(TXT_ABOUT_ATTRIBUTION), this);
    attribution->setObjectName(QStringLiteral("attributionLine"));
    attribution->setTextFormat(Qt::PlainText);
    attribution->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_marquee = new CMarqueeLabel(this);
    // Room for the final line with a margin, so it stands whole at the end.
    m_marquee->setMinimumWidth(
        m_marquee->fontMetrics().horizontalAdvance(Qs(TXT_ABOUT_ATTRIBUTION)) +
        m_marquee->fontMetrics().averageCharWidth() * 4);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(Qs(TXT_BUTTON_OK));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(attribution, 1, 1);
    layout->addWidget(m_marquee, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The marquee measures its own width, so it starts once the box is laid out.
void CAboutDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_effect >= 0) return;
    m_effect = m_counter.Next();
    m_marquee->Start(MarqueeEffectFor(m_effect), TXT_ABOUT_ATTRIBUTION);
}

void CAboutDlg::done(int result) {
    m_marquee->Stop();
    QDialog::done(result);
}

void ShowAboutBox(QWidget* parent) {
    CAboutDlg dialog(parent);
    dialog.exec();
}

}  // namespace trimlet
