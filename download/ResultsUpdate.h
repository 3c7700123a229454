// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two results requests of the draw management window and what is done with their answers:
// the addresses, the messages, and the reading and checking of the latest-draw answer. Pure
// standard C++, shared by the window and the command-line tool.
#include "base/DateRoutines.h"
#include "base/DrawTypes.h"
#include "download/HttpTransfer.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// Target files in the program folder. The latest-draw download names "ml", but its answer stays
// in the memory of the download that fetched it (TransferSettings::bodyInMemory), so downloads
// running at the same time never read or delete each other's answer.
inline constexpr std::string_view LatestDrawFileName = "ml";

// What a results download fetches: the complete results file, stored for the merge at the next
// start, or the latest draw only, appended at once when it is the next one.
enum class ResultsRequest { AllResults, LatestDraw };

// The results server's host (a build setting) and port.
std::string_view ResultsHost();
inline constexpr int ResultsPort = 80;

// "http://" + host + "/kolumbarix_wyniki.php?v=1001&gra=zentag_ml&start=0" (all draws) or
// "...&start=-1" (the latest draw only).
std::string ResultsUrl(bool latestOnly, std::string_view host = ResultsHost());

// The overall deadline of a request: LatestDrawDeadline or AllResultsDeadline.
std::chrono::milliseconds ResultsDeadline(bool latestOnly);

inline constexpr std::string_view ConnectingText = "Trwa łączenie...";
inline constexpr std::string_view UpdateFailedCaption = "Aktualizacja zakończona niepowodzeniem...";
inline constexpr std::string_view UpdateSucceededCaption = "Aktualizacja zakończona sukcesem...";
inline constexpr std::string_view InterruptedText = "Operacja została przerwana !!!";
// A download when libcurl cannot be opened; every other part of the program still works.
inline constexpr std::string_view NoDownloadLibraryText =
    "Nie można pobierać wyników: brak biblioteki libcurl.so.4 (pakiet libcurl4). Zainstaluj ją i spróbuj "
    "ponownie. Pozostałe funkcje programu działają bez niej.";
// The complete file's answer is no results file (a page, random or packed bytes, a part of the
// file, a few bytes): the check of the start-up merge refused it, and nothing was stored.
inline constexpr std::string_view NotResultsFileText =
    "Serwer nie przysłał pliku wyników. Baza wyników pozostała bez zmian.";
// The answer is no valid HTTP answer (TransferFault::BadAnswer).
inline constexpr std::string_view BadAnswerText =
    "Serwer przysłał nieprawidłową odpowiedź. Baza wyników pozostała bez zmian.";
// The message of a failed download by its fault: NoDownloadLibraryText, BadAnswerText,
// NotResultsFileText, else InterruptedText.
std::string_view FailedDownloadText(TransferFault fault);
inline constexpr std::string_view NoConnectionText =
    "Błąd podczas ściągania pliku !!! Prawdopodobnie nie masz połączenia z internetem.";
inline constexpr std::string_view FullDownloadDoneText =
    "Aktualizacja wyników przebiegła prawidłowo. Aby zmiany odniosły skutek należy ponownie uruchomić program !!!";
inline constexpr std::string_view MalformedAnswerText =
    "Odpowiedź serwera nie zawiera poprawnego losowania. Baza wyników pozostała bez zmian.";
// The refusal of a latest draw that is not the next one.
std::string NotNextDrawText(std::int32_t serverNumber);

// "0.00 / 0.00 kB": received and announced bytes in kB with two decimals and the given separator.
std::string ProgressSizeText(std::int32_t totalSize, std::int32_t bytesRead, char decimalSeparator);

// The latest-draw answer: the draw number, three date integers, then the 20 numbers; anything
// after them is ignored. The integers are separated by runs of bytes 0..32.
struct LatestDraw {
    std::int32_t number = 0;
    std::int32_t date[3] = {}; // as sent: day, month, year, or year, month, day
    std::int32_t numbers[20] = {};
};

// Nothing when the answer does not start with 24 whole numbers (an optional minus sign and
// digits, within 32 bits) or one of the 20 numbers lies outside 1..80.
std::optional<LatestDraw> ParseLatestDraw(std::string_view answer);

// The draw's date as the server sent it: day, month, year, or year, month, day when the first
// integer is above 31. Nothing unless that is a real date from 1900 on (IsEnteredDate).
std::optional<CalendarDate> ServerDrawDate(const LatestDraw& draw);

} // namespace zg
