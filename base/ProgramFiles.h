// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own files in its folder, and the check that keeps every report, export, picture
// and set file off them. Pure standard C++ with POSIX calls.
//
// A user may type any path into a save dialog or give any OUT to the command-line tool: "zentag.wyn",
// "../zentag.wyn", a link to a backup. Every writer of such a file asks ProgramFileAt first and
// refuses a target that is, or would replace, one of the program's own files.
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// File names in the program folder.
inline constexpr std::string_view DatabaseFileName = "zentag.wyn";
inline constexpr std::string_view PendingDownloadFileName = "zentag"; // full download waiting to be merged
inline constexpr std::string_view SettingsFileName = "zentagrafo.ini";
inline constexpr std::string_view ProgramExecutableName = "zentagrafo";
inline constexpr std::string_view CliExecutableName = "zentagrafo-cli";

// The sub-folders of the program folder: reports, number sets and the database's backups.
inline constexpr std::string_view ReportFolderName = "TXT";
inline constexpr std::string_view SetFolderName = "ZESTAWY LICZB";
inline constexpr std::string_view BackupFolderName = "KOPIE";

// The lock file's name is the database's real file name with this added.
inline constexpr std::string_view DatabaseLockSuffix = ".lock";

// The lock file of the database at `dbPath`: beside the file a write replaces (a linked database's
// target), named after it with ".lock" added: "zentag.wyn.lock" for a plain database.
std::string DatabaseLockPath(const std::string& dbPath);

// The kinds of the program's own files.
enum class ProgramFileKind {
    Database,        // zentag.wyn, or the file a linked zentag.wyn points to
    DatabaseLock,    // the lock file beside the database's real file
    PendingDownload, // a full download waiting as "zentag"
    Settings,        // zentagrafo.ini
    Backup,          // any file in KOPIE/
    Executable,      // the program, the command-line tool, the running executable
};

// Which of the program's own files a write to `path` would replace or create, if any. The target
// is resolved as the write resolves it: a final link followed (also a dangling one), the folder
// through realpath. An existing target is compared by device and inode with each of the program's
// files that exists (so a hard link is caught too); a missing one by its resolved path with the
// resolved path of each that does not, so that no report creates a missing "zentag" either.
// `programFolder` is the folder of zentag.wyn.
std::optional<ProgramFileKind> ProgramFileAt(const std::string& path, const std::string& programFolder);

// The refusal of a report over one of the program's files (Polish; the windows show it and the
// command-line tool repeats it): "Tego pliku nie można zastąpić raportem: to plik bazy wyników
// programu. Wybierz inną nazwę."
std::string ProtectedTargetText(ProgramFileKind kind);

// ProtectedTargetText of the file at `path` when it is one of the program's own; else nothing.
std::optional<std::string> RefuseProgramFileTarget(const std::string& path, const std::string& programFolder);

} // namespace zg
