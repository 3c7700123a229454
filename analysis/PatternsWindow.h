// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window " Wzorce losowań": the shape of the draws of the range in force (the sum of the
// numbers, the odd and the low ones, the neighbours, the numbers repeated from the previous draw,
// the decades) beside the exact laws of fair draws, one tab each with a chart, the table of its
// rows, its figures and its chi-squared test; "Zapisz obraz…" saves the chart shown, "Zapisz" the
// report (WZORCE.NNNN.txt). It is not modal: whoever owns it hands it the draws and the range when
// it opens and after every change (showQuery).
#include "analysis/DrawPatterns.h"

#include <QDialog>

#include <array>
#include <optional>

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace zg {

class PatternsWindow : public QDialog {
    Q_OBJECT
public:
    // The five patterns in PatternKind's order, then the decades.
    enum Tab { SumTab, OddTab, LowTab, ConsecutiveTab, RepeatedTab, DecadesTab, TabCount };

    explicit PatternsWindow(QWidget* parent = nullptr);
    ~PatternsWindow() override;

    // The draws and the range in force (the query's other fields are not read); the patterns are
    // computed again at once, and the chart of the tab shown is drawn.
    void showQuery(const DrawQuery& query);
    // Decimal separator of the tables, texts, charts and report (the locale's; tests may set another).
    void setDecimalSeparator(char c);

    const std::optional<DrawPatterns>& patterns() const { return patterns_; }
    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* table(Tab tab) const { return tables_[static_cast<std::size_t>(tab)]; }
    QChartView* chartView(Tab tab) const { return views_[static_cast<std::size_t>(tab)]; }

    // "Zapisz obraz…": the tab shown as a PNG or SVG picture, then the reports' confirmation.
    void saveImage();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void fillTabs();
    void drawCurrentChart();
    void setChart(std::size_t tab, QChart* chart);
    void saveReport();

    char decimalSeparator_ = '.';
    std::optional<DrawPatterns> patterns_;
    std::array<bool, TabCount> drawn_{}; // the tab's chart shows the current patterns

    QLabel* headingLabel = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<QChartView*, TabCount> views_{};
    std::array<QTableWidget*, TabCount> tables_{};
    std::array<QLabel*, TabCount> figuresLines_{}; // none on the decades' tab
    std::array<QLabel*, TabCount> testSentences_{};
    QPushButton* saveImageButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;
};

} // namespace zg
