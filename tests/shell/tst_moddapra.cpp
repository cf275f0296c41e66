#include "db/schema.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QDir>
#include <QFile>

namespace {

const QString kInfoBox = QStringLiteral(" \rHubungi Programmer! \rCek db.txt!");

// Runs OpenConnection and returns the boxes it showed; true in opened when a
// connection came back.
QList<ui::MessageRecord> openAndRecord(bool* opened = nullptr) {
    ui::MessageRecorder boxes;
    auto conn = moddapra::OpenConnection();
    if (opened) {
        *opened = conn != nullptr;
    }
    return boxes.boxes();
}

}  // namespace

class ModdapraTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onlyTheLastLineOfDbTxtCounts_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("path");
        QTest::newRow("one line, CR LF") << QByteArray("/a/dapra.mdb\r\n") << "/a/dapra.mdb";
        QTest::newRow("no line end") << QByteArray("/a/dapra.mdb") << "/a/dapra.mdb";
        QTest::newRow("three lines")
            << QByteArray("/x\r\n/y\r\n/z/dapra.mdb\r\n") << "/z/dapra.mdb";
        QTest::newRow("LF only") << QByteArray("/x\n/y/dapra.mdb\n") << "/y/dapra.mdb";
        QTest::newRow("extra empty line") << QByteArray("/a/dapra.mdb\r\n\r\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("blanks kept") << QByteArray(" /a b/dapra.mdb \r\n") << " /a b/dapra.mdb ";
    }
    void onlyTheLastLineOfDbTxtCounts() {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        testing::TestInstall install;
        install.writeDbTxt(content);
        moddapra::ReadDbPath();
        QCOMPARE(moddapra::DbPath, path);
    }

    void eachConnectionFailureHasItsMessage() {
        testing::TestInstall install;
        bool opened = true;

        QCOMPARE(openAndRecord(&opened).size(), 0);  // a good open shows nothing
        QVERIFY(opened);

        install.writeDbTxt("\r\n");
        auto boxes = openAndRecord(&opened);
        QVERIFY(!opened);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("File db.txt masih kosong isinya!"));
        QCOMPARE(boxes[0].title, ui::kAppTitle);
        QCOMPARE(boxes[0].icon, ui::Icon::None);

        const QString missing = install.folder() + "/hilang.mdb";
        install.writeDbTxt(missing.toUtf8() + "\r\n");
        boxes = openAndRecord(&opened);
        QVERIFY(!opened);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, "File Database tidak ditemukan di " + missing + kInfoBox);
        QCOMPARE(boxes[0].title, QStringLiteral("Informasi"));
        QCOMPARE(boxes[0].icon, ui::Icon::Information);
        QVERIFY(!QFile::exists(missing));  // never created

        const QString foreign = install.folder() + "/lain.mdb";
        QFile out(foreign);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(4096, 'x'));
        out.close();
        install.writeDbTxt(foreign.toUtf8() + "\r\n");
        boxes = openAndRecord(&opened);
        QVERIFY(!opened);
        QCOMPARE(boxes[0].text, "File Database tidak ditemukan di " + foreign + kInfoBox);

        QVERIFY(QFile::remove(install.dbTxt()));
        boxes = openAndRecord(&opened);
        QVERIFY(!opened);
        QCOMPARE(boxes[0].text, QStringLiteral("File db.txt tidak ditemukan!"));
        QCOMPARE(boxes[0].title, ui::kAppTitle);
        QCOMPARE(moddapra::DbPath, foreign);  // a missing db.txt keeps the path
    }

    void missingFolderOfDbTxt() {
        testing::TestInstall install;
        qputenv("DAPRA_HOME", (install.folder() + "/belum-ada").toUtf8());
        const auto boxes = openAndRecord();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("File database tidak ditemukan!"));
        QCOMPARE(boxes[0].icon, ui::Icon::None);
    }

    void otherFailuresShowTheirNumber() {
        testing::TestInstall install;
        auto holder = install.connect();
        holder->exec("BEGIN EXCLUSIVE");  // another station holds the whole file
        const auto boxes = openAndRecord();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Nomor Error : 5\rDeskripsi Error : database is locked"));
        QCOMPARE(boxes[0].title, ui::kAppTitle);
        holder->exec("ROLLBACK");
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
        {
            db::Connection c(home + "/dapra.mdb");
            QCOMPARE(c.scalar("SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                              " AND name <> 'sqlite_sequence' AND name NOT LIKE 'rekap%'")
                         .toInt(),
                     10);
        }
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
