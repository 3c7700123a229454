// The import of a results file into the draw management window: "Importuj z pliku…" or one file
// dropped on the window, the summary dialog, the write, and the draw table loaded anew from the
// written file.
#include "base/State.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawGridModel.h"
#include "database/DrawManager.h"
#include "database/DrawTableLoad.h"
#include "database/ImportDialog.h"
#include "database/ResultsImport.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QUrl>

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

void DrawManager::importFromFile() {
    const QString folder = importFolder_.empty() ? QDir::homePath() : PathText(importFolder_);
    const QString chosen =
        Dialogs::OpenFileName(this, folder, QStringLiteral("Pliki tekstowe (*.txt *.csv *.tsv);;Wszystkie pliki (*)"));
    if (chosen.isEmpty())
        return;
    const std::string path = PathBytes(chosen);
    importFolder_ = std::filesystem::path(path).parent_path().string();
    importResultsFile(path);
}

bool DrawManager::importResultsFile(const std::string& path) {
    if (!importButton->isEnabled())
        return false;
    ImportedResults results;
    {
        const WaitCursor wait;
        const ResultsFileBytes file = ReadResultsFileBytes(path);
        if (!file.ok) {
            Dialogs::SystemError(this, QString::fromStdString(file.error));
            return false;
        }
        results = ReadResultsFile(file.bytes);
    }

    std::error_code ec;
    const bool pendingDownload = std::filesystem::exists(AppPath(std::string(PendingDownloadFileName)), ec);
    ImportDialog summary(results, QFileInfo(PathText(path)).fileName(), AllDraws(), DatabaseWhole, pendingDownload,
                         this);
    // Another choice of the 20 numbers reads the file again.
    summary.setReread([this, path](TakeNumbers take) -> std::optional<ImportedResults> {
        const WaitCursor wait;
        const ResultsFileBytes file = ReadResultsFileBytes(path);
        if (!file.ok) {
            Dialogs::SystemError(this, QString::fromStdString(file.error));
            return std::nullopt;
        }
        return ReadResultsFile(file.bytes, take);
    });
    if (summary.exec() != QDialog::Accepted)
        return false;
    const ImportPlan& plan = summary.plan();

    // The file first, under the database guard; the table follows only what the file holds.
    const ImportWrite written = ApplyImport(summary.results(), plan, AppDir, DatabaseStamp, LayoutProbe);
    switch (written.status) {
    case ImportWrite::Status::Written:
        break;
    case ImportWrite::Status::ChangedOutside:
        Dialogs::Message(this, Q(ChangedOutsideCaption), Q(ChangedOutsideText), Dialogs::Icon::Error);
        return false;
    case ImportWrite::Status::Failed:
    case ImportWrite::Status::NothingToWrite:
        Dialogs::SystemError(this, QString::fromStdString(written.error));
        return false;
    }
    showReloadedTable(plan.wholeFile);

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
    Dialogs::Message(this, Q(ImportCaption), text, Dialogs::Icon::Information);
    return true;
}

void DrawManager::showReloadedTable(bool wholeTable) {
    reloadDrawTable();
    gridModel_->setRowCount(DrawCount);
    setColumnWidths(); // a reset of the model gives the columns their default width back
    if (DrawCount > 0) {
        drawGrid->selectRow(DrawCount - 1);
        drawGrid->scrollTo(gridModel_->index(DrawCount - 1, 0));
    }
    mapModel_->refresh();
    refreshPromptLine();
    emit drawsImported(wholeTable);
}

void DrawManager::reloadDrawTable() {
    // Under the writers' lock when it can be had, as at start-up; the stamp is that of the bytes
    // read, so the next write compares the file with exactly what the table holds.
    const std::string dbPath = AppPath(std::string(DatabaseFileName));
    // The file holds sound draws just written: a database that was not read whole, or looked
    // shifted, is whole again after a replacement.
    std::optional<DatabaseGuard> guard(std::in_place, dbPath);
    const LoadResult loaded = LoadDrawTable(*guard).loaded;
    guard.reset();
    if (!loaded.ok)
        Dialogs::Message(this, Q(LoadErrorCaption), Q(LoadErrorText), Dialogs::Icon::Error);
}

QString DrawManager::droppableFile(const QMimeData* data) const {
    if (data == nullptr || !importButton->isEnabled() || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

void DrawManager::dragEnterEvent(QDragEnterEvent* event) {
    if (droppableFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void DrawManager::dragMoveEvent(QDragMoveEvent* event) {
    if (droppableFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void DrawManager::dropEvent(QDropEvent* event) {
    const QString file = droppableFile(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drop ends first: the program the file came from waits for it while the summary is open.
    const std::string path = PathBytes(file);
    QTimer::singleShot(0, this, [this, path] { importResultsFile(path); });
}

} // namespace zg
