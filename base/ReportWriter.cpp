#include "base/ReportWriter.h"

#include "base/NumberFormat.h"
#include "base/SafeFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <iconv.h>

namespace zg {

namespace {

// Length of the well-formed UTF-8 sequence starting at s[i], or 0 when the bytes there are not
// one (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short).
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    std::size_t length;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            lo = 0xA0;
        if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            lo = 0x90;
        if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    if (byte(i + 1) < lo || byte(i + 1) > hi)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

// Without a converter only ASCII can be written faithfully; everything else becomes '?'.
std::string AsciiOnly(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8SequenceLength(utf8, i);
        out += length == 1 ? utf8[i] : '?';
        i += length == 0 ? 1 : length;
    }
    return out;
}

} // namespace

std::string Utf8ToCp1250(std::string_view utf8) {
    // One converter per call: reports are small, and nothing is shared between threads.
    iconv_t cd = iconv_open("WINDOWS-1250", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return AsciiOnly(utf8);

    std::string out;
    out.reserve(utf8.size());
    char buffer[256];
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char* in = const_cast<char*>(utf8.data() + pos);
        std::size_t inLeft = utf8.size() - pos;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        pos = utf8.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1) || error == E2BIG)
            continue;
        // EILSEQ (a character Windows-1250 lacks, or bytes that are not UTF-8) or EINVAL (a
        // sequence cut short at the end): one '?' for the character, or for one bad byte.
        const std::size_t length = Utf8SequenceLength(utf8, pos);
        out += '?';
        pos += length == 0 ? 1 : length;
        iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    }
    iconv_close(cd);
    return out;
}

void ReportText::Line(std::string_view utf8) {
    bytes_ += Utf8ToCp1250(utf8);
    bytes_ += "\r\n";
}

void ReportText::Header() {
    Line(" UWAGA: Aby wyniki prezentowały się \"równo\" na ekranie monitora, należy koniecznie zmienić czcionkę na "
         "\"Courier New\"!!");
    Line(" W tym celu przejdź do zakładki \"Format -> Czcionka...\" Twojego edytora tekstu. ");
    Line();
    Line(ReportBanner);
    Line();
}

void ReportText::Footer() {
    Line(ReportBanner);
}

std::optional<std::string> WriteReportFile(const std::string& path, std::string_view bytes) {
    return WriteFileAtomically(path, bytes);
}

std::string NextNumberedFileName(const std::string& folder, const std::string& stem, const std::string& extension) {
    for (int i = 1; i < 10000; ++i) {
        std::string name = stem + "." + ZeroPad(i, 4) + "." + extension;
        std::error_code ec;
        // Any entry of that name counts as taken, even a dangling link, which a write would follow.
        const auto status = std::filesystem::symlink_status(std::filesystem::path(folder) / name, ec);
        if (!std::filesystem::exists(status))
            return name;
    }
    return stem + ".10000." + extension;
}

std::string NextReportFileName(const std::string& appDir, const std::string& stem) {
    return NextNumberedFileName(appDir + "/TXT", stem);
}

} // namespace zg
