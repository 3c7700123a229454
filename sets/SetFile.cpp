// SPDX-License-Identifier: GPL-3.0-or-later
#include "sets/SetFile.h"

#include "base/ReportWriter.h"
#include "base/SafeFile.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace zg {

namespace {

// How much of an offending token the message quotes; a file may hold one endless "word".
constexpr std::size_t QuotedTokenLimit = 32;

bool IsSeparator(unsigned char c) {
    return c <= 0x20;
}

// Cuts a trailing, incomplete UTF-8 sequence left behind by truncating at a byte count, so that
// the quoted token does not end in a broken character.
void TrimToUtf8Boundary(std::string& s) {
    std::size_t i = s.size();
    std::size_t continuation = 0;
    while (i > 0 && continuation < 4 && (static_cast<unsigned char>(s[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++continuation;
    }
    if (i == 0)
        return;
    const auto lead = static_cast<unsigned char>(s[i - 1]);
    std::size_t expected = 0;
    if ((lead & 0xE0) == 0xC0)
        expected = 1;
    else if ((lead & 0xF0) == 0xE0)
        expected = 2;
    else if ((lead & 0xF8) == 0xF0)
        expected = 3;
    if (expected > continuation)
        s.resize(i - 1);
}

// Splits the content into tokens (runs of bytes above 0x20) and checks each one as it ends. The
// content can arrive in pieces, so a file is checked without holding all of it in memory.
class SetFileParser {
public:
    explicit SetFileParser(const std::string& path) : path_(path) {}

    // Takes the next piece; false once the file is refused (the rest need not be read).
    bool Feed(std::string_view piece) {
        for (const char ch : piece) {
            const auto c = static_cast<unsigned char>(ch);
            if (IsSeparator(c)) {
                if (length_ > 0 && !EndToken())
                    return false;
                continue;
            }
            TakeByte(c);
        }
        return true;
    }

    // The end of the content: separators after the last number simply end the data.
    SetFileContent Finish() {
        if (length_ > 0)
            EndToken();
        return std::move(result_);
    }

    SetFileContent Take() { return std::move(result_); }

private:
    void TakeByte(unsigned char c) {
        if (length_ == 0 && (c == '+' || c == '-')) {
            negative_ = (c == '-');
        } else if (c >= '0' && c <= '9') {
            ++digits_;
            // Saturate: any value above 80 is refused alike, and nothing can overflow.
            value_ = value_ * 10 + (c - '0');
            if (value_ > 1000)
                value_ = 1000;
        } else {
            notNumber_ = true;
        }
        if (quoted_.size() < QuotedTokenLimit)
            quoted_.push_back(static_cast<char>(c));
        ++length_;
    }

    bool EndToken() {
        bool accepted = false;
        if (notNumber_ || digits_ == 0) {
            Refuse("zawiera \"" + Quoted() +
                   "\", co nie jest liczbą — dozwolone są tylko liczby od 1 do 80 "
                   "rozdzielone odstępami.");
        } else if (negative_ || value_ < 1 || value_ > 80) {
            Refuse("zawiera niedozwoloną wartość \"" + Quoted() + "\" — dozwolone są tylko liczby od 1 do 80.");
        } else {
            result_.members[static_cast<std::size_t>(value_)] = true;
            accepted = true;
        }
        length_ = 0;
        digits_ = 0;
        value_ = 0;
        negative_ = false;
        notNumber_ = false;
        quoted_.clear();
        return accepted;
    }

    std::string Quoted() const {
        if (length_ <= quoted_.size())
            return quoted_;
        std::string cut = quoted_;
        TrimToUtf8Boundary(cut);
        return cut + "…";
    }

    void Refuse(const std::string& what) {
        result_.status = SetFileContent::Status::Refused;
        result_.members = SetMembers{};
        result_.error = "Plik \"" + path_ + "\" " + what + " Plik nie został wczytany.";
    }

    const std::string& path_;
    SetFileContent result_;
    std::size_t length_ = 0; // bytes of the current token
    int digits_ = 0;
    std::int32_t value_ = 0;
    bool negative_ = false;
    bool notNumber_ = false;
    std::string quoted_;
};

} // namespace

std::string SetFileBytes(const SetMembers& members) {
    std::string bytes;
    for (std::size_t n = 1; n <= 80; ++n) {
        if (members[n]) {
            bytes += ' ';
            bytes += std::to_string(n);
        }
    }
    return bytes;
}

std::optional<std::string> WriteSetFile(const std::string& path, const SetMembers& members,
                                        const std::string& programFolder) {
    return WriteReportFile(path, SetFileBytes(members), programFolder);
}

SetFileContent ParseSetFile(std::string_view bytes, const std::string& path) {
    SetFileParser parser(path);
    if (!parser.Feed(bytes))
        return parser.Take();
    return parser.Finish();
}

SetFileContent ReadSetFile(const std::string& path) {
    auto failure = [](std::string error) {
        SetFileContent content;
        content.status = SetFileContent::Status::Unreadable;
        content.error = std::move(error);
        return content;
    };

    // A FIFO or a device would block or never end; only a regular file is read.
    const OpenedFile file = OpenRegularFileForReading(path);
    if (!file.ok())
        return failure(file.error);

    // A set file is a few hundred bytes; a file without end (under /proc) stops at the cap.
    SetFileParser parser(path);
    CappedFileReader reader(file.fd.get(), SmallFileReadCap);
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t got = reader.Read(buffer, sizeof buffer);
        if (got < 0)
            return failure(SystemErrorText(reader.error()));
        if (got == 0)
            break;
        if (!parser.Feed(std::string_view(buffer, static_cast<std::size_t>(got))))
            return parser.Take();
    }
    return parser.Finish();
}

std::string NextSetFileName(const std::string& appDir) {
    return NextNumberedFileName(appDir + "/ZESTAWY LICZB", "ZESTAW");
}

} // namespace zg
