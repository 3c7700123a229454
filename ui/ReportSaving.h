#pragma once
// The report-file service of the windows: the proposed file name, the shared save dialog and the
// confirmation. Every window that writes a report goes through these.
#include <QString>

#include <string_view>

class QWidget;

namespace zg {

// The save dialog of every report: proposes the first free ZENTAG.NNNN.txt of AppDir/TXT,
// starts there, filters text files, adds ".txt" to a name typed without extension and asks before
// replacing an existing file. Returns the chosen path, or an empty string when the user cancelled.
QString RunSaveDialog1(QWidget* parent);

// Writes the report as a whole (WriteReportFile: the old file stays until the new one is complete).
// On failure shows the system's description of the error and returns false.
bool WriteReport(QWidget* parent, const QString& path, std::string_view bytes);

// The confirmation of a saved report, naming the file.
void ShowReportSaved(QWidget* parent, const QString& path);

} // namespace zg
