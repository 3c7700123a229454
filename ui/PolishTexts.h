// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows speak Polish whatever the user's locale: Qt's own texts (the standard buttons, the
// file dialog, its question before replacing a file) come from Qt's Polish translation, and the
// program's own descriptions of failures, which the core gives in English for the command-line
// tool, are shown in Polish. The system's descriptions of errors (strerror) keep following the
// user's locale.
#include <QString>

namespace zg {

// Loads Qt's Polish translation (qtbase_pl from Qt's translations folder, Debian package
// qt6-translations-l10n) into the running application, once. Returns whether it is in use; without
// it Qt's texts stay English and the program runs on.
bool InstallQtPolishTranslation();

// The text a window shows for the description of a failed file operation: the program's own
// English descriptions in Polish, anything else (the system's description) as it is.
QString WindowErrorText(const QString& description);

} // namespace zg
