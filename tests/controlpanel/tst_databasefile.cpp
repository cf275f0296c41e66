#include "controlpanel/fbackupdb.h"
#include "controlpanel/fclient_server.h"
#include "controlpanel/fresetdb.h"
#include "controlpanel/frestoredb.h"
#include "controlpanel/fuser.h"
#include "db/backup.h"
#include "db/schema.h"
#include "helpers.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "toolkit/msgbox.h"
#include "toolkit/seams.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Boxes = QList<ui::MessageRecord>;

// A folder in which no file can be created or renamed, root included (by
// the immutable flag where the file system has one).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : folder_(folder) {
        ::chmod(QFile::encodeName(folder_).constData(), 0555);
        immutable(true);
    }
    ~ReadOnlyFolder() {
        immutable(false);
        ::chmod(QFile::encodeName(folder_).constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool holds() const {
        QFile probe(folder_ + "/probe");
        const bool created = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return !created;
    }

private:
    void immutable(bool on) {
        const int fd = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) {
            return;
        }
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    QString folder_;
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

// A database of the program's holding one table row named after the file.
QString makeDatabase(const QString& path, const QString& table = "Meja Lain") {
    QDir().mkpath(QFileInfo(path).absolutePath());
    db::createDatabaseFile(path);
    db::Connection(path).exec("INSERT INTO meja (nm_meja) VALUES (?)", {table});
    return path;
}

QString tableName(const QString& path) {
    return db::Connection(path).scalar("SELECT nm_meja FROM meja").toString();
}

// Files that are not a database of the program; a damaged one is found only
// by reading it whole.
void makeForeignFiles(const QString& folder) {
    QDir().mkpath(folder);
    writeBytes(folder + "/kosong.mdb", {});
    writeBytes(folder + "/asing.mdb", QByteArray(8192, 'x'));
    db::Connection(folder + "/tanpa-tabel.mdb", db::Connection::Mode::Create)
        .exec("CREATE TABLE lain (a)");
    // Every page of the file is checked: a byte changed on a late page
    // spoils it.
    const QString damaged = makeDatabase(folder + "/rusak.mdb");
    {
        db::Connection c(damaged);
        db::Transaction tx(c);
        for (int i = 0; i < 300; ++i) {
            c.exec("INSERT INTO menu (nama_menu, keterangan) VALUES (?, ?)",
                   {QString::number(i), QString(100, 'k')});
        }
        tx.commit();
    }
    QByteArray bytes = bytesOf(damaged);
    bytes[bytes.size() - 3000] = char(bytes[bytes.size() - 3000] ^ 0x55);
    writeBytes(damaged, bytes);
}

}  // namespace

class DatabaseFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<ui::Form> dialog;

    template <typename Dialog>
    Dialog* open() {
        moddapra::ReadDbPath();  // as the access check before it did
        auto* d = new Dialog;
        dialog = d;
        if (!showActive(d)) {
            qWarning("the dialog did not become active");
        }
        return d;
    }
    QString text(const char* box) { return testing::child<QLineEdit>(dialog, box)->text(); }
    // The users that user management lists when it opens now.
    static QStringList usersListed() {
        auto* users = new controlpanel::fUser;
        auto* list = testing::child<QTreeWidget>(users, "ListView1");
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            names << list->topLevelItem(i)->text(0);
        }
        delete users;
        return names;
    }
    static void alt(Qt::Key k) {
        key(k, Qt::AltModifier);
        QTest::qWait(150);  // TEMP until mnemonics click at once
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete dialog;
        install.reset();
        testing::settle();
    }

    // The last line of db.txt shows; "&Default" then "&Simpan" writes exactly
    // the install folder's database and CR LF; a browsed file is used by the
    // very next action of any window.
    void locationSaved() {
        const QString other = makeDatabase(install->folder() + "/server/dapra.mdb");
        db::Connection(other).exec("INSERT INTO pengguna (nm_user) VALUES ('Budi')");
        install->writeDbTxt("/lama/dapra.mdb\r\n\r\n" + other.toUtf8());
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        open<controlpanel::fClient_Server>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Setting Database"));
        QCOMPARE(text("Text1"), other);
        QVERIFY(!testing::child<QLineEdit>(dialog, "Text1")->isEnabled());
        QCOMPARE(focusName(), QStringLiteral("Command1"));

        files.answer(QString());
        files.answer(other);
        key(Qt::Key_Space);  // cancelled: the box stays
        QCOMPARE(text("Text1"), other);
        files.answer(other);
        key(Qt::Key_Space);
        QCOMPARE(text("Text1"), other);
        const ui::FileDialogRequest asked = files.requests().last();
        QCOMPARE(asked.kind, ui::FileDialogRequest::Open);
        QCOMPARE(asked.filter, QStringLiteral("Database Mirawe Dapra|dapra.mdb"));
        QCOMPARE(asked.fileName, other);
        alt(Qt::Key_S);
        QCOMPARE(bytesOf(install->dbTxt()), other.toUtf8() + "\r\n");
        QCOMPARE(usersListed(), QStringList({"Budi"}));

        alt(Qt::Key_D);
        QCOMPARE(text("Text1"), install->dbPath());
        QCOMPARE(bytesOf(install->dbTxt()), other.toUtf8() + "\r\n");
        alt(Qt::Key_S);
        QCOMPARE(bytesOf(install->dbTxt()), install->dbPath().toUtf8() + "\r\n");
        QCOMPARE(boxes.texts(), QStringList(2, "Lokasi Database Server telah disimpan."));
        QCOMPARE(boxes.last().title, ui::kAppTitle);
        QCOMPARE(boxes.last().icon, ui::Icon::None);
        QVERIFY(dialog->isVisible());
        QCOMPARE(usersListed(), QStringList());
    }

    // An empty path and a db.txt that cannot be written are reported; the old
    // db.txt stays whole and no stray file is left.
    void locationNotWritten() {
        install->writeDbTxt("\r\n");
        ui::MessageRecorder boxes;
        open<controlpanel::fClient_Server>();
        QCOMPARE(text("Text1"), QString());
        key(Qt::Key_Tab);
        alt(Qt::Key_S);
        QCOMPARE(focusName(), QStringLiteral("Command1"));
        QCOMPARE(boxes.texts(), QStringList({"File db.txt masih kosong isinya!",
                                             "Lokasi Database Server tidak boleh kosong!"}));
        QCOMPARE(bytesOf(install->dbTxt()), QByteArray("\r\n"));

        alt(Qt::Key_D);
        const QStringList files = QDir(install->folder()).entryList(QDir::Files);
        ReadOnlyFolder readOnly(install->folder());
        if (!readOnly.holds()) {
            QSKIP("this file system lets every file be created");
        }
        alt(Qt::Key_S);
        QVERIFY(boxes.last().text.startsWith("File db.txt tidak bisa ditulis: "));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        QCOMPARE(bytesOf(install->dbTxt()), QByteArray("\r\n"));
        QCOMPARE(QDir(install->folder()).entryList(QDir::Files), files);
    }

    // The copy replaces a file of that name, is keyed and whole, and is one
    // consistent state while another station holds a write open.
    void backupCopies() {
        install->exec("INSERT INTO meja (nm_meja) VALUES ('Satu')");
        const QString target = install->folder() + "/cadangan.mdb";
        writeBytes(target, "lama");
        auto other = install->connect();
        other->exec("BEGIN IMMEDIATE");
        other->exec("INSERT INTO meja (nm_meja) VALUES ('Belum')");
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(QString());
        files.answer(target);
        open<controlpanel::fBackupDB>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Backup Database"));
        QCOMPARE(text("Text1"), install->dbPath());
        alt(Qt::Key_B);  // cancelled: nothing happens
        QVERIFY(boxes.empty());
        alt(Qt::Key_B);
        QCOMPARE(text("Text2"), target);
        QCOMPARE(files.requests().last().kind, ui::FileDialogRequest::Save);
        QCOMPARE(files.requests().last().filter, QStringLiteral("Database Mirawe Dapra|*.mdb"));
        QCOMPARE(boxes.texts(), QStringList({"Backup Database Berhasil..."}));
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        other->exec("COMMIT");
        QVERIFY(!bytesOf(target).startsWith("SQLite format 3"));
        db::Connection copy(target);
        QVERIFY(db::isProgramDatabase(copy, true));
        QCOMPARE(copy.scalar("SELECT group_concat(nm_meja) FROM meja").toString(),
                 QStringLiteral("Satu"));
        QCOMPARE(QDir(install->folder()).entryList(QDir::Files),
                 QStringList({"cadangan.mdb", "dapra.mdb", "db.txt"}));
    }

    void backupFails_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "/hilang/cadangan.mdb"
                                        << "";
        QTest::newRow("read-only folder") << "/tertutup/cadangan.mdb"
                                          << "";
        QTest::newRow("the database itself")
            << "/dapra.mdb"
            << "File backup tidak boleh file database itu sendiri.";
    }
    // A failure is reported, never as a success, and leaves no partial file:
    // a file already there stays as it was.
    void backupFails() {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        target = install->folder() + target;
        QDir().mkpath(install->folder() + "/tertutup");
        writeBytes(install->folder() + "/tertutup/cadangan.mdb", "lama");
        const QByteArray live = bytesOf(install->dbPath());
        ReadOnlyFolder readOnly(install->folder() + "/tertutup");
        if (QTest::currentDataTag() == QByteArray("read-only folder") && !readOnly.holds()) {
            QSKIP("this file system lets every file be created");
        }
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(target);
        open<controlpanel::fBackupDB>();
        alt(Qt::Key_B);
        QCOMPARE(int(boxes.boxes().size()), 1);
        QVERIFY(boxes.last().text.startsWith("Backup Database Gagal!\r" + reason));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        QCOMPARE(QDir(install->folder() + "/tertutup").entryList(QDir::Files),
                 QStringList({"cadangan.mdb"}));
        QCOMPARE(bytesOf(install->folder() + "/tertutup/cadangan.mdb"), QByteArray("lama"));
        QCOMPARE(bytesOf(install->dbPath()), live);
    }

    // The chosen backup replaces the database at once; another station's
    // open connection and the next window request read the restored rights.
    void restoreReplaces() {
        install->exec("INSERT INTO pengguna (nm_user) VALUES ('Ani')");
        const QString backup = makeDatabase(install->folder() + "/cadangan/dapra.mdb", "Pulih");
        db::Connection(backup).exec("INSERT INTO akses VALUES (1, 'Data Menu')");
        moddapra::UserId = 1;
        shell::FormStandIn standIn(shell::FormId::fMenu, [] { return new ui::Form; });
        ui::MessageRecorder boxes;
        shell::requestForm(shell::FormId::fMenu);
        QCOMPARE(boxes.texts(), QStringList({"Anda tidak diijinkan untuk mengakses menu ini!"}));
        auto other = install->connect();
        ui::FileDialogScript files;
        files.answer(backup);
        open<controlpanel::fRestoreDB>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Restore Database"));
        QCOMPARE(text("Text1"), install->dbPath());
        QCOMPARE(focusName(), QStringLiteral("Command3"));
        key(Qt::Key_Space);
        QCOMPARE(text("Text2"), backup);
        QCOMPARE(files.requests().last().kind, ui::FileDialogRequest::Open);
        QCOMPARE(files.requests().last().filter, QStringLiteral("Database Mirawe Dapra|*.mdb"));
        QCOMPARE(files.requests().last().fileName, install->dbPath());
        key(Qt::Key_Tab);
        key(Qt::Key_Space);  // "Restore ke..."
        QCOMPARE(boxes.texts().last(), QStringLiteral("Restore Database Berhasil..."));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        QCOMPARE(other->scalar("SELECT nm_meja FROM meja").toString(), QStringLiteral("Pulih"));
        QCOMPARE(tableName(install->dbPath()), QStringLiteral("Pulih"));
        QVERIFY(dialog->isVisible());
        boxes.clear();
        shell::requestForm(shell::FormId::fMenu);
        QVERIFY(boxes.empty());
        QVERIFY(shell::openForm(shell::FormId::fMenu));
        delete shell::openForm(shell::FormId::fMenu);
    }

    // A database file gone missing is restored by a complete copy renamed
    // into place; a database another station is writing stays as it was.
    void restoreOverMissingOrBusy() {
        const QString backup = makeDatabase(install->folder() + "/cadangan/dapra.mdb", "Pulih");
        install->exec("INSERT INTO meja (nm_meja) VALUES ('Tetap')");
        auto other = install->connect();
        other->exec("BEGIN IMMEDIATE");
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(backup);
        files.answer(backup);
        open<controlpanel::fRestoreDB>();
        key(Qt::Key_Space);
        key(Qt::Key_Tab);
        key(Qt::Key_Space);
        QVERIFY(boxes.last().text.startsWith("Restore Database Gagal!\r"));
        other->exec("ROLLBACK");
        other.reset();
        QCOMPARE(tableName(install->dbPath()), QStringLiteral("Tetap"));

        QVERIFY(QFile::remove(install->dbPath()));
        key(Qt::Key_Tab, Qt::ShiftModifier);
        key(Qt::Key_Space);
        key(Qt::Key_Tab);
        key(Qt::Key_Space);
        QCOMPARE(boxes.last().text, QStringLiteral("Restore Database Berhasil..."));
        QCOMPARE(tableName(install->dbPath()), QStringLiteral("Pulih"));
        QCOMPARE(QDir(install->folder()).entryList(QDir::Files),
                 QStringList({"dapra.mdb", "db.txt"}));
    }

    void fileRefused_data() {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QString>("path");
        const QString folder = QDir::tempPath() + "/dapra-asing";
        for (const bool restore : {false, true}) {
            const char* which = restore ? "restore, " : "location, ";
            for (const char* name :
                 {"hilang/dapra.mdb", "kosong.mdb", "asing.mdb", "tanpa-tabel.mdb", "."}) {
                QTest::addRow("%s%s", which, name) << restore << folder + '/' + name;
            }
        }
        QTest::newRow("restore, damaged") << true << folder + "/rusak.mdb";
        QTest::newRow("restore, the database itself") << true << "itself";
        QTest::newRow("restore, none chosen") << true << QString();
    }
    // Only a file that opens as the program's database (for a restore: whole,
    // and not the database itself) is taken; a refusal changes no file, puts
    // the focus on the browse button and creates nothing.
    void fileRefused() {
        QFETCH(bool, restore);
        QFETCH(QString, path);
        const QString folder = QDir::tempPath() + "/dapra-asing";
        QDir(folder).removeRecursively();
        makeForeignFiles(folder);
        path = path == "itself" ? install->dbPath() : path;
        const QByteArray live = bytesOf(install->dbPath());
        const QByteArray txt = bytesOf(install->dbTxt());
        ui::MessageRecorder boxes;
        ui::FileDialogScript files;
        files.answer(path);
        if (restore) {
            open<controlpanel::fRestoreDB>();
            key(Qt::Key_Space);
            key(Qt::Key_Tab);
            key(Qt::Key_Space);
        } else {
            open<controlpanel::fClient_Server>();
            key(Qt::Key_Space);
            alt(Qt::Key_S);
        }
        QString expected = "File " + path +
                           (restore ? " bukan file database Mirawe Dapra atau rusak. Database "
                                      "tidak diubah."
                                    : " bukan file database Mirawe Dapra atau tidak bisa "
                                      "dibuka.\rLokasi Database Server tidak disimpan.");
        if (path.isEmpty()) {
            expected = "Anda belum memilih file database yang akan di restore";
        } else if (path == install->dbPath()) {
            expected =
                "File yang dipilih adalah file database itu sendiri. Pilih file backup "
                "yang lain.";
        }
        QCOMPARE(boxes.texts(), QStringList{expected});
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        QCOMPARE(focusName(), restore ? QStringLiteral("Command3") : QStringLiteral("Command1"));
        QCOMPARE(bytesOf(install->dbPath()), live);
        QCOMPARE(bytesOf(install->dbTxt()), txt);
        QVERIFY(!QFile::exists(folder + "/hilang"));
        QDir(folder).removeRecursively();
    }

    void resets_data() {
        QTest::addColumn<int>("downs");  // arrow presses from the first option; -1 none
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("emptied");
        const QString whole = "Anda yakin ingin menghapus seluruh isi database?";
        const QString orders = "Anda yakin ingin menghapus data transaksi?";
        QTest::newRow("no option")
            << -1 << true << false << QStringList{"Anda belum memilih opsi apapun."}
            << QStringList();
        QTest::newRow("whole, No") << 0 << false << false << QStringList{whole} << QStringList();
        QTest::newRow("whole") << 0 << true << false
                               << QStringList{whole, "Reset Seluruh Database Berhasil..."}
                               << db::tableNames();
        QTest::newRow("orders") << 1 << true << false
                                << QStringList{orders, "Reset Data Transaksi Berhasil..."}
                                << QStringList{"pesan", "detail_pesan", "bayar"};
        QTest::newRow("orders, No") << 1 << false << false << QStringList{orders} << QStringList();
        QTest::newRow("whole, failing at the last table")
            << 0 << true << true << QStringList{whole, "Nomor Error : 19"} << QStringList();
    }
    // A reset empties all its tables or, failing, none; success closes the
    // dialog, anything else leaves it open.
    void resets() {
        QFETCH(int, downs);
        QFETCH(bool, yes);
        QFETCH(bool, failing);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, emptied);
        for (const QString& table : db::tableNames()) {
            install->exec("INSERT INTO " + table + " DEFAULT VALUES");
        }
        if (failing) {
            install->exec(
                "CREATE TRIGGER t BEFORE DELETE ON bayar BEGIN SELECT RAISE(ABORT, 'x'); END");
        }
        ui::MessageRecorder boxes;
        boxes.answer(yes ? ui::Answer::Yes : ui::Answer::No);
        open<controlpanel::fResetDB>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Reset Database"));
        if (downs >= 0) {
            key(Qt::Key_Space);
        }
        for (int i = 0; i < downs; ++i) {
            key(Qt::Key_Down);
        }
        alt(Qt::Key_R);
        testing::settle();
        QStringList shown = boxes.texts();
        if (failing) {
            shown.last() = shown.last().section('\r', 0, 0);
        }
        QCOMPARE(shown, texts);
        QCOMPARE(boxes.boxes().first().title,
                 downs < 0 ? QStringLiteral("Informasi") : QStringLiteral("Konfirmasi"));
        QCOMPARE(boxes.last().icon, downs < 0 ? ui::Icon::Information : ui::Icon::None);
        for (const QString& table : db::tableNames()) {
            QCOMPARE(install->count(table), emptied.contains(table) ? 0 : 1);
        }
        QCOMPARE(bool(dialog), emptied.isEmpty());
    }
};

DAPRA_TEST_MAIN(DatabaseFileTest)
#include "tst_databasefile.moc"
