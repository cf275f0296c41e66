#include "controlpanel/fuser.h"

#include "controlpanel/fproperti.h"
#include "controlpanel/ftambahuser.h"
#include "controlpanel/userqueries.h"
#include "shell/moddapra.h"
#include "shell/pictures.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace controlpanel {

namespace {

QString guardMessage(GuardRefusal refusal) {
    switch (refusal) {
        case GuardRefusal::NoUser:
            return QStringLiteral(
                "Anda belum memasukkan Nama Pengguna. Silahkan isi sebelum keluar.");
        case GuardRefusal::NoRight:
            return QStringLiteral(
                "Pegguna belum anda berikan Hak Akses. Silahkan isi sebelum keluar.");
        case GuardRefusal::NoUserManagement:
            return QStringLiteral(
                "Belum ada user yang bisa akses ke menu User Management. Harap memberi satu "
                "akses ke menu tersebut.");
        case GuardRefusal::None:
            break;
    }
    return {};
}

}  // namespace

fUser::fUser(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Manajemen Pengguna"));
    setFixedDialog(5415, 4890);
    buildControls();
    setCancelButton(Command3);
    ui::onRowClick(ListView1, [this] { ListView1_ItemClick(); });
    ui::onRowDoubleClick(
        ListView1, [this] { ListView1_DblClick(); }, false);
    connect(Command7, &QPushButton::clicked, this, &fUser::Command7_Click);
    connect(Command1, &QPushButton::clicked, this, &fUser::Command1_Click);
    connect(Command6, &QPushButton::clicked, this, &fUser::Command6_Click);
    connect(Command2, &QPushButton::clicked, this, &fUser::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &ui::Form::unload);
    ui::setColumns(ListView1, {{QStringLiteral("Nama Pengguna"), 5000}, {QString(), 0}});
    LoadUserList();
    Command3->setFocus();
}

void fUser::buildControls() {
    QWidget* page = ui::tabPage(this, QStringLiteral(" Pengguna Program"), {90, 45, 5235, 4335});
    ui::label(page, QStringLiteral("Label1"),
              QStringLiteral("Menu ini berguna untuk membuat dan menghapus pengguna software ini. "
                             "Selain itu juga untuk mengatur hak akses pengguna."),
              {1260, ui::tabTop(540), 3885, 690});
    pictures::userPicture(page, QStringLiteral("Picture1"), 135, ui::tabTop(450), 960, 960);
    ui::label(page, QStringLiteral("Label3"), QStringLiteral("Daftar Pengguna Software ini:"),
              {135, ui::tabTop(1485), 2310, 195});
    ListView1 = new QTreeWidget(page);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ui::setupList(ListView1);
    ui::placeTw(ListView1, 90, ui::tabTop(1710), 5055, 2085);
    Command7 = ui::button(page, QStringLiteral("Command7"), QStringLiteral("&Refresh Daftar"),
                          {120, ui::tabTop(3840), 1200, 350});
    Command1 = ui::button(page, QStringLiteral("Command1"), QStringLiteral("&Tambah User"),
                          {1380, ui::tabTop(3840), 1200, 350});
    Command6 = ui::button(page, QStringLiteral("Command6"), QStringLiteral("&Hapus User"),
                          {2625, ui::tabTop(3840), 1200, 350});
    Command2 = ui::button(page, QStringLiteral("Command2"), QStringLiteral("&Hak Akses"),
                          {3885, ui::tabTop(3840), 1200, 350});
    Command3 = ui::button(this, QStringLiteral("Command3"), QStringLiteral("&Keluar"),
                          {4140, 4455, 1200, 350});
    ui::tabRoad({Command3, Command6, Command7, Command1, Command2, ListView1});
}

void fUser::LoadUserList() {
    ListView1->clear();
    std::vector<UserRow> users;
    moddapra::RunUnit([&](db::Connection& c) { users = listUsers(c); });
    for (const UserRow& user : users) {
        ui::addRow(ListView1, {user.name, QString::number(user.id)});
    }
}

void fUser::ListView1_ItemClick() {
    const QStringList row = ui::selectedRow(ListView1);
    if (!row.isEmpty()) {
        SelectedUserName = row.first();
    }
}

// The double-clicked row was chosen by the click that came first.
void fUser::ListView1_DblClick() {
    Command2_Click();
    SelectedUserName.clear();
    Command2->setFocus();
}

// A write that will be refused is refused before anything is typed; the
// dialogs check again when they save.
void fUser::Command1_Click() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    ui::showModal(new fTambahUser(this));
    Command7_Click();
}

void fUser::Command2_Click() {
    if (SelectedUserName.isEmpty()) {
        ui::msgBox(QStringLiteral("Pilih dulu usernya!"), ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("Information"));
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    auto* rights = new fProperti(SelectedUserName, this);
    SelectedUserName.clear();
    ui::showModal(rights);
}

void fUser::Command6_Click() {
    if (ui::rowCount(ListView1) == 0) {
        ui::msgBox(QStringLiteral("Daftar User kosong!"), ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("Perhatian"));
        return;
    }
    if (SelectedUserName.isEmpty()) {
        ui::msgBox(QStringLiteral("Klik pada item user yang akan dihapus!"), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Perhatian"));
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    if (ui::msgBox(QStringLiteral("Anda yakin ingin menghapus user ") + SelectedUserName +
                       QStringLiteral("?"),
                   ui::Buttons::YesNo) == ui::Answer::No) {
        SelectedUserName.clear();
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    std::optional<qint64> deleted;
    moddapra::RunUnit(
        [&](db::Connection& c) { deleted = deleteUserWithRights(c, SelectedUserName); });
    // A user deleted meanwhile elsewhere: nothing changed, the list stays.
    if (deleted) {
        Command7_Click();
    }
}

void fUser::Command7_Click() {
    LoadUserList();
    SelectedUserName.clear();
}

// Runs however the window closes. When the database cannot be read the error
// has been shown and the window may close: it cannot be checked either way.
void fUser::closeEvent(QCloseEvent* event) {
    GuardRefusal refusal = GuardRefusal::None;
    moddapra::RunUnit([&](db::Connection& c) { refusal = userManagementGuard(c); });
    if (refusal != GuardRefusal::None) {
        ui::msgBox(guardMessage(refusal));
        event->ignore();
        return;
    }
    ui::Form::closeEvent(event);
}

}  // namespace controlpanel
