#include "db/database.h"
#include "db/schema.h"
#include "support/testsupport.h"

#include <QFile>

namespace {

QStringList columnsOf(db::Connection& c, const QString& table) {
    QStringList names;
    for (const db::Row& row : c.rows(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
        names.append(row[1].toString());
    }
    return names;
}

}  // namespace

class DatabaseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tablesHaveTheirColumnsInOrder() {
        testing::TestInstall install;
        auto c = install.connect();
        const QMap<QString, QStringList> expected = {
            {"pengguna", {"id_user", "nm_user", "Password"}},
            {"akses", {"Id_User", "Akses"}},
            {"meja", {"id_meja", "nm_meja", "Keterangan"}},
            {"menu",
             {"id_menu", "kode_menu", "nama_menu", "keterangan", "id_kategori", "id_satuan",
              "harga_jual"}},
            {"kategori", {"id_kategori", "nm_kategori", "Keterangan"}},
            {"satuan", {"id_satuan", "nm_satuan", "Keterangan"}},
            {"pelayan", {"id_pelayan", "nm_pelayan", "Alamat", "Kota", "Kode_Pos", "Telepon"}},
            {"pesan",
             {"id_order", "no_order", "tgl_order", "jam_order", "id_meja", "id_pelayan",
              "total_harga", "status"}},
            {"detail_pesan", {"id_order", "id_menu", "qty", "harga_satuan"}},
            {"bayar",
             {"id_bayar", "no_nota", "id_order", "tgl_bayar", "jam_bayar", "id_user", "total_bayar",
              "kembali"}},
        };
        QCOMPARE(db::tableNames().size(), expected.size());
        for (const QString& table : db::tableNames()) {
            QCOMPARE(columnsOf(*c, table), expected.value(table));
        }
        QCOMPARE(c->scalar("PRAGMA user_version").toInt(), db::kSchemaVersion);
        // No index may make a statement fail: none is unique.
        QCOMPARE(c->scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                           " AND sql LIKE '%UNIQUE%'")
                     .toInt(),
                 0);
    }

    void namesMatchWithoutRegardToCase() {
        testing::TestInstall install;
        auto c = install.connect();
        c->exec("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)", {"budi", "Rahasia"});
        c->exec("INSERT INTO akses VALUES (1, 'Data Meja')");
        c->exec("INSERT INTO meja (nm_meja, Keterangan) VALUES ('Meja A', '')");
        QCOMPARE(c->scalar("SELECT count(*) FROM pengguna WHERE nm_user = ?", {"BUDI"}).toInt(), 1);
        QCOMPARE(c->scalar("SELECT count(*) FROM akses WHERE Akses = ?", {"data meja"}).toInt(), 1);
        QCOMPARE(c->scalar("SELECT count(*) FROM meja WHERE nm_meja = ?", {"meja a"}).toInt(), 1);
        // Passwords are never compared by SQL, and the column keeps its case.
        QCOMPARE(c->scalar("SELECT count(*) FROM pengguna WHERE Password = ?", {"rahasia"}).toInt(),
                 0);
    }

    void quotesAreStoredAsTyped() {
        testing::TestInstall install;
        auto c = install.connect();
        const QString name = QStringLiteral("Meja 'VIP'; DROP TABLE meja; --");
        c->exec("INSERT INTO meja (nm_meja, Keterangan) VALUES (?, ?)", {name, "it's"});
        QCOMPARE(c->scalar("SELECT nm_meja FROM meja WHERE nm_meja = ?", {name}).toString(), name);
        QCOMPARE(install.count("meja"), 1);
    }

    void countersSurviveDeletesAndRowsComeInIdOrder() {
        testing::TestInstall install;
        auto c = install.connect();
        for (const char* no : {"RO-1", "RO-2", "RO-3"}) {
            c->exec("INSERT INTO pesan (no_order) VALUES (?)", {QString::fromLatin1(no)});
        }
        c->exec("DELETE FROM pesan WHERE id_order = 3");
        c->exec("INSERT INTO pesan (no_order) VALUES ('RO-4')");
        QCOMPARE(c->lastInsertId(), 4);  // the deleted id is not handed out again
        c->exec("DELETE FROM pesan");
        c->exec("INSERT INTO pesan (no_order) VALUES ('RO-5')");
        QCOMPARE(c->lastInsertId(), 5);
        c->exec("INSERT INTO pesan (no_order) VALUES ('RO-6')");
        const auto rows = c->rows("SELECT * FROM pesan ORDER BY id_order");
        QCOMPARE(rows.back()[1].toString(), QStringLiteral("RO-6"));
    }

    void transactionLandsWholeOrNotAtAll() {
        testing::TestInstall install;
        auto c = install.connect();
        try {
            db::Transaction tx(*c);
            c->exec("INSERT INTO meja (nm_meja) VALUES ('A')");
            c->exec("INSERT INTO tabel_yang_tidak_ada VALUES (1)");
            tx.commit();
            QFAIL("the bad statement must throw");
        } catch (const db::Error& error) {
            QVERIFY(error.number() != 0);
            QVERIFY(error.description().contains("tabel_yang_tidak_ada"));
        }
        QCOMPARE(install.count("meja"), 0);
        {
            db::Transaction tx(*c);
            c->exec("INSERT INTO meja (nm_meja) VALUES ('B')");
            tx.commit();
        }
        QCOMPARE(install.count("meja"), 1);
    }

    void secondStationWaitsForTheLockThenFails() {
        testing::TestInstall install;
        auto first = install.connect();
        auto second = install.connect();
        db::Transaction tx(*first);
        first->exec("INSERT INTO meja (nm_meja) VALUES ('A')");
        try {
            db::Transaction other(*second);
            QFAIL("the second writer must not get the lock");
        } catch (const db::Error& error) {
            QCOMPARE(error.number(), 5);  // busy
        }
        tx.commit();
        db::Transaction after(*second);  // free again
        after.commit();
    }

    void fileIsUnreadableWithoutTheKey() {
        testing::TestInstall install;
        install.exec("INSERT INTO pengguna (nm_user, Password) VALUES ('budi', 'x')");
        QFile file(install.dbPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains("pengguna"));
        QVERIFY(!bytes.contains("budi"));
        file.close();

        // A plain database file is not one of ours.
        const QString plain = install.folder() + "/plain.mdb";
        QFile out(plain);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0'));
        out.close();
        try {
            db::Connection c(plain);
            QFAIL("a file without the key must not open");
        } catch (const db::Error& error) {
            QCOMPARE(error.number(), 26);  // not a database
        }
    }

    void missingFileIsNeverCreated() {
        testing::TestInstall install;
        const QString missing = install.folder() + "/tidak-ada.mdb";
        QVERIFY_THROWS_EXCEPTION(db::Error, db::Connection{missing});
        QVERIFY(!QFile::exists(missing));
    }
};

DAPRA_TEST_MAIN(DatabaseTest)
#include "tst_database.moc"
