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

// Running totals of the reports, kept by triggers in the same transaction as
// every write of bayar, pesan and detail_pesan, so they always equal the sums
// over the full tables: per payment date the order totals of the payments
// whose order exists (and how many those are), per menu item the ordered
// quantity (and over how many lines). The engine knows no upsert: a missing
// row is added empty, then updated.
#define DAPRA_ADD_PAYMENT(ROW)                                            \
    " INSERT OR IGNORE INTO rekap_harian SELECT " ROW                     \
    ".tgl_bayar, 0, 0 FROM pesan"                                         \
    "  WHERE id_order = " ROW                                             \
    ".id_order;"                                                          \
    " UPDATE rekap_harian SET jumlah = jumlah + 1, total = total +"       \
    "  (SELECT coalesce(total_harga, 0) FROM pesan WHERE id_order = " ROW \
    ".id_order)"                                                          \
    "  WHERE tgl_bayar = " ROW                                            \
    ".tgl_bayar"                                                          \
    "  AND EXISTS (SELECT 1 FROM pesan WHERE id_order = " ROW ".id_order);"
#define DAPRA_REMOVE_PAYMENT(ROW)                                         \
    " UPDATE rekap_harian SET jumlah = jumlah - 1, total = total -"       \
    "  (SELECT coalesce(total_harga, 0) FROM pesan WHERE id_order = " ROW \
    ".id_order)"                                                          \
    "  WHERE tgl_bayar = " ROW                                            \
    ".tgl_bayar"                                                          \
    "  AND EXISTS (SELECT 1 FROM pesan WHERE id_order = " ROW             \
    ".id_order);"                                                         \
    " DELETE FROM rekap_harian WHERE tgl_bayar = " ROW ".tgl_bayar AND jumlah <= 0;"
// The payments of one order, per date: SIGN 1 adds them, -1 takes them away.
#define DAPRA_ORDER_PAYMENTS(ROW, SIGN)                                              \
    " INSERT OR IGNORE INTO rekap_harian SELECT DISTINCT tgl_bayar, 0, 0 FROM bayar" \
    "  WHERE id_order = " ROW                                                        \
    ".id_order;"                                                                     \
    " UPDATE rekap_harian SET"                                                       \
    "  total = total + " SIGN " * coalesce(" ROW                                     \
    ".total_harga, 0) * (SELECT count(*)"                                            \
    "   FROM bayar b WHERE b.id_order = " ROW                                        \
    ".id_order AND b.tgl_bayar = rekap_harian.tgl_bayar),"                           \
    "  jumlah = jumlah + " SIGN                                                      \
    " * (SELECT count(*) FROM bayar b"                                               \
    "   WHERE b.id_order = " ROW                                                     \
    ".id_order AND b.tgl_bayar = rekap_harian.tgl_bayar)"                            \
    "  WHERE tgl_bayar IN (SELECT tgl_bayar FROM bayar WHERE id_order = " ROW        \
    ".id_order);"                                                                    \
    " DELETE FROM rekap_harian WHERE jumlah <= 0"                                    \
    "  AND tgl_bayar IN (SELECT tgl_bayar FROM bayar WHERE id_order = " ROW ".id_order);"
#define DAPRA_ADD_LINE(ROW)                                \
    " INSERT OR IGNORE INTO rekap_menu SELECT " ROW        \
    ".id_menu, 0, 0"                                       \
    "  WHERE " ROW                                         \
    ".id_menu IS NOT NULL;"                                \
    " UPDATE rekap_menu SET total = total + coalesce(" ROW \
    ".qty, 0), baris = baris + 1"                          \
    "  WHERE id_menu = " ROW ".id_menu;"
#define DAPRA_REMOVE_LINE(ROW)                             \
    " UPDATE rekap_menu SET total = total - coalesce(" ROW \
    ".qty, 0), baris = baris - 1"                          \
    "  WHERE id_menu = " ROW                               \
    ".id_menu;"                                            \
    " DELETE FROM rekap_menu WHERE id_menu = " ROW ".id_menu AND baris <= 0;"

