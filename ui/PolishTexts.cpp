// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PolishTexts.h"

#include "base/SafeFile.h"
#include "ui/QtText.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zg {

bool InstallQtPolishTranslation() {
    static bool installed = false;
    if (installed)
        return true;
    // Owned by the application, which keeps using it until it ends.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = true;
    return true;
}

QString WindowErrorText(const QString& description) {
    if (description == Q(NotRegularFileText))
        return QStringLiteral("Nie jest zwykłym plikiem");
    // "zentag.wyn.lock: Not a regular file": the file named, the description in Polish.
    if (description.endsWith(QStringLiteral(": ") + Q(NotRegularFileText)))
        return description.chopped(static_cast<qsizetype>(NotRegularFileText.size())) +
               QStringLiteral("Nie jest zwykłym plikiem");
    if (description == Q(LockedByAnotherWriterText))
        return QStringLiteral("Plik jest właśnie zapisywany przez inny program");
    return description;
}

} // namespace zg
