// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ButtonGrid.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

#include <algorithm>
#include <utility>

namespace zg {

namespace {

// Moves the focus on arrow keys and hands the single Tab stop to the cell that takes the focus.
class ButtonGridKeys : public QObject {
public:
    ButtonGridKeys(QObject* parent, std::vector<QAbstractButton*> cells, int columns)
        : QObject(parent), cells_(std::move(cells)), columns_(columns) {
        for (QAbstractButton* cell : cells_) {
            cell->setFocusPolicy(Qt::ClickFocus);
            cell->installEventFilter(this);
        }
        cells_.front()->setFocusPolicy(Qt::StrongFocus);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto at = std::find(cells_.begin(), cells_.end(), watched);
        if (at == cells_.end())
            return QObject::eventFilter(watched, event);
        const int index = static_cast<int>(at - cells_.begin());
        if (event->type() == QEvent::FocusIn) {
            for (QAbstractButton* cell : cells_)
                cell->setFocusPolicy(cell == watched ? Qt::StrongFocus : Qt::ClickFocus);
        } else if (event->type() == QEvent::KeyPress) {
            const int count = static_cast<int>(cells_.size());
            int target = index;
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Left:
                target = index % columns_ > 0 ? index - 1 : index;
                break;
            case Qt::Key_Right:
                target = index % columns_ < columns_ - 1 && index + 1 < count ? index + 1 : index;
                break;
            case Qt::Key_Up:
                target = index >= columns_ ? index - columns_ : index;
                break;
            case Qt::Key_Down:
                target = index + columns_ < count ? index + columns_ : index;
                break;
            default:
                return QObject::eventFilter(watched, event);
            }
            if (cells_[static_cast<std::size_t>(target)]->isEnabled())
                cells_[static_cast<std::size_t>(target)]->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<QAbstractButton*> cells_;
    int columns_;
};

} // namespace

void MakeButtonGridOneTabStop(const std::vector<QAbstractButton*>& cells, int columns) {
    if (cells.empty() || columns < 1)
        return;
    new ButtonGridKeys(cells.front()->parent(), cells, columns);
}

} // namespace zg
