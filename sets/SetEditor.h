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

    // Number button n (1..80), "SpeedButton<n>".
    QToolButton* button(int n) const;
    SpinField* drawField() const { return UpDown1; }

    // The pressed numbers.
    SetMembers Selection() const;

signals:
    // NumberSet now holds a confirmed, non-empty set; the main window reacts to it.
    void setConfirmed();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RefreshSetCount();
    void SetSelection(const SetMembers& members);
    void RefreshDrawDate();

    void BitBtn1Click();   // Zatwierdź
    void BitBtn2Click();   // Resetuj
    void Button1Click();   // Wczytaj losowanie nr
    void dyskietkaClick(); // save the selection to a set file
    void BitBtn3Click();   // load a set file

    QString SetDirectory() const;

    std::array<QToolButton*, 81> SpeedButtons{}; // 1-based
    QLabel* Label3 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label83 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* dyskietka = nullptr;
    QPushButton* BitBtn3 = nullptr;
    SpinField* UpDown1 = nullptr;
};

} // namespace zg
