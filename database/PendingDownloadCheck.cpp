#include "database/PendingDownloadCheck.h"

#include "app/DrawTypes.h"
#include "database/DrawDatabase.h"
#include "download/HttpTransfer.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zg {

bool ConvertedDownloadIsSound(std::string_view downloadBytes) {
    std::string converted(downloadBytes);
    for (char& c : converted)
        if (c < '0' || c > '9')
            c = ' ';
    std::vector<DrawRecord> scratch(static_cast<std::size_t>(MaxDraws) + 1);
    const LoadResult load = ParseDatabase(converted, scratch.data());
    if (!load.ok || load.drawCount < 1)
        return false;
    for (std::int32_t k = 1; k <= load.drawCount; ++k) {
        const DrawRecord& d = scratch[static_cast<std::size_t>(k)];
        if (d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > 31)
            return false;
        for (std::int32_t n : d.Numbers)
            if (!IsLotteryNumber(n))
                return false;
    }
    return true;
}

bool PendingDownloadIsSound(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= TransferBodyLimit;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            if (ok)
                done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    return ok && ConvertedDownloadIsSound(bytes);
}

} // namespace zg
