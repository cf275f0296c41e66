// User management, the add-user dialog and the access rights window, driven
// by keys and the mouse as a user drives them.
#include "controlpanel/fproperti.h"
#include "controlpanel/fuser.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>

using testing::child;
using testing::focusName;
using testing::keys;
using testing::seen;

namespace {

QListWidget* entries(QWidget* w) {
    return child<QListWidget>(w, "List1");
}

QStringList ticked(QWidget* rights) {
    QStringList names;
    for (int i = 0; i < entries(rights)->count(); ++i) {
        if (entries(rights)->item(i)->checkState() == Qt::Checked) {
            names << entries(rights)->item(i)->text();
        }
    }
    return names;
}

void clickEntry(QWidget* rights, int row, int x) {
    QListWidget* list = entries(rights);
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + x, rect.center().y()));
}

}  // namespace

class UsersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<controlpanel::fUser> users;

    // The stored rights as "id:right", in the order they were written.
    QStringList stored() {
        return testing::column(
            install->connect()->rows("SELECT Id_User || ':' || Akses FROM akses ORDER BY rowid"),
            0);
    }

    // Opened as the menu opens it, for a signed-in user.
    void openUsers() {
        moddapra::UserId = 1;
        users = new controlpanel::fUser;
        users->show();
        QVERIFY(testing::activate(users));
    }

    QTreeWidget* userList() { return child<QTreeWidget>(users, "ListView1"); }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete users;
        install.reset();
        testing::settle();
    }

    // What the window shows, its Tab road from "&Keluar", and the close
    // guard that Esc and "&Keluar" run: a user, a right and a "User
    // Management" row (letter case counting) of a stored user must exist.
    void closeGuard() {
        openUsers();
        ui::MessageRecorder boxes;
        QCOMPARE(users->windowTitle() + '/' + child<QTabWidget>(users, "SSTab1")->tabText(0) + '/' +
                     child<QLabel>(users, "Label3")->text() + '/' +
                     userList()->headerItem()->text(0),
                 QStringLiteral(
                     "Manajemen Pengguna/ Pengguna Program/Daftar Pengguna Software ini:/Nama "
                     "Pengguna"));
        QCOMPARE(testing::tabRoad(6), QStringList({"Command3", "Command6", "Command7", "Command1",
                                                   "Command2", "ListView1", "Command3"}));
        keys("Tab|Space|Esc");  // "&Hapus User", then Esc
        install->addUser("Ani");
        keys("Alt+K");
        install->exec("INSERT INTO akses VALUES (1, 'user management')");
        keys("Esc");
        install->exec("INSERT INTO akses VALUES (99, 'User Management')");
        keys("Esc");
        const QString app = ui::kAppTitle;
        const QString noManager = app +
                                  " (-): Belum ada user yang bisa akses ke menu User "
                                  "Management. Harap memberi satu akses ke menu tersebut.";
        QCOMPARE(seen(boxes),
                 QStringList({"Perhatian (i): Daftar User kosong!",
                              app + " (-): Anda belum memasukkan Nama Pengguna. Silahkan isi "
                                    "sebelum keluar.",
                              app + " (-): Pegguna belum anda berikan Hak Akses. Silahkan isi "
                                    "sebelum keluar.",
                              noManager, noManager}));
        install->exec("INSERT INTO akses VALUES (1, 'User Management')");
        keys("Esc");
        testing::settle();
        QVERIFY(!users);
    }

    // The add-user checks in order, then a save by Enter from the name on:
    // the password is stored as a hash that verifies, letter case counting.
    void addUserByKeyboard() {
        install->addUser("Budi");
        openUsers();
        ui::MessageRecorder boxes;
        QStringList focus;
        testing::whenModal([&](QWidget* d) {
            focus << d->windowTitle() + '/' + focusName();
            for (const char* typed : {"", "bUDI", "Kunci", "kunci", "Kunci"}) {
                keys(QString("Ctrl+A|") + typed + "|Alt+S");
                focus << focusName();
            }
            keys("Ctrl+A|Citra|Enter|Ctrl+A|Kunci|Enter|Ctrl+A|Kunci|Enter");
        });
        keys("Alt+T");  // "&Tambah User"
        QCOMPARE(seen(boxes), QStringList({"Information! (i): Nama user belum diisi!",
                                           "Information! (i): Password belum diisi!",
                                           "Information! (i): Konfirmasi belum diisi!",
                                           "Information! (i): Password tidak sama!",
                                           "Informasi (i): User bUDI sudah ada! Masukkan nama "
                                           "lain!"}));
        QCOMPARE(focus, QStringList({"Tambah Pengguna/Text1", "Text1", "Text2", "Text3", "Text3",
                                     "Text1"}));
        const QString hash =
            install->scalar("SELECT Password FROM pengguna WHERE nm_user = 'Citra'").toString();
        QVERIFY(hash.startsWith("$argon2id$"));
        QVERIFY(password::verify(hash, "Kunci") && !password::verify(hash, "kunci"));
        QCOMPARE(testing::column(userList(), 0), QStringList({"Budi", "Citra"}));
        QVERIFY(stored().isEmpty());
    }

    // Tab into the list chooses nobody; Space chooses the row it selects.
    // Declining forgets the choice; a deletion takes the user's rights and
    // nothing else.
    void deleteUser() {
        const qint64 ani = install->addUser("Ani", {"Kasir"});
        const qint64 budi = install->addUser("Budi", {"Kasir"});
        install->exec("INSERT INTO akses VALUES (0, 'Kasir')");
        install->exec("INSERT INTO bayar (no_nota, id_user) VALUES ('PO-1', ?)", {ani});
        openUsers();
        ui::MessageRecorder boxes;
        // From "&Keluar" to "&Hapus User", to the list and back, then Space.
        keys("Tab|Shift+Tab|Shift+Tab|Tab|Tab|Space");
        keys("Shift+Tab|Shift+Tab|Space|Tab|Tab|Space|Space");  // chosen, asked, No
        QCOMPARE(seen(boxes),
                 QStringList({"Perhatian (i): Klik pada item user yang akan dihapus!",
                              "Mirawe Dapra (-?): Anda yakin ingin menghapus user Ani?",
                              "Perhatian (i): Klik pada item user yang akan dihapus!"}));

        boxes.answer(ui::Answer::Yes);
        keys("Shift+Tab|Shift+Tab|Space|Tab|Tab|Space");
        QCOMPARE(stored(), QStringList({QString::number(budi) + ":Kasir", "0:Kasir"}));
        QCOMPARE(install->count("bayar"), 1);
        QCOMPARE(testing::column(userList(), 0), QStringList({"Budi"}));
    }

    // A double-click hands the row to the rights window: the held rights
    // (exact texts) ticked, "Centang Semua" only when all are; a click on an
    // entry's text ticks or clears it as Space does; saving asks first and
    // writes the ticked rights in list order.
    void rightsByKeyboardAndMouse() {
        const qint64 ani = install->addUser("Ani", {"Kasir", "data meja", "Bukan Hak"});
        const qint64 budi = install->addUser("Budi", {"Kasir"});
        openUsers();
        ui::MessageRecorder boxes;
        QStringList shown;
        testing::whenModal([&](QWidget* d) {
            shown << d->windowTitle() << child<QLineEdit>(d, "Text1")->text() << ticked(d).join(',')
                  << focusName();
            QCOMPARE(testing::tabRoad(4),
                     QStringList({"Command1", "Command2", "Check1", "List1", "Command1"}));
            keys("Tab|Tab|Space");  // "Centang Semua"
            shown << QString::number(ticked(d).size());
            keys("Space");
            shown << QString::number(ticked(d).size());
            clickEntry(d, 2, 60);  // on the text
            clickEntry(d, 1, 60);
            clickEntry(d, 1, 60);
            keys("Down|Down|Space");
            clickEntry(d, 16, 8);  // on the box
            keys("Alt+S");
            shown << QString::number(stored().size()) + (d->isVisible() ? " open" : "");
            keys("Alt+S");
        });
        boxes.answer(ui::Answer::No);
        boxes.answer(ui::Answer::Yes);
        testing::doubleClick(userList(), 0);
        QCOMPARE(shown, QStringList({"Data Akses Pengguna", "Ani", "Kasir", "Command1", "17", "0",
                                     "4 open"}));
        QCOMPARE(seen(boxes), QStringList(2, "Konfirmasi (-?): Simpan hak akses user Ani?"));
        const QString a = QString::number(ani) + ':';
        QCOMPARE(stored(), QStringList({QString::number(budi) + ":Kasir", a + "Data Pelayan",
                                        a + "Data Kategori", a + "Restore Database"}));

        // The double-click handed its user on: "&Hak Akses" now has none.
        // "&Hapus User" and "&Hak Akses" share their letter: Alt+H moves to
        // each in turn, Space presses the one holding the focus.
        boxes.clear();
        QVERIFY(testing::activate(users));
        QCOMPARE(focusName(), QStringLiteral("Command2"));
        keys("Space");
        QCOMPARE(seen(boxes).value(0), QStringLiteral("Information (i): Pilih dulu usernya!"));
        testing::whenModal([&shown](QWidget* d) {
            shown = QStringList{child<QLineEdit>(d, "Text1")->text()};
            keys("Esc");
        });
        keys("Tab|Down|Alt+H|Alt+H|Space");
        QCOMPARE(shown, QStringList{"Budi"});
    }

    // A user holding every right opens with "Centang Semua" ticked. The user
    // gone at saving stops the save, and nothing is written for user id 0.
    // (That a failing save keeps the old rights whole, the crash and stations
    // runs hold.)
    void rightsNotSaved() {
        QStringList all;
        for (const shell::FormEntry& entry : shell::formTable()) {
            all << entry.right;
        }
        moddapra::UserId = install->addUser("Ani", all);
        ui::MessageRecorder boxes;
        auto* rights = new controlpanel::fProperti("Ani");
        rights->show();
        QVERIFY(testing::activate(rights));
        QVERIFY(child<QCheckBox>(rights, "Check1")->isChecked());
        QCOMPARE(ticked(rights), all);
        const QStringList before = stored();
        install->exec("DELETE FROM pengguna");
        boxes.answer(ui::Answer::Yes);
        keys("Alt+S");
        QCOMPARE(seen(boxes), QStringList({"Konfirmasi (-?): Simpan hak akses user Ani?",
                                           ui::kAppTitle + " (-): Gagal mencari user"}));
        QCOMPARE(stored(), before);
        QVERIFY(rights->isVisible());
        keys("Esc");
        testing::settle();
    }
};

DAPRA_TEST_MAIN(UsersTest)
#include "tst_users.moc"
