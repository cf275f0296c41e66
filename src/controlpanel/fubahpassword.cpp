#include "controlpanel/fubahpassword.h"

#include "controlpanel/userqueries.h"
#include "shell/moddapra.h"
#include "shell/pictures.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace controlpanel {

namespace {

// One "*" per typed character, in the large bold font of the design.
QLineEdit* passwordBox(QWidget* parent, const QString& name, int top) {
    QLineEdit* box = ui::lineBox(parent, name, {3225, top, 2775, 375});
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    box->setFont(QFont(QStringLiteral("Arial"), 18, QFont::Bold));
    return box;
}

}  // namespace

fUbahPassword::fUbahPassword(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Menu Ubah Password"));
    setFixedDialog(6435, 2580);
    buildControls();
    setCancelButton(Command2);
    ui::enterMovesTo(Text3, Text1);
    ui::enterMovesTo(Text1, Text2);
    ui::onEnter(Text2, [this] { Command1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &fUbahPassword::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ui::Form::unload);
    ClearFields();
    Text3->setFocus();
}

void fUbahPassword::buildControls() {
    QWidget* page = ui::tabPage(this, QStringLiteral("Password"), {90, 90, 6270, 1980});
    QGroupBox* frame =
        ui::frame(page, QStringLiteral("Frame1"), QString(), {90, ui::tabTop(360), 6105, 1530});
    pictures::userPicture(frame, QStringLiteral("Picture1"), 90, 225, 1095, 1140);
    ui::label(frame, QStringLiteral("Label3"), QStringLiteral("Masukkan Password Lama"),
              {1215, 315, 1920, 195});
    ui::label(frame, QStringLiteral("Label1"), QStringLiteral("Masukkan Password Baru"),
              {1215, 720, 1860, 195});
    ui::label(frame, QStringLiteral("Label2"), QStringLiteral("Konfirmasi Password Baru"),
              {1215, 1125, 1830, 195});
    Text3 = passwordBox(frame, QStringLiteral("Text3"), 225);
    Text1 = passwordBox(frame, QStringLiteral("Text1"), 630);
    Text2 = passwordBox(frame, QStringLiteral("Text2"), 1035);
    Command1 = ui::button(this, QStringLiteral("Command1"), QStringLiteral("&Ganti"),
                          {3870, 2145, 1200, 350});
    Command2 = ui::button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                          {5130, 2145, 1200, 350});
    ui::tabRoad({Text3, Text1, Text2, Command1, Command2});
}

void fUbahPassword::ClearFields() {
    Text1->clear();
    Text2->clear();
    Text3->clear();
}

void fUbahPassword::inform(const QString& text, const QString& title, QLineEdit* focus) {
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information, title);
    if (focus) {
        focus->setFocus();
    }
}

// The empty boxes are refused before the database is asked; the rest of the
// checks run in the database action of the change (see changePassword).
void fUbahPassword::Command1_Click() {
    const QString info = QStringLiteral("Informasi");
    if (Text3->text().isEmpty()) {
        inform(QStringLiteral("Anda belum mengisi password lama anda!"), info, Text3);
        return;
    }
    if (Text1->text().isEmpty() || Text2->text().isEmpty()) {
        inform(QStringLiteral("Password harus diisi!"), info,
               Text1->text().isEmpty() ? Text1 : Text2);
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    const QString name = moddapra::UserName;
    PasswordChange outcome = PasswordChange::NoUserName;
    if (!moddapra::RunUnit([&](db::Connection& c) {
            outcome = changePassword(c, name, moddapra::UserId, Text3->text(), Text1->text(),
                                     Text2->text());
        })) {
        return;
    }
    switch (outcome) {
        case PasswordChange::NoUserName:
            inform(QStringLiteral("User ") + name + QStringLiteral(" tidak ada."), info, nullptr);
            return;
        case PasswordChange::WrongPassword:
            inform(QStringLiteral("Password lama salah!"), info, Text3);
            return;
        case PasswordChange::NotSame:
            inform(QStringLiteral("Password tidak sama!"), QStringLiteral("Information"), Text1);
            return;
        case PasswordChange::NoUserId:
            ui::msgBox(QStringLiteral("Data Tidak Ada"));
            return;
        case PasswordChange::Changed:
            break;
    }
    ClearFields();
    inform(QStringLiteral("Password untuk user ") + name + QStringLiteral(" telah diubah!"), info,
           nullptr);
    unload();
}

}  // namespace controlpanel
