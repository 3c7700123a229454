// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The database's backups in the draw management window: the list of "Kopie bazy…"
// (BackupsDialog), the restore of the chosen backup (the current database backed up first) and
// the message that tells what was done. The controller is no widget of its own: its dialogs and
// messages belong to the window, which decides when a restore may start (exactly when an import
// may) and loads the draw table anew once the database holds the restored draws.
#include <QObject>

class QWidget;

namespace zg {

class BackupsController : public QObject {
    Q_OBJECT
public:
    // The dialogs and messages show over `window`, which also owns the controller.
    explicit BackupsController(QWidget* window);

    // Whether the window lets a restore start; while it does not, showBackups does nothing.
    void setAllowed(bool allowed) { allowed_ = allowed; }

    // "Kopie bazy…": the list of the database's backups; a confirmed "Przywróć" writes a copy of
    // the chosen one as the database. Returns true when the database was restored.
    bool showBackups();

signals:
    // The database file holds the restored draws, which replace the stored ones as a whole; the
    // window loads the draw table anew from it before the done message shows.
    void databaseRestored();

private:
    QWidget* window_;
    bool allowed_ = true;
};

} // namespace zg
