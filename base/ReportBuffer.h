// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of a report (or of any text file the program writes), formatted straight into one
// buffer that is reserved once: numbers are written with std::to_chars into the buffer itself, so
// nothing is allocated per value or per line. Text that may hold letters beyond ASCII is converted
// to Windows-1250 a line (or a piece of a line) at a time, through one converter per buffer; the
// digits, signs, blanks, tabs and line ends of the rows are the same bytes in both encodings and
// are written as they are. Standard C++, with glibc's iconv for the conversion; a large buffer
// asks for huge pages (base/LargeArrays.h).
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace zg {

class ReportBuffer {
public:
    ReportBuffer() = default;
    explicit ReportBuffer(std::size_t reserve) { Reserve(reserve); }
    ~ReportBuffer();
    ReportBuffer(const ReportBuffer&) = delete;
    ReportBuffer& operator=(const ReportBuffer&) = delete;
    ReportBuffer(ReportBuffer&& other) noexcept
        : bytes_(std::move(other.bytes_)), converter_(std::exchange(other.converter_, nullptr)) {}
    ReportBuffer& operator=(ReportBuffer&& other) noexcept {
        std::swap(bytes_, other.bytes_);
        std::swap(converter_, other.converter_);
        return *this;
    }

    // Room for `size` bytes in all, so that writing up to that size never reallocates. Room of
    // several megabytes is asked to be backed by huge pages where the system offers them: a 10 MB
    // report then costs a few page faults instead of some 2,500.
    void Reserve(std::size_t size);

    // Bytes written as they are: in a report's text only those that are the same in UTF-8 and
    // Windows-1250 (ASCII), or bytes already converted.
    ReportBuffer& Raw(std::string_view bytes) {
        bytes_.append(bytes);
        return *this;
    }
    ReportBuffer& Char(char c) {
        bytes_.push_back(c);
        return *this;
    }
    ReportBuffer& Repeat(std::size_t count, char c) {
        bytes_.append(count, c);
        return *this;
    }
    // The decimal text of `value`, a minus sign before a negative one (as std::to_string).
    ReportBuffer& Number(std::int64_t value) {
        // Most values are numbers 1..80, days and months: one or two digits, written directly.
        if (value >= 0 && value < 100) {
            if (value >= 10)
                bytes_.push_back(static_cast<char>('0' + value / 10));
            bytes_.push_back(static_cast<char>('0' + value % 10));
            return *this;
        }
        char text[24];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        bytes_.append(text, static_cast<std::size_t>(end - text));
        return *this;
    }
    // The digits of `value`'s magnitude with leading zeros up to `atLeast` digits, a minus sign
    // before them for a negative value, as FormatMask(value, "00...0") writes it: Digits(7, 2)
    // writes "07", Digits(123, 2) "123", Digits(-5, 3) "-005" (the sign is not one of the digits).
    ReportBuffer& Digits(std::int64_t value, int atLeast);
    // FormatMask(value, mask), without making its text first.
    ReportBuffer& Mask(std::int64_t value, std::string_view mask);
    // UTF-8 text as Windows-1250 bytes (Utf8ToCp1250); ASCII is written without conversion.
    ReportBuffer& Text(std::string_view utf8);
    ReportBuffer& LineEnd() {
        bytes_.append("\r\n", 2);
        return *this;
    }
    // One line given in UTF-8 (without its line end); the CR LF is added.
    void Line(std::string_view utf8 = {}) {
        Text(utf8);
        LineEnd();
    }

    // `size` bytes at the end of the buffer for the caller to fill in (they hold zeros until then).
    char* Extend(std::size_t size) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + size);
        return bytes_.data() + at;
    }

    std::size_t Size() const { return bytes_.size(); }
    // Empties the buffer and keeps its room, for a report written out a piece at a time.
    void Clear() { bytes_.clear(); }
    const std::string& Bytes() const { return bytes_; }
    // The bytes, leaving the buffer empty.
    std::string Take() {
        std::string bytes;
        bytes.swap(bytes_);
        return bytes;
    }

private:
    std::string bytes_;
    void* converter_ = nullptr; // the iconv descriptor of Text, opened at its first non-ASCII text
};

} // namespace zg
