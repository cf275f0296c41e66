// A window left open writes only while a user holding its right is signed in.
#include "shell/futama.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/printer.h"
#include "toolkit/seams.h"

#include <QDir>
#include <QFile>
#include <QPointer>

using shell::FormId;

namespace {

const QString kSignIn = QStringLiteral("Informasi (i): Anda Harus Login Terlebih Dahulu!");
const QString kNoRight =
    QStringLiteral("Informasi (i): Anda tidak diijinkan untuk mengakses menu ini!");
const QString kNoManager = QStringLiteral(
    "Mirawe Dapra (-): Belum ada user yang bisa akses ke menu User Management. Harap memberi "
    "satu akses ke menu tersebut.");

// Keys steps parted by "|"; a step "@keys" (keys parted by ",") is typed into
// the modal window the next step opens, and a bare "@" picks the first row
// of the picker it opens. Keys go to the window in front, or to home when
// none is, as a window manager would after a modal window closed.
void drive(const QString& road, QWidget* home) {
    for (const QString& step : road.split('|')) {
        if (!step.startsWith('@')) {
            if (!QApplication::activeWindow()) {
                testing::activate(home);
            }
            testing::keys(step);
            continue;
        }
        const QString inner = step.mid(1).replace(',', '|');
        testing::whenModal([inner](QWidget* modal) {
            const QPointer<QWidget> window(modal);
            const bool onList =
                QApplication::focusWidget() && QApplication::focusWidget()->inherits("QTreeWidget");
            testing::keys(!inner.isEmpty() ? inner : onList ? "Enter" : "Tab|Enter");
            testing::settle();
            if (window && window->isVisible()) {
                window->close();
            }
        });
    }
}

}  // namespace

class WriteAccessTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;

    // Every row of every table, db.txt, and the files beside the database.
    QString stored() const {
        QString all = QString::fromUtf8(testing::bytesOf(install->dbTxt()));
        std::unique_ptr<db::Connection> c = install->connect();
        for (const db::Row& table :
             c->rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                     "'sqlite%' ORDER BY name")) {
            for (const db::Row& row : c->rows("SELECT * FROM " + table[0].toString())) {
                for (const QVariant& value : row) {
                    all += value.toString() + '|';
                }
            }
        }
        return all + QString::number(QDir(install->folder()).count());
    }

    void seed() const {
        install->exec("INSERT INTO meja (nm_meja) VALUES ('Meja 1')");
        install->exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Sari')");
        install->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan')");
        install->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi')");
        install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('NG', 'Nasi Goreng', 1, 1, 12500)");
        install->exec(
            "INSERT INTO pesan VALUES (1, 'RO-010320241', '2024-03-01', '08:00:00', 1, 1, 12500,"
            " 'Belum Bayar')");
        install->exec("INSERT INTO detail_pesan VALUES (1, 1, 1, 12500)");
        QVERIFY(QFile::copy(install->dbPath(), install->folder() + "/lain.mdb"));
    }

    // The seeded data with Budi, who holds no right, and Ani, signed in with
    // the window's right.
    struct Users {
        qint64 budi = 0;
        qint64 ani = 0;
    };
    Users seedWithUsers(FormId form) const {
        seed();
        Users users;
        users.budi = install->addUser("Budi");
        users.ani = install->addUser("Ani", {shell::formEntry(form).right}, password::hash("x"));
        moddapra::UserId = users.ani;
        moddapra::UserName = QStringLiteral("Ani");
        return users;
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        install.reset();
        testing::settle();
    }

    // Signed out, then signed in as a user without the window's right: the
    // window's write, tried by keys, stores nothing and shows the refusal.
    void writeNeedsTheWindowsRight_data() {
        QTest::addColumn<FormId>("form");
        QTest::addColumn<QString>("road");   // the write, signed out
        QTest::addColumn<QString>("again");  // the write once more, without the right
        QTest::newRow("table") << FormId::fMeja << "Baru|Alt+S"
                               << "Alt+S";
        QTest::newRow("category") << FormId::fKategori << "Baru|Alt+S"
                                  << "Alt+S";
        QTest::newRow("waiter") << FormId::fPelayan << "Penyusup|Enter|Enter|Enter|Enter|Enter"
                                << "Alt+S";
        QTest::newRow("menu item")
            << FormId::fMenu << "K9|Alt+S|Sate|Alt+S|Alt+S|@|Space|Alt+S|@|Space|Alt+S|500|Alt+S"
            << "Alt+S";
        QTest::newRow("order") << FormId::fOrder
                               << "@|Tab|Tab|Space|@|Space|@|Space|2|Enter|Tab|Tab|Tab|Tab|Space"
                               << "Space";
        QTest::newRow("payment") << FormId::fKasir << "@|Space|20000|Enter"
                                 << "Enter";
        // Refused when its dialog or question is asked for: none opens.
        QTest::newRow("add user") << FormId::fUser << "Alt+T"
                                  << "Alt+T";
        QTest::newRow("delete user") << FormId::fUser << "Shift+Tab|Space|Tab|Tab|Space"
                                     << "Space";
        QTest::newRow("rights") << FormId::fUser << "Shift+Tab|Space|Shift+Tab|Space"
                                << "Space";
        QTest::newRow("password") << FormId::fUbahPassword << "x|Tab|baru|Tab|baru|Alt+G"
                                  << "Alt+G";
        QTest::newRow("location") << FormId::fClient_Server << "Space|Alt+S"
                                  << "Alt+S";
        QTest::newRow("backup") << FormId::fBackupDB << "Alt+B"
                                << "Alt+B";
        QTest::newRow("reset") << FormId::fResetDB << "Space|Alt+R"
                               << "Alt+R";
        QTest::newRow("restore") << FormId::fRestoreDB << "Space|Tab|Space"
                                 << "Space|Tab|Space";
    }
    void writeNeedsTheWindowsRight() {
        QFETCH(FormId, form);
        QFETCH(QString, road);
        QFETCH(QString, again);
        const qint64 budi = seedWithUsers(form).budi;
        testing::MainWindow main;
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        ui::PrintRecorder printed;
        ui::FixedClock clock(QDateTime(QDate(2024, 3, 7), QTime(10, 11, 12)));
        const QString before = stored();
        QStringList refusals;
        const auto tryWrites = [&](QWidget* home) {
            for (int i = 0; i < 8; ++i) {
                boxes.answer(ui::Answer::Yes);
            }
            files.answer(install->folder() +
                         (form == FormId::fBackupDB ? "/baru.mdb" : "/lain.mdb"));
            files.answer(install->folder() +
                         (form == FormId::fBackupDB ? "/baru.mdb" : "/lain.mdb"));
            moddapra::UserId = 0;
            drive(road, home);
            refusals << (boxes.empty() ? QString() : testing::seen(boxes).last());
            moddapra::UserId = budi;
            drive(again, home);
            refusals << (boxes.empty() ? QString() : testing::seen(boxes).last());
        };
        if (shell::formEntry(form).modal) {
            testing::whenModal([&](QWidget* w) {
                tryWrites(w);
                w->close();
            });
            shell::requestForm(form);
        } else {
            shell::requestForm(form);
            tryWrites(main.get());
            delete shell::openForm(form);
        }
        QCOMPARE(refusals, QStringList({kSignIn, kNoRight}));
        QCOMPARE(stored(), before);
    }

    // A stored row brought up for a change, then saved (Alt+S) signed out and
    // once more without the window's right: refused each time, nothing stored.
    // Saved at last with the right, the change lands.
    void changeNeedsTheWindowsRight_data() {
        QTest::addColumn<FormId>("form");
        QTest::addColumn<bool>("listed");     // the first row of its list is double-clicked first
        QTest::addColumn<QString>("change");  // then these keys, signed in with the right
        QTest::addColumn<QString>("query");   // reads the changed value
        QTest::addColumn<QString>("changed");
        const QString toName = "Shift+Tab|Shift+Tab|Shift+Tab|Shift+Tab|Baru";
        QTest::newRow("table") << FormId::fMeja << true << toName
                               << "SELECT group_concat(nm_meja) FROM meja"
                               << "Baru";
        QTest::newRow("category") << FormId::fKategori << true << toName
                                  << "SELECT group_concat(nm_kategori) FROM kategori"
                                  << "Baru";
        QTest::newRow("unit") << FormId::fSatuan << true << toName
                              << "SELECT group_concat(nm_satuan) FROM satuan"
                              << "Baru";
        QTest::newRow("waiter") << FormId::fPelayan << true << "Baru"
                                << "SELECT group_concat(nm_pelayan) FROM pelayan"
                                << "SariBaru";
        // Its first save only puts "-" into the empty description.
        QTest::newRow("menu item")
            << FormId::fMenu << true << "Shift+Tab|Shift+Tab|Shift+Tab|9000|Alt+S"
            << "SELECT group_concat(harga_jual) FROM menu"
            << "9000";
        QTest::newRow("order") << FormId::fOrder << false << "@|Space"
                               << "SELECT group_concat(jam_order) FROM pesan"
                               << "10:11:12";
    }
    void changeNeedsTheWindowsRight() {
        QFETCH(FormId, form);
        QFETCH(bool, listed);
        QFETCH(QString, change);
        QFETCH(QString, query);
        const auto [budi, ani] = seedWithUsers(form);
        testing::MainWindow main;
        ui::MessageRecorder boxes;
        ui::PrintRecorder printed;
        ui::FixedClock clock(QDateTime(QDate(2024, 3, 7), QTime(10, 11, 12)));
        const QString before = stored();
        QStringList refusals;
        const auto tryChanges = [&](QWidget* window, QWidget* home) {
            if (listed) {
                testing::doubleClick(testing::child<QTreeWidget>(window, "ListView1"), 0);
            }
            drive(change, home);
            for (const qint64 user : {qint64(0), budi, ani}) {
                boxes.clear();
                boxes.answer(ui::Answer::Yes);  // to "change the stored row?"
                moddapra::UserId = user;
                drive("Alt+S", home);
                if (user != ani) {
                    refusals << (boxes.empty() ? QString() : testing::seen(boxes).last());
                    QCOMPARE(stored(), before);
                }
            }
        };
        if (shell::formEntry(form).modal) {
            testing::whenModal([&](QWidget* w) {
                tryChanges(w, w);
                w->close();
            });
            shell::requestForm(form);
        } else {
            shell::requestForm(form);
            tryChanges(shell::openForm(form), main.get());
            delete shell::openForm(form);
        }
        QCOMPARE(refusals, QStringList({kSignIn, kNoRight}));
        QTEST(install->scalar(query).toString(), "changed");
    }

    // User management, opened at the first start without a sign-in, writes
    // for as long as it stays open: the first user with every right, then a
    // second user with his rights, and a third added and deleted. The
    // permission closes with it: the window the menu opens later refuses a
    // user without the right before any dialog or question opens.
    void firstStartWindowWritesUntilClosed() {
        shell::fUtama main;
        ui::MessageRecorder boxes;
        main.start();
        const QPointer<QWidget> users = shell::openForm(FormId::fUser);
        QVERIFY(users && testing::activate(users));
        for (int i = 0; i < 3; ++i) {
            boxes.answer(ui::Answer::Yes);
        }
        const auto add = [](const QString& name) {
            return "@" + name + ",Enter,Kunci,Enter,Kunci,Enter|Alt+T|";
        };
        // The focus stays on "&Hak Akses": the list, its last row (the new user) chosen.
        const QString chooseNew = "Tab|End|";
        drive(add("Citra") + "Shift+Tab|Space|Shift+Tab|@Tab,Tab,Space,Alt+S|Space|" + add("Dodi") +
                  chooseNew + "Shift+Tab|@Tab,Tab,Tab,Home,Space,Alt+S|Space|" + add("Eko") +
                  chooseNew + "Tab|Tab|Space|Esc",
              users);
        testing::settle();
        QVERIFY(!users);
        QCOMPARE(testing::seen(boxes), QStringList({"Konfirmasi (-?): Simpan hak akses user Citra?",
                                                    "Konfirmasi (-?): Simpan hak akses user Dodi?",
                                                    "Mirawe Dapra (-?): Anda yakin ingin menghapus "
                                                    "user Eko?"}));
        QCOMPARE(
            testing::column(
                install->connect()->rows(
                    "SELECT nm_user || ':' || count(Akses) FROM pengguna p LEFT "
                    "JOIN akses a ON a.Id_User = p.id_user GROUP BY p.id_user ORDER BY p.id_user"),
                0),
            QStringList({"Citra:17", "Dodi:1"}));

        boxes.clear();
        moddapra::UserId =
            install->scalar("SELECT id_user FROM pengguna WHERE nm_user = 'Citra'").toLongLong();
        testing::whenModal([&](QWidget* menuUsers) {
            moddapra::UserId =
                install->scalar("SELECT id_user FROM pengguna WHERE nm_user = 'Dodi'").toLongLong();
            // "&Tambah User"; the list's first row, "&Hak Akses"; "&Hapus User".
            drive("Alt+T|Shift+Tab|Space|Shift+Tab|Space|Tab|Tab|Tab|Space", menuUsers);
            moddapra::UserId = 0;
            drive("Alt+T", menuUsers);
            menuUsers->close();
        });
        main.menuItem("mUser")->trigger();
        QCOMPARE(testing::seen(boxes), QStringList({kNoRight, kNoRight, kNoRight, kSignIn}));
        QCOMPARE(install->count("pengguna") * 100 + install->count("akses"), 218);
    }

    // While no stored user holds "User Management", user management keeps
    // its window open and writes without a sign-in, however that came
    // about; once a user holds it, the window closes. Opened by the start,
    // it writes until then (Dodi added once the right is given). "Admin"
    // holds all 17 rights ("semua") where seeded.
    void userManagementGivenAgain_data() {
        // From "&Keluar" (or from "&Hak Akses", "Tab|"): the list, its first
        // row chosen, "&Hak Akses", in the rights window the list, its first
        // entry and the keys given, then "&Simpan".
        const auto giveRights = [](const QString& from, const QString& inRights) {
            return from + "Space|Shift+Tab|@Tab,Tab,Tab,Home," + inRights + ",Alt+S|Space";
        };
        const QString manager = QStringList(11, "Down").join(',') + ",Space";
        const QString addDodi = "@Dodi,Enter,Kunci,Enter,Kunci,Enter|Alt+T";
        const QString saveAdmin = "Konfirmasi (-?): Simpan hak akses user Admin?";
        QTest::addColumn<QString>("seed");  // "admin" signed in, "orphans" his rights kept
        QTest::addColumn<QString>("road");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("rights");  // "user:rights" as stored
        QTest::addColumn<QStringList>("users");
        QTest::newRow("first start")
            << ""
            << "@Admin,Enter,Kunci,Enter,Kunci,Enter|Alt+T|" + giveRights("Shift+Tab|", "Space") +
                   "|Esc|" + giveRights("Tab|", manager) + "|" + addDodi + "|Esc"
            << QStringList({saveAdmin, kNoManager, saveAdmin})
            << QStringList({"Admin:Data Meja,User Management"}) << QStringList({"Admin", "Dodi"});
        QTest::newRow("own right taken and given back")
            << "admin"
            << giveRights("Shift+Tab|", manager) + "|Esc|" + giveRights("Tab|", manager) + "|Esc"
            << QStringList({saveAdmin, kNoManager, saveAdmin}) << QStringList({"Admin:semua"})
            << QStringList({"Admin"});
        QTest::newRow("users deleted, rights kept")
            << "orphans"
            << "@Budi,Enter,Kunci,Enter,Kunci,Enter|Alt+T|Esc|" +
                   giveRights("Shift+Tab|", "Shift+Tab,Space") + "|" + addDodi + "|Esc"
            << QStringList({kNoManager, "Konfirmasi (-?): Simpan hak akses user Budi?"})
            << QStringList({"#1:semua", "Budi:semua"}) << QStringList({"Budi", "Dodi"});
    }
    void userManagementGivenAgain() {
        QFETCH(QString, seed);
        QFETCH(QString, road);
        if (!seed.isEmpty()) {
            QStringList all;
            for (const shell::FormEntry& entry : shell::formTable()) {
                all << entry.right;
            }
            moddapra::UserId = install->addUser("Admin", all, password::hash("Kunci"));
        }
        if (seed == "orphans") {
            install->exec("DELETE FROM pengguna");
            moddapra::UserId = 0;
        }
        shell::fUtama main;
        ui::MessageRecorder boxes;
        for (int i = 0; i < 4; ++i) {
            boxes.answer(ui::Answer::Yes);
        }
        if (seed == "admin") {
            // From the menu, for the signed-in Admin: a modal window.
            main.show();
            QVERIFY(testing::activate(&main));
            testing::whenModal([&](QWidget* users) { drive(road, users); });
            main.menuItem("mUser")->trigger();
        } else {
            main.start();
            const QPointer<QWidget> users = shell::openForm(FormId::fUser);
            QVERIFY(users && testing::activate(users));
            drive(road, users);
        }
        testing::settle();
        QVERIFY(!shell::openForm(FormId::fUser));
        QTEST(testing::seen(boxes), "boxes");
        QTEST(testing::column(
                  install->connect()->rows("SELECT nm_user FROM pengguna ORDER BY id_user"), 0),
              "users");
        QTEST(testing::column(
                  install->connect()->rows(
                      "SELECT coalesce(nm_user, '#' || a.Id_User) || ':' || CASE count(*) WHEN 17"
                      " THEN 'semua' ELSE group_concat(Akses, ',') END FROM akses a LEFT JOIN"
                      " pengguna p ON p.id_user = a.Id_User GROUP BY a.Id_User ORDER BY a.Id_User"),
                  0),
              "rights");
    }
};

DAPRA_TEST_MAIN(WriteAccessTest)
#include "tst_writeaccess.moc"
