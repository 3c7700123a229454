// The results update actions of the draw management window: "Pobierz wszystkie", "Pobierz
// ostatnie", "STOP", the progress display and what is done with each download's completion.
#include "base/NumberFormat.h"
#include "base/State.h"
#include "database/DrawDatabase.h"
#include "database/DrawManager.h"
#include "download/HttpDownload.h"
#include "download/ResultsServerSetting.h"
#include "download/ResultsUpdate.h"
#include "ui/Dialogs.h"
#include "ui/ProgressGauge.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QPushButton>

namespace zg {

void DrawManager::setResultsServer(const QString& host, int port) {
    resultsHost_ = host;
    resultsPort_ = port;
}

void DrawManager::downloadAllResults() {
    startDownload(0);
}

void DrawManager::downloadLatestDraw() {
    startDownload(1);
}

void DrawManager::startDownload(std::uint8_t mode) {
    // The buttons are disabled while a download runs; two downloads would share the mode and,
    // in the same mode, the target file.
    if (downloadRunning_)
        return;
    // zentagrafo.ini is read at each download; a malformed setting sends no request.
    const ResultsServerSetting server =
        resultsHost_.isEmpty()
            ? ReadResultsServerSetting(AppDir)
            : ResultsServerSetting{true, ResultsServer{resultsHost_.toStdString(), resultsPort_}, {}};
    if (!server.ok) {
        Dialogs::Message(this, Q(UpdateFailedCaption), Q(server.error), Dialogs::Icon::Error);
        return;
    }
    downloadGauge_->show();
    downloadLabel_->setText(Q(ConnectingText));
    downloadLabel_->show();
    downloadGauge_->setValue(0);

    auto* get = new HttpDownload(this);
    currentDownload_ = get;
    TransferSettings settings;
    settings.url = ResultsUrl(mode == 1, server.server.host);
    // The path stays bytes from AppDir on: the program folder's name need not be valid UTF-8.
    settings.fileName = AppPath(std::string(mode == 1 ? LatestDrawFileName : PendingDownloadFileName));
    settings.port = server.server.port;
    settings.deadline = ResultsDeadline(mode == 1);
    settings.bodyInMemory = mode == 1; // the latest draw is read from this download's own memory
    connect(get, &HttpDownload::finished, this, &DrawManager::downloadDone);
    connect(get, &HttpDownload::progressed, this, &DrawManager::downloadProgress);
    connect(get, &HttpDownload::failed, this, &DrawManager::downloadFailed);
    settings.useCache = false;
    get->setSettings(settings);
    downloadMode_ = mode;
    downloadRunning_ = true;
    updateButtons();
    get->start();
    stopDownloadButton_->show();
    if (mode == 1)
        downloadGauge_->hide(); // the first progress report shows it
}

void DrawManager::stopDownload() {
    if (currentDownload_ != nullptr)
        currentDownload_->cancel();
}

void DrawManager::downloadProgress(QObject*, int totalSize, int bytesRead) {
    downloadGauge_->show();
    downloadGauge_->setMaximum(totalSize);
    downloadGauge_->setValue(bytesRead);
    downloadLabel_->setText(Q(ProgressSizeText(totalSize, bytesRead, LocaleDecimalSeparator())));
}

void DrawManager::downloadFailed(QObject* sender) {
    Dialogs::Message(this, Q(UpdateFailedCaption), Q(InterruptedText), Dialogs::Icon::Error);
    downloadLabel_->hide();
    stopDownloadButton_->hide();
    downloadGauge_->hide();
    downloadEnded(sender);
}

void DrawManager::downloadDone(QObject* sender, const QByteArray&, int fileSize) {
    if (fileSize == 0)
        Dialogs::Message(this, Q(UpdateFailedCaption), Q(NoConnectionText), Dialogs::Icon::Error);
    else if (downloadMode_ == 0)
        Dialogs::Message(this, Q(UpdateSucceededCaption), Q(FullDownloadDoneText), Dialogs::Icon::Information);
    stopDownloadButton_->hide();
    downloadLabel_->hide();

    const auto* download = qobject_cast<const HttpDownload*>(sender);
    if (downloadMode_ == 1 && download != nullptr) {
        if (fileSize > 0) {
            const auto latest = ParseLatestDraw(download->body());
            if (!latest) {
                Dialogs::Message(this, Q(UpdateFailedCaption), Q(MalformedAnswerText), Dialogs::Icon::Error);
            } else if (latest->number != DrawCount + 1) {
                Dialogs::Message(this, Q(UpdateFailedCaption), Q(NotNextDrawText(latest->number)),
                                 Dialogs::Icon::Information);
            } else {
                resetTicks();
                for (std::int32_t n : latest->numbers)
                    tickNumber(n);
                appendDraw(); // refuses with its own message when a number came twice
            }
        }
    }
    downloadGauge_->hide();
    downloadEnded(sender);
}

void DrawManager::downloadEnded(QObject* download) {
    if (download == currentDownload_)
        currentDownload_ = nullptr;
    if (download != nullptr)
        download->deleteLater();
    downloadRunning_ = false;
    updateButtons();
}

void DrawManager::updateButtons() {
    // Edit mode disables appending and downloads; a running download disables the downloads, and
    // a latest-draw download also what its completion uses ("Dopisz") or would conflict with it
    // ("Edytuj", "OK"). Neither state's end re-enables what the other one disabled.
    const bool latest = downloadRunning_ && downloadMode_ == 1;
    okButton->setEnabled(editMode_ && !latest);
    editButton->setEnabled(!latest);
    appendButton->setEnabled(!editMode_ && !latest);
    downloadAllButton_->setEnabled(!editMode_ && !downloadRunning_);
    downloadLatestButton_->setEnabled(!editMode_ && !downloadRunning_);
    // An import replaces what an edit or a download works on.
    importButton->setEnabled(downloadAllButton_->isEnabled());
}

} // namespace zg
