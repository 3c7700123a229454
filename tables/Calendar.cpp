// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/Calendar.h"

#include "analysis/AnalysisReport.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

#include <algorithm>

namespace zg {

namespace {

// Month names of the report, 12 characters each, right-aligned.
constexpr std::string_view MonthNames[12] = {
    "    Styczeń ", "       Luty ", "     Marzec ", "   Kwiecień ", "        Maj ", "   Czerwiec ",
    "     Lipiec ", "   Sierpień ", "   Wrzesień ", "Październik ", "   Listopad ", "   Grudzień ",
};

constexpr std::string_view MonthHeadings[12] = {
    "  I", "  II", "  III", "  IV", "  V", "  VI", "  VII", " VIII", "  IX", "  X", "  XI", "  XII",
};

} // namespace

CalendarCells FillCalendar(const CalendarQuery& query) {
    const DrawsView& draws = query.draws;
    const NumberSetData& set = query.set;
    CalendarCells cells;
    for (auto& month : cells)
        month.fill(std::string(NoDrawCell));

    // Whether the draw a cell shows has its hits within the bounds: a later draw of the same
    // date replaces it unless the shown draw qualifies and the later one does not.
    std::array<std::array<bool, 31>, 12> showsQualifying{};

    const std::int32_t available = draws.table != nullptr ? std::max<std::int32_t>(draws.count, 0) : 0;
    const std::int32_t from = std::max<std::int32_t>(query.rangeFrom, 1);
    const std::int32_t to = std::min(query.rangeTo, available);
    for (std::int32_t i = from; i <= to; ++i) {
        const DrawRecord& draw = draws[i];
        if (draw.Year != query.year)
            continue;
        // A date the grid has no cell for is no index, and a date that does not exist (31 April)
        // keeps its cell empty of draws: such a draw is left out.
        if (!IsProgramDate(draw.Day, draw.Month, draw.Year))
            continue;
        std::int32_t hits = 0;
        for (std::int32_t n : draw.Numbers)
            if (IsLotteryNumber(n) && set.Member[n])
                ++hits;

        const auto month = static_cast<std::size_t>(draw.Month - 1);
        const auto day = static_cast<std::size_t>(draw.Day - 1);
        const bool qualifies = hits >= query.hitsFrom && hits <= query.hitsTo;
        if (showsQualifying[month][day] && !qualifies)
            continue;
        showsQualifying[month][day] = qualifies;
        std::string& cell = cells[month][day];
        if (query.showAll)
            cell = " " + std::to_string(hits);
        else if (qualifies)
            cell = QualifyingCell;
        else
            cell.clear();
    }
    return cells;
}

std::string MapCaption(const NumberSetData& set) {
    const std::int32_t count = std::clamp<std::int32_t>(set.Count, 0, 80);
    std::string numbers;
    for (std::int32_t i = 1; i <= count; ++i) {
        if (i > 1)
            numbers += ',';
        numbers += ZeroPad(set.Numbers[i], 2);
    }
    return " Mapa rozkładu zestawu liczb : " + numbers + " - w zadanym przedziale losowań";
}

std::string CalendarLegend(bool showAll, std::int32_t setSize, std::string_view hitsFromText,
                           std::string_view hitsToText) {
    if (showAll)
        return "(0.." + std::to_string(setSize) + ") - Ilość wylosowanych liczb";
    return "X - Dni w których wylosowano od " + std::string(hitsFromText) + " do " + std::string(hitsToText) + " liczb";
}

std::string CalendarMonthHeading(std::int32_t month) {
    if (month < 1 || month > 12)
        return {};
    return std::string(MonthHeadings[month - 1]);
}

std::string CalendarDayHeading(std::int32_t day) {
    if (day < 1 || day > 31)
        return {};
    return ZeroPad(day, 2);
}

char CalendarReportChar(std::string_view cell) {
    if (cell == QualifyingCell)
        return 'X';
    if (cell == NoDrawCell)
        return ' ';
    if (cell.empty())
        return '-';
    // " " + a hit count
    std::string_view digits = cell.substr(1);
    if (digits.size() == 1)
        return digits[0];
    return '!';
}

std::string CalendarReportBytes(const CalendarReportInput& input) {
    ReportText r(2048);
    AddRangeHeading(r, input.rangeFrom, input.rangeFromDate, input.rangeTo, input.rangeToDate);
    r.Line(input.caption + " w roku " + std::to_string(input.year) + ":");
    r.Line();
    r.Line("               1-10      11-20       21-31");
    r.Line("            1234567890 1234567890 12345678901");
    r.Line();
    // Each month's line goes straight into the report: its name, then one character per day with
    // a blank after the 10th and the 20th.
    for (std::size_t m = 0; m < 12; ++m) {
        char days[33];
        std::size_t n = 0;
        for (std::size_t d = 0; d < 31; ++d) {
            if (d == 10 || d == 20)
                days[n++] = ' ';
            days[n++] = input.cells != nullptr ? CalendarReportChar((*input.cells)[m][d]) : ' ';
        }
        r.Text(MonthNames[m]).Text(std::string_view(days, n)).LineEnd();
    }
    r.Line();
    if (!input.showAll) {
        r.Line("       " + CalendarLegend(false, input.setSize, input.hitsFromText, input.hitsToText));
    } else if (input.setSize > 9) {
        r.Line("     (0..9) - Ilość wylosowanych liczb z zestawu liczb");
        r.Line("       ! - Dni w których wylosowano minimum 10 liczb z zestawu liczb");
    } else {
        r.Line("       (0.." + std::to_string(input.setSize) + ") - Ilość wylosowanych liczb z zestawu liczb");
    }
    r.Line();
    r.Footer();
    return r.Take();
}

} // namespace zg
