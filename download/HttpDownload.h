#pragma once
// The download component: fetches one URL into a file on a worker thread of its own and reports
// progress, success and failure through signals on the user-interface thread.
//
// Each download runs on a new worker thread. A progress report is handed to the user-interface
// thread and the worker waits until its handlers have run (so they may update controls and the
// worker never runs ahead of them). The completion is delivered on the user-interface thread once
// the transfer is over. The user-interface thread never waits for a worker: destroying the
// component stops its download, releases a worker that waits for a progress report, and leaves a
// worker that is still inside the network layer to end by itself (it then only removes its
// temporary file).
#include "download/HttpTransfer.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace zg {

struct DownloadJob;

class HttpDownload : public QObject {
    Q_OBJECT

public:
    explicit HttpDownload(QObject* owner = nullptr);
    ~HttpDownload() override;

    QString URL; // "http://" + host + path with query
    // Full path of the file that receives the body, as the system's bytes: a folder name need not
    // be valid UTF-8, which a QString could not hold (QFile::encodeName of a path Qt gave).
    QByteArray FileName;
    QString AcceptTypes = QStringLiteral("*/*");
    QString Agent = QStringLiteral("Orvanel HTTPGet"); // empty: no agent
    bool UseCache = false;
    int Port = 80; // the results server's port; tests point it at their own server
    std::chrono::milliseconds Deadline = AllResultsDeadline; // the whole download; then it fails
    // The body stays in memory (Body()) instead of becoming the file FileName: an answer only this
    // download reads.
    bool BodyInMemory = false;

    // Starts a download with copies of the properties and returns at once. Does nothing while a
    // download of this component is running.
    void StartFileDownload();
    // Asks the running download to stop (it then ends with OnError); nothing when idle.
    void CancelDownload();

    bool Busy() const { return job_ != nullptr; }
    bool Result() const { return result_; } // the result flag of the last finished download
    // With BodyInMemory: the body of the last successful download (empty otherwise).
    const std::string& Body() const { return body_; }

signals:
    // After each chunk of at most 1,025 bytes: the announced length (0 when none), bytes so far.
    void OnProgress(QObject* sender, int totalSize, int readed);
    // The download succeeded: the target file and the announced length (0: nothing arrived, which
    // is also what a failed connection gives). Only a non-empty body is kept as the target file.
    void OnDoneFile(QObject* sender, const QByteArray& fileName, int fileSize);
    // The download failed or was stopped; no target file was written.
    void OnError(QObject* sender);

private:
    void DeliverResult(const std::shared_ptr<DownloadJob>& job);

    std::shared_ptr<DownloadJob> job_;
    bool result_ = false;
    std::string body_;
};

} // namespace zg
