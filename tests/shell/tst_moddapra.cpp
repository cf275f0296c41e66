#include "db/schema.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

class ModdapraTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the user sees when the database cannot be opened; the action
    // stops there. (Files that are not the program's database: the hostile
    // files test.)
    void eachConnectionFailureHasItsMessage_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        const QString notFound =
            "Informasi (i): File Database tidak ditemukan di %1 \rHubungi Programmer! \rCek "
            "db.txt!";
        const QString app = ui::kAppTitle + " (-): ";
        const auto row = [](const char* tag, const char* file, const QString& shown) {
            QTest::newRow(tag) << file << shown;
        };
        row("good", "dapra.mdb", "");
        row("empty last line", "", app + "File db.txt masih kosong isinya!");
        row("missing file", "hilang.mdb", notFound);
        row("locked", "dapra.mdb", app + "Nomor Error : 5\rDeskripsi Error : database is locked");
        row("no db.txt", "-", app + "File db.txt tidak ditemukan!");
        row("no folder", "/", app + "File database tidak ditemukan!");
    }
    void eachConnectionFailureHasItsMessage() {
        QFETCH(QString, file);
        QFETCH(QString, shown);
        testing::TestInstall install;
        const QString path = file.isEmpty() ? QString() : install.folder() + '/' + file;
        install.writeDbTxt(path.toUtf8() + "\r\n");
        std::unique_ptr<db::Connection> holder;
        if (QTest::currentDataTag() == QString("locked")) {
            holder = install.connect();
            holder->exec("BEGIN EXCLUSIVE");  // another station holds the whole file
        } else if (file == "-") {
            QVERIFY(QFile::remove(install.dbTxt()));
            moddapra::DbPath = "/vorher";
        } else if (file == "/") {
            qputenv("DAPRA_HOME", (install.folder() + "/belum-ada").toUtf8());
        }
        ui::MessageRecorder boxes;
        const bool opened = moddapra::OpenConnection() != nullptr;
        QCOMPARE(opened, shown.isEmpty());
        QCOMPARE(testing::seen(boxes).join('\n'), shown.arg(path));
        QVERIFY(file != "hilang.mdb" || !QFile::exists(path));  // never created
        QVERIFY(file != "-" || moddapra::DbPath == "/vorher");  // a missing db.txt keeps it
    }

    void unitOfWorkClosesOnEveryPath() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        QVERIFY(!moddapra::RunUnit([](db::Connection& c) {
            c.exec("BEGIN IMMEDIATE");
            c.exec("INSERT INTO meja (nm_meja) VALUES ('A')");
            c.exec("SELECT * FROM tidak_ada");
        }));
        QCOMPARE(boxes.texts(), QStringList{"Nomor Error : 1\rDeskripsi Error : no such table: "
                                            "tidak_ada"});
        // The connection is gone: its lock is released and its write undone.
        install.exec("BEGIN IMMEDIATE");
        QCOMPARE(install.count("meja"), 0);

        // A failed open stops the action before its work runs.
        QVERIFY(QFile::remove(install.dbTxt()));
        bool ran = false;
        QVERIFY(!moddapra::RunUnit([&](db::Connection&) { ran = true; }));
        QVERIFY(!ran);
        QCOMPARE(boxes.boxes().size(), 2);
    }

    // What the install folder holds before a start (files as "name:bytes",
    // "whole" a complete database) and whether that start is a first start.
    // A first start cut off at any point leaves the next one a first start
    // or a whole database to put into place; afterwards the folder holds the
    // database with its tables and db.txt naming it, both the owner's only.
    void firstStart_data() {
        QTest::addColumn<QStringList>("held");
        QTest::addColumn<bool>("first");
        QTest::newRow("no folder") << QStringList() << true;
        QTest::newRow("other files") << QStringList{"catatan.txt:x"} << true;
        QTest::newRow("disk full") << QStringList() << true;
        QTest::newRow("cut off by an earlier release")
            << QStringList{"dapra.mdb:", "dapra.mdb-journal:xyz"} << true;
        QTest::newRow("cut off while building")
            << QStringList{"dapra.mdb.baru:xyz", "dapra.mdb.baru-journal:xyz"} << true;
        QTest::newRow("cut off before the rename")
            << QStringList{"dapra.mdb.baru:whole", "db.txt:"} << false;
        QTest::newRow("database without db.txt") << QStringList{"dapra.mdb:whole"} << false;
    }
    void firstStart() {
        QFETCH(QStringList, held);
        QFETCH(bool, first);
        testing::TestInstall install;
        const QString home = install.folder() + "/baru";
        qputenv("DAPRA_HOME", home.toUtf8());
        for (const QString& file : held) {
            QDir().mkpath(home);
            const QString path = home + '/' + file.section(':', 0, 0);
            if (file.endsWith(":whole")) {
                db::createDatabaseFile(path);
            } else if (!file.isEmpty()) {
                testing::writeBytes(path, file.section(':', 1).toUtf8());
            }
        }
        if (held.contains("db.txt:")) {
            testing::writeBytes(home + "/db.txt", (home + "/dapra.mdb\r\n").toUtf8());
        }
        if (QTest::currentDataTag() == QByteArray("disk full")) {
            testing::limitFileSize(8192);
            const auto lift = qScopeGuard([] { testing::limitFileSize(RLIM_INFINITY); });
            QVERIFY_THROWS_EXCEPTION(db::Error, install::setUpFirstRun());
            QVERIFY(!QFile::exists(home + "/db.txt") && !QFile::exists(home + "/dapra.mdb"));
        }
        QCOMPARE(install::setUpFirstRun(), first);
        QStringList files = QDir(home).entryList(QDir::Files);
        files.removeOne("catatan.txt");
        if (QTest::currentDataTag() == QByteArray("database without db.txt")) {
            QCOMPARE(files, QStringList{"dapra.mdb"});  // not created, not even db.txt
            return;
        }
        QCOMPARE(files, QStringList({"dapra.mdb", "db.txt"}));
        QCOMPARE(testing::bytesOf(home + "/db.txt"), (home + "/dapra.mdb\r\n").toUtf8());
        QCOMPARE(db::Connection(home + "/dapra.mdb").scalar("SELECT count(*) FROM pengguna"), 0);
        const auto ownerOnly =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QCOMPARE(QFile::permissions(home + "/dapra.mdb"), ownerOnly);
        if (first) {
            QCOMPARE(QFile::permissions(home + "/db.txt"), ownerOnly);
        }
    }
};

DAPRA_TEST_MAIN(ModdapraTest)
#include "tst_moddapra.moc"
