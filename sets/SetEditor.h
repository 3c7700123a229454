// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number set editor: 80 toggle buttons whose pressed state is the working selection, a draw
// chooser that prefills the buttons with a past draw, saving and loading set files, and
// "Zatwierdź", which makes the selection the confirmed set and hands it on by a signal.
#include "base/DrawTypes.h"
#include "sets/SetFile.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QToolButton;

namespace zg {

class SpinField;

class SetEditor : public QDialog {
    Q_OBJECT
public:
    explicit SetEditor(QWidget* parent = nullptr);

    // Number button n (1..80), "numberButton<n>"; null outside 1..80.
    QToolButton* button(int n) const;
    SpinField* drawField() const { return drawField_; }

    // The pressed numbers.
    SetMembers selection() const;

    // The set confirmed last, as the main window holds it: handed over when the editor opens,
    // replaced by "Zatwierdź". The buttons do not follow it.
    void setCurrentSet(const NumberSetData& set) { currentSet_ = set; }
    const NumberSetData& currentSet() const { return currentSet_; }

signals:
    // A non-empty set was confirmed (it is now the current set); the main window keeps it.
    void setConfirmed(const zg::NumberSetData& set);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refreshSetCount();
    void setSelection(const SetMembers& members);
    void refreshDrawDate();

    void confirmSet();      // "Zatwierdź"
    void resetSelection();  // "Resetuj"
    void loadDrawNumbers(); // "Wczytaj losowanie nr"
    void saveSetFile();
    void loadSetFile();

    QString setDirectory() const;

    std::array<QToolButton*, 81> numberButtons{}; // 1-based
    QLabel* promptLabel = nullptr;
    QLabel* countCaption = nullptr;
    QLabel* countValue = nullptr;
    QLabel* drawDateValue = nullptr;
    QPushButton* confirmButton = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* loadDrawButton = nullptr;
    QPushButton* saveSetButton = nullptr;
    QPushButton* loadSetButton = nullptr;
    SpinField* drawField_ = nullptr;
    NumberSetData currentSet_;
};

} // namespace zg
