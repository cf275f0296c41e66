#include "controlpanel/fproperti.h"
#include "controlpanel/fuser.h"
#include "shell/password.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

namespace {

void press(QWidget* w, const char* name) {
    testing::child<QPushButton>(w, name)->click();
}
QListWidget* entries(QWidget* w) {
    return testing::child<QListWidget>(w, "List1");
}
QCheckBox* tickAll(QWidget* w) {
    return testing::child<QCheckBox>(w, "Check1");
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

}  // namespace

class UsersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<controlpanel::fUser> users;
    QPointer<controlpanel::fProperti> rights;

    qint64 addUser(const QString& name, const QStringList& held = {}) {
        install->exec("INSERT INTO pengguna (nm_user, Password) VALUES (?, 'x')", {name});
        const qint64 id = install->scalar("SELECT max(id_user) FROM pengguna").toLongLong();
        for (const QString& right : held) {
            install->exec("INSERT INTO akses VALUES (?, ?)", {id, right});
        }
        return id;
    }

    // The stored rights as "id:right", in the order they were written.
    QStringList stored() {
        QStringList rows;
        for (const db::Row& r :
             install->connect()->rows("SELECT Id_User, Akses FROM akses ORDER BY rowid")) {
            rows << r[0].toString() + ':' + r[1].toString();
        }
        return rows;
    }

    void openUsers() {
        users = new controlpanel::fUser;
        users->show();
    }
    void openRights(const QString& name) {
        rights = new controlpanel::fProperti(name);
        rights->show();
    }

    // A click on the row; a double-click follows a click, as with a mouse.
    void clickRow(int row, bool doubleClick = false) {
        auto* list = testing::child<QTreeWidget>(users, "ListView1");
        const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (doubleClick) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete rights;
        delete users;
        install.reset();
        testing::settle();
    }

    // Closing waits for a user, a right and a "User Management" row (of
    // anyone, letter case counting); Esc runs the same guard.
    void closeGuard() {
        openUsers();
        ui::MessageRecorder boxes;
        press(users, "Command6");
        press(users, "Command3");
        addUser("Ani");
        users->close();
        install->exec("INSERT INTO akses VALUES (1, 'user management')");
        users->close();
        QCOMPARE(boxes.texts(),
                 QStringList({"Daftar User kosong!",
                              "Anda belum memasukkan Nama Pengguna. Silahkan isi sebelum keluar.",
                              "Pegguna belum anda berikan Hak Akses. Silahkan isi sebelum keluar.",
                              "Belum ada user yang bisa akses ke menu User Management. Harap "
                              "memberi satu akses ke menu tersebut."}));
        QCOMPARE(boxes.last().icon, ui::Icon::None);
        install->exec("INSERT INTO akses VALUES (99, 'User Management')");
        users->activateWindow();
        QVERIFY(QTest::qWaitFor([this] { return QApplication::activeWindow() == users; }));
        QTest::keyClick(users, Qt::Key_Escape);
        testing::settle();
        QVERIFY(!users);
    }

    // The add-user checks in order, then a save by Enter from the last box:
    // the password is stored as a hash that verifies, letter case counting.
    void addUser() {
        addUser("Budi");
        openUsers();
        ui::MessageRecorder boxes;
        QStringList focus;
        testing::whenModal([&](QWidget* d) {
            for (const auto& [name, text] : {std::pair{"", ""},
                                             {"Text1", "bUDI"},
                                             {"Text2", "Kunci"},
                                             {"Text3", "kunci"},
                                             {"Text3", "Kunci"}}) {
                if (*name) {
                    testing::child<QLineEdit>(d, name)->setText(text);
                }
                press(d, "Command1");
                focus << d->focusWidget()->objectName();
            }
            testing::child<QLineEdit>(d, "Text1")->setText("Citra");
            testing::child<QLineEdit>(d, "Text3")->setFocus();
            testing::press(Qt::Key_Return);
        });
        press(users, "Command1");
        QCOMPARE(boxes.texts(), QStringList({"Nama user belum diisi!", "Password belum diisi!",
                                             "Konfirmasi belum diisi!", "Password tidak sama!",
                                             "User bUDI sudah ada! Masukkan nama lain!"}));
        QCOMPARE(focus, QStringList({"Text1", "Text2", "Text3", "Text3", "Text1"}));
        const QString hash =
            install->scalar("SELECT Password FROM pengguna WHERE nm_user = 'Citra'").toString();
        QVERIFY(hash.startsWith("$argon2id$"));
        QVERIFY(password::verify(hash, "Kunci") && !password::verify(hash, "kunci"));
        QCOMPARE(testing::child<QTreeWidget>(users, "ListView1")->topLevelItemCount(), 2);
        QVERIFY(stored().isEmpty());
    }

