// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Set files: a number set saved as text. Written as one blank plus the decimal number for every
// member in ascending order (" 3 17 80", no line end). Read back in a looser form: integers
// separated by runs of any bytes 0x00..0x20, in any order, repeats allowed. Pure standard C++.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// Membership flags of the numbers 1..80; entry 0 is unused.
using SetMembers = std::array<bool, 81>;

// The exact content of a set file for the given members.
std::string SetFileBytes(const SetMembers& members);

// Replaces the file with SetFileBytes(members) as a whole, like a report (WriteReportFile): the
// old file stays until the new one is complete, and a target that is not a regular file is
// refused, and so is one of the program's own files (ProgramFileAt). On failure returns the
// description of the error; on success nothing.
std::optional<std::string> WriteSetFile(const std::string& path, const SetMembers& members,
                                        const std::string& programFolder);

struct SetFileContent {
    enum class Status {
        Ok,         // members holds the numbers of the file
        Refused,    // the file holds something other than numbers 1..80; error names it
        Unreadable, // the file could not be opened or read; error is the system's description
    };
    Status status = Status::Ok;
    SetMembers members{};
    std::string error;

    bool ok() const { return status == Status::Ok; }
};

// Checks the whole content before anything is taken from it: a single token that is not a whole
// number 1..80 refuses the file as a whole, so a caller never applies half a file. `path` only
// names the file in the message.
SetFileContent ParseSetFile(std::string_view bytes, const std::string& path);

// Reads and checks the file at `path` (see ParseSetFile). Anything but a regular file (a folder,
// a FIFO, a device) is Unreadable without a byte being read, and so is a file holding more than
// SmallFileReadCap bytes (EFBIG).
SetFileContent ReadSetFile(const std::string& path);

// Name proposed when saving: the first free "ZESTAW.NNNN.txt" in appDir + "/ZESTAWY LICZB".
std::string NextSetFileName(const std::string& appDir);

} // namespace zg
