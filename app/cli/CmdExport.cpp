#include "analysis/ReportWriter.h"
#include "app/DrawTypes.h"
#include "app/cli/Commands.h"
#include "database/DatabaseExport.h"
#include "database/DrawDatabase.h"

#include <cstdio>
#include <string>
#include <vector>

namespace zg::cli {

// Loads DIR/zentag.wyn and writes the database export report to OUT, as the draw management
// window's export does.
int CmdExport(const Args& args) {
    if (args.size() != 2) {
        std::fputs("Usage: zentagrafo-cli export DIR OUT\n", stderr);
        return 2;
    }
    const std::string path = args[0] + "/" + std::string(DatabaseFileName);
    const std::string& out = args[1];
    std::vector<DrawRecord> table(static_cast<std::size_t>(MaxDraws) + 1);
    const LoadResult load = LoadDatabase(path, table.data());
    if (!load.ok) {
        std::fprintf(stderr, "%s\n%s: %s\n", std::string(LoadErrorText).c_str(), path.c_str(), load.error.c_str());
        return 1;
    }
    const DrawsView draws{table.data(), load.drawCount};
    if (const auto error = WriteReportFile(out, DatabaseExportBytes(draws))) {
        std::fprintf(stderr, "%s: %s\n", out.c_str(), error->c_str());
        return 1;
    }
    std::printf("%s: %d draws written\n", out.c_str(), draws.count);
    return 0;
}

} // namespace zg::cli
