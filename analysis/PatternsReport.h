// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the draw patterns as the window " Wzorce losowań" shows them, and its report
// (WZORCE.NNNN.txt), so that the window and the command line give the same texts and bytes. Pure
// standard C++; the patterns themselves are computed by analysis/DrawPatterns.h.
#include "analysis/DrawPatterns.h"

#include <cstdint>
#include <string>

namespace zg {

// The caption of a pattern's tab and report section: "Suma liczb", "Nieparzyste", "Niskie (1–40)",
// "Sąsiednie liczby", "Powtórzone z poprzedniego".
const char* PatternCaption(PatternKind kind);
inline constexpr char DecadesCaption[] = "Dziesiątki";

// The columns of a pattern's rows (the decades have "z" too): "od", "do", "obserwowane",
// "oczekiwane", "z".
enum PatternColumn { PatternColumnFrom, PatternColumnTo, PatternColumnObserved, PatternColumnExpected, PatternColumnZ };
const char* PatternColumnCaption(int column);

// A row's cell as shown: the counts in full, the expected count and z with two decimals (z empty
// when there is none).
std::string PatternCell(const PatternRow& row, int column, char separator);
std::string DecadeCell(const DecadeRow& row, int column, char separator);

// "Wzorce w losowaniach A – B (n losowań, DD.MM.YYYY – DD.MM.YYYY)", with "; pominięte losowania z
// powtórzoną liczbą lub liczbą spoza 1–80: K" after the dates when draws were skipped.
std::string PatternsHeading(const DrawPatterns& patterns);

// "Średnio: x,xx (sam przypadek: y,yy); odchylenie: s,ss (sam przypadek: t,tt)"; "brak" for a
// figure of no draws.
std::string PatternFiguresLine(const PatternResult& pattern, char separator);

// The report as the bytes of the file (Windows-1250, CR LF): the common header, the range, each
// pattern with its title, captions, rows, figures and test sentence, the decades the same way with
// z, the common footer.
std::string PatternsReportBytes(const DrawPatterns& patterns, char separator);

} // namespace zg
