// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results downloads of the draw management window: "Pobierz ostatnie", "Pobierz wszystkie",
// "STOP", the progress gauge with the received size, and what is done with each download's
// completion. The panel is no widget of its own: it creates its controls as children of the
// window, at their places in the window's layout. The window decides when a download may start
// (not in edit mode) and appends the latest draw through its own "Dopisz".
#include "download/ResultsUpdate.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QByteArray;
class QLabel;
class QPushButton;
class QWidget;

namespace zg {

class HttpDownload;
class ProgressGauge;

class ResultsDownloadPanel : public QObject {
    Q_OBJECT
public:
    // Creates the controls in `window`, which also owns the messages. `allResultsFileName` is
    // the file of the program folder that receives the complete results for the merge at the
    // next start, and `allResultsCheck` the check the merge will make of them: a download it
    // refuses fails with NotResultsFileText, and nothing is stored.
    using ResultsCheck = std::function<bool(std::string_view body)>;
    ResultsDownloadPanel(QWidget* window, std::string_view allResultsFileName, ResultsCheck allResultsCheck);

    // The controls, for the window's Tab order and glyphs.
    QPushButton* latestButton() const { return latestButton_; } // "Pobierz ostatnie"
    QPushButton* allButton() const { return allButton_; }       // "Pobierz wszystkie"
    QPushButton* stopButton() const { return stopButton_; }     // "STOP", hidden while idle

    // The results server the downloads ask (by default the setting of zentagrafo.ini, else the
    // built-in host on port 80); for tests.
    void setResultsServer(const QString& host, int port);

    // Whether the window lets a download start (it does not in edit mode). The two buttons are
    // enabled while it does and no download runs.
    void setStartAllowed(bool allowed);
    bool isRunning() const { return running_; }
    // A latest-draw download runs: its completion uses "Dopisz", so the window keeps "Dopisz" and
    // what would conflict with it disabled.
    bool latestDrawRunning() const { return running_ && request_ == ResultsRequest::LatestDraw; }

    void downloadAllResults(); // "Pobierz wszystkie": the complete file, merged at the next start
    void downloadLatestDraw(); // "Pobierz ostatnie": the latest draw, appended when it is the next one
    void stopDownload();       // "STOP"

signals:
    // A download started or ended: isRunning() and latestDrawRunning() changed.
    void runningChanged();
    // The latest draw arrived and is the next one (its number is DrawCount + 1): the window
    // appends it as if the user had ticked its 20 numbers and pressed "Dopisz".
    void latestDrawArrived(const LatestDraw& draw);

private:
    void startDownload(ResultsRequest request);
    void downloadProgress(QObject* sender, int totalSize, int bytesRead);
    void downloadFailed(QObject* sender);
    void downloadDone(QObject* sender, const QByteArray& fileName, int fileSize);
    void downloadEnded(QObject* download);
    void updateButtons();

    QWidget* window_;
    std::string allResultsFileName_;
    ResultsCheck allResultsCheck_;
    ResultsRequest request_ = ResultsRequest::AllResults;
    HttpDownload* currentDownload_ = nullptr; // what STOP acts on
    bool running_ = false;
    bool startAllowed_ = true;
    QString resultsHost_; // empty: the setting of zentagrafo.ini (else the built-in host)
    int resultsPort_ = 80;

    QPushButton* latestButton_ = nullptr;
    QPushButton* allButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    ProgressGauge* gauge_ = nullptr; // hidden while idle
    QLabel* sizeLabel_ = nullptr;    // hidden while idle
};

} // namespace zg
