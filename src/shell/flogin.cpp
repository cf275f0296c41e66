#include "shell/flogin.h"

#include "shell/moddapra.h"
#include "shell/password.h"
#include "shell/pictures.h"
#include "shell/shellqueries.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace shell {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QFont decorativeFont(int points) {
    QFont font(QStringLiteral("Z003"), points);
    font.setItalic(true);
    return font;
}

}  // namespace

fLogin::fLogin(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Login Pengguna"));
    setFixedDialog(5700, 2760);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
    setCancelButton(Command1);
    ui::enterMovesTo(Text1, Text2, true);
    ui::onEnter(Text2, [this] { Command2_Click(); });
    connect(Command2, &QPushButton::clicked, this, &fLogin::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &fLogin::Command1_Click);
    ResetLogin();
    Text1->setFocus();
}

void fLogin::buildControls() {
    pictures::userPicture(this, QStringLiteral("Picture1"), 120, 120, 1440, 1440);
    QLabel* title = label(this, QStringLiteral("Label4"), QStringLiteral("Mirawe Dapra"));
    title->setFont(decorativeFont(22));
    ui::placeTw(title, 1700, 60, 3900, 540);
    QLabel* subtitle = label(this, QStringLiteral("Label3"), QStringLiteral("Kasir Restoran"));
    subtitle->setFont(decorativeFont(14));
    ui::placeTw(subtitle, 1700, 600, 3900, 400);
    ui::placeTw(label(this, QStringLiteral("Label1"), QStringLiteral("U s e r")), 1700, 1160, 1000,
                255);
    ui::placeTw(label(this, QStringLiteral("Label2"), QStringLiteral("Password")), 1700, 1580, 1000,
                255);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    ui::placeTw(Text1, 2800, 1100, 2700, 330);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setEchoMode(QLineEdit::Password);
    ui::placeTw(Text2, 2800, 1520, 2700, 330);
    Command2 = new QPushButton(QStringLiteral("Login"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    ui::placeTw(Command2, 3000, 2160, 1200, 400);
    Command1 = new QPushButton(QStringLiteral("Batal"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    ui::placeTw(Command1, 4300, 2160, 1200, 400);
    ui::tabRoad({Text1, Text2, Command2, Command1});
}

void fLogin::ResetLogin() {
    Text1->clear();
    Text2->clear();
    moddapra::UserId = 0;
    moddapra::UserName.clear();
}

void fLogin::Command1_Click() {
    ResetLogin();
    unload();
}

// The name is looked up as typed (the database ignores its letter case), the
// password checked against the stored hash with its letter case.
void fLogin::Command2_Click() {
    std::unique_ptr<db::Connection> conn = moddapra::OpenConnection();
    if (!conn) {
        return;
    }
    std::optional<StoredUser> user;
    bool passwordRight = false;
    try {
        user = findUser(*conn, Text1->text());
        moddapra::CloseConnection(conn);
        passwordRight = user && password::verify(user->passwordHash, Text2->text());
    } catch (const db::Error& error) {
        moddapra::CloseConnection(conn);
        showSignInError(error);
        return;
    }
    if (!user) {
        ui::msgBox(QStringLiteral("User ") + Text1->text() + QStringLiteral(" tidak terdaftar!"),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Information"));
        Text1->setFocus();
    } else if (!passwordRight) {
        ui::msgBox(QStringLiteral("Password salah!"), ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("Information"));
        Text2->setFocus();
    } else {
        unload();
        moddapra::UserId = user->id;
        Q_EMIT signedIn(user->name);
        moddapra::UserName = user->name;
    }
}

// Every value is bound, so typed text cannot make a statement fail: an error
// here is the database's, and its own description says what it is.
void fLogin::showSignInError(const db::Error& error) {
    if (error.number() != 0) {
        ui::msgBox(QStringLiteral("Nomor Error : ") + QString::number(error.number()) +
                   QStringLiteral("\rPesan Error : ") + error.description());
    }
}

}  // namespace shell
