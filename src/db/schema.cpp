#include "db/schema.h"

#include "db/database.h"

namespace db {

namespace {

// Column order is binding: rows are read and written by position.
// Money is whole rupiah, dates are 'YYYY-MM-DD', times 'hh:mm:ss'.
// Names compare without regard to case; passwords are never compared by SQL.
const char* const kTables[] = {
    "CREATE TABLE pengguna ("
    " id_user INTEGER PRIMARY KEY AUTOINCREMENT,"
    " nm_user TEXT COLLATE NOCASE,"
    " Password TEXT)",

    "CREATE TABLE akses ("
    " Id_User INTEGER,"
    " Akses TEXT COLLATE NOCASE)",

    "CREATE TABLE meja ("
    " id_meja INTEGER PRIMARY KEY AUTOINCREMENT,"
    " nm_meja TEXT COLLATE NOCASE,"
    " Keterangan TEXT)",

    "CREATE TABLE menu ("
    " id_menu INTEGER PRIMARY KEY AUTOINCREMENT,"
    " kode_menu TEXT COLLATE NOCASE,"
    " nama_menu TEXT COLLATE NOCASE,"
    " keterangan TEXT,"
    " id_kategori INTEGER,"
    " id_satuan INTEGER,"
    " harga_jual INTEGER)",

    "CREATE TABLE kategori ("
    " id_kategori INTEGER PRIMARY KEY AUTOINCREMENT,"
    " nm_kategori TEXT COLLATE NOCASE,"
    " Keterangan TEXT)",

    "CREATE TABLE satuan ("
    " id_satuan INTEGER PRIMARY KEY AUTOINCREMENT,"
    " nm_satuan TEXT COLLATE NOCASE,"
    " Keterangan TEXT)",

    "CREATE TABLE pelayan ("
    " id_pelayan INTEGER PRIMARY KEY AUTOINCREMENT,"
    " nm_pelayan TEXT COLLATE NOCASE,"
    " Alamat TEXT,"
    " Kota TEXT,"
    " Kode_Pos TEXT,"
    " Telepon TEXT)",

    "CREATE TABLE pesan ("
    " id_order INTEGER PRIMARY KEY AUTOINCREMENT,"
    " no_order TEXT COLLATE NOCASE,"
    " tgl_order TEXT,"
    " jam_order TEXT,"
    " id_meja INTEGER,"
    " id_pelayan INTEGER,"
    " total_harga INTEGER,"
    " status TEXT COLLATE NOCASE)",

    "CREATE TABLE detail_pesan ("
    " id_order INTEGER,"
    " id_menu INTEGER,"
    " qty INTEGER,"
    " harga_satuan INTEGER)",

    "CREATE TABLE bayar ("
    " id_bayar INTEGER PRIMARY KEY AUTOINCREMENT,"
    " no_nota TEXT COLLATE NOCASE,"
    " id_order INTEGER,"
    " tgl_bayar TEXT,"
    " jam_bayar TEXT,"
    " id_user INTEGER,"
    " total_bayar INTEGER,"
    " kembali INTEGER)",
};

// Look-up indexes only: none is unique, so no statement can fail on them.
const char* const kIndexes[] = {
    "CREATE INDEX ix_pengguna_nama ON pengguna (nm_user)",
    "CREATE INDEX ix_akses_user ON akses (Id_User)",
    "CREATE INDEX ix_meja_nama ON meja (nm_meja)",
    "CREATE INDEX ix_kategori_nama ON kategori (nm_kategori)",
    "CREATE INDEX ix_satuan_nama ON satuan (nm_satuan)",
    "CREATE INDEX ix_pelayan_nama ON pelayan (nm_pelayan)",
    "CREATE INDEX ix_pesan_no ON pesan (no_order)",
    "CREATE INDEX ix_pesan_status ON pesan (status)",
    "CREATE INDEX ix_detail_order ON detail_pesan (id_order)",
    "CREATE INDEX ix_detail_menu ON detail_pesan (id_menu)",
    "CREATE INDEX ix_bayar_nota ON bayar (no_nota)",
    "CREATE INDEX ix_bayar_tgl ON bayar (tgl_bayar)",
    "CREATE INDEX ix_bayar_order ON bayar (id_order)",
};

// Tables the program keeps from the rows of the orders and payments (running
// totals), emptied after them by every reset so no total outlives its rows.
const QStringList& keptFromOrders() {
    static const QStringList names;
    return names;
}

}  // namespace

const QStringList& tableNames() {
    static const QStringList names = {"pengguna", "akses",   "meja",  "menu",         "kategori",
                                      "satuan",   "pelayan", "pesan", "detail_pesan", "bayar"};
    return names;
}

void createSchema(Connection& conn) {
    Transaction tx(conn);
    for (const char* sql : kTables) {
        conn.exec(QString::fromLatin1(sql));
    }
    for (const char* sql : kIndexes) {
        conn.exec(QString::fromLatin1(sql));
    }
    conn.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    tx.commit();
}

QStringList tablesEmptiedBy(Reset which) {
    QStringList tables = which == Reset::Everything
                             ? tableNames()
                             : QStringList{QStringLiteral("pesan"), QStringLiteral("detail_pesan"),
                                           QStringLiteral("bayar")};
    return tables + keptFromOrders();
}

// The names come from the lists above, never from typing.
void resetTables(Connection& conn, Reset which) {
    Transaction tx(conn);
    for (const QString& table : tablesEmptiedBy(which)) {
        conn.exec(QStringLiteral("DELETE FROM ") + table);
    }
    tx.commit();
}

void createDatabaseFile(const QString& path) {
    Connection conn(path, Connection::Mode::Create);
    createSchema(conn);
}

}  // namespace db
