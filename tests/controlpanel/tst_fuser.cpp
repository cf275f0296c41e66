#include "controlpanel/fuser.h"
#include "shell/password.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kChooseFirst = QStringLiteral("Klik pada item user yang akan dihapus!");

bool waitActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 3000);
}

}  // namespace

class UserManagementTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<controlpanel::fUser> users;

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

    void open() {
        users = new controlpanel::fUser;
        users->show();
    }

    QTreeWidget* list() { return testing::child<QTreeWidget>(users, QStringLiteral("ListView1")); }
    void press(const char* name) {
        testing::child<QPushButton>(users, QString::fromLatin1(name))->click();
    }

    // A mouse click on the row that shows this name.
    void clickRow(const QString& name) {
        const QList<QTreeWidgetItem*> found = list()->findItems(name, Qt::MatchExactly, 0);
        QVERIFY(!found.isEmpty());
        const QPoint at = list()->visualItemRect(found.first()).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    }

    QStringList listed() {
        QStringList names;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            names << list()->topLevelItem(i)->text(0);
        }
        return names;
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }

    void cleanup() {
        delete users;
        install.reset();
        testing::settle();
    }

    void emptyList() {
        open();
        ui::MessageRecorder boxes;
        press("Command6");
        press("Command2");
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Daftar User kosong!"),
                                             QStringLiteral("Pilih dulu usernya!")}));
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Perhatian"));
        QCOMPARE(boxes.boxes()[1].title, QStringLiteral("Information"));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
    }

    // The window stays open until a user, a right and a "User Management"
    // row (whoever holds it, letter case counting) exist.
    void closeGuard() {
        open();
        ui::MessageRecorder boxes;
        press("Command3");
        addUser(QStringLiteral("Ani"));
        users->close();
        install->exec(QStringLiteral("INSERT INTO akses VALUES (1, 'user management')"));
        QVERIFY(waitActive(users));
        QTest::keyClick(list(), Qt::Key_Escape);
        QCOMPARE(boxes.texts(),
                 QStringList({QStringLiteral("Anda belum memasukkan Nama Pengguna. Silahkan isi "
                                             "sebelum keluar."),
                              QStringLiteral("Pegguna belum anda berikan Hak Akses. Silahkan isi "
                                             "sebelum keluar."),
                              QStringLiteral("Belum ada user yang bisa akses ke menu User "
                                             "Management. Harap memberi satu akses ke menu "
                                             "tersebut.")}));
        QCOMPARE(boxes.last().title, QStringLiteral("Mirawe Dapra"));
        QCOMPARE(boxes.last().icon, ui::Icon::None);
        QVERIFY(users->isVisible());

        install->exec(QStringLiteral("INSERT INTO akses VALUES (99, 'User Management')"));
        QTest::keyClick(list(), Qt::Key_Escape);
        QCOMPARE(boxes.boxes().size(), 3);
        testing::settle();
        QVERIFY(!users);
    }

    void tabOrder() {
        addUser(QStringLiteral("Ani"));
        open();
        QVERIFY(waitActive(users));
        QStringList road{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            road << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(road, QStringList({"Command3", "Command6", "Command7", "Command1", "Command2",
                                    "ListView1"}));
    }

    // The checks of the add-user dialog in order, each refusing alone.
    void addUserRefusals() {
        addUser(QStringLiteral("Budi"));
        open();
        ui::MessageRecorder boxes;
        QStringList focused;
        testing::whenModal([&](QWidget* d) {
            auto text = [d](const char* name) {
                return testing::child<QLineEdit>(d, QString::fromLatin1(name));
            };
            auto save = [&] {
                testing::child<QPushButton>(d, QStringLiteral("Command1"))->click();
                focused << d->focusWidget()->objectName();
            };
            save();
            text("Text1")->setText(QStringLiteral("bUDI"));
            save();
            text("Text2")->setText(QStringLiteral("Kunci"));
            save();
            text("Text3")->setText(QStringLiteral("kunci"));
            save();
            text("Text3")->setText(QStringLiteral("Kunci"));
            save();
            testing::child<QPushButton>(d, QStringLiteral("Command2"))->click();
        });
        press("Command1");
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Nama user belum diisi!"),
                                             QStringLiteral("Password belum diisi!"),
                                             QStringLiteral("Konfirmasi belum diisi!"),
                                             QStringLiteral("Password tidak sama!"),
                                             QStringLiteral("User bUDI sudah ada! Masukkan nama "
                                                            "lain!")}));
        QCOMPARE(focused, QStringList({"Text1", "Text2", "Text3", "Text3", "Text1"}));
        QCOMPARE(boxes.boxes()[3].title, QStringLiteral("Information!"));
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(install->count(QStringLiteral("pengguna")), 1);
    }

    // By keyboard: Enter moves through the boxes and saves from the last.
    // The password is stored as a hash that verifies with its letter case.
    void addUserStoresAHash() {
        open();
        ui::MessageRecorder boxes;
        testing::whenModal([](QWidget* d) {
            for (const auto& [name, text] : {std::pair{"Text1", "Citra"},
                                             {"Text2", "Kunci Rahasia"},
                                             {"Text3", "Kunci Rahasia"}}) {
                QWidget* focus = d->focusWidget();
                QCOMPARE(focus->objectName(), QString::fromLatin1(name));
                testing::typeText(focus, QString::fromLatin1(text));
                testing::pressEnter(focus);
            }
        });
        press("Command1");
        QVERIFY(boxes.empty());
        QCOMPARE(listed(), QStringList({QStringLiteral("Citra")}));
        const QString stored =
            install->scalar(QStringLiteral("SELECT Password FROM pengguna")).toString();
        QVERIFY(stored.startsWith(QStringLiteral("$argon2id$")));
        QVERIFY(password::verify(stored, QStringLiteral("Kunci Rahasia")));
        QVERIFY(!password::verify(stored, QStringLiteral("kunci rahasia")));
        QVERIFY(
            !password::verify(QStringLiteral("Kunci Rahasia"), QStringLiteral("Kunci Rahasia")));
        QCOMPARE(install->count(QStringLiteral("akses")), 0);
    }

    void declinedDeletionForgetsTheChoice() {
        addUser(QStringLiteral("Ani"));
        open();
        clickRow(QStringLiteral("Ani"));
        QCOMPARE(users->SelectedUserName, QStringLiteral("Ani"));
        ui::MessageRecorder boxes;
        press("Command6");
        press("Command6");
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Anda yakin ingin menghapus user Ani?"),
                                             kChooseFirst}));
        QCOMPARE(boxes.boxes()[0].buttons, ui::Buttons::YesNo);
        QCOMPARE(install->count(QStringLiteral("pengguna")), 1);
    }

    // The user and his rights go; other users' rights, stray rows and his
    // payments stay.
    void deletionRemovesTheRightsAndNothingElse() {
        const qint64 ani = addUser(QStringLiteral("Ani"), {"Kasir", "User Management"});
        const qint64 budi = addUser(QStringLiteral("Budi"), {"Kasir"});
        install->exec(QStringLiteral("INSERT INTO akses VALUES (0, 'Kasir')"));
        install->exec(QStringLiteral("INSERT INTO bayar (no_nota, id_user) VALUES ('PO-1', ?)"),
                      {ani});
        open();
        clickRow(QStringLiteral("Ani"));
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        press("Command6");
        QCOMPARE(listed(), QStringList({QStringLiteral("Budi")}));
        QVERIFY(users->SelectedUserName.isEmpty());
        QCOMPARE(install
                     ->scalar(QStringLiteral("SELECT group_concat(Id_User) FROM "
                                             "(SELECT Id_User FROM akses ORDER BY Id_User)"))
                     .toString(),
                 QStringLiteral("0,%1").arg(budi));
        QCOMPARE(install->count(QStringLiteral("bayar")), 1);
    }

    // A user deleted meanwhile at another workstation: nothing is touched.
    void deletionOfAUserGoneMeanwhile() {
        addUser(QStringLiteral("Ani"), {"Kasir"});
        install->exec(QStringLiteral("INSERT INTO akses VALUES (0, 'Kasir')"));
        open();
        clickRow(QStringLiteral("Ani"));
        install->exec(QStringLiteral("DELETE FROM pengguna"));
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        press("Command6");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(install->count(QStringLiteral("akses")), 2);
        QCOMPARE(listed(), QStringList({QStringLiteral("Ani")}));
        QCOMPARE(users->SelectedUserName, QStringLiteral("Ani"));
    }

    // A failing step leaves the old state whole.
    void failedDeletionChangesNothing() {
        addUser(QStringLiteral("Ani"), {"Kasir"});
        install->exec(
            QStringLiteral("CREATE TRIGGER stop BEFORE DELETE ON akses "
                           "BEGIN SELECT RAISE(ABORT, 'gagal'); END"));
        open();
        clickRow(QStringLiteral("Ani"));
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        press("Command6");
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("Nomor Error : ")));
        QCOMPARE(install->count(QStringLiteral("pengguna")), 1);
        QCOMPARE(install->count(QStringLiteral("akses")), 1);
    }

    // A double-click hands the row to the rights window and forgets it.
    void doubleClickOpensTheRights() {
        addUser(QStringLiteral("Ani"));
        addUser(QStringLiteral("Budi"));
        open();
        QString shownFor;
        testing::whenModal([&](QWidget* d) {
            shownFor = d->windowTitle() + QStringLiteral(": ") +
                       testing::child<QLineEdit>(d, QStringLiteral("Text1"))->text();
            testing::child<QPushButton>(d, QStringLiteral("Command1"))->click();
        });
        clickRow(QStringLiteral("Budi"));
        const QPoint at = list()->visualItemRect(list()->topLevelItem(1)).center();
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(shownFor, QStringLiteral("Data Akses Pengguna: Budi"));
        QCOMPARE(users->focusWidget()->objectName(), QStringLiteral("Command2"));
        ui::MessageRecorder boxes;
        press("Command6");
        QCOMPARE(boxes.texts(), QStringList({kChooseFirst}));
    }
};

DAPRA_TEST_MAIN(UserManagementTest)
#include "tst_fuser.moc"
