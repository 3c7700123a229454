// SPDX-License-Identifier: GPL-3.0-or-later
#include "download/ResultsServerSetting.h"

#include "base/SafeFile.h"
#include "download/ResultsUpdate.h"

#include <algorithm>
#include <cerrno>

namespace zg {

namespace {

constexpr std::string_view NoRequestSent = " Nie wysłano żadnego zapytania.";
constexpr std::string_view TooLargeText = "Plik zentagrafo.ini jest za duży (ponad 64 KiB).";

std::string UnreadableText(const std::string& why) {
    return "Nie można odczytać pliku zentagrafo.ini: " + why + ".";
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool IsHostNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
}

bool IsIpv6Byte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
}

// HOST or HOST:PORT.
bool ParseServer(std::string_view value, ResultsServer& server) {
    std::string_view host = value, port;
    if (!value.empty() && value.front() == '[') {
        const std::size_t close = value.find(']');
        if (close == std::string_view::npos || close < 3)
            return false;
        host = value.substr(0, close + 1);
        if (!std::all_of(host.begin() + 1, host.end() - 1, IsIpv6Byte))
            return false;
        const std::string_view rest = value.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return false;
            port = rest.substr(1);
            if (port.empty())
                return false;
        }
    } else {
        const std::size_t colon = value.find(':');
        if (colon != std::string_view::npos) {
            host = value.substr(0, colon);
            port = value.substr(colon + 1);
            if (port.empty())
                return false;
        }
        if (host.empty() || host.size() > 253 || !std::all_of(host.begin(), host.end(), IsHostNameByte) ||
            host.front() == '.' || host.front() == '-')
            return false;
    }
    int number = 80;
    if (!port.empty()) {
        if (port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        number = std::stoi(std::string(port));
        if (number < 1 || number > 65535)
            return false;
    }
    server.host = std::string(host);
    server.port = number;
    return true;
}

} // namespace

bool IsResultsHost(std::string_view host) {
    ResultsServer server;
    return ParseServer(host, server) && server.host == host;
}

namespace {

// The value as the message shows it: control bytes as "?", at most 60 bytes.
std::string Shown(std::string_view value) {
    std::string shown(value.substr(0, 60));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = '?';
    return value.size() > 60 ? shown + "…" : shown;
}

ResultsServerSetting BuiltIn() {
    ResultsServerSetting s;
    s.ok = true;
    s.server.host = std::string(ResultsHost());
    s.server.port = ResultsPort;
    s.builtIn = true;
    return s;
}

} // namespace

bool NoResultsServer(const ResultsServerSetting& setting) {
    return setting.ok && setting.builtIn && setting.server.host == "localhost";
}

ResultsServerSetting ParseResultsServerSetting(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3); // a byte order mark written by some editors
    bool inResults = false;
    bool found = false;
    std::string_view value;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.find('\r'));
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inResults = line.back() == ']' && SameName(Trim(line.substr(1, line.size() - 2)), "wyniki");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inResults && equals != std::string_view::npos && SameName(Trim(line.substr(0, equals)), "serwer")) {
            found = true;
            value = Trim(line.substr(equals + 1));
        }
    }
    ResultsServerSetting s = BuiltIn();
    s.builtIn = !found;
    if (found && !ParseServer(value, s.server)) {
        s.ok = false;
        s.server = {};
        s.error = "Niepoprawne ustawienie serwera wyników w pliku zentagrafo.ini: „serwer=" + Shown(value) +
                  "”. Wpisz w sekcji [wyniki] serwer=HOST albo serwer=HOST:PORT (port od 1 do 65535), np. "
                  "serwer=wyniki.example.pl:8080." +
                  std::string(NoRequestSent);
    }
    return s;
}

ResultsServerSetting ReadResultsServerSetting(const std::string& folder) {
    const OpenedFile file = OpenRegularFileForReading(folder + "/" + std::string(SettingsFileName));
    if (file.status == OpenedFile::Status::Missing)
        return BuiltIn();
    ResultsServerSetting s;
    std::string text;
    if (!file.ok()) {
        s.error = UnreadableText(file.error) + std::string(NoRequestSent);
        return s;
    }
    // The size the file claims is only a hint: the read itself stops at the limit.
    const int error = file.size > SettingsFileLimit ? EFBIG : ReadToEnd(file.fd.get(), text, SettingsFileLimit);
    if (error != 0) {
        s.error = (error == EFBIG ? std::string(TooLargeText) : UnreadableText(SystemErrorText(error))) +
                  std::string(NoRequestSent);
        return s;
    }
    return ParseResultsServerSetting(text);
}

} // namespace zg
