#pragma once
// The number set editor: 80 toggle buttons whose pressed state is the working selection, a draw
// chooser that prefills the buttons with a past draw, saving and loading set files, and
// "Zatwierdź", which copies the selection into the process-wide NumberSet.
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

signals:
    // NumberSet now holds a confirmed, non-empty set; the main window reacts to it.
    void setConfirmed();

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
};

} // namespace zg
