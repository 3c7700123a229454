// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real write failure for tests: while a FileSizeLimit is alive, files of this process cannot
// grow past the given size, and writes beyond it fail with EFBIG instead of raising SIGXFSZ.
// (The tests may run as root, so permissions would not stop a write.)
#include <csignal>
#include <sys/resource.h>

namespace zg::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace zg::test
