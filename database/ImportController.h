// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import of a results file into the draw management window: the file dialog of "Importuj z
// pliku…", the reading of the file under a wait cursor, the summary dialog (ImportDialog), the
// write of the database and the message that tells what was done. The controller is no widget of
// its own: its dialogs and messages belong to the window, which decides when an import may start
// (not in edit mode, not while a download runs) and loads the draw table anew once the database
// holds the imported draws.
#include <QObject>

#include <string>

class QWidget;

namespace zg {

class ImportController : public QObject {
    Q_OBJECT
public:
    // The dialogs and messages show over `window`, which also owns the controller.
    explicit ImportController(QWidget* window);

    // Whether the window lets an import start; while it does not, importResultsFile does nothing.
    void setAllowed(bool allowed) { allowed_ = allowed; }

    // "Importuj z pliku…": asks for a results file, then imports it (importResultsFile).
    void importFromFile();
    // Reads the results file at `path` (bytes, as the file system names it), shows its summary
    // and, once the user confirms a mode, writes the database. Returns true when the database was
    // written.
    bool importResultsFile(const std::string& path);

signals:
    // The database file holds the imported draws; the window loads the draw table anew from it
    // before the done message shows. `wholeTable` when the stored draws were replaced as a whole
    // (replace mode, or an import into an empty database); false when new draws were added after
    // the stored ones.
    void databaseWritten(bool wholeTable);

private:
    QWidget* window_;
    bool allowed_ = true;
    std::string importFolder_; // where the file dialog starts (bytes); empty: home
};

} // namespace zg
