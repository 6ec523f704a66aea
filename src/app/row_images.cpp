#include "app/row_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

#include "filelist/file_list.h"

namespace trimlet {
namespace {

constexpr int kSize = 16;

void DrawPage(QPainter& p, QChar mark, QColor markColor) {
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(10.5, 0.5);
    page.lineTo(13.5, 3.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(10.5, 0.5), QPointF(10.5, 3.5));
    p.drawLine(QPointF(10.5, 3.5), QPointF(13.5, 3.5));

    QFont font;
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(markColor);
    p.drawText(QRectF(2, 3, 12, 12), Qt::AlignCenter, QString(mark));
}

void DrawTick(QPainter& p) {
    QPen pen(QColor(220, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(1.5, 8.5);
    tick.lineTo(5.0, 13.0);
    tick.lineTo(14.5, 2.5);
    p.drawPath(tick);
}

void DrawFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(250, 210, 90));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
}

// A yellow warning sign in the lower right corner, over the page.
void DrawWarning(QPainter& p) {
    QPainterPath sign;
    sign.moveTo(11.5, 6.5);
    sign.lineTo(16.0, 15.5);
    sign.lineTo(7.0, 15.5);
    sign.closeSubpath();
    p.setPen(QPen(QColor(120, 80, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 200, 0));
    p.drawPath(sign);
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11.5, 9.2), QPointF(11.5, 12.6));
    p.drawPoint(QPointF(11.5, 14.2));
}

QIcon Draw(int image, bool warned) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (image) {
        case ImageHtml:
        case ImageHtmlChecked:
            DrawPage(p, QLatin1Char('W'), QColor(0, 70, 200));
            break;
        case ImageText:
        case ImageTextChecked:
            DrawPage(p, QLatin1Char('T'), QColor(40, 40, 40));
            break;
        case ImageScript:
        case ImageScriptChecked:
            DrawPage(p, QLatin1Char('S'), QColor(0, 130, 60));
            break;
        case ImageFolder:
            DrawFolder(p);
            break;
        default:
            break;
    }
    if (IsCheckedImage(image)) DrawTick(p);
    if (warned) DrawWarning(p);
    p.end();
    return QIcon(pixmap);
}

}  // namespace

QIcon RowImage(int image, bool warned) {
    // The seven pictures, then the same with the warning sign.
    static const std::array<QIcon, 14> images = [] {
        std::array<QIcon, 14> made;
        for (int i = 0; i < 14; ++i)
            made[static_cast<std::size_t>(i)] = Draw(i % 7, i >= 7);
        return made;
    }();
    if (image < 0 || image >= 7) return {};
    return images[static_cast<std::size_t>(image + (warned ? 7 : 0))];
}

}  // namespace trimlet
