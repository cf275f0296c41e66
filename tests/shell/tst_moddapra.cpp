#include "db/schema.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QDir>
#include <QFile>

namespace {

const QString kInfoBox = QStringLiteral(" \rHubungi Programmer! \rCek db.txt!");

}  // namespace

class ModdapraTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the user sees when the database cannot be opened; the action
    // stops there. (Files that are not the program's database: the hostile
    // files test.)
    void eachConnectionFailureHasItsMessage_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        const QString notFound = "Informasi (i): File Database tidak ditemukan di %1" + kInfoBox;
        const QString app = ui::kAppTitle + " (-): ";
        QTest::newRow("good") << "dapra.mdb"
                              << "";
        QTest::newRow("empty last line") << "" << app + "File db.txt masih kosong isinya!";
        QTest::newRow("missing file") << "hilang.mdb" << notFound;
        QTest::newRow("locked") << "dapra.mdb"
                                << app + "Nomor Error : 5\rDeskripsi Error : database is locked";
        QTest::newRow("no db.txt") << "-" << app + "File db.txt tidak ditemukan!";
        QTest::newRow("no folder") << "/" << app + "File database tidak ditemukan!";
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
        const bool ok = moddapra::RunUnit([](db::Connection& c) {
            c.exec("BEGIN IMMEDIATE");
            c.exec("INSERT INTO meja (nm_meja) VALUES ('A')");
            c.exec("SELECT * FROM tidak_ada");
        });
        QVERIFY(!ok);
        QCOMPARE(boxes.texts(), QStringList{"Nomor Error : 1\rDeskripsi Error : no such table: "
                                            "tidak_ada"});
        // The connection is gone: its lock is released and its write undone.
        auto other = install.connect();
        other->exec("BEGIN IMMEDIATE");
        other->exec("COMMIT");
        QCOMPARE(install.count("meja"), 0);

        // A failed open stops the action before its work runs.
        QVERIFY(QFile::remove(install.dbTxt()));
        bool ran = false;
        QVERIFY(!moddapra::RunUnit([&](db::Connection&) { ran = true; }));
        QVERIFY(!ran);
        QCOMPARE(boxes.boxes().size(), 2);
    }

    void firstStartSetsUpTheInstallFolder() {
        testing::TestInstall install;
        const QString home = install.folder() + "/baru";
        qputenv("DAPRA_HOME", home.toUtf8());
        QVERIFY(install::setUpFirstRun());
        QFile txt(home + "/db.txt");
        QVERIFY(txt.open(QIODevice::ReadOnly));
        QCOMPARE(txt.readAll(), (home + "/dapra.mdb\r\n").toUtf8());
        db::Connection(home + "/dapra.mdb");  // opens: it holds the ten tables
        // Any later start creates nothing, not even a missing db.txt.
        QVERIFY(QFile::remove(home + "/db.txt"));
        QVERIFY(!install::setUpFirstRun());
        QVERIFY(!QFile::exists(home + "/db.txt"));
    }

    void installFolderFollowsTheEnvironment() {
        const QByteArray home = qgetenv("DAPRA_HOME");
        const QByteArray xdg = qgetenv("XDG_DATA_HOME");
        qputenv("DAPRA_HOME", "/srv/dapra/");
        QCOMPARE(install::folder(), QStringLiteral("/srv/dapra"));
        qunsetenv("DAPRA_HOME");
        qputenv("XDG_DATA_HOME", "/data");
        QCOMPARE(install::dbTxtPath(), QStringLiteral("/data/mirawe-dapra/db.txt"));
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(install::defaultDbPath(),
                 QDir::homePath() + QStringLiteral("/.local/share/mirawe-dapra/dapra.mdb"));
        home.isEmpty() ? qunsetenv("DAPRA_HOME") : qputenv("DAPRA_HOME", home);
        xdg.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg);
    }
};

DAPRA_TEST_MAIN(ModdapraTest)
#include "tst_moddapra.moc"
