// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every window test: the tests run with Qt's Polish texts, as the program does.
#include "ui/PolishTexts.h"

#include <QCoreApplication>

namespace {

void InstallPolishTexts() {
    zg::InstallQtPolishTranslation();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallPolishTexts)
