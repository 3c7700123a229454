// Renders the program's windows, offscreen, on a synthetic sample database, into PNG files:
//   QT_QPA_PLATFORM=offscreen zentag-screenshots OUTDIR
// The windows are real: the tool clicks their buttons as a user would. Message boxes are
// answered by the dialog seam's test side, so nothing waits for a person.
#include "analysis/TAnaliza11.h"
#include "app/Startup.h"
#include "app/State.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>

namespace {

bool Save(QWidget* w, const QString& file) {
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}

template <class T> T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

// Shows a dialog without blocking, grabs it, hides it again.
void GrabDialog(QWidget* w, const QString& file) {
    w->show();
    QApplication::processEvents();
    Save(w, file);
    w->hide();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);

    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("TXT"));
    QDir(dir.path()).mkpath(QStringLiteral("ZESTAWY LICZB"));
    zg::AppDir = dir.path().toStdString();
    {
        std::ofstream f(zg::AppPath("zentag.wyn"), std::ios::binary);
        f << zg::GenerateSampleDatabase(20000, 1996, zg::SampleLayout::YearFirst).bytes;
    }
    zg::Dialogs::SetTestMode(true);

    zg::ProgramWindows windows = zg::CreateProgramWindows();
    zg::TAnaliza11* main = windows.main.get();
    main->show();
    Save(main, out + QStringLiteral("/main-window.png"));

    // The set editor with a set chosen, then confirmed.
    QWidget* editor = windows.setEditor.get();
    editor->show();
    for (int n : {3, 7, 15, 22, 41, 58, 64, 77})
        if (auto* b = Child<QAbstractButton>(editor, qPrintable(QStringLiteral("SpeedButton%1").arg(n))))
            QTest::mouseClick(b, Qt::LeftButton);
    Save(editor, out + QStringLiteral("/set-editor.png"));
    if (auto* ok = Child<QAbstractButton>(editor, "BitBtn1"))
        QTest::mouseClick(ok, Qt::LeftButton);
    editor->hide();

    // A search over the default range with 3 to 5 hits.
    if (auto* e = Child<QWidget>(main, "Edit1")) {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClicks(e, QStringLiteral("3"));
    }
    if (auto* e = Child<QWidget>(main, "Edit2")) {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClicks(e, QStringLiteral("5"));
    }
    if (auto* b = Child<QAbstractButton>(main, "button1"))
        QTest::mouseClick(b, Qt::LeftButton);
    Save(main, out + QStringLiteral("/main-window-results.png"));

    GrabDialog(windows.about.get(), out + QStringLiteral("/about.png"));
    return 0;
}
