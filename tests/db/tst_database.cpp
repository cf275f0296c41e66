#include "db/database.h"
#include "db/schema.h"
#include "support/testsupport.h"

class DatabaseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Rows are read and written by position: the columns' order is binding.
    void tablesHaveTheirColumnsInOrder() {
        testing::TestInstall install;
        auto c = install.connect();
        QStringList tables;
        for (const QString& table : db::tableNames()) {
            QStringList columns;
            for (const db::Row& row : c->rows("PRAGMA table_info(" + table + ")")) {
                columns << row[1].toString();
            }
            tables << table + ": " + columns.join(' ');
        }
        QCOMPARE(
            tables.join('|'),
            "pengguna: id_user nm_user Password|akses: Id_User Akses|"
            "meja: id_meja nm_meja Keterangan|menu: id_menu kode_menu nama_menu keterangan "
            "id_kategori id_satuan harga_jual|kategori: id_kategori nm_kategori Keterangan|"
            "satuan: id_satuan nm_satuan Keterangan|"
            "pelayan: id_pelayan nm_pelayan Alamat Kota Kode_Pos Telepon|"
            "pesan: id_order no_order tgl_order jam_order id_meja id_pelayan total_harga "
            "status|detail_pesan: id_order id_menu qty harga_satuan|"
            "bayar: id_bayar no_nota id_order tgl_bayar jam_bayar id_user total_bayar kembali");
        QCOMPARE(c->scalar("PRAGMA user_version").toInt(), db::kSchemaVersion);
        // No index may make a statement fail: none is unique.
        QCOMPARE(c->scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                           " AND sql LIKE '%UNIQUE%'")
                     .toInt(),
                 0);
    }

    void fileIsUnreadableWithoutTheKey() {
        testing::TestInstall install;
        install.exec("INSERT INTO pengguna (nm_user, Password) VALUES ('budi', 'x')");
        const QByteArray bytes = testing::bytesOf(install.dbPath());
        QVERIFY(!bytes.contains("SQLite format 3") && !bytes.contains("pengguna"));
        QVERIFY(!bytes.contains("budi"));
    }
};

DAPRA_TEST_MAIN(DatabaseTest)
#include "tst_database.moc"