const char* const kRunningTotals[] = {
    "CREATE TABLE rekap_harian ("
    " tgl_bayar TEXT PRIMARY KEY, total INTEGER NOT NULL, jumlah INTEGER NOT NULL)",
    "CREATE TABLE rekap_menu ("
    " id_menu INTEGER PRIMARY KEY, total INTEGER NOT NULL, baris INTEGER NOT NULL)",

    "CREATE TRIGGER rekap_bayar_insert AFTER INSERT ON bayar BEGIN" DAPRA_ADD_PAYMENT("NEW") " END",
    "CREATE TRIGGER rekap_bayar_delete AFTER DELETE ON bayar BEGIN" DAPRA_REMOVE_PAYMENT(
        "OLD") " END",
    "CREATE TRIGGER rekap_bayar_update AFTER UPDATE OF tgl_bayar, id_order ON bayar"
    " BEGIN" DAPRA_REMOVE_PAYMENT("OLD") DAPRA_ADD_PAYMENT("NEW") " END",

    "CREATE TRIGGER rekap_pesan_insert AFTER INSERT ON pesan BEGIN" DAPRA_ORDER_PAYMENTS(
        "NEW", "1") " END",
    "CREATE TRIGGER rekap_pesan_delete AFTER DELETE ON pesan BEGIN" DAPRA_ORDER_PAYMENTS(
        "OLD", "-1") " END",
    "CREATE TRIGGER rekap_pesan_update AFTER UPDATE OF total_harga, id_order ON pesan"
    " BEGIN" DAPRA_ORDER_PAYMENTS("OLD", "-1") DAPRA_ORDER_PAYMENTS("NEW", "1") " END",

    "CREATE TRIGGER rekap_detail_insert AFTER INSERT ON detail_pesan BEGIN" DAPRA_ADD_LINE(
        "NEW") " END",
    "CREATE TRIGGER rekap_detail_delete AFTER DELETE ON detail_pesan BEGIN" DAPRA_REMOVE_LINE(
        "OLD") " END",
    "CREATE TRIGGER rekap_detail_update AFTER UPDATE OF id_menu, qty ON detail_pesan"
    " BEGIN" DAPRA_REMOVE_LINE("OLD") DAPRA_ADD_LINE("NEW") " END",

    // Filled from the rows a file of the first version holds.
    "INSERT INTO rekap_harian (tgl_bayar, total, jumlah)"
    " SELECT b.tgl_bayar, coalesce(sum(o.total_harga), 0), count(*)"
    " FROM bayar b JOIN pesan o ON o.id_order = b.id_order GROUP BY b.tgl_bayar",
    "INSERT INTO rekap_menu (id_menu, total, baris)"
    " SELECT id_menu, coalesce(sum(qty), 0), count(*) FROM detail_pesan"
    " WHERE id_menu IS NOT NULL GROUP BY id_menu",
};

#undef DAPRA_ADD_PAYMENT
#undef DAPRA_REMOVE_PAYMENT
#undef DAPRA_ORDER_PAYMENTS
#undef DAPRA_ADD_LINE
#undef DAPRA_REMOVE_LINE

constexpr int kFirstVersion = 1;

void addRunningTotals(Connection& conn) {
    for (const char* sql : kRunningTotals) {
        conn.exec(QString::fromLatin1(sql));
    }
    conn.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
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
    addRunningTotals(conn);
    tx.commit();
}

// Reading the version is all an up-to-date file costs on opening.
void upgradeSchema(Connection& conn) {
    if (conn.scalar(QStringLiteral("PRAGMA user_version")).toInt() != kFirstVersion) {
        return;
    }
    Transaction tx(conn);
    if (conn.scalar(QStringLiteral("PRAGMA user_version")).toInt() == kFirstVersion) {
        addRunningTotals(conn);
    }
    tx.commit();
}

void createDatabaseFile(const QString& path) {
    Connection conn(path, Connection::Mode::Create);
    createSchema(conn);
}

}  // namespace db
