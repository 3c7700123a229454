// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The models of the draw management window: the draw grid over the process-wide draw table (one
// row per draw, texts built when asked, so any number of draws costs nothing until painted) and
// the number map of the selected draw.
#include <QAbstractTableModel>

#include <cstdint>

namespace zg {

class DrawGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DrawGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Row r shows draw ordinal r + 1 of DrawTable. The grid shows draws 1..count.
    void setRowCount(std::int32_t count);
    // One more row, for the draw just added at the end of the table.
    void appendRow();
    // The texts of a draw changed (columns 4..23 after an edit).
    void drawChanged(std::int32_t ordinal);

    QString cellText(int row, int column) const;

private:
    std::int32_t rows_ = 0;
};

// 5 columns x 16 rows: cell (r, c) stands for number r * 5 + c + 1. Empty until a draw is chosen;
// afterwards every cell shows its number, yellow when the chosen draw holds it.
class NumberMapModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit NumberMapModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Shows the draw of this ordinal (read from DrawTable whenever a cell is painted).
    void showDraw(std::int32_t ordinal);
    // Repaints (the shown draw's numbers may have changed).
    void refresh();

    bool cellMarked(int row, int column) const;

private:
    bool filled_ = false;
    std::int32_t ordinal_ = 0;
};

} // namespace zg
