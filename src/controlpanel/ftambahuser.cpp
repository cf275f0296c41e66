#include "controlpanel/ftambahuser.h"

#include "controlpanel/userqueries.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "shell/pictures.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace controlpanel {

namespace {

QLineEdit* box(QWidget* parent, const QString& name, int top, bool masked) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (masked) {
        edit->setEchoMode(QLineEdit::Password);
    }
    ui::placeTw(edit, 3480, top, 2970, 375);
    return edit;
}

}  // namespace

fTambahUser::fTambahUser(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Tambah Pengguna"));
    setFixedDialog(6660, 2685);
    buildControls();
    setCancelButton(Command2);
    ui::enterMovesTo(Text1, Text2);
    ui::enterMovesTo(Text2, Text3);
    ui::onEnter(Text3, [this] { Command1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &fTambahUser::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ui::Form::unload);
    ClearFields();
    Text1->setFocus();
}

void fTambahUser::buildControls() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    ui::placeTw(frame, 45, 0, 6540, 2175);
    ui::label(frame, QStringLiteral("Label1"),
              QStringLiteral("Masukkan nama pengguna untuk memberikan mereka hak akses pada "
                             "aplikasi ini."),
              {2160, 270, 4275, 450});
    pictures::userPicture(frame, QStringLiteral("Image1"), 75, 180, 1920, 1920);
    ui::label(frame, QStringLiteral("Label2"), QStringLiteral("Nama Pengguna"),
              {2160, 915, 1200, 195});
    ui::label(frame, QStringLiteral("Label4"), QStringLiteral("Password"), {2160, 1365, 690, 195});
    ui::label(frame, QStringLiteral("Label5"), QStringLiteral("Konfirmasi"),
              {2160, 1770, 720, 195});
    Text1 = box(frame, QStringLiteral("Text1"), 810, false);
    Text2 = box(frame, QStringLiteral("Text2"), 1260, true);
    Text3 = box(frame, QStringLiteral("Text3"), 1695, true);
    Command1 = ui::button(this, QStringLiteral("Command1"), QStringLiteral("&Simpan"),
                          {4095, 2265, 1200, 350});
    Command2 = ui::button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                          {5340, 2265, 1200, 350});
    ui::tabRoad({Text1, Text2, Text3, Command1, Command2});
}

void fTambahUser::ClearFields() {
    Text1->clear();
    Text2->clear();
    Text3->clear();
}

void fTambahUser::refuse(const QString& text, const QString& title, QLineEdit* focus) {
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information, title);
    focus->setFocus();
}

// The checks in order, each stopping at its failure; names and passwords are
// taken as typed (no blank trimmed).
void fTambahUser::Command1_Click() {
    const QString info = QStringLiteral("Information!");
    if (Text1->text().isEmpty()) {
        refuse(QStringLiteral("Nama user belum diisi!"), info, Text1);
    } else if (Text2->text().isEmpty()) {
        refuse(QStringLiteral("Password belum diisi!"), info, Text2);
    } else if (Text3->text().isEmpty()) {
        refuse(QStringLiteral("Konfirmasi belum diisi!"), info, Text3);
    } else if (Text2->text() != Text3->text()) {
        refuse(QStringLiteral("Password tidak sama!"), info, Text3);
    } else {
        SaveNewUser();
    }
}

// The name test and the insert are one transaction, so two workstations
// cannot add the same name at once.
void fTambahUser::SaveNewUser() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    bool added = false;
    const bool ran = moddapra::RunUnit([&](db::Connection& c) {
        added = addUserIfNew(c, Text1->text(), password::hash(Text2->text()));
    });
    if (!ran) {
        return;
    }
    if (!added) {
        refuse(QStringLiteral("User ") + Text1->text() +
                   QStringLiteral(" sudah ada! Masukkan nama lain!"),
               QStringLiteral("Informasi"), Text1);
        return;
    }
    ClearFields();
    unload();
}

}  // namespace controlpanel
