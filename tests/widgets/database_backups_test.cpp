// SPDX-License-Identifier: GPL-3.0-or-later
// The database's backups in the draw management window: the button, the list, the restore, the
// backup a correction keeps, and the import summary's question before a replacement removes draws.
#include "app/Startup.h"
#include "database/Backups.h"
#include "database/DrawDatabase.h"
#include "database/DrawManager.h"
#include "database/ResultsImport.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "ui/QtText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

std::string Group(int number, int day, int first) {
    std::string s = std::to_string(number) + " 2004 1 " + std::to_string(day) + " ";
    for (int i = 0; i < 20; ++i)
        s += std::to_string(first + i) + " ";
    return s;
}

const std::string Stored = Group(1, 1, 1) + Group(2, 2, 21) + Group(3, 3, 41);

std::unique_ptr<DrawManager> StartWith(const ProgramFolder& folder, const std::string& bytes) {
    WriteBytes(folder.file("zentag.wyn").toStdString(), bytes);
    LoadProgramDatabase(nullptr);
    Dialogs::ClearHistory();
    auto w = std::make_unique<DrawManager>();
    w->fillDrawGrid(nullptr, nullptr);
    w->show();
    return w;
}

// Runs `act` on the modal dialog named `name` once it shows, inside its own event loop.
void OnDialog(const char* name, const std::function<void(QWidget*)>& act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, act] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog != nullptr && dialog->objectName() == QLatin1String(name)) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start(10);
}

void SelectRow(DrawManager& w, int row) {
    auto* grid = Find<QTableView>(&w, "drawGrid");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 5)).center());
}

} // namespace

class DatabaseBackupsTest : public QObject {
    Q_OBJECT

private slots:
    // Right of the export, after it in the Tab order, enabled exactly when the import is.
    void buttonBesideTheExport() {
        ProgramFolder folder;
        auto w = StartWith(folder, Stored);
        auto* button = Find<QPushButton>(w.get(), "backupsButton");
        QCOMPARE(button->geometry(), QRect(670, 498, 102, 25));
        QCOMPARE(button->text(), QStringLiteral("Kopie bazy…"));
        QCOMPARE(button->accessibleName(), button->text());
        QCOMPARE(Find(w.get(), "exportButton")->nextInFocusChain(), button);
        SelectRow(*w, 1);
        for (const char* action : {"editButton", "okButton"}) {
            Click(w.get(), action);
            QCOMPARE(button->isEnabled(), Enabled(w.get(), "importButton"));
            QCOMPARE(button->isEnabled(), std::string(action) == "okButton");
        }
    }

    // "OK" keeps the database as it was in KOPIE; "Przywróć" brings it back after asking, and the
    // window shows the restored table as after an import.
    void correctionBackedUpAndRestored() {
        ProgramFolder folder;
        auto w = StartWith(folder, Stored);
        SelectRow(*w, 2);
        Click(w.get(), "editButton");
        QTest::mouseClick(Find<QCheckBox>(w.get(), "numberBox41"), Qt::LeftButton);
        QTest::mouseClick(Find<QCheckBox>(w.get(), "numberBox80"), Qt::LeftButton);
        Click(w.get(), "okButton");
        const auto backups = ListBackups(folder.file("KOPIE").toStdString());
        QCOMPARE(backups.size(), std::size_t{1});
        QCOMPARE(ReadBytes(folder.file("KOPIE/").toStdString() + backups[0].fileName), Stored);
        QVERIFY(ReadBytes(folder.file("zentag.wyn").toStdString()) != Stored);

        QSignalSpy imported(w.get(), &DrawManager::drawsImported);
        QStringList row;
        OnDialog("backupsDialog", [&row](QWidget* dialog) {
            auto* list = Find<QTableWidget>(dialog, "backupList");
            for (int c = 0; c < 4; ++c)
                row << list->item(0, c)->text();
            Dialogs::QueueAnswer(Dialogs::Answer::Yes);
            Click(dialog, "restoreButton");
        });
        Dialogs::ClearHistory();
        Click(w.get(), "backupsButton");
        QCOMPARE(row.mid(1), QStringList({"przed poprawką", "3 losowania", "03.01.2004"}));
        QVERIFY(row[0].endsWith(QStringLiteral(":%1").arg(backups[0].name.second, 2, 10, QLatin1Char('0'))));
        const Dialogs::Shown question = Dialogs::History().value(0);
        QCOMPARE(question.text, QStringLiteral("Przywrócić bazę z kopii z %1 (3 losowania)? Obecna baza zostanie "
                                               "zapisana w kopii.")
                                    .arg(row[0].left(16)));
        QCOMPARE(question.defaultAnswer, Dialogs::Answer::No);
        QCOMPARE(ReadBytes(folder.file("zentag.wyn").toStdString()), Stored);
        QCOMPARE(imported.count(), 1);
        QVERIFY(imported.first().first().toBool()); // a table replaced as a whole
        QCOMPARE(Find<QTableView>(w.get(), "drawGrid")->selectionModel()->selectedRows().value(0).row(), 2);
        QCOMPARE(ListBackups(folder.file("KOPIE").toStdString()).size(), std::size_t{2});
    }

