// SPDX-License-Identifier: GPL-3.0-or-later
#include "download/HttpDownload.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace zg {

// What the component and its worker share. The worker owns its copies of the settings; `owner`
// and `released` are guarded by `mutex`.
struct DownloadJob {
    TransferSettings settings;
    TransferFlags flags;
    TransferReport report;

    std::mutex mutex;
    std::condition_variable handled;
    HttpDownload* owner = nullptr; // null once the component is gone
    bool released = false;         // progress reports are no longer waited for
    bool progressRun = false;      // the user-interface thread ran the last progress report
    bool finished = false;         // the transfer is over and its completion was posted
};

HttpDownload::HttpDownload(QObject* owner) : QObject(owner) {}

HttpDownload::~HttpDownload() {
    if (!job_)
        return;
    cancel();
    std::lock_guard lock(job_->mutex);
    job_->owner = nullptr;
    job_->released = true;
    job_->handled.notify_all();
    // A completion already posted dies with this object; its file goes with it. A worker still
    // running removes its file itself when it sees no owner.
    if (job_->finished)
        FinishTransferFile(job_->report, job_->settings.fileName, false);
}

void HttpDownload::start() {
    if (job_)
        return;
    auto job = std::make_shared<DownloadJob>();
    job->settings = settings_;
    job->owner = this;
    job_ = job;

    std::thread([job] {
        const TransferProgress progress = [&job](std::int32_t total, std::int32_t bytesRead) {
            std::unique_lock lock(job->mutex);
            if (job->released)
                return;
            job->progressRun = false;
            HttpDownload* owner = job->owner;
            // Queued to the component: Qt drops the call if the component is destroyed first, and
            // the destructor then releases this wait.
            QMetaObject::invokeMethod(
                owner,
                [owner, job, total, bytesRead] {
                    emit owner->progressed(owner, total, bytesRead);
                    std::lock_guard done(job->mutex);
                    job->progressRun = true;
                    job->handled.notify_all();
                },
                Qt::QueuedConnection);
            job->handled.wait(lock, [&job] { return job->progressRun || job->released; });
        };
        job->report = RunTransfer(job->settings, job->flags, progress);

        std::lock_guard lock(job->mutex);
        job->finished = true;
        if (job->owner != nullptr) {
            HttpDownload* owner = job->owner;
            QMetaObject::invokeMethod(
                owner, [owner, job] { owner->deliverResult(job); }, Qt::QueuedConnection);
        } else {
            FinishTransferFile(job->report, job->settings.fileName, false); // no one takes the file
        }
    }).detach();
}

void HttpDownload::cancel() {
    if (!job_)
        return;
    job_->flags.stop = true;
    job_->flags.result = false;
}

void HttpDownload::deliverResult(const std::shared_ptr<DownloadJob>& job) {
    // The same flag decides the file and the event: a cancel that came after the worker's last
    // check still turns the download into a failure here.
    result_ = DeliverTransfer(job->report, job->settings.fileName, job->flags.result);
    body_ = result_ ? std::move(job->report.body) : std::string();
    fault_ = result_ ? TransferFault::None : job->report.fault;
    {
        std::lock_guard lock(job->mutex);
        job->owner = nullptr;
    }
    if (result_)
        emit finished(this, QByteArray::fromStdString(job->settings.fileName), job->report.fileSize);
    else
        emit failed(this);
    job_.reset();
}

} // namespace zg
