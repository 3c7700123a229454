#pragma once
// A real write failure for the tests: a file-size limit makes the kernel refuse writes past it
// with EFBIG (the tests run as root, so permissions would not stop them).
#include <csignal>
#include <sys/resource.h>

namespace zg::test {

// While alive, files of this process cannot grow past `bytes`; writes beyond fail with EFBIG
// instead of raising SIGXFSZ.
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
