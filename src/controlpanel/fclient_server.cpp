#include "controlpanel/fclient_server.h"

#include "db/backup.h"
#include "shell/installfolder.h"
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

fClient_Server::fClient_Server(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Setting Database"));
    setFixedDialog(6600, 2640);
    buildControls();
    setCancelButton(Command2);
    connect(Command1, &QToolButton::clicked, this, &fClient_Server::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &fClient_Server::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &fClient_Server::SaveDbLocation);
    connect(Command2, &QPushButton::clicked, this, &ui::Form::unload);
    Text1->clear();
    ShowDbLocation();
    Command1->setFocus();
}

void fClient_Server::buildControls() {
    ui::label(
        this, QStringLiteral("Label1"),
        QStringLiteral("Anda bisa menjalankan Software Mirawe Dapra di komputer ini sebagai:"),
        {120, 120, 6360, 255});
    ui::label(this, QStringLiteral("Label3"),
              QStringLiteral("1. Server/Stand Alone (Default). klik tombol Default, lalu Simpan."),
              {120, 420, 6360, 255});
    ui::label(this, QStringLiteral("Label4"),
              QStringLiteral("2. Client. Tentukan lokasi file Database Server, lalu Simpan."),
              {120, 720, 6360, 255});
    ui::label(this, QStringLiteral("Label2"), QStringLiteral("Lokasi Database Server:"),
              {120, 1140, 2400, 255});
    Text1 = ui::lineBox(this, QStringLiteral("Text1"), {120, 1410, 5880, 330});
    Text1->setEnabled(false);
    Command1 = ui::smallButton(this, QStringLiteral("Command1"), QString(), QStyle::SP_DirOpenIcon,
                               {6060, 1395, 420, 360});
    Command4 = ui::button(this, QStringLiteral("Command4"), QStringLiteral("&Default"),
                          {2760, 2160, 1200, 350});
    Command3 = ui::button(this, QStringLiteral("Command3"), QStringLiteral("&Simpan"),
                          {4020, 2160, 1200, 350});
    Command2 = ui::button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                          {5280, 2160, 1200, 350});
    ui::tabRoad({Command1, Command4, Command3, Command2});
}

// The box shows the path read from db.txt even when that file does not open.
void fClient_Server::ShowDbLocation() {
    std::unique_ptr<db::Connection> conn = moddapra::OpenConnection();
    Text1->setText(moddapra::DbPath);
    moddapra::CloseConnection(conn);
}

void fClient_Server::Command1_Click() {
    const QString chosen = ui::askOpenFile(this, QString(), QFileInfo(Text1->text()).absolutePath(),
                                           QStringLiteral("Database Mirawe Dapra|dapra.mdb"));
    if (!chosen.isEmpty()) {
        Text1->setText(chosen);
    }
}

void fClient_Server::Command4_Click() {
    Text1->setText(install::defaultDbPath());
}

// A path is saved only when it opens as the program's database: a wrong one
// would stop every window of this station, this dialog included. db.txt is
// replaced whole by renaming, so it is never left half written.
void fClient_Server::SaveDbLocation() {
    const QString path = Text1->text();
    const QString info = QStringLiteral("Informasi");
    if (path.isEmpty()) {
        ui::msgBox(QStringLiteral("Lokasi Database Server tidak boleh kosong!"), ui::Buttons::Ok,
                   ui::Icon::Information, info);
        Command1->setFocus();
        return;
    }
    if (!db::isProgramDatabase(path)) {
        ui::msgBox(QStringLiteral("File ") + path +
                       QStringLiteral(" bukan file database Mirawe Dapra atau tidak bisa dibuka."
                                      "\rLokasi Database Server tidak disimpan."),
                   ui::Buttons::Ok, ui::Icon::Information, info);
        Command1->setFocus();
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    try {
        install::writeDbTxt(path);
    } catch (const db::Error& error) {
        ui::msgBox(QStringLiteral("File db.txt tidak bisa ditulis: ") + error.description() +
                       QStringLiteral("\rLokasi Database Server tidak disimpan."),
                   ui::Buttons::Ok, ui::Icon::Information, info);
        return;
    }
    ui::msgBox(QStringLiteral("Lokasi Database Server telah disimpan."));
}

}  // namespace controlpanel
