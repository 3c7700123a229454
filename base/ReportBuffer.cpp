// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ReportBuffer.h"

#include "base/LargeArrays.h"

#include <cerrno>
#include <cstdint>

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
void AppendAsciiOnly(std::string& out, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8SequenceLength(utf8, i);
        out += length == 1 ? utf8[i] : '?';
        i += length == 0 ? 1 : length;
    }
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

const auto NoConverter = reinterpret_cast<iconv_t>(-1);

void AppendConverted(std::string& out, std::string_view utf8, iconv_t cd) {
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
}

} // namespace

ReportBuffer::~ReportBuffer() {
    if (converter_ != nullptr && static_cast<iconv_t>(converter_) != NoConverter)
        iconv_close(static_cast<iconv_t>(converter_));
}

void ReportBuffer::Reserve(std::size_t size) {
    const bool fresh = bytes_.capacity() < size;
    bytes_.reserve(size);
    if (fresh) // new room that nothing has touched yet
        AdviseHugePages(bytes_.data(), bytes_.capacity());
}

ReportBuffer& ReportBuffer::Digits(std::int64_t value, int atLeast) {
    // Through unsigned so that the most negative value has a magnitude too.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char text[24];
    const auto length = static_cast<std::size_t>(std::to_chars(text, text + sizeof text, magnitude).ptr - text);
    if (value < 0)
        bytes_.push_back('-');
    if (atLeast > 0 && length < static_cast<std::size_t>(atLeast))
        bytes_.append(static_cast<std::size_t>(atLeast) - length, '0');
    bytes_.append(text, length);
    return *this;
}

ReportBuffer& ReportBuffer::Mask(std::int64_t value, std::string_view mask) {
    const std::size_t first = mask.find('0');
    if (first == std::string_view::npos) // no digit positions: the number follows the literal text
        return Raw(mask).Number(value);
    // Each "0" from the first to the last one is a digit position; anything else between them is
    // not written.
    const std::size_t last = mask.find_last_of('0');
    int zeros = 0;
    for (std::size_t i = first; i <= last; ++i)
        zeros += mask[i] == '0';
    return Raw(mask.substr(0, first)).Digits(value, zeros).Raw(mask.substr(last + 1));
}

ReportBuffer& ReportBuffer::Text(std::string_view utf8) {
    if (IsAscii(utf8))
        return Raw(utf8); // the same bytes in Windows-1250
    if (converter_ == nullptr)
        converter_ = iconv_open("WINDOWS-1250", "UTF-8");
    const auto cd = static_cast<iconv_t>(converter_);
    if (cd == NoConverter)
        AppendAsciiOnly(bytes_, utf8);
    else
        AppendConverted(bytes_, utf8, cd);
    return *this;
}

} // namespace zg
