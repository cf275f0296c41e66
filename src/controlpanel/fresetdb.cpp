#include "controlpanel/fresetdb.h"

#include "db/schema.h"
#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace controlpanel {

namespace {

QRadioButton* option(QWidget* parent, const QString& name, const QString& text, int top) {
    auto* o = new QRadioButton(text, parent);
    o->setObjectName(name);
    ui::placeTw(o, 240, top, 3600, 255);
    return o;
}

}  // namespace

fResetDB::fResetDB(QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Reset Database"));
    setFixedDialog(6000, 2640);
    buildControls();
    setCancelButton(Command1);
    connect(Command7, &QPushButton::clicked, this, &fResetDB::Command7_Click);
    connect(Command1, &QPushButton::clicked, this, &ui::Form::unload);
    Option1->setFocus();
}

void fResetDB::buildControls() {
    ui::label(this, QStringLiteral("Label2"),
              QStringLiteral("Sebelum memutuskan untuk mereset database, silahkan backup dahulu "
                             "database anda. Kemudian pilih opsi yang akan di hapus. Apakah ingin "
                             "menghapus seluruh database, atau hanya  data transaksi saja"),
              {120, 120, 5760, 900});
    QGroupBox* frame = ui::frame(this, QStringLiteral("Frame1"), QString(), {120, 1080, 5760, 900});
    Option1 =
        option(frame, QStringLiteral("Option1"), QStringLiteral("Hapus seluruh database"), 240);
    Option2 =
        option(frame, QStringLiteral("Option2"), QStringLiteral("Hapus data transaksi saja"), 540);
    Command7 = ui::button(this, QStringLiteral("Command7"), QStringLiteral("&Reset"),
                          {3420, 2160, 1200, 350});
    Command1 = ui::button(this, QStringLiteral("Command1"), QStringLiteral("&Batal"),
                          {4680, 2160, 1200, 350});
    ui::tabRoad({Option1, Option2, Command7, Command1});
}

void fResetDB::Command7_Click() {
    const auto ask = [](const QString& text) {
        return ui::msgBox(text, ui::Buttons::YesNo, ui::Icon::None, QStringLiteral("Konfirmasi")) ==
               ui::Answer::Yes;
    };
    if (Option1->isChecked()) {
        if (ask(QStringLiteral("Anda yakin ingin menghapus seluruh isi database?"))) {
            ResetWholeDatabase();
        }
    } else if (Option2->isChecked()) {
        if (ask(QStringLiteral("Anda yakin ingin menghapus data transaksi?"))) {
            ResetTransactionData();
        }
    } else {
        ui::msgBox(QStringLiteral("Anda belum memilih opsi apapun."), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
    }
}

void fResetDB::ResetWholeDatabase() {
    reset(db::Reset::Everything, QStringLiteral("Reset Seluruh Database Berhasil..."));
}

void fResetDB::ResetTransactionData() {
    reset(db::Reset::OrdersAndPayments, QStringLiteral("Reset Data Transaksi Berhasil..."));
}

// A failed reset has changed nothing; it is reported and the dialog stays.
void fResetDB::reset(db::Reset which, const QString& done) {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    if (!moddapra::RunUnit([&](db::Connection& c) { db::resetTables(c, which); })) {
        return;
    }
    ui::msgBox(done);
    unload();
}

}  // namespace controlpanel
