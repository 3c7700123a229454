// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common report header and footer as the Windows-1250 bytes every report starts and ends with,
// spelled out byte by byte so that the tests do not depend on the converter they check.
#include <string>

namespace zg::test {

inline const std::string ReportHeaderBytes =
    " UWAGA: Aby wyniki prezentowa\xB3y si\xEA \"r\xF3wno\" na ekranie monitora, nale\xBFy koniecznie zmieni\xE6 "
    "czcionk\xEA na \"Courier New\"!!\r\n"
    " W tym celu przejd\x9F do zak\xB3"
    "adki \"Format -> Czcionka...\" Twojego edytora tekstu. \r\n"
    "\r\n"
    " --------------- ZENTAGRAFO v. 1.5 ML ---------------\r\n"
    "\r\n";

inline const std::string ReportFooterBytes = " --------------- ZENTAGRAFO v. 1.5 ML ---------------\r\n";

} // namespace zg::test
