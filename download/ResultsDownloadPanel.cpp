// SPDX-License-Identifier: GPL-3.0-or-later
#include "download/ResultsDownloadPanel.h"

#include "base/NumberFormat.h"
#include "base/State.h"
#include "download/HttpDownload.h"
#include "download/ResultsServerSetting.h"
#include "ui/Dialogs.h"
#include "ui/ProgressGauge.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QPushButton>

#include <utility>

namespace zg {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

} // namespace

ResultsDownloadPanel::ResultsDownloadPanel(QWidget* window, std::string_view allResultsFileName,
                                           ResultsCheck allResultsCheck)
    : QObject(window), window_(window), allResultsFileName_(allResultsFileName),
      allResultsCheck_(std::move(allResultsCheck)) {
    latestButton_ =
        MakeButton(window, "downloadLatestButton", QStringLiteral("Pobierz ostatnie"), QRect(10, 376, 145, 33));
    allButton_ = MakeButton(window, "downloadAllButton", QStringLiteral("Pobierz wszystkie"), QRect(10, 416, 146, 34));

    // The progress controls: idle until a download runs.
    stopButton_ = MakeButton(window, "stopDownloadButton", QStringLiteral("STOP"), QRect(256, 492, 78, 25));
    stopButton_->hide();
    gauge_ = new ProgressGauge(window);
    gauge_->setObjectName(QStringLiteral("downloadGauge"));
    gauge_->setGeometry(338, 492, 231, 17);
    gauge_->hide();
    sizeLabel_ = new QLabel(window);
    sizeLabel_->setObjectName(QStringLiteral("downloadLabel"));
    sizeLabel_->setGeometry(392, 512, 240, 18);
    sizeLabel_->hide();

    connect(allButton_, &QPushButton::clicked, this, &ResultsDownloadPanel::downloadAllResults);
    connect(latestButton_, &QPushButton::clicked, this, &ResultsDownloadPanel::downloadLatestDraw);
    connect(stopButton_, &QPushButton::clicked, this, &ResultsDownloadPanel::stopDownload);
}

void ResultsDownloadPanel::setResultsServer(const QString& host, int port) {
    resultsHost_ = host;
    resultsPort_ = port;
}

void ResultsDownloadPanel::setStartAllowed(bool allowed) {
    startAllowed_ = allowed;
    updateButtons();
}

void ResultsDownloadPanel::updateButtons() {
    allButton_->setEnabled(startAllowed_ && !running_);
    latestButton_->setEnabled(startAllowed_ && !running_);
}

void ResultsDownloadPanel::downloadAllResults() {
    startDownload(ResultsRequest::AllResults);
}

void ResultsDownloadPanel::downloadLatestDraw() {
    startDownload(ResultsRequest::LatestDraw);
}

void ResultsDownloadPanel::startDownload(ResultsRequest request) {
    // The buttons are disabled while a download runs; two downloads would share the request and,
    // in the same request, the target file.
    if (running_)
        return;
    // zentagrafo.ini is read at each download; a malformed setting sends no request.
    const ResultsServerSetting server =
        resultsHost_.isEmpty()
            ? ReadResultsServerSetting(AppDir)
            : ResultsServerSetting{true, ResultsServer{resultsHost_.toStdString(), resultsPort_}, {}};
    if (!server.ok || NoResultsServer(server)) {
        Dialogs::Message(window_, Q(UpdateFailedCaption), Q(server.ok ? NoServerText : server.error),
                         Dialogs::Icon::Error);
        return;
    }
    gauge_->show();
    sizeLabel_->setText(Q(ConnectingText));
    sizeLabel_->show();
    gauge_->setValue(0);

    const bool latest = request == ResultsRequest::LatestDraw;
    auto* get = new HttpDownload(this);
    currentDownload_ = get;
    TransferSettings settings;
    settings.url = ResultsUrl(latest, server.server.host);
    // The path stays bytes from AppDir on: the program folder's name need not be valid UTF-8.
    settings.fileName = AppPath(latest ? std::string(LatestDrawFileName) : allResultsFileName_);
    settings.port = server.server.port;
    settings.deadline = ResultsDeadline(latest);
    settings.bodyInMemory = latest; // the latest draw is read from this download's own memory
    if (!latest)
        settings.acceptBody = allResultsCheck_;
    connect(get, &HttpDownload::finished, this, &ResultsDownloadPanel::downloadDone);
    connect(get, &HttpDownload::progressed, this, &ResultsDownloadPanel::downloadProgress);
    connect(get, &HttpDownload::failed, this, &ResultsDownloadPanel::downloadFailed);
    settings.useCache = false;
    get->setSettings(settings);
    request_ = request;
    running_ = true;
    updateButtons();
    emit runningChanged();
    get->start();
    stopButton_->show();
    if (latest)
        gauge_->hide(); // the first progress report shows it
}

void ResultsDownloadPanel::stopDownload() {
    if (currentDownload_ != nullptr)
        currentDownload_->cancel();
}

void ResultsDownloadPanel::downloadProgress(QObject*, int totalSize, int bytesRead) {
    gauge_->show();
    gauge_->setMaximum(totalSize);
    gauge_->setValue(bytesRead);
    sizeLabel_->setText(Q(ProgressSizeText(totalSize, bytesRead, LocaleDecimalSeparator())));
}

void ResultsDownloadPanel::downloadFailed(QObject* sender) {
    const auto* download = qobject_cast<HttpDownload*>(sender);
    Dialogs::Message(window_, Q(UpdateFailedCaption),
                     Q(FailedDownloadText(download != nullptr ? download->fault() : TransferFault::None)),
                     Dialogs::Icon::Error);
    sizeLabel_->hide();
    stopButton_->hide();
    gauge_->hide();
    downloadEnded(sender);
}

void ResultsDownloadPanel::downloadDone(QObject* sender, const QByteArray&, int fileSize) {
    const bool latest = request_ == ResultsRequest::LatestDraw;
    if (fileSize == 0)
        Dialogs::Message(window_, Q(UpdateFailedCaption), Q(NoConnectionText), Dialogs::Icon::Error);
    else if (!latest)
        Dialogs::Message(window_, Q(UpdateSucceededCaption), Q(FullDownloadDoneText), Dialogs::Icon::Information);
    stopButton_->hide();
    sizeLabel_->hide();

    const auto* download = qobject_cast<const HttpDownload*>(sender);
    if (latest && download != nullptr) {
        if (fileSize > 0) {
            const auto draw = ParseLatestDraw(download->body());
            if (!draw) {
                Dialogs::Message(window_, Q(UpdateFailedCaption), Q(MalformedAnswerText), Dialogs::Icon::Error);
            } else if (draw->number != DrawCount + 1) {
                Dialogs::Message(window_, Q(UpdateFailedCaption), Q(NotNextDrawText(draw->number)),
                                 Dialogs::Icon::Information);
            } else {
                emit latestDrawArrived(*draw);
            }
        }
    }
    gauge_->hide();
    downloadEnded(sender);
}

void ResultsDownloadPanel::downloadEnded(QObject* download) {
    if (download == currentDownload_)
        currentDownload_ = nullptr;
    if (download != nullptr)
        download->deleteLater();
    running_ = false;
    updateButtons();
    emit runningChanged();
}

} // namespace zg
