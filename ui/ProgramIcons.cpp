// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramIcons.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPixmap>

namespace zg {

QIcon DiskIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(4, 1, 7, 5);
    p.setBrush(Qt::white);
    p.drawRect(3, 8, 9, 6);
    p.end();
    return QIcon(pm);
}

QIcon TickIcon() {
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0, 128, 0), 3);
    p.setPen(pen);
    p.drawLine(3, 9, 7, 14);
    p.drawLine(7, 14, 15, 4);
    p.end();
    return QIcon(pm);
}

QIcon NumbersTableIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    p.fillRect(2, 2, 12, 3, QColor(255, 255, 0));
    for (int y : {5, 8, 11})
        p.drawLine(1, y, 14, y);
    p.drawLine(6, 1, 6, 14);
    p.end();
    return QIcon(pm);
}

QIcon ChartsIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 128, 128));
    p.drawRect(2, 8, 3, 6);
    p.setBrush(QColor(255, 255, 0));
    p.drawRect(6, 3, 3, 11);
    p.setBrush(QColor(128, 0, 0));
    p.drawRect(10, 6, 3, 8);
    p.drawLine(0, 15, 15, 15);
    return QIcon(pm);
}

QIcon PatternsIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
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
    return QIcon(pm);
}

} // namespace zg
