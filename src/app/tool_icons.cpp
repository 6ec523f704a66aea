#include "app/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "editor/task_editor.h"

namespace trimlet {
namespace {

constexpr int kSize = 32;  // drawn large, scaled down crisply by the tool bar

const QColor kOutline(70, 70, 70);

void Page(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1.6));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 6, r.top());
    page.lineTo(r.right(), r.top() + 6);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.drawPath(page);
}

void Folder(QPainter& p, const QRectF& r, QColor fill) {
    p.setPen(QPen(QColor(140, 100, 20), 1.6));
    p.setBrush(fill);
    p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.45, 4));
    p.drawRect(QRectF(r.left(), r.top() + 4, r.width(), r.height() - 4));
}

void Plus(QPainter& p, QPointF c) {
    p.setPen(QPen(QColor(0, 140, 0), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(c + QPointF(-6, 0), c + QPointF(6, 0));
    p.drawLine(c + QPointF(0, -6), c + QPointF(0, 6));
}

void Draw(QPainter& p, int id) {
    switch (id) {
        case CMD_OPEN_TASK:
            Folder(p, QRectF(3, 7, 26, 20), QColor(250, 210, 90));
            p.setPen(QPen(QColor(0, 90, 200), 3));
            p.drawLine(QPointF(16, 20), QPointF(26, 12));
            p.drawLine(QPointF(26, 12), QPointF(20, 12));
            break;
        case CMD_SAVE_TASK:
            p.setPen(QPen(kOutline, 1.6));
            p.setBrush(QColor(40, 90, 180));
            p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 5, 14, 9));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(10, 19, 12, 8));
            break;
        case CMD_REMOVE:
            Page(p, QRectF(5, 3, 18, 24));
            p.setPen(QPen(QColor(210, 0, 0), 4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(15, 15), QPointF(27, 27));
            p.drawLine(QPointF(27, 15), QPointF(15, 27));
            break;
        case CMD_PASTE:
            p.setPen(QPen(kOutline, 1.6));
            p.setBrush(QColor(190, 140, 70));
            p.drawRoundedRect(QRectF(5, 5, 18, 23), 2, 2);
            p.setBrush(QColor(160, 160, 160));
            p.drawRect(QRectF(10, 3, 8, 5));
            Page(p, QRectF(14, 12, 14, 17));
            break;
        case CMD_ADD_FILES:
            Page(p, QRectF(4, 3, 18, 24));
            Plus(p, QPointF(23, 23));
            break;
        case CMD_ADD_FOLDER_FILES:
            Folder(p, QRectF(3, 5, 22, 17), QColor(250, 210, 90));
            Plus(p, QPointF(23, 23));
            break;
        case CMD_OPTIONS: {
            p.setPen(QPen(kOutline, 1.6));
            p.setBrush(QColor(150, 150, 160));
            QPainterPath gear;
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(16, 16);
                p.rotate(45.0 * i);
                p.drawRect(QRectF(-3, -14, 6, 6));
                p.restore();
            }
            p.drawEllipse(QPointF(16, 16), 9, 9);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
            break;
        }
        case CMD_RUN: {
            p.setPen(QPen(QColor(0, 100, 0), 1.6));
            p.setBrush(QColor(40, 170, 60));
            QPainterPath play;
            play.moveTo(8, 4);
            play.lineTo(28, 16);
            play.lineTo(8, 28);
            play.closeSubpath();
            p.drawPath(play);
            break;
        }
        case CMD_HELP_CONTENTS: {
            p.setPen(QPen(QColor(0, 60, 160), 1.6));
            p.setBrush(QColor(60, 120, 220));
            p.drawEllipse(QPointF(16, 16), 13, 13);
            QFont font;
            font.setPixelSize(20);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        default:
            break;
    }
}

}  // namespace

QIcon OwnCommandIcon(int id) {
    switch (id) {
        case CMD_OPEN_TASK:
        case CMD_SAVE_TASK:
        case CMD_REMOVE:
        case CMD_PASTE:
        case CMD_ADD_FILES:
        case CMD_ADD_FOLDER_FILES:
        case CMD_OPTIONS:
        case CMD_RUN:
        case CMD_HELP_CONTENTS:
            break;
        default:
            return {};
    }
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, id);
    p.end();
    return QIcon(pixmap);
}

QIcon CommandIcon(int id, const char* themeName) {
    if (themeName && *themeName && QIcon::hasThemeIcon(QLatin1String(themeName)))
        return QIcon::fromTheme(QLatin1String(themeName));
    return OwnCommandIcon(id);
}

QIcon ApplicationIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    Page(p, QRectF(5, 2, 22, 28));
    p.setPen(QPen(QColor(0, 70, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(9, 10 + 5 * i), QPointF(22 - 4 * (i % 2), 10 + 5 * i));
    p.setPen(QPen(QColor(220, 0, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(14, 22);
    tick.lineTo(19, 28);
    tick.lineTo(30, 14);
    p.drawPath(tick);
    p.end();
    return QIcon(pixmap);
}

}  // namespace trimlet
