// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ReportWriter.h"

#include "base/NumberFormat.h"
#include "base/ProgramFiles.h"
#include "base/SafeFile.h"

#include <filesystem>
#include <system_error>

namespace zg {

std::string Utf8ToCp1250(std::string_view utf8) {
    ReportBuffer out(utf8.size());
    out.Text(utf8);
    return out.Take();
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

std::optional<std::string> WriteReportFile(const std::string& path, std::string_view bytes,
                                           const std::string& programFolder) {
    if (auto refusal = RefuseProgramFileTarget(path, programFolder))
        return refusal;
    return WriteFileAtomically(path, bytes);
}

std::optional<std::string> WriteReportFileInPieces(const std::string& path, const ReportPieces& pieces,
                                                   const std::string& programFolder) {
    if (auto refusal = RefuseProgramFileTarget(path, programFolder))
        return refusal;
    AtomicFileWriter out(path);
    if (out.ok() && pieces([&out](std::string_view piece) { return out.Write(piece); }) && out.Commit())
        return std::nullopt;
    return out.error();
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
