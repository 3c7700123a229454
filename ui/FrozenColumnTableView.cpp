// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FrozenColumnTableView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace zg {

FrozenColumnTableView::FrozenColumnTableView(QTableView* view) : QTableView(view), view_(view) {
    setObjectName(view->objectName() + QStringLiteral("FrozenColumn"));
    // The same grid to assistive technology: its dates are the first column of the view's table.
    setAccessibleName(view->accessibleName());
    setModel(view->model());
    setSelectionMode(view->selectionMode());
    // A click on a date must not scroll anything: the view alone decides what is shown.
    setAutoScroll(false);
    setEditTriggers(view->editTriggers());
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(view->wordWrap());
    setTextElideMode(view->textElideMode());
    setShowGrid(view->showGrid());
    // The view's style sheet reaches this view as its child; only the frame is its own. A widget
    // with a style sheet of its own does not take its parent's font, so it is set here.
    setStyleSheet(QStringLiteral("QTableView { border: none; }"));
    setFont(view->font());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(view->verticalScrollMode());

    const QHeaderView* rows = view->verticalHeader();
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(rows->minimumSectionSize());
    verticalHeader()->setDefaultSectionSize(rows->defaultSectionSize());
    const QHeaderView* heading = view->horizontalHeader();
    horizontalHeader()->setHidden(heading->isHidden());
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFixedHeight(heading->height());
    horizontalHeader()->setDefaultAlignment(heading->defaultAlignment());
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFont(heading->font());
    horizontalHeader()->setStyleSheet(heading->styleSheet());

    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->viewport()->stackUnder(this);
    // The rows follow the view's; the wheel over the dates scrolls the view (wheelEvent).
    connect(view->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::rangeChanged, this,
            [this] { verticalScrollBar()->setValue(view_->verticalScrollBar()->value()); });
    connect(heading, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column == 0) {
            setColumnWidth(0, width);
            FollowGeometry();
        }
    });
    connect(rows, &QHeaderView::sectionResized, this, [this](int row, int, int height) { setRowHeight(row, height); });
    // Only column 0 stays shown whatever columns the model brings.
    connect(model(), &QAbstractItemModel::modelReset, this, &FrozenColumnTableView::FollowColumns);
    connect(model(), &QAbstractItemModel::columnsInserted, this, &FrozenColumnTableView::FollowColumns);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);

    FollowColumns();
    show();
}

bool FrozenColumnTableView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ || watched == view_->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Resize || type == QEvent::Move || type == QEvent::LayoutRequest)
            FollowGeometry();
        return false;
    }
    return QTableView::eventFilter(watched, event);
}

void FrozenColumnTableView::wheelEvent(QWheelEvent* event) {
    QCoreApplication::sendEvent(view_->viewport(), event);
}

void FrozenColumnTableView::FollowColumns() {
    for (int column = 1; column < model()->columnCount(); ++column)
        setColumnHidden(column, true);
    setColumnHidden(0, false);
    setColumnWidth(0, view_->columnWidth(0));
    verticalScrollBar()->setValue(view_->verticalScrollBar()->value());
    FollowGeometry();
}

void FrozenColumnTableView::FollowGeometry() {
    const QRect cells = view_->viewport()->geometry();
    const QHeaderView* heading = view_->horizontalHeader();
    const int top = heading->isHidden() ? cells.top() : heading->geometry().top();
    setGeometry(cells.left(), top, std::min(view_->columnWidth(0), cells.width()), cells.bottom() + 1 - top);
}

} // namespace zg
