// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running a zentagrafo-cli command inside a test: its exit status with what it printed, and the
// small program folder the search commands (analysis, calendar, ZENTAG) are tried on. Tests reach
// every command the same way, through RunCli with the command's name first.
#include "app/cli/Commands.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace zg::test {

struct CliRun {
    int status;
    std::string out; // standard output
    std::string err; // standard error
};

// Runs one command as zentagrafo-cli does, {"info", DIR} for `zentagrafo-cli info DIR`, with
// standard output and standard error captured.
inline CliRun RunCaptured(const cli::Args& args, const cli::RunSettings& settings = {}) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = cli::RunCli(args, settings);
    std::string out = testing::internal::GetCapturedStdout();
    return CliRun{status, out, testing::internal::GetCapturedStderr()};
}

// The arguments of `update DIR --latest` (or `--all`) against a results server on 127.0.0.1.
inline cli::Args UpdateArgs(const std::string& dir, bool latest, int port) {
    return {"update", dir, latest ? "--latest" : "--all", "--host", "127.0.0.1", "--port", std::to_string(port)};
}

// A year-first database of draws 1..12 dated 1..12 March 2008 holding 41..60, except that draws 3,
// 4 and 9 hold 3 (first) and 7 (eleventh) and draw 10 holds 15 instead of 60.
inline std::string MarchDatabaseBytes() {
    std::string bytes;
    for (int q = 1; q <= 12; ++q) {
        int numbers[20];
        for (int j = 0; j < 20; ++j)
            numbers[j] = 41 + j;
        if (q == 3 || q == 4 || q == 9) {
            numbers[0] = 3;
            numbers[10] = 7;
        }
        if (q == 10)
            numbers[19] = 15;
        bytes += std::to_string(q) + " 2008 3 " + std::to_string(q);
        for (int n : numbers)
            bytes += " " + std::to_string(n);
        bytes += "\r\n";
    }
    return bytes;
}

// A temporary program folder whose zentag.wyn holds MarchDatabaseBytes().
class MarchFolder : public TempDir {
public:
    MarchFolder() { WriteBytes(file("zentag.wyn"), MarchDatabaseBytes()); }
};

} // namespace zg::test
