// SPDX-License-Identifier: GPL-3.0-or-later
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

    // What the next download fetches and where its body goes (TransferSettings: the address
    // "http://" + host + path with query, the target file as the system's bytes, the agent, the
    // port, the deadline, whether the body stays in memory...). A running download keeps the copy
    // it started with.
    const TransferSettings& settings() const { return settings_; }
    void setSettings(const TransferSettings& settings) { settings_ = settings; }

    // Starts a download with a copy of the settings and returns at once. Does nothing while a
    // download of this component is running.
    void start();
    // Asks the running download to stop (it then ends with `failed`); nothing when idle.
    void cancel();

    bool isRunning() const { return job_ != nullptr; }
    bool succeeded() const { return result_; } // the result flag of the last finished download
    // Why the last finished download failed (TransferFault::None after a success).
    TransferFault fault() const { return fault_; }
    // With TransferSettings::bodyInMemory: the body of the last successful download (empty
    // otherwise).
    const std::string& body() const { return body_; }

signals:
    // After each chunk of at most 1,025 bytes: the announced length (0 when none), bytes so far.
    void progressed(QObject* sender, int totalSize, int bytesRead);
    // The download succeeded: the target file and the announced length (0: nothing arrived, which
    // is also what a failed connection gives). Only a non-empty body is kept as the target file.
    void finished(QObject* sender, const QByteArray& fileName, int fileSize);
    // The download failed or was stopped; no target file was written.
    void failed(QObject* sender);

private:
    void deliverResult(const std::shared_ptr<DownloadJob>& job);

    TransferSettings settings_;
    std::shared_ptr<DownloadJob> job_;
    bool result_ = false;
    TransferFault fault_ = TransferFault::None;
    std::string body_;
};

} // namespace zg