    // Declining forgets the choice; a failing step changes nothing; a
    // deletion takes the user's rights and nothing else; a user gone
    // meanwhile changes nothing.
    void deleteUser() {
        const qint64 ani = addUser("Ani", {"Kasir"});
        const qint64 budi = addUser("Budi", {"Kasir"});
        install->exec("INSERT INTO akses VALUES (0, 'Kasir')");
        install->exec("INSERT INTO bayar (no_nota, id_user) VALUES ('PO-1', ?)", {ani});
        openUsers();
        ui::MessageRecorder boxes;
        clickRow(0);
        press(users, "Command6");
        press(users, "Command6");
        QCOMPARE(boxes.texts(), QStringList({"Anda yakin ingin menghapus user Ani?",
                                             "Klik pada item user yang akan dihapus!"}));

        install->exec(
            "CREATE TRIGGER t BEFORE DELETE ON akses BEGIN SELECT RAISE(ABORT, 'x'); END");
        boxes.answer(ui::Answer::Yes);
        clickRow(0);
        press(users, "Command6");
        QVERIFY(boxes.last().text.startsWith("Nomor Error : "));
        QCOMPARE(install->count("pengguna"), 2);

        install->exec("DROP TRIGGER t");
        boxes.answer(ui::Answer::Yes);
        press(users, "Command6");
        QCOMPARE(stored(), QStringList({QString::number(budi) + ":Kasir", "0:Kasir"}));
        QCOMPARE(install->count("bayar"), 1);

        clickRow(0);
        install->exec("DELETE FROM pengguna");
        boxes.answer(ui::Answer::Yes);
        press(users, "Command6");
        QCOMPARE(stored().size(), 2);
        QCOMPARE(users->SelectedUserName, QStringLiteral("Budi"));
    }

    // A double-click hands the row to the rights window, which ticks the
    // held rights (exact texts) and "Centang Semua" only when all are held.
    void rightsShown() {
        QStringList all;
        for (const shell::FormEntry& e : shell::formTable()) {
            all.prepend(e.right);
        }
        addUser("Ani", all);
        addUser("Budi", {"Kasir", "data meja", "Bukan Hak"});
        openUsers();
        QStringList seen;
        testing::whenModal([&](QWidget* d) {
            seen << ticked(d).join(',') + (tickAll(d)->isChecked() ? "+" : "");
            press(d, "Command1");
        });
        clickRow(1, true);
        QCOMPARE(seen, QStringList({"Kasir"}));
        ui::MessageRecorder boxes;
        press(users, "Command2");
        QCOMPARE(boxes.texts(), QStringList({"Pilih dulu usernya!"}));
        openRights("ani");
        QCOMPARE(ticked(rights).size(), 17);
        QVERIFY(tickAll(rights)->isChecked());
    }

    // Ticks by hand and "Centang Semua", then saving in list order after the
    // question (No keeps the window as it is).
    void rightsSaved() {
        const qint64 ani = addUser("Ani", {"Kasir", "Data Meja"});
        const qint64 budi = addUser("Budi", {"Kasir"});
        openRights("Ani");
        tickAll(rights)->click();
        QCOMPARE(ticked(rights).size(), 17);
        entries(rights)->item(3)->setCheckState(Qt::Unchecked);
        QVERIFY(tickAll(rights)->isChecked());
        tickAll(rights)->click();
        QVERIFY(ticked(rights).isEmpty());
        QCOMPARE(entries(rights)->currentRow(), 0);
        entries(rights)->item(16)->setCheckState(Qt::Checked);
        entries(rights)->setCurrentRow(2);
        QTest::keyClick(entries(rights), Qt::Key_Space);
        entries(rights)->item(0)->setCheckState(Qt::Checked);

        ui::MessageRecorder boxes;
        press(rights, "Command2");
        QVERIFY(rights->isVisible());
        boxes.answer(ui::Answer::Yes);
        press(rights, "Command2");
        QCOMPARE(boxes.texts(), QStringList(2, "Simpan hak akses user Ani?"));
        const QString a = QString::number(ani) + ':';
        QCOMPARE(stored(), QStringList({QString::number(budi) + ":Kasir", a + "Data Meja",
                                        a + "Data Pelayan", a + "Restore Database"}));
    }

    // A failing insert keeps the old rights whole; the user gone at saving
    // stops the save, and nothing is written for user id 0.
    void rightsNotSaved() {
        addUser("Ani", {"Kasir"});
        ui::MessageRecorder boxes;
        openRights("Ani");
        tickAll(rights)->click();
        install->exec(
            "CREATE TRIGGER t BEFORE INSERT ON akses WHEN NEW.Akses = 'Data Menu' "
            "BEGIN SELECT RAISE(ABORT, 'x'); END");
        boxes.answer(ui::Answer::Yes);
        press(rights, "Command2");
        QVERIFY(boxes.last().text.startsWith("Nomor Error : "));
        install->exec("DELETE FROM pengguna");
        boxes.answer(ui::Answer::Yes);
        press(rights, "Command2");
        QCOMPARE(boxes.last().text, QStringLiteral("Gagal mencari user"));
        QCOMPARE(stored(), QStringList({"1:Kasir"}));
        QVERIFY(rights->isVisible());
    }
};

DAPRA_TEST_MAIN(UsersTest)
#include "tst_users.moc"
