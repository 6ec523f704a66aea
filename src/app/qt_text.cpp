#include "app/qt_text.h"

#include <QApplication>

namespace trimlet {

QLabel* MakeIconLabel(QStyle::StandardPixmap icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    QStyle* style = parent ? parent->style() : QApplication::style();
    const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
    label->setPixmap(style->standardIcon(icon, nullptr, parent).pixmap(size, size));
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    label->setObjectName(QStringLiteral("iconLabel"));
    return label;
}

}  // namespace trimlet
