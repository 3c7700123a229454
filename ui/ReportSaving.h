// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report-file service of the windows: the proposed file name, the shared save dialog and the
// confirmation. Every window that writes a report goes through these.
#include "base/ReportWriter.h"

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace zg {

// Asks where to save a report or an export: proposes the first free STEM.NNNN.txt of AppDir/TXT
// (ReportFileStem for every report the program writes), starts there, filters text files, adds
// ".txt" to a name typed without extension and asks before replacing an existing file. Returns the
// chosen path, or an empty string when the user cancelled.
QString AskReportFileName(QWidget* parent, const std::string& stem);

// Writes the report as a whole (WriteReportFile: the old file stays until the new one is complete),
// never over one of the program's own files in AppDir. On failure shows the description of the
// error and returns false.
bool WriteReport(QWidget* parent, const QString& path, std::string_view bytes);

// The same for a report made in pieces (WriteReportFileInPieces).
bool WriteReport(QWidget* parent, const QString& path, const ReportPieces& pieces);

// The confirmation of a saved report, naming the file.
void ShowReportSaved(QWidget* parent, const QString& path);

} // namespace zg
