// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only list of text lines, such as a ranked list of thousands of lines: the view reads the
// lines where they are kept and makes a text only of the lines it shows, so filling it costs
// nothing per line (a text document would build a block for every line). The lines can be
// selected, and Ctrl+C copies the selected ones, one per line.
#include <QListView>

#include <string>
#include <vector>

namespace zg {

class LineListView : public QListView {
    Q_OBJECT
public:
    explicit LineListView(QWidget* parent = nullptr);

    // Shows `lines` (UTF-8); null shows nothing. The lines are read where they are, so they must
    // stay unchanged until the next call.
    void SetLines(const std::vector<std::string>* lines);
    int LineCount() const;
    // Every line, joined by "\n".
    QString Text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class LinesModel;
    LinesModel* model_;
};

} // namespace zg
