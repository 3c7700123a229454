// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text reports: Windows-1250 bytes, CR LF line ends, the common header and footer. Every report
// of the program (analysis, ZENTAG, calendar, database export) is built with ReportText, in one
// buffer, and written with WriteReportFile.
#include "base/ReportBuffer.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// UTF-8 text to Windows-1250 bytes (glibc iconv). A character Windows-1250 lacks becomes '?',
// and so does each byte that is not part of well-formed UTF-8.
std::string Utf8ToCp1250(std::string_view utf8);

// A report being built: lines are given in UTF-8 and stored as Windows-1250 bytes with CR LF
// (ReportBuffer::Line); rows are formatted straight into the same buffer.
class ReportText : public ReportBuffer {
public:
    using ReportBuffer::ReportBuffer;

    // The five lines every report starts with: two lines about the font, an empty line, the
    // banner, an empty line.
    void Header();
    // The banner line that closes every report.
    void Footer();
};

// The banner of the header and of the footer (UTF-8 and Windows-1250 are the same here).
inline constexpr std::string_view ReportBanner = " --------------- ZENTAGRAFO v. 1.5 ML ---------------";

// Replaces the file with the bytes as a whole (WriteFileAtomically): a temporary file in the same
// folder, flushed and renamed over it. A target that exists but is not a regular file, or is not
// writable, is refused, and so is one of the own files of the program folder `programFolder`
// (ProgramFileAt: the database, its lock, a backup, ...) with ProtectedTargetText. On failure
// returns the description of the error, and the old file is unchanged with no partial new file
// left; on success nothing.
std::optional<std::string> WriteReportFile(const std::string& path, std::string_view bytes,
                                           const std::string& programFolder);

// Takes consecutive pieces of a report's bytes as they are made; false stops the report (the
// piece could not be written).
using ReportPieceSink = std::function<bool(std::string_view piece)>;
// Makes a report's bytes a piece at a time, handing each to the sink; false when the sink refused.
using ReportPieces = std::function<bool(const ReportPieceSink& sink)>;

// WriteReportFile for a report made in pieces: each piece goes into the temporary file as it is
// made, so a report of many megabytes never stands whole in memory. The same guarantees: on
// failure the old file is unchanged and no partial new file is left.
std::optional<std::string> WriteReportFileInPieces(const std::string& path, const ReportPieces& pieces,
                                                   const std::string& programFolder);

// First free "STEM.NNNN.EXT" (at least four digits; EXT "txt" unless given) in `folder`, counting
// from 1; when every number up to 9999 is taken, "STEM.10000.EXT" without looking. Only the name is
// returned. Any directory entry of the name counts as taken (a folder, a dangling link).
std::string NextNumberedFileName(const std::string& folder, const std::string& stem,
                                 const std::string& extension = "txt");

// The stem of the file names the windows propose for their reports and exports.
inline constexpr char ReportFileStem[] = "ZENTAG";

// The report proposal: NextNumberedFileName(appDir + "/TXT", stem).
std::string NextReportFileName(const std::string& appDir, const std::string& stem = ReportFileStem);

} // namespace zg
