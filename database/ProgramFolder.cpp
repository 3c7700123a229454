// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ProgramFolder.h"

#include "base/SafeFile.h"
#include "database/DrawDatabase.h"

#include <algorithm>

#include <sys/stat.h>

namespace zg {

std::vector<std::string> ProgramWriteFolders(const std::string& appDir) {
    return {appDir, appDir + "/" + std::string(ReportFolderName), appDir + "/" + std::string(SetFolderName),
            appDir + "/" + std::string(BackupFolderName)};
}

namespace {

// The temporary files of the file `path` (links followed) in its folder, unless that folder is
// one of the program's own, which is cleaned whole anyway.
int RemoveStaleTempFilesOf(const std::string& path, const std::vector<std::string>& ownFolders) {
    const std::string target = ResolveWriteTarget(path);
    struct stat st;
    // A device or another special file is nothing the program writes: its folder is left alone.
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return 0;
    const std::string folder = FolderOfPath(target);
    if (std::find(ownFolders.begin(), ownFolders.end(), folder) != ownFolders.end())
        return 0;
    const auto slash = target.rfind('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(target) : std::string_view(target).substr(slash + 1);
    return name.empty() ? 0 : RemoveStaleTempFiles(folder, name);
}

} // namespace

int RemoveStaleProgramTempFiles(const std::string& appDir, const std::vector<std::string>& outputFiles) {
    const std::vector<std::string> folders = ProgramWriteFolders(appDir);
    int removed = 0;
    for (const std::string& folder : folders)
        removed += RemoveStaleTempFiles(folder);
    removed += RemoveStaleOldTempFiles(appDir, {DatabaseFileName, PendingDownloadFileName, "ml"});
    removed += RemoveStaleTempFilesOf(appDir + "/" + std::string(DatabaseFileName), folders);
    for (const std::string& out : outputFiles)
        removed += RemoveStaleTempFilesOf(out, folders);
    return removed;
}

} // namespace zg
