// db.txt naming what is not the program's database, and report periods at the
// turn of the year.
#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "support/testsupport.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace {

// Names, sizes and contents of the files in these folders.
QStringList snapshot(const QStringList& folders) {
    QStringList files;
    for (const QString& folder : folders) {
        for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::System)) {
            QString line = f.absoluteFilePath() + ' ' + QString::number(f.size());
            QFile file(f.absoluteFilePath());
            if (f.isFile() && file.open(QIODevice::ReadOnly)) {
                line += ' ' +
                        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
            }
            files << line;
        }
    }
    return files;
}

// A SQLite file with a table of the program's name, keyed with this key
// (none: a plain SQLite file).
void foreignDatabase(const QString& path, const QByteArray& key) {
    sqlite3* handle = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &handle), SQLITE_OK);
    if (!key.isEmpty()) {
        sqlite3_key(handle, key.constData(), int(key.size()));
    }
    QCOMPARE(sqlite3_exec(handle, "CREATE TABLE meja (id_meja, nm_meja, Keterangan)", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(handle);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class HostileFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Whatever db.txt names, the next action says the database is not found
    // there and stops: no work runs, no file is created or changed.
    void dbTxtNamingNoDatabase_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder") << "folder";
        QTest::newRow("/dev/null") << "/dev/null";
        QTest::newRow("/dev/zero") << "/dev/zero";
        QTest::newRow("text file") << "catatan.txt";
        QTest::newRow("truncated database") << "potong.mdb";
        QTest::newRow("first page only") << "halaman.mdb";
        QTest::newRow("plain SQLite file") << "lain.db";
        QTest::newRow("another key") << "kunci.mdb";
        QTest::newRow("our key, no tables of ours") << "tanpa-tabel.mdb";
        QTest::newRow("NUL inside the path") << "nul";
    }
    void dbTxtNamingNoDatabase() {
        QFETCH(QString, target);
        testing::TestInstall install;
        install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)"
            " INSERT INTO menu (kode_menu, nama_menu, Keterangan)"
            " SELECT i, printf('%.200c', 'm'), printf('%.300c', 'k') FROM n");  // many pages
        QFile real(install.dbPath());
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray whole = real.readAll();
        QString path = target.startsWith('/') ? target : install.folder() + '/' + target;
        QByteArray line = path.toUtf8();
        if (target == "folder") {
            QVERIFY(QDir(install.folder()).mkdir("folder"));
        } else if (target == "catatan.txt") {
            writeFile(path, "SQLite format 3\nbukan database\r\n");
        } else if (target == "potong.mdb") {
            writeFile(path, whole.left(whole.size() / 2 + 100));
        } else if (target == "halaman.mdb") {
            writeFile(path, whole.left(4096));
        } else if (target == "lain.db") {
            foreignDatabase(path, {});
        } else if (target == "kunci.mdb") {
            foreignDatabase(path, "kunci lain");
        } else if (target == "tanpa-tabel.mdb") {
            db::Connection(path, db::Connection::Mode::Create).exec("CREATE TABLE meja (a)");
        } else if (target == "nul") {
            path = install.dbPath() + QChar(0) + "x";
            line = path.toUtf8();
        }
        install.writeDbTxt(line + "\r\n");
        const QStringList folders = {install.folder(), install.folder() + "/folder", "/dev"};
        const QStringList before = snapshot(folders);
        ui::MessageRecorder messages;
        bool ran = false;
        QVERIFY(!moddapra::RunUnit([&](db::Connection& c) {
            ran = true;
            c.rows("SELECT * FROM menu");
        }));
        QVERIFY(!ran);
        QCOMPARE(testing::seen(messages),
                 QStringList{"Informasi (i): File Database tidak ditemukan di " + path +
                             " \rHubungi Programmer! \rCek db.txt!"});
        QCOMPARE(snapshot(folders), before);
    }

    // A period that ends or starts at the turn of the year holds each
    // payment once, on its own side.
    void reportPeriodAcrossTheYear() {
        testing::TestInstall install;
        install.exec(
            "INSERT INTO pesan (no_order, tgl_order, jam_order, id_meja, id_pelayan,"
            " total_harga, status) VALUES ('RO-1', '2024-12-31', '23:59:00', 1, 1, 100,"
            " 'Sudah Bayar')");
        install.exec(
            "INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user,"
            " total_bayar, kembali) VALUES ('PO-a', 1, '2024-12-31', '23:59:59', 1, 100,"
            " 0), ('PO-b', 1, '2025-01-01', '00:00:00', 1, 100, 0)");
        std::unique_ptr<db::Connection> c = install.connect();
        const QDate eve(2024, 12, 31);
        const QDate day(2025, 1, 1);
        QCOMPARE(reports::periodPayments(*c, eve, eve).size(), size_t(1));
        QCOMPARE(reports::periodPayments(*c, day, day).size(), size_t(1));
        QCOMPARE(reports::periodPayments(*c, QDate(2024, 1, 1), eve).size(), size_t(1));
        QCOMPARE(reports::periodPayments(*c, eve, day).size(), size_t(2));
        QCOMPARE(reports::periodTotal(*c, day, QDate(2025, 12, 31)), std::optional<qint64>(100));
    }
};

DAPRA_TEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
