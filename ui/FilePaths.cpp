// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FilePaths.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace zg {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The bytes of the one entry of `folder` whose name reads as `component`; empty when none or more
// than one does.
std::string EntryReadingAs(const std::string& folder, const QString& component) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "/" : folder.c_str()), &::closedir);
    if (!dir)
        return {};
    std::string found;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (QFile::decodeName(QByteArray(entry->d_name)) == component) {
            found = entry->d_name;
            ++matches;
        }
    }
    return matches == 1 ? found : std::string();
}

} // namespace

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathBytes(const QString& path) {
    const bool absolute = path.startsWith(QLatin1Char('/'));
    std::string bytes = absolute ? "" : ".";
    std::string result;
    for (const QString& component : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        std::string name = QFile::encodeName(component).toStdString();
        if (!Exists(bytes + "/" + name)) {
            const std::string entry = EntryReadingAs(bytes, component);
            if (!entry.empty())
                name = entry;
        }
        bytes += "/" + name;
        result += (result.empty() && !absolute ? "" : "/") + name;
    }
    return result.empty() && absolute ? "/" : result;
}

} // namespace zg
