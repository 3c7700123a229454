// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ReportSaving.h"

#include "base/ReportWriter.h"
#include "base/State.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"

namespace zg {

QString AskReportFileName(QWidget* parent, const std::string& stem) {
    return Dialogs::SaveFileName(parent, PathText(AppDir + "/TXT"),
                                 QString::fromStdString(NextReportFileName(AppDir, stem)),
                                 QStringLiteral("Pliki tekstowe (*.txt)"), QStringLiteral("txt"));
}

bool WriteReport(QWidget* parent, const QString& path, std::string_view bytes) {
    if (auto error = WriteReportFile(PathBytes(path), bytes, AppDir)) {
        Dialogs::SystemError(parent, QString::fromStdString(*error));
        return false;
    }
    return true;
}

bool WriteReport(QWidget* parent, const QString& path, const ReportPieces& pieces) {
    if (auto error = WriteReportFileInPieces(PathBytes(path), pieces, AppDir)) {
        Dialogs::SystemError(parent, QString::fromStdString(*error));
        return false;
    }
    return true;
}

void ShowReportSaved(QWidget* parent, const QString& path) {
    Dialogs::Message(parent, QStringLiteral(" Zapis do pliku zakończony pomyślnie"),
                     QStringLiteral("Wyniki analizy zostały umieszczone w pliku \"") + path + QStringLiteral("\""),
                     Dialogs::Icon::Information);
}

} // namespace zg
