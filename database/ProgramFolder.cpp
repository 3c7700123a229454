#include "database/ProgramFolder.h"

#include "base/SafeFile.h"
#include "database/DrawDatabase.h"

#include <algorithm>

namespace zg {

std::vector<std::string> ProgramWriteFolders(const std::string& appDir) {
    std::vector<std::string> folders{appDir, appDir + "/" + std::string(ReportFolderName),
                                     appDir + "/" + std::string(SetFolderName)};
    const std::string database = appDir + "/" + std::string(DatabaseFileName);
    const std::string target = ResolveWriteTarget(database);
    const std::string targetFolder = FolderOfPath(target);
    if (std::find(folders.begin(), folders.end(), targetFolder) == folders.end())
        folders.push_back(targetFolder);
    return folders;
}

int RemoveStaleProgramTempFiles(const std::string& appDir, const std::vector<std::string>& extraFolders) {
    std::vector<std::string> folders = ProgramWriteFolders(appDir);
    for (const std::string& folder : extraFolders)
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    int removed = 0;
    for (const std::string& folder : folders)
        removed += RemoveStaleTempFiles(folder);
    return removed;
}

} // namespace zg
