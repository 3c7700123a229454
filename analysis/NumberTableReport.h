// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number table's texts: the cells' texts as the window shows them, the window's sentences and
// the report, so that the window and the command line give the same texts and bytes. Pure standard
// C++; the table itself is computed by analysis/NumberTable.h.
#include "analysis/NumberTable.h"

#include <cstdint>
#include <string>

namespace zg {

enum NumberColumn {
    NumberColumnNumber,
    NumberColumnCount,
    NumberColumnShare,
    NumberColumnLastDraw,
    NumberColumnLastDate,
    NumberColumnCurrentGap,
    NumberColumnMeanGap,
    NumberColumnLongestGap,
    NumberColumnChance,
    NumberColumnCountLast,
    NumberColumnStatus,
    NumberColumnTotal
};

// The column's caption; "W ostatnich N" with N written out.
std::string NumberColumnCaption(int column, std::int32_t last);

// Appends the text of one cell as the window shows it (`draws`: n of the row's table): numbers with
// two digits, percentages and means with two decimals, the chance as ChancePercentText, empty
// where there is no value.
void AppendNumberCell(std::string& out, const NumberRow& row, std::int32_t draws, int column, char separator);

// A probability as a percentage in fixed notation with two significant digits, rounded half
// away from zero, and "%": 1 gives "100%", 0.75 "75%", 0.056 "5,6%", 1.8e-4 "0,018%"; below
// 0.0001% "< 0,0001%".
void AppendChancePercent(std::string& out, double probability, char separator);
std::string ChancePercentText(double probability, char separator);

// "Liczby w losowaniach A – B (n losowań, DD.MM.YYYY – DD.MM.YYYY)".
std::string NumberTableHeading(const NumberTable& table);

// "Najdłuższa zaległość: G losowań (liczby: 17, 42). Że któraś z 80 liczb nie padła od co
// najmniej G losowań, sam przypadek daje w P% przypadków."
std::string LongestGapSentence(const NumberTable& table, char separator);

// "W ostatnich N losowaniach poza przedziałem 95% (low–high): K liczb; sam przypadek daje średnio X,X."
std::string OutsideBandSentence(const NumberTable& table, char separator);

// The report as the bytes of the file (Windows-1250, CR LF): the common header, the range, N, the
// captions and the 80 rows with every cell followed by ";", the two sentences, the common footer.
std::string NumbersReportBytes(const NumberTable& table, char separator);

} // namespace zg
