// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LineListView.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <algorithm>

namespace zg {

class LineListView::LinesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void SetLines(const std::vector<std::string>* lines) {
        beginResetModel();
        lines_ = lines;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || lines_ == nullptr ? 0 : static_cast<int>(lines_->size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
            return {};
        return Line(index.row());
    }

    QString Line(int row) const { return QString::fromStdString((*lines_)[static_cast<std::size_t>(row)]); }

private:
    const std::vector<std::string>* lines_ = nullptr;
};

LineListView::LineListView(QWidget* parent) : QListView(parent), model_(new LinesModel(this)) {
    setModel(model_);
    // Every line has the height of the first: the view need not measure the others.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A line that just fits is shown whole, as a text field shows it, not cut short with "…".
    setTextElideMode(Qt::ElideNone);
}

void LineListView::SetLines(const std::vector<std::string>* lines) {
    model_->SetLines(lines);
}

int LineListView::LineCount() const {
    return model_->rowCount();
}

QString LineListView::Text() const {
    QStringList lines;
    for (int row = 0; row < model_->rowCount(); ++row)
        lines << model_->Line(row);
    return lines.join(QLatin1Char('\n'));
}

void LineListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QModelIndexList selected = selectionModel()->selectedRows();
        std::sort(selected.begin(), selected.end(),
                  [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        QStringList lines;
        for (const QModelIndex& index : selected)
            lines << model_->Line(index.row());
        if (!lines.isEmpty())
            QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace zg
