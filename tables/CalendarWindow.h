// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calendar map window: one year of the range's draws laid out by month (rows) and day
// (columns), the year arrow, the show-all box with its legend, and the calendar report.
#include "analysis/AnalysisParameters.h"
#include "tables/Calendar.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <cstdint>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace zg {

class SpinField;

// The grid's 13 x 32 cells: row 0 the day headings, column 0 the month headings, the rest the
// calendar cells. A cell reading " N" is painted teal on teal, a plain square.
class CalendarModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void setCells(const CalendarCells& cells);
    const CalendarCells& cells() const { return cells_; }

private:
    CalendarCells cells_;
};

class CalendarWindow : public QDialog {
    Q_OBJECT
public:
    explicit CalendarWindow(QWidget* parent = nullptr);

    // The range and hit bounds the map lays out; handed over each time the window opens.
    void setParameters(const AnalysisParameters& parameters);

    // The year arrow's position, clamped into 1996..2999 and shown in the year field. It does
    // not refill the grid; the next showing, arrow click or Enter in the year field does.
    void setYear(std::int32_t year);
    std::int32_t year() const;

    // Refills the grid from the current inputs and the arrow's year.
    void fillCalendar();
    // Writes the shown table as a report ("saveButton").
    void saveReport();

    CalendarModel* model() const { return model_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void prepareOnShow();
    void showAllToggled();
    void refreshLegend();

    AnalysisParameters parameters_;
    CalendarModel* model_ = nullptr;
    // What the shown grid was filled with, so that the report describes the grid it holds.
    std::int32_t filledYear_ = CalendarInitialYear;
    bool filledShowAll_ = false;

    QTableView* calendarGrid = nullptr;
    QLabel* legendLabel = nullptr;
    QLabel* yearCaption = nullptr;
    SpinField* yearField = nullptr;
    QCheckBox* showAllBox = nullptr;
    QLabel* rangeLabel = nullptr;
    QFrame* yearFrame = nullptr;
    QPushButton* closeButton = nullptr;
    QToolButton* saveButton = nullptr;
};

} // namespace zg
