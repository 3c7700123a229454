#include "analysis/ReportWriter.h"
#include "app/DrawTypes.h"
#include "app/cli/Commands.h"
#include "app/cli/FolderDatabase.h"
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
    const std::string& out = args[1];
    const auto db = LoadFolderDatabase(args[0]);
    if (!db)
        return 1;
    const DrawsView draws = db->View();
    if (const auto error = WriteReportFile(out, DatabaseExportBytes(draws))) {
        std::fprintf(stderr, "%s: %s\n", out.c_str(), error->c_str());
        return 1;
    }
    std::printf("%s: %d draws written\n", out.c_str(), draws.count);
    return 0;
}

} // namespace zg::cli
