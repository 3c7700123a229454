// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/BackupsController.h"

#include "base/PolishPlural.h"
#include "base/State.h"
#include "database/Backups.h"
#include "database/BackupsDialog.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/ResultsImport.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

#include <QWidget>

namespace zg {

BackupsController::BackupsController(QWidget* window) : QObject(window), window_(window) {}

bool BackupsController::showBackups() {
    if (!allowed_)
        return false;
    const std::string dbPath = AppPath(std::string(DatabaseFileName));
    BackupsDialog list(BackupFolderOf(dbPath), window_);
    if (list.exec() != QDialog::Accepted || list.chosenBackup().empty())
        return false;
    const RestoreResult r = RestoreBackup(dbPath, list.chosenBackup(), DatabaseStamp);
    switch (r.status) {
    case RestoreResult::Status::Restored:
        break;
    case RestoreResult::Status::ChangedOutside:
        Dialogs::Message(window_, Q(ChangedOutsideCaption), Q(ChangedOutsideText), Dialogs::Icon::Error);
        return false;
    case RestoreResult::Status::Unreadable:
        Dialogs::Message(window_, list.windowTitle(), Q(r.error), Dialogs::Icon::Error);
        return false;
    case RestoreResult::Status::NotFound:
    case RestoreResult::Status::Failed:
        Dialogs::SystemError(window_, QString::fromStdString(r.error.empty() ? SystemErrorText(ENOENT) : r.error));
        return false;
    }
    emit databaseRestored();
    QString text = QStringLiteral("Przywrócono bazę wyników z kopii (%1).").arg(Q(CountOfDraws(r.drawCount)));
    if (!r.backupName.empty())
        text += QStringLiteral(" Poprzednia baza została zapisana w pliku KOPIE/%1.").arg(Q(r.backupName));
    if (r.pendingDownloadDeleted)
        text += QLatin1Char(' ') + Q(PendingDownloadDeletedText);
    Dialogs::Message(window_, list.windowTitle(), text, Dialogs::Icon::Information);
    return true;
}

} // namespace zg
