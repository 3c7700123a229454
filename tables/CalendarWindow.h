#pragma once
// The calendar map window: one year of the range's draws laid out by month (rows) and day
// (columns), the year arrow, the show-all box with its legend, and the calendar report.
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
class MainWindow;

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
    // `main` is the main window whose range, hit bounds and hit-field texts the map reads.
    explicit CalendarWindow(MainWindow* main, QWidget* parent = nullptr);

    // The year arrow's position, clamped into 1996..2999 and shown in the year field. It does
    // not refill the grid; the next showing or arrow click does.
    void SetYear(std::int32_t year);
    std::int32_t Year() const;

    // Refills the grid from the current inputs and the arrow's year.
    void FillCalendar();
    // Writes the shown table as a report ("dyskietka").
    void dyskietkaClick();

    CalendarModel* model() const { return model_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void CheckBox1Click();
    void RefreshLegend();

    MainWindow* main_;
    CalendarModel* model_ = nullptr;
    // What the shown grid was filled with, so that the report describes the grid it holds.
    std::int32_t filledYear_ = CalendarInitialYear;
    bool filledShowAll_ = false;

    QTableView* StringGrid1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label1 = nullptr;
    SpinField* UpDown1 = nullptr; // Edit1 + UpDown1
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QToolButton* dyskietka = nullptr;
};

} // namespace zg
