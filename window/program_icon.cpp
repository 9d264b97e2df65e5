#include "program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The lit LEDs of the 9 x 5 matrix, row by row, as orvanta.svg has them.
constexpr const char* kLit[] = {"010000101", "010000010", "010000010", "010000010", "011111010"};

QPixmap drawn(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0); // the picture is drawn on 64 x 64 units
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), 2));
    p.setBrush(QColor(0x20, 0x24, 0x2a));
    p.drawRoundedRect(QRectF(4, 10, 56, 32), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0b, 0x0b, 0x0b));
    p.drawRoundedRect(QRectF(8, 13, 48, 26), 2, 2);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 9; ++col) {
            p.setBrush(kLit[row][col] == '1' ? QColor(0xff, 0xb0, 0x00) : QColor(0x4a, 0x32, 0x10));
            p.drawEllipse(QPointF(14 + 4.5 * col, 17 + 4.5 * row), 1.6, 1.6);
        }
    p.setBrush(QColor(0x5a, 0x61, 0x70));
    p.drawRect(QRectF(29, 42, 6, 6));
    QPainterPath cable(QPointF(32, 48));
    cable.cubicTo(QPointF(32, 56), QPointF(20, 54), QPointF(16, 60));
    p.setPen(QPen(QColor(0x3c, 0x5a, 0x9a), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0x5a, 0x9a));
    p.drawRoundedRect(QRectF(10, 56, 10, 6), 1, 1);
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawn(size));
    return icon;
}
