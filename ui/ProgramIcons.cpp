// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramIcons.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPixmap>

namespace zg {

namespace {

// A transparent square of `size` pixels painted by `paint`; the painter has ended before the
// picture becomes an icon.
template <class Paint> QIcon PaintedIcon(int size, Paint paint) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        paint(p);
    }
    return QIcon(pm);
}

} // namespace

QIcon DiskIcon() {
    return PaintedIcon(16, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(0, 0, 128));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(4, 1, 7, 5);
        p.setBrush(Qt::white);
        p.drawRect(3, 8, 9, 6);
    });
}

QIcon TickIcon() {
    return PaintedIcon(18, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(QColor(0, 128, 0), 3);
        p.setPen(pen);
        p.drawLine(3, 9, 7, 14);
        p.drawLine(7, 14, 15, 4);
    });
}

QIcon NumbersTableIcon() {
    return PaintedIcon(16, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(1, 1, 13, 13);
        p.fillRect(2, 2, 12, 3, QColor(255, 255, 0));
        for (int y : {5, 8, 11})
            p.drawLine(1, y, 14, y);
        p.drawLine(6, 1, 6, 14);
    });
}

QIcon ChartsIcon() {
    return PaintedIcon(16, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(0, 128, 128));
        p.drawRect(2, 8, 3, 6);
        p.setBrush(QColor(255, 255, 0));
        p.drawRect(6, 3, 3, 11);
        p.setBrush(QColor(128, 0, 0));
        p.drawRect(10, 6, 3, 8);
        p.drawLine(0, 15, 15, 15);
    });
}

QIcon PatternsIcon() {
    return PaintedIcon(16, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(0, 0, 9, 9);
        // Marked numbers on the card, on the diagonals.
        for (int x : {2, 6})
            for (int y : {2, 6})
                p.fillRect(x, y, 2, 2, QColor(128, 0, 0));
        p.fillRect(4, 4, 2, 2, QColor(128, 0, 0));
        // Bars rising and falling as a law of chance does.
        const int heights[] = {2, 4, 6, 4, 2};
        for (int i = 0; i < 5; ++i)
            p.fillRect(5 + 2 * i, 15 - heights[i], 2, heights[i], QColor(0, 128, 128));
        p.drawLine(4, 15, 15, 15);
    });
}

} // namespace zg
