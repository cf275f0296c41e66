// db.txt naming what is not the program's database.
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
            QFile file(f.absoluteFilePath());
            const bool read = f.isFile() && file.open(QIODevice::ReadOnly);
            files << f.absoluteFilePath() + ' ' + QString::number(f.size()) + ' ' +
                         QCryptographicHash::hash(read ? file.readAll() : QByteArray(),
                                                  QCryptographicHash::Sha1)
                             .toHex();
        }
    }
    return files;
}

// A SQLite file with a table of the program's name, keyed with this key.
void foreignDatabase(const QString& path, const QByteArray& key) {
    sqlite3* handle = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &handle), SQLITE_OK);
    sqlite3_key(handle, key.constData(), int(key.size()));
    QCOMPARE(sqlite3_exec(handle, "CREATE TABLE meja (id_meja, nm_meja, Keterangan)", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(handle);
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
        QTest::newRow("/dev/zero") << "/dev/zero";
        QTest::newRow("text file") << "catatan.txt";
        QTest::newRow("another key") << "kunci.mdb";
        QTest::newRow("our key, no tables of ours") << "tanpa-tabel.mdb";
    }
    void dbTxtNamingNoDatabase() {
        QFETCH(QString, target);
        testing::TestInstall install;
        const QString path = target.startsWith('/') ? target : install.folder() + '/' + target;
        if (target == "folder") {
            QVERIFY(QDir(install.folder()).mkdir("folder"));
        } else if (target == "catatan.txt") {
            testing::writeBytes(path, "SQLite format 3\nbukan database\r\n");
        } else if (target == "kunci.mdb") {
            foreignDatabase(path, "kunci lain");
        } else if (target == "tanpa-tabel.mdb") {
            db::Connection(path, db::Connection::Mode::Create).exec("CREATE TABLE meja (a)");
        }
        install.writeDbTxt(path.toUtf8() + "\r\n");
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
};

DAPRA_TEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
