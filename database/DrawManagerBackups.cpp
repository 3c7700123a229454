// The database's backups in the draw management window: "Kopie bazy…", the list, and the restore
// of a chosen backup, after which the table is loaded anew as after an import (and, as after an
// import, the done message tells of a waiting full download deleted).
#include "base/PolishPlural.h"
#include "base/State.h"
#include "database/Backups.h"
#include "database/BackupsDialog.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawManager.h"
#include "database/ResultsImport.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

#include <QPushButton>

namespace zg {

bool DrawManager::showBackups() {
    if (!backupsButton->isEnabled())
        return false;
    const std::string dbPath = AppPath(std::string(DatabaseFileName));
    BackupsDialog list(BackupFolderOf(dbPath), this);
    if (list.exec() != QDialog::Accepted || list.chosenBackup().empty())
        return false;
    const RestoreResult r = RestoreBackup(dbPath, list.chosenBackup(), DatabaseStamp);
    switch (r.status) {
    case RestoreResult::Status::Restored:
        break;
    case RestoreResult::Status::ChangedOutside:
        Dialogs::Message(this, Q(ChangedOutsideCaption), Q(ChangedOutsideText), Dialogs::Icon::Error);
        return false;
    case RestoreResult::Status::Unreadable:
        Dialogs::Message(this, list.windowTitle(), Q(r.error), Dialogs::Icon::Error);
        return false;
    case RestoreResult::Status::NotFound:
    case RestoreResult::Status::Failed:
        Dialogs::SystemError(this, QString::fromStdString(r.error.empty() ? SystemErrorText(ENOENT) : r.error));
        return false;
    }
    showReloadedTable(true);
    QString text = QStringLiteral("Przywrócono bazę wyników z kopii (%1).").arg(Q(CountOfDraws(r.drawCount)));
    if (!r.backupName.empty())
        text += QStringLiteral(" Poprzednia baza została zapisana w pliku KOPIE/%1.").arg(Q(r.backupName));
    if (r.pendingDownloadDeleted)
        text += QLatin1Char(' ') + Q(PendingDownloadDeletedText);
    Dialogs::Message(this, list.windowTitle(), text, Dialogs::Icon::Information);
    return true;
}

} // namespace zg
