#include "controlpanel/fproperti.h"
#include "controlpanel/fuser.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

class AccessRightsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<controlpanel::fProperti> window;
    QStringList allRights;

    qint64 addUser(const QString& name, const QStringList& rights = {}) {
        install->exec(QStringLiteral("INSERT INTO pengguna (nm_user, Password) VALUES (?, 'x')"),
                      {name});
        const qint64 id =
            install->scalar(QStringLiteral("SELECT max(id_user) FROM pengguna")).toLongLong();
        for (const QString& right : rights) {
            install->exec(QStringLiteral("INSERT INTO akses VALUES (?, ?)"), {id, right});
        }
        return id;
    }

    void open(const QString& name) {
        window = new controlpanel::fProperti(name);
        window->show();
    }

    QListWidget* list() { return testing::child<QListWidget>(window, QStringLiteral("List1")); }
    QCheckBox* all() { return testing::child<QCheckBox>(window, QStringLiteral("Check1")); }
    void press(const char* name) {
        testing::child<QPushButton>(window, QString::fromLatin1(name))->click();
    }

    QStringList ticked() {
        QStringList rights;
        for (int i = 0; i < list()->count(); ++i) {
            if (list()->item(i)->checkState() == Qt::Checked) {
                rights << list()->item(i)->text();
            }
        }
        return rights;
    }

    QStringList stored(qint64 id) {
        QStringList rights;
        for (const db::Row& row :
             install->connect()->rows(QStringLiteral("SELECT Akses FROM akses WHERE Id_User = ? "
                                                     "ORDER BY rowid"),
                                      {id})) {
            rights << row[0].toString();
        }
        return rights;
    }

