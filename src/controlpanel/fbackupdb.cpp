#include "controlpanel/fbackupdb.h"

#include "controlpanel/databasefile.h"
#include "db/backup.h"
#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/seams.h"

#include <QLineEdit>
#include <QPushButton>

namespace controlpanel {

fBackupDB::fBackupDB(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Backup Database"));
    setFixedDialog(6000, 2400);
    buildControls();
    setCancelButton(Command1);
    connect(Command2, &QPushButton::clicked, this, &fBackupDB::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &ui::Form::unload);
    Text1->setText(moddapra::DbPath);
    Text2->clear();
    Command2->setFocus();
}

void fBackupDB::buildControls() {
    ui::label(this, QStringLiteral("Label1"),
              QStringLiteral("Letakkan File Backup ke tempat yang anda inginkan."),
              {120, 120, 5760, 255});
    ui::label(this, QStringLiteral("Label2"), QStringLiteral("Lokasi File Database:"),
              {120, 480, 2400, 255});
    Text1 = ui::lineBox(this, QStringLiteral("Text1"), {120, 750, 5760, 330});
    Text1->setEnabled(false);
    ui::label(this, QStringLiteral("Label3"), QStringLiteral("Lokasi File Backup:"),
              {120, 1170, 2400, 255});
    Text2 = ui::lineBox(this, QStringLiteral("Text2"), {120, 1440, 5760, 330});
    Text2->setEnabled(false);
    Command2 = ui::button(this, QStringLiteral("Command2"), QStringLiteral("&Backup ke..."),
                          {3420, 1920, 1200, 350});
    Command1 = ui::button(this, QStringLiteral("Command1"), QStringLiteral("&Keluar"),
                          {4680, 1920, 1200, 350});
    ui::tabRoad({Command2, Command1});
}

void fBackupDB::Command2_Click() {
    Text2->setText(
        ui::askSaveFile(this, QString(), QString(), QStringLiteral("Database Mirawe Dapra|*.mdb")));
    if (Text2->text().isEmpty()) {
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    if (backUpTo(Text2->text())) {
        ui::msgBox(QStringLiteral("Backup Database Berhasil..."), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
    }
}

// The copy goes through the engine while the connection is open, so it is one
// consistent state of the file even while other stations write.
bool fBackupDB::backUpTo(const QString& target) {
    QString failure;
    const bool ran = moddapra::RunUnit([&](db::Connection& c) {
        if (sameFile(target, moddapra::DbPath)) {
            failure = QStringLiteral("File backup tidak boleh file database itu sendiri.");
            return;
        }
        try {
            db::backupToFile(c, target);
        } catch (const db::Error& error) {
            failure = error.description();
        }
    });
    if (ran && !failure.isEmpty()) {
        ui::msgBox(QStringLiteral("Backup Database Gagal!\r") + failure, ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
    }
    return ran && failure.isEmpty();
}

}  // namespace controlpanel
