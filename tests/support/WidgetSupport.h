// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers of the window tests: a program folder in a temporary folder, a draw table filled in
// place, and clicks and typing on controls found by their object names.
#include "base/State.h"
#include "support/DrawTables.h"
#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <initializer_list>
#include <vector>

namespace zg::test {

// A program folder with TXT/ and ZESTAWY LICZB/, made AppDir for the test's lifetime; the
// dialog seam answers instead of a person, and the process-wide state starts empty
// (ResetProgramState).
class ProgramFolder {
public:
    ProgramFolder() {
        QDir(dir_.path()).mkpath(QStringLiteral("TXT"));
        QDir(dir_.path()).mkpath(QStringLiteral("ZESTAWY LICZB"));
        ResetProgramState();
        AppDir = dir_.path().toStdString();
        Dialogs::SetTestMode(true);
        Dialogs::ClearHistory();
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

private:
    QTemporaryDir dir_;
};

// Fills draws 1..count of the process-wide table: two draws a day from 1 January 2008, numbers
// from 61 up (so that sets of small numbers hit nothing unless a test says otherwise).
inline void FillDraws(std::int32_t count) {
    std::int32_t day = 1, month = 1, year = 2008;
    for (std::int32_t k = 1; k <= count; ++k) {
        DrawRecord& d = DrawTable[k];
        d.Number = k;
        d.Day = day;
        d.Month = month;
        d.Year = year;
        for (int i = 0; i < 20; ++i)
            d.Numbers[i] = 61 + i;
        if (k % 2 == 0) {
            static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const int length = days[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
            if (++day > length) {
                day = 1;
                if (++month > 12) {
                    month = 1;
                    ++year;
                }
            }
        }
    }
    DrawCount = count;
    DrawTableChanged();
}

// Makes draw k hit exactly the given numbers of a set (its first numbers are replaced).
inline void SetDrawNumbers(std::int32_t k, std::initializer_list<std::int32_t> numbers) {
    int i = 0;
    for (std::int32_t n : numbers)
        DrawTable[k].Numbers[i++] = n;
    DrawTableChanged();
}

template <class T = QWidget> T* Find(QWidget* top, const char* name) {
    T* w = top->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr)
        qFatal("no control named %s", name);
    return w;
}

inline void Click(QWidget* top, const char* name) {
    QTest::mouseClick(Find<QWidget>(top, name), Qt::LeftButton);
}

// Clicks into an edit box (which empties it) and types the text.
inline void Type(QWidget* top, const char* name, const QString& text) {
    auto* e = Find<QLineEdit>(top, name);
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClicks(e, text);
}

inline void Enter(QWidget* top, const char* name) {
    QTest::keyClick(Find<QWidget>(top, name), Qt::Key_Return);
}

inline QString Text(QWidget* top, const char* name) {
    QWidget* w = Find<QWidget>(top, name);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    return w->property("text").toString();
}

inline bool Enabled(QWidget* top, const char* name) {
    return Find<QWidget>(top, name)->isEnabled();
}

} // namespace zg::test
