// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folders a program folder's writers write to, and the clean-up of what killed writers left
// there. Pure standard C++ with POSIX calls.
#include "base/ProgramFiles.h"

#include <string>
#include <string_view>
#include <vector>

namespace zg {

// The program's own folders for the program folder `appDir`: the folder itself (the database, the
// downloads), TXT/, ZESTAWY LICZB/ and KOPIE/.
std::vector<std::string> ProgramWriteFolders(const std::string& appDir);

// The clean-up of temporary files whose process is gone, run at start-up and by every command
// that writes. Only the program's own temporary files go (TempFileName's marker):
// - in ProgramWriteFolders(appDir), every one of them;
// - in the folder a linked database points into, only those of the database's own name;
// - beside each of `outputFiles` (a command's output), only those of that file's own name.
// Temporary files of earlier versions ("<name>.tmp.<pid>.<n>") go only for the program's fixed
// names zentag.wyn, zentag and ml, and only in the program folder. A database linked to something
// other than a regular file gets no clean-up in its target's folder. Returns how many were removed.
int RemoveStaleProgramTempFiles(const std::string& appDir, const std::vector<std::string>& outputFiles = {});

} // namespace zg
