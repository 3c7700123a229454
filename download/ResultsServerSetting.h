// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the results downloads go: the host and port set by the optional file "zentagrafo.ini" in
// the program folder,
//
//     [wyniki]
//     serwer=HOST[:PORT]
//
// or, without that setting, the build's results host and port 80. The file is read at each
// download, so a change takes effect without a restart. Pure standard C++.
#include "base/ProgramFiles.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zg {

// The settings file is a few lines; anything larger is no settings file of ours.
inline constexpr std::int64_t SettingsFileLimit = 64 * 1024;

struct ResultsServer {
    std::string host; // a host name, an IPv4 address or a bracketed IPv6 address ("[::1]")
    int port = 80;
};

// The server to ask, or why no request may be sent: `error` is a Polish message for the user.
struct ResultsServerSetting {
    bool ok = false;
    ResultsServer server;
    std::string error;
    bool builtIn = false; // no "serwer" setting: the build's host and port 80
};

// The texts when no results server is set anywhere (NoResultsServer): the window's, and the
// command line's, which names the command that reads a results file.
inline constexpr std::string_view NoServerText =
    "Nie ustawiono serwera wyników. Wpisz go w pliku zentagrafo.ini w folderze programu ([wyniki] serwer=…) albo "
    "wczytaj wyniki z pliku (Importuj z pliku…).";
inline constexpr std::string_view NoServerCommandLineText =
    "Nie ustawiono serwera wyników. Wpisz go w pliku zentagrafo.ini w folderze programu ([wyniki] serwer=…) albo "
    "wczytaj wyniki z pliku (zentagrafo-cli import).";

// Whether a download would go nowhere: the setting is the build's own (no "serwer" in
// zentagrafo.ini) and the build names no results host but "localhost". A host or port given by the
// caller (the command line's --host and --port) is a server set.
bool NoResultsServer(const ResultsServerSetting& setting);

// The setting in the text of a settings file. Lines end at LF, CR LF or CR; blanks around names and
// values are ignored, and so are empty lines, lines starting with ";" or "#", other sections and
// other keys. Section and key names are compared without regard to case. The last "serwer" of the
// section "[wyniki]" counts. Without one the build's host and port 80 hold. A value that is not
// HOST or HOST:PORT (HOST of letters, digits, "-", "_" and ".", or an IPv6 address in brackets;
// PORT 1..65535) is an error.
ResultsServerSetting ParseResultsServerSetting(std::string_view settingsText);

// Whether `host` is a HOST as "serwer=" takes it, without a port: letters, digits, "-", "_" and ".",
// or an IPv6 address in brackets. What the command-line tool's --host must be.
bool IsResultsHost(std::string_view host);

// The setting of the program folder `folder`: its zentagrafo.ini when there is one (a regular file
// of at most SettingsFileLimit bytes; anything else is an error), else the build's host and port 80.
// What the download buttons and `zentagrafo-cli update` call before every request.
ResultsServerSetting ReadResultsServerSetting(const std::string& folder);

} // namespace zg
