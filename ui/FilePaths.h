// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paths between the file system's bytes and Qt's text. A folder name need not be valid UTF-8 (a
// Latin-2 "ąę" made on another system); a QString cannot hold such bytes, and turning it back into
// bytes gives different ones. So the program keeps every path as bytes (std::string, from AppDir to
// the system calls) and makes text of a path only to show it or to start a file dialog in it; the
// path a file dialog hands back is turned into the bytes of the entries it names.
#include <QString>

#include <string>

namespace zg {

// The text of a path, to show it or to start a file dialog there (QFile::decodeName).
QString PathText(const std::string& path);

// The bytes of a path that came back as text (from a file dialog). Component by component: a
// component that names an existing entry as QFile::encodeName gives it keeps those bytes; else the
// one entry of that folder whose name reads as the component (its undecodable bytes shown as
// U+FFFD) gives its own bytes; else (a new file's name) QFile::encodeName.
std::string PathBytes(const QString& path);

} // namespace zg
