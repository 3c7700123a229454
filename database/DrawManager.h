// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The draw management window: every draw in a grid, the number map of the selected draw, the 80
// tick boxes with the line of ticked numbers, the date field "Data losowania:", "Dopisz" (append
// the next draw), "Edytuj"/"OK" (correct a draw's numbers and date), "RESET", the results
// downloads (ResultsDownloadPanel), the import of a results file (ImportController), the
// backups (BackupsController) and the export of the whole database.
// Every change is written to the database file first and reaches the draw table only once the
// file holds it.
#include "database/DrawEntry.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QTableView;
class QToolButton;

namespace zg {

class BackupsController;
class DrawGridModel;
class ImportController;
class NumberMapModel;
class ProgressGauge;
class ResultsDownloadPanel;
class DatabaseGuard;
struct LatestDraw;

class DrawManager : public QDialog {
    Q_OBJECT
public:
    explicit DrawManager(QWidget* parent = nullptr);
    ~DrawManager() override;

    // Creation at start-up: shows `mainWindow`, runs `gauge` from 0 to DrawCount while the grid
    // takes one row per draw of DrawTable, and sets the prompt line. Either pointer may be null.
    void fillDrawGrid(QWidget* mainWindow, ProgressGauge* gauge);

    // ---- actions; a downloaded latest draw goes through resetTicks, tickNumber and appendDraw ----
    // ticks or unticks box n as a user's click does (the ticked line and the count follow).
    // Returns false, changing nothing, for n outside 1..80.
    bool tickNumber(int n, bool ticked = true);
    bool isTicked(int n) const;
    // "RESET": every box unticked.
    void resetTicks();
    // "Dopisz": appends the draw of the 20 ticked numbers dated as the date field shows, with its
    // checks and messages. Returns true when the draw was appended (DrawCount grew by one and the
    // file holds the draw).
    bool appendDraw();
    // "Edytuj": edit mode for the selected draw, its date in the date field; with no row selected
    // it does nothing.
    void startEdit();
    // "OK": stores the ticked numbers and the field's date into the edited draw and rewrites the
    // file. True on success.
    bool confirmEdit();
    // The date field's date (what "Dopisz" and "OK" store), and setting it as a user would.
    CalendarDate entryDate() const;
    void setEntryDate(CalendarDate date);
    // The export of the whole database ("exportButton").
    void exportDatabase();
    // "Importuj z pliku…": asks for a results file, then imports it (importResultsFile).
    void importFromFile();
    // Reads the results file at `path` (bytes, as the file system names it), shows its summary
    // and, once the user confirms a mode, writes the database and loads the draw table from the
    // written file (ImportController). Returns true when the database was written. Does nothing
    // while the import button is disabled (edit mode, a running download).
    bool importResultsFile(const std::string& path);
    // "Kopie bazy…": the list of the database's backups; a confirmed "Przywróć" writes a copy of
    // the chosen one as the database (the current one backed up first) and loads the table anew,
    // as an import does (BackupsController). Returns true when the database was restored.
    bool showBackups();

    // ---- state ----
    bool editMode() const;
    std::int32_t editedDrawIndex() const { return editedDrawIndex_; }
    DrawGridModel* gridModel() const { return gridModel_; }
    NumberMapModel* mapModel() const { return mapModel_; }

    // The results server the downloads ask (by default the setting of zentagrafo.ini, else the
    // built-in host on port 80); for tests.
    void setResultsServer(const QString& host, int port);

signals:
    // A draw was appended: DrawCount grew by one.
    void drawAppended();
    // A confirmed edit changed the numbers of a draw.
    void drawEdited();
    // An import or a restore wrote the database and the draw table was loaded anew: DrawCount may
    // have grown or shrunk, and any draw may have changed. `wholeTable` when the stored draws were
    // replaced as a whole (an import in replace mode or into an empty database, a restore); false
    // when an import added new draws after the stored ones.
    void drawsImported(bool wholeTable);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void setColumnWidths();
    void tickChanged();
    void showSelectedDraw();
    // The prompt line and the date field for the mode: the edited draw's date, or the date
    // "Dopisz" offers (DefaultAppendDate).
    void refreshPromptLine();
    void setNormalMode(bool normal);
    void updateButtons();
    // The latest draw of the results server, which is the next one: its 20 numbers ticked and
    // appended through "Dopisz".
    void appendLatestDraw(const LatestDraw& draw);
    // Locks the database file and checks that nobody else changed it since this program loaded
    // or last wrote it; says so and returns false otherwise.
    bool mayWriteDatabase(std::unique_ptr<DatabaseGuard>& guard);
    std::int32_t selectedRow() const;
    TickBoxes ticks() const;
    void untick(const DrawNumbers& numbers);
    // The one local file a drag carries while an import may start; empty otherwise.
    QString droppableFile(const QMimeData* data) const;
    // The draw table from the database file, loaded as start-up loads it.
    void reloadDrawTable();
    // After the database was written by an import or a restore: the table loaded anew, the grid
    // showing it with the last draw selected, and drawsImported(wholeTable) emitted.
    void showReloadedTable(bool wholeTable);

    std::int32_t editedDrawIndex_ = 0;
    bool editMode_ = false;

    bool glyphsSet_ = false;
    ImportController* importer_ = nullptr; // the import behind "Importuj z pliku…" and a dropped file
    BackupsController* backups_ = nullptr; // the list and the restore behind "Kopie bazy…"

    DrawGridModel* gridModel_ = nullptr;
    NumberMapModel* mapModel_ = nullptr;

    QTableView* drawGrid = nullptr;
    QGroupBox* numberBoxesGroup = nullptr;
    QCheckBox* numberBoxes[81] = {}; // numberBoxes[n] ticks number n; [0] unused
    QLineEdit* tickedNumbersField = nullptr;
    QLabel* tickedCountValue = nullptr;
    QLabel* drawDateLabel = nullptr;
    QDateEdit* drawDateField = nullptr; // "Data losowania:", DD.MM.YYYY with a Polish calendar
    QPushButton* resetButton = nullptr;
    QTableView* numberMap = nullptr;
    QPushButton* appendButton = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* okButton = nullptr;
    ResultsDownloadPanel* downloads_ = nullptr; // "Pobierz ostatnie", "Pobierz wszystkie", STOP, progress
    QPushButton* importButton = nullptr;
    QPushButton* closeButton = nullptr;
    QToolButton* exportButton = nullptr;
    QPushButton* backupsButton = nullptr; // "Kopie bazy…", enabled exactly when the import is
};

} // namespace zg
