#include "controlpanel/frestoredb.h"

#include "controlpanel/databasefile.h"
#include "db/database.h"
#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/seams.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace controlpanel {

fRestoreDB::fRestoreDB(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Restore Database"));
    setFixedDialog(6000, 2280);
    buildControls();
    setCancelButton(Command2);
    connect(Command3, &QToolButton::clicked, this, &fRestoreDB::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &fRestoreDB::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ui::Form::unload);
    Text1->setText(moddapra::DbPath);
    Text2->clear();
    Command3->setFocus();
}

void fRestoreDB::buildControls() {
    ui::label(this, QStringLiteral("Label1"), QStringLiteral("Lokasi Database Server:"),
              {120, 120, 2400, 255});
    Text1 = ui::lineBox(this, QStringLiteral("Text1"), {120, 390, 5760, 330});
    Text1->setEnabled(false);
    ui::label(this, QStringLiteral("Label2"),
              QStringLiteral("Pilih file database dari lokasi backup untuk diletakkan di lokasi "
                             "file database default atau Lokasi Database Server."),
              {120, 810, 5760, 450});
    Text2 = ui::lineBox(this, QStringLiteral("Text2"), {120, 1320, 5280, 330});
    Text2->setEnabled(false);
    Command3 = ui::smallButton(this, QStringLiteral("Command3"), QString(), QStyle::SP_DirOpenIcon,
                               {5460, 1305, 420, 360});
    Command1 = ui::button(this, QStringLiteral("Command1"), QStringLiteral("Restore ke..."),
                          {3420, 1800, 1200, 350});
    Command2 = ui::button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                          {4680, 1800, 1200, 350});
    ui::tabRoad({Command3, Command1, Command2});
}

void fRestoreDB::inform(const QString& text, QWidget* focus) {
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Informasi"));
    if (focus) {
        focus->setFocus();
    }
}

void fRestoreDB::Command3_Click() {
    Text2->clear();
    const QString chosen = ui::askOpenFile(this, QString(), QFileInfo(Text1->text()).absolutePath(),
                                           QStringLiteral("Database Mirawe Dapra|*.mdb"));
    if (!chosen.isEmpty()) {
        Text2->setText(chosen);
    }
}

// Why the chosen file may not replace the database; empty when it may. The
// database is known by the file's identity, so a link to it is refused at
// once rather than waiting on its own lock.
QString fRestoreDB::refusal(const QString& chosen) const {
    if (sameFile(chosen, Text1->text())) {
        return QStringLiteral(
            "File yang dipilih adalah file database itu sendiri. Pilih file backup yang lain.");
    }
    return {};
}

// The backup is checked whole before anything is replaced, and the database
// changes in one write, so a failure leaves it as it was.
void fRestoreDB::Command1_Click() {
    const QString chosen = Text2->text();
    if (chosen.isEmpty()) {
        inform(QStringLiteral("Anda belum memilih file database yang akan di restore"), Command3);
        return;
    }
    if (const QString why = refusal(chosen); !why.isEmpty()) {
        inform(why, Command3);
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    try {
        if (!restoreDatabase(chosen, Text1->text())) {
            inform(QStringLiteral("File ") + chosen +
                       QStringLiteral(" bukan file database Mirawe Dapra atau rusak. Database "
                                      "tidak diubah."),
                   Command3);
            return;
        }
    } catch (const db::Error& error) {
        inform(QStringLiteral("Restore Database Gagal!\r") + error.description() +
               QStringLiteral("\rDatabase tidak diubah."));
        return;
    }
    inform(QStringLiteral("Restore Database Berhasil..."));
}

}  // namespace controlpanel