private Q_SLOTS:
    void initTestCase() {
        for (const shell::FormEntry& e : shell::formTable()) {
            allRights << e.right;
        }
    }
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete window;
        install.reset();
        testing::settle();
    }

    void userWithoutRights() {
        addUser(QStringLiteral("Ani"), {});
        addUser(QStringLiteral("Budi"), {"Kasir"});
        open(QStringLiteral("ani"));
        QCOMPARE(list()->count(), 17);
        QCOMPARE(list()->item(0)->text(), QStringLiteral("Data Meja"));
        QCOMPARE(list()->item(16)->text(), QStringLiteral("Restore Database"));
        QVERIFY(ticked().isEmpty());
        QVERIFY(!all()->isChecked());
        QCOMPARE(list()->currentRow(), -1);
        QVERIFY(!testing::child<QLineEdit>(window, QStringLiteral("Text1"))->isEnabled());
    }

    // Stored in any order and letter case counting: only exact texts tick.
    void heldRightsAreTicked() {
        QStringList reversed(allRights.rbegin(), allRights.rend());
        addUser(QStringLiteral("Ani"), reversed);
        addUser(QStringLiteral("Budi"), {"Kasir", "data meja", "Bukan Hak"});
        open(QStringLiteral("Ani"));
        QCOMPARE(ticked(), allRights);
        QVERIFY(all()->isChecked());
        QCOMPARE(list()->currentRow(), 0);
        delete window;
        open(QStringLiteral("Budi"));
        QCOMPARE(ticked(), QStringList({QStringLiteral("Kasir")}));
        QVERIFY(!all()->isChecked());
    }

    // "Centang Semua" sets every entry both ways; a tick by hand leaves it.
    void tickAll() {
        addUser(QStringLiteral("Ani"));
        open(QStringLiteral("Ani"));
        list()->item(3)->setCheckState(Qt::Checked);
        QVERIFY(!all()->isChecked());
        all()->click();
        QCOMPARE(ticked(), allRights);
        list()->item(5)->setCheckState(Qt::Unchecked);
        QVERIFY(all()->isChecked());
        all()->click();
        QVERIFY(ticked().isEmpty());
        QCOMPARE(list()->currentRow(), 0);
    }

    // Saved in list order after the question; No keeps the window as it is.
    void saveInListOrder() {
        const qint64 ani = addUser(QStringLiteral("Ani"), {"Kasir", "Data Meja"});
        const qint64 budi = addUser(QStringLiteral("Budi"), {"Kasir"});
        open(QStringLiteral("Ani"));
        list()->item(6)->setCheckState(Qt::Unchecked);  // Kasir
        list()->item(16)->setCheckState(Qt::Checked);   // Restore Database
        list()->setCurrentRow(2);
        QTest::keyClick(list(), Qt::Key_Space);  // Data Pelayan
        ui::MessageRecorder boxes;
        press("Command2");
        QCOMPARE(boxes.last().text, QStringLiteral("Simpan hak akses user Ani?"));
        QCOMPARE(boxes.last().title, QStringLiteral("Konfirmasi"));
        QVERIFY(window->isVisible());
        QCOMPARE(stored(ani), QStringList({"Kasir", "Data Meja"}));
        const QStringList wanted{"Data Meja", "Data Pelayan", "Restore Database"};
        QCOMPARE(ticked(), wanted);

        boxes.answer(ui::Answer::Yes);
        press("Command2");
        QCOMPARE(stored(ani), wanted);
        QCOMPARE(stored(budi), QStringList({"Kasir"}));
        testing::settle();
        QVERIFY(!window);
    }

    // Nothing ticked takes every right away; with it the last holder of
    // "User Management", so user management refuses to close.
    void savingNothingTicked() {
        const qint64 ani = addUser(QStringLiteral("Ani"), {"User Management"});
        addUser(QStringLiteral("Budi"), {"Kasir"});
        open(QStringLiteral("Ani"));
        list()->item(11)->setCheckState(Qt::Unchecked);
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        press("Command2");
        QVERIFY(stored(ani).isEmpty());
        QPointer<controlpanel::fUser> users = new controlpanel::fUser;
        users->show();
        users->close();
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("Belum ada user yang bisa akses")));
        QVERIFY(users->isVisible());
        delete users;
    }

    // The user gone when saving: the save stops, no row for user id 0.
    void userGoneAtSave() {
        addUser(QStringLiteral("Ani"), {"Kasir"});
        open(QStringLiteral("Ani"));
        install->exec(QStringLiteral("DELETE FROM pengguna"));
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        press("Command2");
        QCOMPARE(boxes.last().text, QStringLiteral("Gagal mencari user"));
        QCOMPARE(boxes.last().title, QStringLiteral("Mirawe Dapra"));
        QCOMPARE(install->scalar(QStringLiteral("SELECT group_concat(Id_User) FROM akses")),
                 QVariant(QStringLiteral("1")));
        QVERIFY(window->isVisible());
    }

    void unknownOrEmptyName() {
        ui::MessageRecorder boxes;
        open(QStringLiteral("Siapa"));
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Gagal mencari user")}));
        delete window;
        open(QString());
        press("Command2");
        QCOMPARE(boxes.last().text, QStringLiteral("Nama User tidak terisi, klik tombol batal!"));
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("Command1"));
        QCOMPARE(install->count(QStringLiteral("akses")), 0);
    }

    // The replacement is one transaction: a failing insert keeps the old rights.
    void failedSaveKeepsTheOldRights() {
        const qint64 ani = addUser(QStringLiteral("Ani"), {"Data Meja", "Kasir"});
        install->exec(
            QStringLiteral("CREATE TRIGGER stop BEFORE INSERT ON akses WHEN "
                           "NEW.Akses = 'Data Menu' BEGIN SELECT RAISE(ABORT, 'gagal'); END"));
        open(QStringLiteral("Ani"));
        all()->click();
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        press("Command2");
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("Nomor Error : ")));
        QCOMPARE(stored(ani), QStringList({"Data Meja", "Kasir"}));
        QVERIFY(window->isVisible());
    }
};

DAPRA_TEST_MAIN(AccessRightsTest)
#include "tst_fproperti.moc"
