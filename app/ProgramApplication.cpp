// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramApplication.h"

#include "ui/Dialogs.h"
#include "ui/QtText.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace zg {

bool ProgramApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        EndOutOfMemory();
    }
}

void EndOutOfMemory() {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(OutOfMemoryText.size()), OutOfMemoryText.data());
    // The box runs an event loop of its own; running out of memory again while it shows (or while it
    // is made) ends the program without it.
    static bool showing = false;
    if (!showing) {
        showing = true;
        try {
            Dialogs::Message(nullptr, Q(OutOfMemoryCaption), Q(OutOfMemoryText), Dialogs::Icon::Error);
        } catch (const std::bad_alloc&) {
        }
    }
    std::_Exit(1);
}

} // namespace zg
