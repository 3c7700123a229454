// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ProgramFiles.h"

#include "base/SafeFile.h"

#include <array>
#include <cstdlib>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace zg {

namespace {

// `folder` with symbolic links, "." and ".." resolved; empty when it does not exist.
std::string RealFolder(const std::string& folder) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

// Where a write to `path` lands, spelled without links or dots: the final link followed as the
// writer follows it, the folder through realpath. Empty when no file can be written there (the
// folder is missing, or the path ends in a folder's name such as "." or "/").
std::string CanonicalWriteTarget(const std::string& path) {
    const std::string target = ResolveWriteTarget(path);
    const auto slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    const std::string folder = RealFolder(FolderOfPath(target));
    if (folder.empty())
        return {};
    return (folder == "/" ? folder : folder + "/") + name;
}

struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;

    bool Same(const Identity& other) const {
        return exists && other.exists && device == other.device && inode == other.inode;
    }
};

// The identity of the file at `path`, links followed.
Identity IdentityOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {true, st.st_dev, st.st_ino};
}

struct ProtectedFile {
    std::string path;
    ProgramFileKind kind;
};

// Whether any entry of `folder` (links followed) is the file `target`.
bool FolderHolds(const std::string& folder, const Identity& target) {
    struct CloseFolder {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    const std::unique_ptr<DIR, CloseFolder> dir(::opendir(folder.c_str()));
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && IdentityOf(folder + "/" + entry->d_name).Same(target))
            return true;
    }
    return false;
}

} // namespace

std::string DatabaseLockPath(const std::string& dbPath) {
    return ResolveWriteTarget(dbPath) + std::string(DatabaseLockSuffix);
}

std::optional<ProgramFileKind> ProgramFileAt(const std::string& path, const std::string& programFolder) {
    const std::string target = CanonicalWriteTarget(path);
    if (target.empty())
        return std::nullopt;
    const Identity targetIdentity = IdentityOf(target);

    const std::string folder = programFolder.empty() ? std::string(".") : programFolder;
    const auto inFolder = [&folder](std::string_view name) { return folder + "/" + std::string(name); };
    const std::string database = inFolder(DatabaseFileName);
    const std::array<ProtectedFile, 8> files{{
        {database, ProgramFileKind::Database},
        {DatabaseLockPath(database), ProgramFileKind::DatabaseLock},
        {database + std::string(DatabaseLockSuffix), ProgramFileKind::DatabaseLock},
        {inFolder(PendingDownloadFileName), ProgramFileKind::PendingDownload},
        {inFolder(SettingsFileName), ProgramFileKind::Settings},
        {inFolder(ProgramExecutableName), ProgramFileKind::Executable},
        {inFolder(CliExecutableName), ProgramFileKind::Executable},
        {"/proc/self/exe", ProgramFileKind::Executable},
    }};
    for (const ProtectedFile& file : files) {
        if (targetIdentity.Same(IdentityOf(file.path)) || target == CanonicalWriteTarget(file.path))
            return file.kind;
    }

    // Every file in KOPIE/: a new name there as much as an existing backup or a link to one.
    const std::string backups = RealFolder(inFolder(BackupFolderName));
    if (!backups.empty() && (FolderOfPath(target) == backups || FolderHolds(backups, targetIdentity)))
        return ProgramFileKind::Backup;
    return std::nullopt;
}

std::string ProtectedTargetText(ProgramFileKind kind) {
    std::string_view what;
    switch (kind) {
    case ProgramFileKind::Database:
        what = "plik bazy wyników programu";
        break;
    case ProgramFileKind::DatabaseLock:
        what = "plik blokady bazy wyników programu";
        break;
    case ProgramFileKind::PendingDownload:
        what = "pobrany plik wyników, który czeka na dołączenie do bazy";
        break;
    case ProgramFileKind::Settings:
        what = "plik ustawień programu";
        break;
    case ProgramFileKind::Backup:
        what = "plik kopii bazy wyników programu";
        break;
    case ProgramFileKind::Executable:
        what = "plik wykonywalny programu";
        break;
    }
    return "Tego pliku nie można zastąpić raportem: to " + std::string(what) + ". Wybierz inną nazwę.";
}

std::optional<std::string> RefuseProgramFileTarget(const std::string& path, const std::string& programFolder) {
    if (const auto kind = ProgramFileAt(path, programFolder))
        return ProtectedTargetText(*kind);
    return std::nullopt;
}

} // namespace zg
