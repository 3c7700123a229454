#pragma once
// The draw management window: every draw in a grid, the number map of the selected draw, the 80
// tick boxes with the line of ticked numbers, "Dopisz" (append the next draw), "Edytuj"/"OK"
// (correct a draw), "RESET" and the export of the whole database. Every change is written to the
// database file first and reaches the draw table only once the file holds it.
#include "database/DrawEntry.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace zg {

class DrawGridModel;
class NumberMapModel;
class ProgressGauge;
class HttpDownload;
class DatabaseGuard;

class DrawManager : public QDialog {
    Q_OBJECT
public:
    explicit DrawManager(QWidget* parent = nullptr);
    ~DrawManager() override;

    // Creation at start-up: shows `mainWindow`, runs `gauge` from 0 to DrawCount while the grid
    // takes one row per draw of DrawTable, and sets the prompt line. Either pointer may be null.
    void FormCreate(QWidget* mainWindow, ProgressGauge* gauge);

    // ---- actions; the download actions call the first three ----
    // Ticks or unticks box n as a user's click does (the ticked line and the count follow).
    // Returns false, changing nothing, for n outside 1..80.
    bool tickNumber(int n, bool ticked = true);
    bool isTicked(int n) const;
    // "RESET": every box unticked.
    void BitBtn2Click();
    // "Dopisz": appends the draw of the 20 ticked numbers, with its checks and messages. Returns
    // true when the draw was appended (DrawCount grew by one and the file holds the draw).
    bool button4Click();
    // "Edytuj": edit mode for the selected draw; with no row selected it does nothing.
    void BitBtn1Click();
    // "OK": stores the ticked numbers into the edited draw and rewrites the file. True on success.
    bool button3Click();
    // The export of the whole database ("dyskietka").
    void dyskietkaClick();

    // ---- state ----
    bool editMode() const;
    std::int32_t editedDrawIndex() const { return EditedDrawIndex; }
    DrawGridModel* gridModel() const { return gridModel_; }
    NumberMapModel* mapModel() const { return mapModel_; }

    // ---- the download controls, placed here and wired by the download actions ----
    QPushButton* downloadLatestButton() const { return BitBtn4; } // "Pobierz ostatnie"
    QPushButton* downloadAllButton() const { return button1; }    // "Pobierz wszystkie"
    QPushButton* stopButton() const { return stopbutton; }        // "STOP", hidden while idle
    ProgressGauge* downloadGauge() const { return Gauge1; }              // hidden while idle
    QLabel* downloadLabel() const { return Label14; }             // hidden while idle

    // ---- results download; the handlers are in download/DrawManagerDownloads.cpp ----
    void Button1Click();    // "Pobierz wszystkie": the complete file, merged at the next start
    void BitBtn4Click();    // "Pobierz ostatnie": the latest draw, appended when it is the next one
    void stopbuttonClick(); // "STOP"
    // The results server the downloads ask (by default the built-in host on port 80); for tests.
    void SetResultsServer(const QString& host, int port);

signals:
    // A draw was appended: DrawCount grew by one.
    void drawAppended();
    // A confirmed edit changed the numbers of a draw.
    void drawEdited();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void SetColumnWidths();
    void TickChanged();
    void StringGrid1SelectCell();
    void SetPromptLine();
    void SetNormalMode(bool normal);
    void UpdateButtons();
    void StartDownload(std::uint8_t mode);
    void HTTPGetPictureProgress(QObject* sender, int totalSize, int readed);
    void HTTPGetPictureError(QObject* sender);
    void HTTPGetFileDoneFile(QObject* sender, const QByteArray& fileName, int fileSize);
    void DownloadEnded(QObject* download);
    // Locks the database file and checks that nobody else changed it since this program loaded
    // or last wrote it; says so and returns false otherwise.
    bool MayWriteDatabase(std::unique_ptr<DatabaseGuard>& guard);
    std::int32_t SelectedRow() const;
    TickBoxes Ticks() const;
    void Untick(const DrawNumbers& numbers);

    std::int32_t EditedDrawIndex = 0;
    bool editMode_ = false;

    std::uint8_t DownloadMode = 0;       // 0: all results, 1: the latest draw
    HttpDownload* CurrentDownload = nullptr; // what STOP acts on
    bool downloadRunning_ = false;
    QString resultsHost_; // empty: the built-in host
    int resultsPort_ = 80;
    bool glyphsSet_ = false;

    DrawGridModel* gridModel_ = nullptr;
    NumberMapModel* mapModel_ = nullptr;

    QTableView* StringGrid1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBoxes[81] = {}; // CheckBoxes[n] is CheckBox<n>; [0] unused
    QLineEdit* Edit1 = nullptr;
    QLabel* Label13 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QTableView* StringGrid3 = nullptr;
    QPushButton* button4 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* button3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* stopbutton = nullptr;
    ProgressGauge* Gauge1 = nullptr;
    QLabel* Label14 = nullptr;
    QToolButton* dyskietka = nullptr;
};

} // namespace zg
