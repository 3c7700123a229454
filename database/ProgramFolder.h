#pragma once
// The folders a program folder's writers write to, and the clean-up of what killed writers left
// there. Pure standard C++ with POSIX calls.
#include <string>
#include <string_view>
#include <vector>

namespace zg {

// The sub-folders of the program folder: reports and number sets.
inline constexpr std::string_view ReportFolderName = "TXT";
inline constexpr std::string_view SetFolderName = "ZESTAWY LICZB";

// Every folder the program and the command-line tool write to for the program folder `appDir`:
// the folder itself (the database, the downloads), TXT/, ZESTAWY LICZB/ and, when the database is
// a link, the folder of its target (where its replacement is written). Each folder once.
std::vector<std::string> ProgramWriteFolders(const std::string& appDir);

// RemoveStaleTempFiles over ProgramWriteFolders(appDir) and the `extraFolders` (the folder of a
// command's output file): the temporary files "<name>.tmp.<pid>.<n>" of processes that are gone,
// and nothing else. Run at start-up and by every command that writes. Returns how many were removed.
int RemoveStaleProgramTempFiles(const std::string& appDir, const std::vector<std::string>& extraFolders = {});

} // namespace zg
