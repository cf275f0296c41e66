// The database location, backup, restore and reset dialogs, opened through
// their access rights and driven by keys.
#include "controlpanel/fbackupdb.h"
#include "controlpanel/fclient_server.h"
#include "controlpanel/fresetdb.h"
#include "controlpanel/frestoredb.h"
#include "db/backup.h"
#include "db/schema.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/seams.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>

#include <sys/stat.h>
#include <unistd.h>

using testing::bytesOf;
using testing::focusName;
using testing::keys;
using testing::limitFileSize;
using testing::seen;
using testing::writeBytes;

namespace {

// A database of the program's holding one restaurant table of that name.
QString makeDatabase(const QString& path, const QString& table) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    db::createDatabaseFile(path);
    db::Connection(path).exec("INSERT INTO meja (nm_meja) VALUES (?)", {table});
    return path;
}

// The file's permission bits in octal, as chmod takes them.
QString modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0
               ? QString::asprintf("%04o", unsigned(info.st_mode & 07777))
               : QStringLiteral("missing");
}

QString tableName(const QString& path) {
    return db::Connection(path).scalar("SELECT group_concat(nm_meja) FROM meja").toString();
}

// Turns the database into one of the first version, without the running
// totals, holding one payment of an order of 5,000 with two of item 3.
void toFirstVersionWithPayment(const QString& path) {
    db::Connection c(path);
    c.exec("INSERT INTO pesan (id_order, total_harga) VALUES (1, 5000)");
    c.exec("INSERT INTO detail_pesan VALUES (1, 3, 2, 2500)");
    c.exec("INSERT INTO bayar (id_order, tgl_bayar) VALUES (1, '2026-01-05')");
    for (const db::Row& r : c.rows("SELECT type, name FROM sqlite_master"
                                   " WHERE name LIKE 'rekap%' ORDER BY type DESC")) {
        c.exec("DROP " + r[0].toString() + " " + r[1].toString());
    }
    c.exec("PRAGMA user_version = 1");
}

// Files that are not a database of the program. The damaged one has a byte
// changed on a late page, found only by reading the file whole. Besides, a
// hard link to the database.
void makeForeignFiles(const QString& folder) {
    writeBytes(folder + "/asing.mdb", QByteArray(8192, 'x'));
    db::Connection(folder + "/tanpa-tabel.mdb", db::Connection::Mode::Create)
        .exec("CREATE TABLE lain (a)");
    const QString damaged = makeDatabase(folder + "/rusak.mdb", "Rusak");
    db::Connection(damaged).exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
        "INSERT INTO menu (keterangan) SELECT printf('%0100d', i) FROM n");
    QByteArray bytes = bytesOf(damaged);
    bytes[bytes.size() - 3000] = char(bytes[bytes.size() - 3000] ^ 0x55);
    writeBytes(damaged, bytes);
    ::link(QFile::encodeName(folder + "/dapra.mdb").constData(),
           QFile::encodeName(folder + "/tautan.mdb").constData());
}

// Every table of the file, the program's ten and those kept from them, with
// its number of rows.
QMap<QString, qint64> rowsPerTable(const QString& path) {
    db::Connection c(path);
    QMap<QString, qint64> rows;
    for (const db::Row& row : c.rows("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                     "name NOT LIKE 'sqlite%'")) {
        rows[row[0].toString()] =
            c.scalar("SELECT count(*) FROM " + row[0].toString()).toLongLong();
    }
    return rows;
}

// A file dialog as kind|filter|folder|file name|question on replacing, the folder only where
// the expected text names one; it then closes.
QString fileDialogShown(QWidget* w, const QString& expected) {
    auto* files = qobject_cast<QFileDialog*>(w);
    const QString shown =
        QStringList{files->acceptMode() == QFileDialog::AcceptOpen ? "open" : "save",
                    files->nameFilters().join(";;"),
                    expected.contains("<install>") ? files->directory().absolutePath() : "",
                    testing::child<QLineEdit>(files, "fileNameEdit")->text(),
                    files->testOption(QFileDialog::DontConfirmOverwrite) ? "none" : ""}
            .join('|');
    files->reject();
    return shown;
}

}  // namespace

class DatabaseFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<ui::Form> dialog;

    // Opens the dialog as its menu entry does, for a user holding its right.
    template <typename Dialog>
    void open() {
        moddapra::ReadDbPath();  // as the access check before it did
        moddapra::UserId = moddapra::UserId != 0 ? moddapra::UserId : 1;
        dialog = new Dialog;
        dialog->show();
        QVERIFY(testing::activate(dialog));
    }
    QString text(const char* box) { return testing::child<QLineEdit>(dialog, box)->text(); }
    // The users the next database action of any window reads.
    static QString nextUsers() {
        return moddapra::OpenConnection()
            ->scalar("SELECT group_concat(nm_user) FROM pengguna")
            .toString();
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete dialog;
        install.reset();
        testing::settle();
    }

    void dialogs_data() {
        QTest::addColumn<shell::FormId>("form");
        // Caption, Tab road, then the browse button's file dialog as kind|filter|folder (none
        // named for the backup)|file name|question on replacing.
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("location") << shell::FormId::fClient_Server
                                  << QStringList{
                                         "Setting Database",
                                         "Command1",
                                         "Command4",
                                         "Command3",
                                         "Command2",
                                         "Command1",
                                         "open|Database Mirawe Dapra (dapra.mdb)|<install>||"};
        QTest::newRow("backup") << shell::FormId::fBackupDB
                                << QStringList{"Backup Database", "Command2", "Command1",
                                               "Command2",
                                               "save|Database Mirawe Dapra (*.mdb)|||none"};
        QTest::newRow("restore") << shell::FormId::fRestoreDB
                                 << QStringList{"Restore Database",
                                                "Command3",
                                                "Command1",
                                                "Command2",
                                                "Command3",
                                                "open|Database Mirawe Dapra (*.mdb)|<install>||"};
        QTest::newRow("reset") << shell::FormId::fResetDB
                               << QStringList{"Reset Database", "Option1", "Command7", "Command1",
                                              "Option1"};
    }
    // Each dialog opens modal through its right, with its caption, initial focus and Tab road
    // round to the start; the browse buttons' file dialogs open in the database's folder with no
    // file name, so Enter cannot pick the database itself, and the backup's asks nothing before
    // a file is replaced. Esc closes the dialog with no question.
    void dialogs() {
        QFETCH(shell::FormId, form);
        QFETCH(QStringList, shown);
        const bool browses = shown.last().contains('|');
        moddapra::UserId = install->addUser("Ani", {shell::formEntry(form).right});
        ui::MessageRecorder boxes;
        QStringList asked;
        testing::whenModal([&](QWidget* d) {
            asked << d->windowTitle() << testing::tabRoad(int(shown.size()) - (browses ? 3 : 2));
            if (browses) {
                testing::whenModal([&](QWidget* w) { asked << fileDialogShown(w, shown.last()); });
                keys("Space");
                QVERIFY(testing::activate(d));
            }
            keys("Esc");
        });
        shell::requestForm(form);
        testing::settle();
        QCOMPARE(asked, shown.replaceInStrings("<install>", install->folder()));
        QVERIFY(!shell::openForm(form));
        QVERIFY(boxes.empty());
    }

    // The last line of db.txt shows; a browsed file, then "&Default", each
    // saved by Alt+S typed at once, write exactly the path and CR LF, and the
    // very next action of any window uses it.
    void locationSaved() {
        const QString other = makeDatabase(install->folder() + "/server/dapra.mdb", "Lain");
        db::Connection(other).exec("INSERT INTO pengguna (nm_user) VALUES ('Budi')");
        install->writeDbTxt("/lama/dapra.mdb\r\n\r\n" + other.toUtf8());
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(QString());
        files.answer(install->folder() + "/server/../server/dapra.mdb");
        open<controlpanel::fClient_Server>();
        QCOMPARE(text("Text1"), other);
        keys("Space");  // cancelled: the box stays
        QCOMPARE(text("Text1"), other);
        keys("Space|Alt+S");
        QCOMPARE(bytesOf(install->dbTxt()), text("Text1").toUtf8() + "\r\n");
        QCOMPARE(nextUsers(), QStringLiteral("Budi"));

        keys("Alt+D|Alt+S");
        QCOMPARE(bytesOf(install->dbTxt()), install->dbPath().toUtf8() + "\r\n");
        const QString saved =
            ui::kAppTitle + QStringLiteral(" (-): Lokasi Database Server telah disimpan.");
        QCOMPARE(seen(boxes), QStringList({saved, saved}));
        QVERIFY(dialog->isVisible());
        QCOMPARE(nextUsers(), QString());
    }

    // An empty path and a db.txt that cannot be written are refused; the old
    // db.txt stays whole and no stray file is left.
    void locationNotWritten() {
        install->writeDbTxt("\r\n");
        ui::MessageRecorder boxes;
        open<controlpanel::fClient_Server>();
        keys("Tab|Alt+S");
        QCOMPARE(focusName(), QStringLiteral("Command1"));
        keys("Alt+D");
        const QStringList files = QDir(install->folder()).entryList(QDir::Files);
        const auto unlock = qScopeGuard([&] { testing::writeProtect(install->folder(), false); });
        if (!testing::writeProtect(install->folder(), true)) {
            QSKIP("this file system lets every file be created");
        }
        keys("Alt+S");
        QCOMPARE(
            seen(boxes).mid(0, 2),
            QStringList({ui::kAppTitle + QStringLiteral(" (-): File db.txt masih kosong isinya!"),
                         "Informasi (i): Lokasi Database Server tidak boleh kosong!"}));
        QVERIFY(seen(boxes).last().startsWith("Informasi (i): File db.txt tidak bisa ditulis: "));
        QCOMPARE(bytesOf(install->dbTxt()), QByteArray("\r\n"));
        QCOMPARE(QDir(install->folder()).entryList(QDir::Files), files);
    }

    void backup_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("mode");  // the database's, and so the copy's
        const auto row = [](const char* tag, const char* target, const QString& shown,
                            const char* mode) {
            QTest::newRow(tag) << target << shown << mode;
        };
        const QString failed = "Backup Database Gagal!\r";
        row("over a file", "cadangan.mdb", "Backup Database Berhasil...", "0600");
        row("database widened to its group", "cadangan.mdb", "Backup Database Berhasil...", "0660");
        row("disk full", "penuh.mdb", failed, "0600");
        row("the database itself", "dapra.mdb",
            failed + "File backup tidak boleh file database itu sendiri.", "0600");
    }
    // The copy is keyed and whole, replaces a file of that name and has the
    // database's mode, also one an administrator widened. A failure is
    // reported, never as a success: the target stays and no file is added.
    void backup() {
        QFETCH(QString, target);
        QFETCH(QString, shown);
        QFETCH(QString, mode);
        QCOMPARE(::chmod(QFile::encodeName(install->dbPath()).constData(),
                         mode_t(mode.toUInt(nullptr, 8))),
                 0);
        target = install->folder() + '/' + target;
        install->exec("INSERT INTO meja (nm_meja) VALUES ('Satu')");
        writeBytes(install->folder() + "/cadangan.mdb", "lama");
        const QByteArray before = bytesOf(target);
        const QStringList listed = QDir(install->folder()).entryList(QDir::Files);
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(QString());
        files.answer(target);
        open<controlpanel::fBackupDB>();
        QCOMPARE(text("Text1"), install->dbPath());
        keys("Alt+B");  // cancelled: nothing happens
        if (QTest::currentDataTag() == QByteArray("disk full")) {
            limitFileSize(8192);  // the copy fails midway
        }
        keys("Alt+B");
        limitFileSize(RLIM_INFINITY);
        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY(seen(boxes).last().startsWith("Informasi (i): " + shown));
        if (!shown.endsWith("...")) {
            QCOMPARE(bytesOf(target), before);
        }
        QCOMPARE(QDir(install->folder()).entryList(QDir::Files), listed);
        if (!shown.endsWith("...")) {
            return;
        }
        QVERIFY(db::isProgramDatabase(target, true));
        QVERIFY(!bytesOf(target).startsWith("SQLite format 3"));
        QCOMPARE(tableName(target), QStringLiteral("Satu"));
        QCOMPARE(modeOf(target), mode);
        QCOMPARE(modeOf(install->dbPath()), mode);
    }

    void restore_data() {
        QTest::addColumn<QString>("live");  // the database when the restore runs
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* tag, const char* live, const char* shown) {
            QTest::newRow(tag) << live << shown;
        };
        row("in use", "in use", "Restore Database Berhasil...");
        row("missing", "missing", "Restore Database Berhasil...");
        row("being written", "being written", "Restore Database Gagal!\r");
        row("in use, backup of the first version in a read-only folder", "in use",
            "Restore Database Berhasil...");
    }
    // The backup replaces the database at once: another station's open
    // connection reads it. A missing database is replaced by a complete copy
    // renamed into place; one another station is writing stays as it was.
    // The backup is only read: one of the first version lands upgraded, with
    // its running totals, once.
    void restore() {
        QFETCH(QString, live);
        QFETCH(QString, shown);
        install->exec("INSERT INTO meja (nm_meja) VALUES ('Tetap')");
        const QString backup = makeDatabase(install->folder() + "/cadangan/dapra.mdb", "Pulih");
        const bool firstVersion = QByteArray(QTest::currentDataTag()).contains("first version");
        if (firstVersion) {
            toFirstVersionWithPayment(backup);
        }
        const QByteArray backupBytes = bytesOf(backup);
        const auto unlock =
            qScopeGuard([&] { testing::writeProtect(QFileInfo(backup).absolutePath(), false); });
        if (firstVersion && !testing::writeProtect(QFileInfo(backup).absolutePath(), true)) {
            QSKIP("this file system lets every file be created");
        }
        auto other = install->connect();
        if (live == "being written") {
            other->exec("BEGIN IMMEDIATE");
        }
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(backup);
        open<controlpanel::fRestoreDB>();
        QCOMPARE(text("Text1"), install->dbPath());
        if (live == "missing") {
            other.reset();
            QVERIFY(QFile::remove(install->dbPath()));
        }
        keys("Space|Tab|Space");  // browse, then "Restore ke..."
        QCOMPARE(text("Text2"), backup);
        QVERIFY(seen(boxes).last().startsWith("Informasi (i): " + shown));
        QVERIFY(dialog && dialog->isVisible());
        const bool restored = shown.endsWith("...");
        if (other) {
            other->exec(restored ? "SELECT 1" : "ROLLBACK");
            QCOMPARE(other->scalar("SELECT nm_meja FROM meja").toString(),
                     restored ? QStringLiteral("Pulih") : QStringLiteral("Tetap"));
        }
        QCOMPARE(tableName(install->dbPath()),
                 restored ? QStringLiteral("Pulih") : QStringLiteral("Tetap"));
        QCOMPARE(QDir(install->folder()).entryList(QDir::Files),
                 QStringList({"dapra.mdb", "db.txt"}));
        QCOMPARE(bytesOf(backup), backupBytes);
        if (firstVersion) {
            QCOMPARE(install->scalar("SELECT total FROM rekap_harian"), QVariant(5000));
            QCOMPARE(install->scalar("SELECT total FROM rekap_menu WHERE id_menu = 3"),
                     QVariant(2));
        }
    }

    void fileRefused_data() {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QString>("path");
        for (const bool restore : {false, true}) {
            for (const char* name : {"hilang/dapra.mdb", "asing.mdb", "tanpa-tabel.mdb"}) {
                QTest::addRow("%s, %s", restore ? "restore" : "location", name) << restore << name;
            }
        }
        QTest::newRow("restore, damaged") << true << "rusak.mdb";
        QTest::newRow("restore, the database itself") << true << "dapra.mdb";
        QTest::newRow("restore, a hard link to the database itself") << true << "tautan.mdb";
        QTest::newRow("restore, none chosen") << true << QString();
    }
    // Only a file that opens as the program's database (for a restore: whole,
    // and not the database itself) is taken; a refusal changes no file, puts
    // the focus on the browse button and creates nothing.
    void fileRefused() {
        QFETCH(bool, restore);
        QFETCH(QString, path);
        makeForeignFiles(install->folder());
        path = path.isEmpty() ? path : install->folder() + '/' + path;
        const QByteArray live = bytesOf(install->dbPath());
        const QByteArray txt = bytesOf(install->dbTxt());
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(path);
        if (restore) {
            open<controlpanel::fRestoreDB>();
            keys("Space|Tab|Space");
        } else {
            open<controlpanel::fClient_Server>();
            keys("Space|Alt+S");
        }
        QString expected =
            "File " + path +
            (restore ? " bukan file database Mirawe Dapra atau rusak. Database tidak diubah."
                     : " bukan file database Mirawe Dapra atau tidak bisa dibuka.\rLokasi "
                       "Database Server tidak disimpan.");
        if (path.isEmpty()) {
            expected = "Anda belum memilih file database yang akan di restore";
        } else if (QByteArray(QTest::currentDataTag()).endsWith("itself")) {
            expected =
                "File yang dipilih adalah file database itu sendiri. Pilih file backup yang lain.";
        }
        QCOMPARE(seen(boxes), QStringList{"Informasi (i): " + expected});
        QCOMPARE(focusName(), restore ? QStringLiteral("Command3") : QStringLiteral("Command1"));
        QCOMPARE(bytesOf(install->dbPath()), live);
        QCOMPARE(bytesOf(install->dbTxt()), txt);
        QVERIFY(!QFile::exists(install->folder() + "/hilang"));
    }

    void resets_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("kept");  // the tables not emptied: all, none or master
        const QString whole = "Konfirmasi (-?): Anda yakin ingin menghapus seluruh isi database?";
        const QString orders = "Konfirmasi (-?): Anda yakin ingin menghapus data transaksi?";
        const QString app = ui::kAppTitle + QStringLiteral(" (-): ");
        QTest::newRow("no option")
            << "Alt+R" << true << QStringList{"Informasi (i): Anda belum memilih opsi apapun."}
            << "all";
        QTest::newRow("whole, No") << "Space|Alt+R" << false << QStringList{whole} << "all";
        QTest::newRow("whole") << "Space|Alt+R" << true
                               << QStringList{whole, app + "Reset Seluruh Database Berhasil..."}
                               << "none";
        QTest::newRow("orders") << "Space|Down|Alt+R" << true
                                << QStringList{orders, app + "Reset Data Transaksi Berhasil..."}
                                << "master";
    }
    // A reset empties all its tables, the totals kept from orders and
    // payments included; success closes the dialog.
    void resets() {
        QFETCH(QString, road);
        QFETCH(bool, yes);
        QFETCH(QStringList, shown);
        QFETCH(QString, kept);
        const QStringList master{"pengguna", "akses",  "meja",   "menu",
                                 "kategori", "satuan", "pelayan"};
        for (const QString& table : master) {
            install->exec("INSERT INTO " + table + " DEFAULT VALUES");
        }
        install->exec("INSERT INTO pesan (id_order, total_harga) VALUES (1, 5000)");
        install->exec("INSERT INTO detail_pesan VALUES (1, 1, 2, 2500)");
        install->exec("INSERT INTO bayar (id_order, tgl_bayar) VALUES (1, '2026-01-05')");
        const QMap<QString, qint64> before = rowsPerTable(install->dbPath());
        ui::MessageRecorder boxes;
        boxes.answer(yes ? ui::Answer::Yes : ui::Answer::No);
        open<controlpanel::fResetDB>();
        keys(road);
        testing::settle();
        QCOMPARE(seen(boxes), shown);
        const QMap<QString, qint64> after = rowsPerTable(install->dbPath());
        for (const QString& table : before.keys()) {
            const bool keeps = kept == "all" || (kept == "master" && master.contains(table));
            QCOMPARE(after[table], keeps ? before[table] : 0);
        }
        QCOMPARE(bool(dialog), kept == "all");
    }
};

DAPRA_TEST_MAIN(DatabaseFileTest)
#include "tst_databasefile.moc"
