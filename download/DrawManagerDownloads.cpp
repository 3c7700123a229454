// The results update actions of the draw management window: "Pobierz wszystkie", "Pobierz
// ostatnie", "STOP", the progress display and what is done with each download's completion.
#include "analysis/NumberFormat.h"
#include "app/State.h"
#include "database/DrawDatabase.h"
#include "database/DrawManager.h"
#include "download/ResultsUpdate.h"
#include "download/HttpDownload.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"
#include "ui/ProgressGauge.h"

#include <QLabel>
#include <QPushButton>

namespace zg {

void DrawManager::SetResultsServer(const QString& host, int port) {
    resultsHost_ = host;
    resultsPort_ = port;
}

void DrawManager::Button1Click() {
    StartDownload(0);
}

void DrawManager::BitBtn4Click() {
    StartDownload(1);
}

void DrawManager::StartDownload(std::uint8_t mode) {
    // The buttons are disabled while a download runs; two downloads would share the mode and,
    // in the same mode, the target file.
    if (downloadRunning_)
        return;
    Gauge1->show();
    Label14->setText(Q(ConnectingText));
    Label14->show();
    Gauge1->SetProgress(0);

    auto* get = new HttpDownload(this);
    CurrentDownload = get;
    const std::string host = resultsHost_.isEmpty() ? std::string(ResultsHost()) : resultsHost_.toStdString();
    get->URL = Q(ResultsUrl(mode == 1, host));
    // The path stays bytes from AppDir on: the program folder's name need not be valid UTF-8.
    get->FileName =
        QByteArray::fromStdString(AppPath(std::string(mode == 1 ? LatestDrawFileName : PendingDownloadFileName)));
    get->Port = resultsPort_;
    get->Deadline = ResultsDeadline(mode == 1);
    get->BodyInMemory = mode == 1; // the latest draw is read from this download's own memory
    connect(get, &HttpDownload::OnDoneFile, this, &DrawManager::HTTPGetFileDoneFile);
    connect(get, &HttpDownload::OnProgress, this, &DrawManager::HTTPGetPictureProgress);
    connect(get, &HttpDownload::OnError, this, &DrawManager::HTTPGetPictureError);
    get->UseCache = false;
    DownloadMode = mode;
    downloadRunning_ = true;
    UpdateButtons();
    get->StartFileDownload();
    stopbutton->show();
    if (mode == 1)
        Gauge1->hide(); // the first progress report shows it
}

void DrawManager::stopbuttonClick() {
    if (CurrentDownload != nullptr)
        CurrentDownload->CancelDownload();
}

void DrawManager::HTTPGetPictureProgress(QObject*, int totalSize, int readed) {
    Gauge1->show();
    Gauge1->SetMaxValue(totalSize);
    Gauge1->SetProgress(readed);
    Label14->setText(Q(ProgressSizeText(totalSize, readed, LocaleDecimalSeparator())));
}

void DrawManager::HTTPGetPictureError(QObject* sender) {
    Dialogs::Message(this, Q(UpdateFailedCaption), Q(InterruptedText), Dialogs::Icon::Error);
    Label14->hide();
    stopbutton->hide();
    Gauge1->hide();
    DownloadEnded(sender);
}

void DrawManager::HTTPGetFileDoneFile(QObject* sender, const QByteArray&, int fileSize) {
    if (fileSize == 0)
        Dialogs::Message(this, Q(UpdateFailedCaption), Q(NoConnectionText), Dialogs::Icon::Error);
    else if (DownloadMode == 0)
        Dialogs::Message(this, Q(UpdateSucceededCaption), Q(FullDownloadDoneText), Dialogs::Icon::Information);
    stopbutton->hide();
    Label14->hide();

    const auto* download = qobject_cast<const HttpDownload*>(sender);
    if (DownloadMode == 1 && download != nullptr) {
        if (fileSize > 0) {
            const auto latest = ParseLatestDraw(download->Body());
            if (!latest) {
                Dialogs::Message(this, Q(UpdateFailedCaption), Q(MalformedAnswerText), Dialogs::Icon::Error);
            } else if (latest->number != DrawCount + 1) {
                Dialogs::Message(this, Q(UpdateFailedCaption), Q(NotNextDrawText(latest->number)),
                                 Dialogs::Icon::Information);
            } else {
                BitBtn2Click();
                for (std::int32_t n : latest->numbers)
                    tickNumber(n);
                button4Click(); // refuses with its own message when a number came twice
            }
        }
    }
    Gauge1->hide();
    DownloadEnded(sender);
}

void DrawManager::DownloadEnded(QObject* download) {
    if (download == CurrentDownload)
        CurrentDownload = nullptr;
    if (download != nullptr)
        download->deleteLater();
    downloadRunning_ = false;
    UpdateButtons();
}

void DrawManager::UpdateButtons() {
    // Edit mode disables appending and downloads; a running download disables the downloads, and
    // a latest-draw download also what its completion uses ("Dopisz") or would conflict with it
    // ("Edytuj", "OK"). Neither state's end re-enables what the other one disabled.
    const bool latest = downloadRunning_ && DownloadMode == 1;
    button3->setEnabled(editMode_ && !latest);
    BitBtn1->setEnabled(!latest);
    button4->setEnabled(!editMode_ && !latest);
    button1->setEnabled(!editMode_ && !downloadRunning_);
    BitBtn4->setEnabled(!editMode_ && !downloadRunning_);
}

} // namespace zg
