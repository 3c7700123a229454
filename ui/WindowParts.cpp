// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowParts.h"

#include "ui/ProgramLook.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace zg {

QFrame* MakePanel(QWidget* window, const QRect& geometry, const QColor& colour, const QColor& text,
                  const QColor& buttonColour) {
    auto* panel = new QFrame(window);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(5);
    SetColours(panel, colour, text);
    if (buttonColour.isValid())
        SetButtonColours(panel, buttonColour, text);
    return panel;
}

QLabel* MakeCaption(QWidget* parent, const char* name, const QString& text, const QFont& font, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->adjustSize();
    label->move(at);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                        const QFont& font, Qt::FocusPolicy focus) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(font);
    button->setFocusPolicy(focus);
    button->setAutoDefault(false);
    return button;
}

QToolButton* MakeIconButton(QWidget* parent, const char* name, const QRect& geometry, const QIcon& icon,
                            const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

QPushButton* MakeCloseButton(QWidget* parent, const QRect& geometry) {
    auto* button =
        new QPushButton(parent->style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), parent);
    button->setObjectName(QStringLiteral("closeButton"));
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void SetUpFixedRowGrid(QTableView* grid, int rowHeight) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    QHeaderView* rows = grid->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
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
