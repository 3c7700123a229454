// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's application object: QApplication, except that running out of memory in any event
// handler ends the program with a message instead of std::terminate. An exception must not cross
// Qt's event loop, so it is caught where every event enters the handlers, in notify().
#include <QApplication>

#include <string_view>

namespace zg {

inline constexpr std::string_view OutOfMemoryCaption = "ZENTAGRAFO";
inline constexpr std::string_view OutOfMemoryText =
    "Za mało pamięci… Program nie może dokończyć operacji i zostanie zamknięty. Pliki programu nie zostały "
    "uszkodzone.";

class ProgramApplication : public QApplication {
public:
    ProgramApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows OutOfMemoryText (also on standard error, where a box cannot be made any more) and ends the
// process with status 1 at once. Every file is written whole or not at all, as a kill would leave
// it, while what the windows hold may be half changed: the program does not go on with it.
[[noreturn]] void EndOutOfMemory();

} // namespace zg
