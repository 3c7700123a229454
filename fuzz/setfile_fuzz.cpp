// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a set file: reading must never crash, and a file it accepts holds only members
// 1..80 that write back to a file it reads as the same set.
#include "sets/SetFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zg::SetFileContent content = zg::ParseSetFile(bytes, "fuzz.txt");
    if (!content.ok())
        return 0;
    const std::string written = zg::SetFileBytes(content.members);
    const zg::SetFileContent again = zg::ParseSetFile(written, "fuzz.txt");
    if (!again.ok() || again.members != content.members)
        std::abort();
    return 0;
}
