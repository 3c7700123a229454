// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/BackupsDialog.h"

#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "ui/Dialogs.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zg {

namespace {

QString Two(std::int32_t v) {
    return Q(ZeroPad(v, 2));
}

QString DateText(std::int32_t day, std::int32_t month, std::int32_t year) {
    return Two(day) + QLatin1Char('.') + Two(month) + QLatin1Char('.') + Q(ZeroPad(year, 4));
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

QString BackupTimeText(const BackupName& n) {
    return DateText(n.day, n.month, n.year) + QLatin1Char(' ') + Two(n.hour) + QLatin1Char(':') + Two(n.minute);
}

QString RestoreQuestion(const BackupEntry& backup) {
    return QStringLiteral("Przywrócić bazę z kopii z %1 (%2)? Obecna baza zostanie zapisana w kopii.")
        .arg(BackupTimeText(backup.name), Q(CountOfDraws(backup.drawCount)));
}

BackupsDialog::BackupsDialog(const std::string& backupFolder, QWidget* parent)
    : QDialog(parent), backups_(ListBackups(backupFolder)) {
    setObjectName(QStringLiteral("backupsDialog"));
    setWindowTitle(QStringLiteral("Kopie bazy wyników"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    SetColours(this, Teal, Qt::yellow);
    setFont(PixelFont("Verdana", 13, true));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);

    backupList = new QTableWidget(static_cast<int>(backups_.size()), 4, this);
    backupList->setObjectName(QStringLiteral("backupList"));
    backupList->setAccessibleName(QStringLiteral("Kopie bazy"));
    backupList->setHorizontalHeaderLabels({QStringLiteral("Data i godzina"), QStringLiteral("Powód"),
                                           QStringLiteral("Losowania"), QStringLiteral("Ostatnie losowanie")});
    backupList->verticalHeader()->hide();
    backupList->setSelectionBehavior(QAbstractItemView::SelectRows);
    backupList->setSelectionMode(QAbstractItemView::SingleSelection);
    backupList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    backupList->setFont(PixelFont("Verdana", 13, false));
    {
        QPalette p = backupList->palette();
        p.setColor(QPalette::Base, Aqua);
        p.setColor(QPalette::Text, Qt::black);
        backupList->setPalette(p);
    }
    for (int row = 0; row < static_cast<int>(backups_.size()); ++row) {
        const BackupEntry& b = backups_[static_cast<std::size_t>(row)];
        const std::string_view state = b.tooLarge ? TooLargeBackupWord : UnreadableBackupWord;
        backupList->setItem(row, 0, Cell(BackupTimeText(b.name) + QLatin1Char(':') + Two(b.name.second)));
        backupList->setItem(row, 1, Cell(Q(BackupReasonWords(b.name.reason))));
        backupList->setItem(row, 2, Cell(b.readable ? Q(CountOfDraws(b.drawCount)) : Q(state)));
        backupList->setItem(
            row, 3, Cell(b.readable && b.drawCount > 0 ? DateText(b.last.Day, b.last.Month, b.last.Year) : QString()));
        // Why a backup cannot be restored shows wherever the pointer rests on its row.
        for (int column = 0; column < 4; ++column)
            backupList->item(row, column)->setToolTip(Q(b.problem));
    }
    backupList->setColumnWidth(0, 170);
    backupList->setColumnWidth(1, 190);
    backupList->setColumnWidth(2, 130);
    backupList->setColumnWidth(3, 150);
    backupList->setFixedSize(170 + 190 + 130 + 150 + 4, 300);
    layout->addWidget(backupList);

    emptyNote = new QLabel(QStringLiteral("Brak kopii bazy."), this);
    emptyNote->setObjectName(QStringLiteral("emptyNote"));
    emptyNote->setTextFormat(Qt::PlainText);
    layout->addWidget(emptyNote);
    emptyNote->setVisible(backups_.empty());

    restoreButton = new QPushButton(QStringLiteral("Przywróć"), this);
    restoreButton->setObjectName(QStringLiteral("restoreButton"));
    closeButton = new QPushButton(QStringLiteral("Zamknij"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {restoreButton, closeButton}) {
        b->setMinimumSize(113, 33);
        b->setAccessibleName(b->text());
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    restoreButton->setEnabled(!backups_.empty());
    connect(restoreButton, &QPushButton::clicked, this, &BackupsDialog::restoreSelected);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    if (!backups_.empty())
        backupList->selectRow(0);
    setTabOrder(backupList, restoreButton);
    setTabOrder(restoreButton, closeButton);
}

void BackupsDialog::restoreSelected() {
    const int row = backupList->currentRow();
    if (row < 0 || row >= static_cast<int>(backups_.size()))
        return;
    const BackupEntry& backup = backups_[static_cast<std::size_t>(row)];
    if (!backup.readable) {
        Dialogs::Message(this, windowTitle(), Q(RestoreRefusalText(backup)), Dialogs::Icon::Error);
        return;
    }
    if (Dialogs::Message(this, windowTitle(), RestoreQuestion(backup), Dialogs::Icon::Question, Dialogs::Buttons::YesNo,
                         Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    chosen_ = backup.fileName;
    accept();
}

} // namespace zg
