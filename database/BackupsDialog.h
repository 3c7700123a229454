// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Kopie bazy wyników": the database's backups in KOPIE, newest first, one row each with the date
// and time, the reason in words, the draws and the last draw's date ("nieczytelna" for a backup
// that a restore refuses, "za duża" for one larger than a database may be, the reason in the row's
// tooltip). "Przywróć" asks before the selected backup is restored and closes the dialog accepted
// (for a refused backup it shows the refusal instead); the caller carries out the restore
// (RestoreBackup). "Zamknij" closes it.
#include "database/Backups.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zg {

class BackupsDialog final : public QDialog {
    Q_OBJECT
public:
    // The backups of the folder `backupFolder`, read when the dialog is made.
    explicit BackupsDialog(const std::string& backupFolder, QWidget* parent = nullptr);

    // The backup the user chose to restore (its file name in KOPIE), once accepted.
    const std::string& chosenBackup() const { return chosen_; }

private:
    void restoreSelected();

    std::vector<BackupEntry> backups_;
    std::string chosen_;

    QTableWidget* backupList = nullptr;
    QLabel* emptyNote = nullptr;
    QPushButton* restoreButton = nullptr;
    QPushButton* closeButton = nullptr;
};

// "DD.MM.YYYY GG:MM" of a backup's name.
QString BackupTimeText(const BackupName& name);
// "Przywrócić bazę z kopii z DD.MM.YYYY GG:MM (N losowań)? Obecna baza zostanie zapisana w kopii."
QString RestoreQuestion(const BackupEntry& backup);

} // namespace zg
