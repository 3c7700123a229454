// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first column of a table view kept in place while the other columns scroll sideways: a second
// view over the same model that shows only column 0, laid over the left edge of the first view
// (the frozen-column technique of Qt's examples). It takes its look from the view it covers (font,
// style sheet, heading row, first column's width, row heights) and scrolls up and down with it.
#include <QTableView>

namespace zg {

class FrozenColumnTableView : public QTableView {
    Q_OBJECT
public:
    // Lays itself over `view`, which owns it; call once the view has its model and its look. The
    // view then scrolls sideways by pixels, so that no column hides under the frozen one for good.
    explicit FrozenColumnTableView(QTableView* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Shows column 0 only, as wide as the view's, after the model's columns changed.
    void FollowColumns();
    // Covers the view's first column from its heading row to the bottom of its cells.
    void FollowGeometry();

    QTableView* view_;
};

} // namespace zg