    void emptyListSaysSo() {
        ProgramFolder folder;
        auto w = StartWith(folder, Stored);
        bool restoreEnabled = true;
        QString note;
        OnDialog("backupsDialog", [&](QWidget* dialog) {
            note = Text(dialog, "emptyNote");
            restoreEnabled = Enabled(dialog, "restoreButton");
            Click(dialog, "closeButton");
        });
        QVERIFY(!w->showBackups());
        QCOMPARE(note, QStringLiteral("Brak kopii bazy."));
        QVERIFY(!restoreEnabled);
    }

    // A backup a restore refuses shows "nieczytelna" with the reason as its tooltip, and
    // "Przywróć" on it shows the refusal instead of the question.
    void refusedBackupSaysWhy() {
        ProgramFolder folder;
        auto w = StartWith(folder, Stored);
        QDir(folder.path()).mkpath(QStringLiteral("KOPIE"));
        WriteBytes(folder.file("KOPIE/zentag-2024-05-18-143005-import.wyn").toStdString(),
                   Group(1, 1, 1) + Group(2, 2, 17611));
        QStringList shown;
        OnDialog("backupsDialog", [&shown](QWidget* dialog) {
            auto* list = Find<QTableWidget>(dialog, "backupList");
            shown << list->item(0, 2)->text() << list->item(0, 0)->toolTip();
            Click(dialog, "restoreButton");
            Click(dialog, "closeButton");
        });
        QVERIFY(!w->showBackups());
        const QString why = QStringLiteral("Kopia bazy jest nieczytelna: zawiera liczbę spoza zakresu 1..80: 17611 "
                                           "(pierwsze błędne losowanie: nr 2).");
        QCOMPARE(shown, QStringList({"nieczytelna", why}));
        QCOMPARE(Dialogs::History().value(0).text, why + QStringLiteral(" Baza wyników nie została zmieniona."));
        QCOMPARE(Dialogs::History().size(), 1);
    }

    // Draws 2 and 3 are not in the file: "Zastąp całą bazę" shows and asks how many go, No being
    // the default, and a No writes nothing. The file's name shows as plain text, and of its many
    // bad lines the list keeps the first 10000.
    void replaceAsksAndTheSummaryStaysPlain() {
        ProgramFolder folder;
        auto w = StartWith(folder, Stored);
        std::string file = "01.01.2004";
        for (int i = 1; i <= 20; ++i)
            file += ";" + std::to_string(i);
        file += "\n";
        for (int i = 0; i < 10003; ++i)
            file += "02.01.2004;1\n";
        const QString name = QStringLiteral("<font color=red size=7>X.txt");
        WriteBytes(folder.file(name).toStdString(), file);
        Dialogs::QueueAnswer(Dialogs::Answer::Yes); // skip the bad lines
        Dialogs::QueueAnswer(Dialogs::Answer::No);  // keep draws 2 and 3
        QStringList shown;
        OnDialog("importDialog", [&shown](QWidget* summary) {
            auto* label = Find<QLabel>(summary, "fileValue");
            shown << label->text() << QString::number(label->textFormat() == Qt::PlainText);
            const QAbstractItemModel* problems = Find<QAbstractItemView>(summary, "problemsList")->model();
            shown << QString::number(problems->rowCount())
                  << problems->index(problems->rowCount() - 1, 0).data().toString() << Text(summary, "badLinesValue");
            auto* removed = Find<QLabel>(summary, "removedDrawsValue");
            shown << QString::number(removed->isVisible());
            Click(summary, "replaceModeButton");
            // Black on yellow whatever the desktop's palette: the row stands out on the dark green.
            shown << removed->text() << QString::number(removed->isVisible())
                  << removed->palette().color(QPalette::WindowText).name()
                  << removed->palette().color(QPalette::Window).name();
            Click(summary, "confirmButton");
            shown << QString::number(summary->isVisible());
            Click(summary, "cancelButton");
        });
        QVERIFY(!w->importResultsFile(folder.file(name).toStdString()));
        QCOMPARE(shown, QStringList({"Plik: " + name, "1", "10001", "… oraz dalsze błędne wiersze: 3", "10003", "0",
                                     "2", "1", "#000000", "#ffff00", "1"}));
        QCOMPARE(Dialogs::History().value(1).text, Q(RemovedDrawsQuestion(2, 3, DrawTable[3])));
        QCOMPARE(Dialogs::History().value(1).defaultAnswer, Dialogs::Answer::No);
        QCOMPARE(ReadBytes(folder.file("zentag.wyn").toStdString()), Stored);
    }
};

QTEST_MAIN(DatabaseBackupsTest)
#include "database_backups_test.moc"
