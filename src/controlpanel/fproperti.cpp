#include "controlpanel/fproperti.h"

#include "controlpanel/userqueries.h"
#include "shell/moddapra.h"
#include "shell/pictures.h"
#include "shell/windowrequests.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace controlpanel {

fProperti::fProperti(const QString& userName, QWidget* parent) : ui::Form(parent) {
    setWindowTitle(QStringLiteral("Data Akses Pengguna"));
    setFixedDialog(5355, 4815);
    buildControls();
    setCancelButton(Command1);
    connect(Check1, &QCheckBox::toggled, this, &fProperti::Check1_Click);
    connect(Command2, &QPushButton::clicked, this, &fProperti::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &ui::Form::unload);
    connect(List1, &QListWidget::itemClicked, this, &fProperti::toggle);
    ui::onKey(List1, Qt::Key_Space, [this] { toggle(List1->currentItem()); });
    InitForm(userName);
    LoadUserRights();
    Command1->setFocus();
}

void fProperti::buildControls() {
    QWidget* page = ui::tabPage(this, QStringLiteral("Akses Pengguna"), {45, 45, 5250, 4260});
    ui::label(page, QStringLiteral("Label3"),
              QStringLiteral("Untuk memberikan dan mengubah hak akses user, centang menu yang akan "
                             "diakses."),
              {1260, ui::tabTop(510), 3705, 555});
    pictures::userPicture(page, QStringLiteral("Picture1"), 135, ui::tabTop(450), 1005, 1005);
    ui::label(page, QStringLiteral("Label1"), QStringLiteral("Nama Pengguna"),
              {1290, ui::tabTop(1155), 1200, 195});
    Text1 = new QLineEdit(page);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setEnabled(false);
    ui::placeTw(Text1, 2625, ui::tabTop(1095), 2490, 350);
    auto* frame = new QGroupBox(QStringLiteral("Akses Pengguna"), page);
    frame->setObjectName(QStringLiteral("Frame1"));
    ui::placeTw(frame, 135, ui::tabTop(1485), 4995, 2670);
    List1 = new QListWidget(frame);
    List1->setObjectName(QStringLiteral("List1"));
    ui::placeTw(List1, 90, 225, 4785, 2310);
    Check1 = new QCheckBox(QStringLiteral("Centang Semua"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    ui::placeTw(Check1, 315, 4410, 1725, 285);
    Command2 = ui::button(this, QStringLiteral("Command2"), QStringLiteral("&Simpan"),
                          {2805, 4395, 1200, 350});
    Command1 = ui::button(this, QStringLiteral("Command1"), QStringLiteral("&Batal"),
                          {4065, 4395, 1200, 350});
    ui::tabRoad({Command1, Command2, Check1, List1, Text1});
}

// The rights in the order of the table from right to window.
void fProperti::InitForm(const QString& userName) {
    Text1->setText(userName);
    List1->clear();
    for (const shell::FormEntry& entry : shell::formTable()) {
        auto* item = new QListWidgetItem(entry.right, List1);
        // The window ticks and clears the entries itself (toggle), so that a
        // click on the text does what a click on the box does.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
}

void fProperti::userNotFound() {
    ui::msgBox(QStringLiteral("Gagal mencari user"));
}

void fProperti::LoadUserRights() {
    std::optional<qint64> userId;
    QStringList held;
    const bool ran = moddapra::RunUnit([&](db::Connection& c) {
        userId = findUserId(c, Text1->text());
        if (userId) {
            held = userRights(c, *userId);
        }
    });
    if (!ran) {
        return;
    }
    if (!userId) {
        userNotFound();
        return;
    }
    if (!held.isEmpty()) {
        MarkUserRights(held);
    }
}

// Every stored row that names an entry exactly ticks it and counts; "Centang
// Semua" is ticked when the count reaches the number of entries.
void fProperti::MarkUserRights(const QStringList& held) {
    int matches = 0;
    for (const QString& right : held) {
        for (int i = 0; i < List1->count(); ++i) {
            if (List1->item(i)->text() == right) {
                List1->item(i)->setCheckState(Qt::Checked);
                ++matches;
            }
        }
    }
    List1->setCurrentRow(0);
    Check1->setChecked(matches == List1->count());
}

void fProperti::Check1_Click(bool ticked) {
    setAllTicks(ticked);
    List1->setCurrentRow(0);
}

void fProperti::toggle(QListWidgetItem* item) {
    if (!item) {
        return;
    }
    List1->setCurrentItem(item);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void fProperti::setAllTicks(bool ticked) {
    for (int i = 0; i < List1->count(); ++i) {
        List1->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

QStringList fProperti::tickedRights() const {
    QStringList rights;
    for (int i = 0; i < List1->count(); ++i) {
        if (List1->item(i)->checkState() == Qt::Checked) {
            rights.append(List1->item(i)->text());
        }
    }
    return rights;
}

// The user is looked up by name again at saving; when he is gone the save
// stops there and nothing is written.
void fProperti::Command2_Click() {
    if (Text1->text().isEmpty()) {
        ui::msgBox(QStringLiteral("Nama User tidak terisi, klik tombol batal!"), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
        Command1->setFocus();
        return;
    }
    if (ui::msgBox(QStringLiteral("Simpan hak akses user ") + Text1->text() + QStringLiteral("?"),
                   ui::Buttons::YesNo, ui::Icon::None,
                   QStringLiteral("Konfirmasi")) == ui::Answer::No) {
        return;
    }
    if (!moddapra::MayWrite(this)) {
        return;
    }
    bool saved = false;
    const bool ran = moddapra::RunUnit(
        [&](db::Connection& c) { saved = replaceRights(c, Text1->text(), tickedRights()); });
    if (!ran) {
        return;
    }
    if (!saved) {
        userNotFound();
        return;
    }
    unload();
}

}  // namespace controlpanel
