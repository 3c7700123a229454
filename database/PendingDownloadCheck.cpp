#include "database/PendingDownloadCheck.h"

#include "app/DrawTypes.h"
#include "app/SafeFile.h"
#include "database/DrawDatabase.h"
#include "download/HttpTransfer.h"

#include <vector>

namespace zg {

bool ConvertedDownloadIsSound(std::string_view downloadBytes, DrawRecord* scratchTable) {
    std::string converted(downloadBytes);
    for (char& c : converted)
        if (c < '0' || c > '9')
            c = ' ';
    std::vector<DrawRecord> own;
    if (scratchTable == nullptr) {
        own.resize(static_cast<std::size_t>(MaxDraws) + 1);
        scratchTable = own.data();
    }
    const LoadResult load = ParseDatabase(converted, scratchTable);
    if (!load.ok || load.drawCount < 1)
        return false;
    for (std::int32_t k = 1; k <= load.drawCount; ++k) {
        const DrawRecord& d = scratchTable[k];
        if (d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > 31)
            return false;
        for (std::int32_t n : d.Numbers)
            if (!IsLotteryNumber(n))
                return false;
    }
    return true;
}

bool PendingDownloadIsSound(const std::string& path, DrawRecord* scratchTable) {
    const OpenedFile file = OpenRegularFileForReading(path);
    if (!file.ok() || file.size > TransferBodyLimit)
        return false;
    std::string bytes;
    return ReadToEnd(file.fd.get(), bytes) == 0 && ConvertedDownloadIsSound(bytes, scratchTable);
}

} // namespace zg
