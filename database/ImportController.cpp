// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ImportController.h"

#include "base/State.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/ImportDialog.h"
#include "database/ResultsImport.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <filesystem>
#include <optional>

namespace zg {

namespace {

// The wait cursor while a file up to 64 MiB is read and taken apart.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

ImportController::ImportController(QWidget* window) : QObject(window), window_(window) {}

void ImportController::importFromFile() {
    const QString folder = importFolder_.empty() ? QDir::homePath() : PathText(importFolder_);
    const QString chosen = Dialogs::OpenFileName(
        window_, folder, QStringLiteral("Pliki tekstowe (*.txt *.csv *.tsv);;Wszystkie pliki (*)"));
    if (chosen.isEmpty())
        return;
    const std::string path = PathBytes(chosen);
    importFolder_ = std::filesystem::path(path).parent_path().string();
    importResultsFile(path);
}

bool ImportController::importResultsFile(const std::string& path) {
    if (!allowed_)
        return false;
    // The file is read again for another choice of the 20 numbers, as it is read first.
    const auto read = [this, path](TakeNumbers take) -> std::optional<ImportedResults> {
        const WaitCursor wait;
        const ResultsFileBytes file = ReadResultsFileBytes(path);
        if (!file.ok) {
            Dialogs::SystemError(window_, QString::fromStdString(file.error));
            return std::nullopt;
        }
        return ReadResultsFile(file.bytes, take);
    };
    const std::optional<ImportedResults> results = read(TakeNumbers::First);
    if (!results)
        return false;

    std::error_code ec;
    const bool pendingDownload = std::filesystem::exists(AppPath(std::string(PendingDownloadFileName)), ec);
    ImportDialog summary(*results, QFileInfo(PathText(path)).fileName(), AllDraws(), DatabaseWhole, pendingDownload,
                         window_);
    summary.setReread(read);
    if (summary.exec() != QDialog::Accepted)
        return false;
    const ImportPlan& plan = summary.plan();

    // The file first, under the database guard; the table follows only what the file holds.
    const ImportWrite written = ApplyImport(summary.results(), plan, AppDir, DatabaseStamp, LayoutProbe);
    switch (written.status) {
    case ImportWrite::Status::Written:
        break;
    case ImportWrite::Status::ChangedOutside:
        Dialogs::Message(window_, Q(ChangedOutsideCaption), Q(ChangedOutsideText), Dialogs::Icon::Error);
        return false;
    case ImportWrite::Status::Failed:
    case ImportWrite::Status::NothingToWrite:
        Dialogs::SystemError(window_, QString::fromStdString(written.error));
        return false;
    }
    emit databaseWritten(plan.wholeFile);

    QString text = Q(ImportedText(plan.newCount));
    if (plan.mode == ImportMode::ReplaceAll && plan.removedCount > 0)
        text += QStringLiteral(" Usunięte losowania: %1.").arg(plan.removedCount);
    if (!plan.corrections.empty())
        text += QStringLiteral(" Poprawione daty: %1.").arg(plan.corrections.size());
    if (written.pendingDownloadDeleted)
        text += QLatin1Char(' ') + Q(PendingDownloadDeletedText);
    if (!written.backupReadError.empty())
        text += QStringLiteral(" Bazy wyników nie dało się odczytać (%1): w pliku KOPIE/%2 zapisano to, co dało się "
                               "z niej odczytać.")
                    .arg(Q(written.backupReadError), Q(written.backupName));
    Dialogs::Message(window_, Q(ImportCaption), text, Dialogs::Icon::Information);
    return true;
}

} // namespace zg
