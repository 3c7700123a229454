// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowParts.h"

#include "ui/ProgramLook.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
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

} // namespace zg
