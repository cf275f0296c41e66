#include "db/schema.h"

#include "db/database.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

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
// row is added empty, then updated. In the steps below %1 is the trigger's
// row, NEW or OLD.
const char* const kRunningTotalTables[] = {
    "CREATE TABLE rekap_harian ("
    " tgl_bayar TEXT PRIMARY KEY, total INTEGER NOT NULL, jumlah INTEGER NOT NULL)",
    "CREATE TABLE rekap_menu ("
    " id_menu INTEGER PRIMARY KEY, total INTEGER NOT NULL, baris INTEGER NOT NULL)",
};

// One payment joins the totals of its date, when its order exists.
const char* const kAddPayment = R"(
    INSERT OR IGNORE INTO rekap_harian
        SELECT %1.tgl_bayar, 0, 0 FROM pesan WHERE id_order = %1.id_order;
    UPDATE rekap_harian
        SET jumlah = jumlah + 1,
            total = total + (SELECT coalesce(total_harga, 0) FROM pesan
                             WHERE id_order = %1.id_order)
        WHERE tgl_bayar = %1.tgl_bayar
          AND EXISTS (SELECT 1 FROM pesan WHERE id_order = %1.id_order);
)";

// One payment leaves the totals of its date; a date without payments goes.
const char* const kRemovePayment = R"(
    UPDATE rekap_harian
        SET jumlah = jumlah - 1,
            total = total - (SELECT coalesce(total_harga, 0) FROM pesan
                             WHERE id_order = %1.id_order)
        WHERE tgl_bayar = %1.tgl_bayar
          AND EXISTS (SELECT 1 FROM pesan WHERE id_order = %1.id_order);
    DELETE FROM rekap_harian WHERE tgl_bayar = %1.tgl_bayar AND jumlah <= 0;
)";

// The payments of one order, per date: %2 is 1 to add them, -1 to take them away.
const char* const kOrderPayments = R"(
    INSERT OR IGNORE INTO rekap_harian
        SELECT DISTINCT tgl_bayar, 0, 0 FROM bayar WHERE id_order = %1.id_order;
    UPDATE rekap_harian
        SET total = total + %2 * coalesce(%1.total_harga, 0) *
                (SELECT count(*) FROM bayar b
                 WHERE b.id_order = %1.id_order AND b.tgl_bayar = rekap_harian.tgl_bayar),
            jumlah = jumlah + %2 *
                (SELECT count(*) FROM bayar b
                 WHERE b.id_order = %1.id_order AND b.tgl_bayar = rekap_harian.tgl_bayar)
        WHERE tgl_bayar IN (SELECT tgl_bayar FROM bayar WHERE id_order = %1.id_order);
    DELETE FROM rekap_harian WHERE jumlah <= 0
        AND tgl_bayar IN (SELECT tgl_bayar FROM bayar WHERE id_order = %1.id_order);
)";

// One order line joins the totals of its menu item.
const char* const kAddLine = R"(
    INSERT OR IGNORE INTO rekap_menu SELECT %1.id_menu, 0, 0 WHERE %1.id_menu IS NOT NULL;
    UPDATE rekap_menu SET total = total + coalesce(%1.qty, 0), baris = baris + 1
        WHERE id_menu = %1.id_menu;
)";

// One order line leaves the totals of its menu item; an item without lines goes.
const char* const kRemoveLine = R"(
    UPDATE rekap_menu SET total = total - coalesce(%1.qty, 0), baris = baris - 1
        WHERE id_menu = %1.id_menu;
    DELETE FROM rekap_menu WHERE id_menu = %1.id_menu AND baris <= 0;
)";

QString step(const char* templ, const char* row) {
    return QString::fromLatin1(templ).arg(QLatin1String(row));
}

QString orderPayments(const char* row, const char* sign) {
    return QString::fromLatin1(kOrderPayments).arg(QLatin1String(row), QLatin1String(sign));
}

struct Trigger {
    QString name;
    QString sql;
};

Trigger trigger(const char* name, const char* event, const QString& body) {
    return {QLatin1String(name), QStringLiteral("CREATE TRIGGER %1 AFTER %2 BEGIN%3END")
                                     .arg(QLatin1String(name), QLatin1String(event), body)};
}

std::vector<Trigger> runningTotalTriggers() {
    return {
        trigger("rekap_bayar_insert", "INSERT ON bayar", step(kAddPayment, "NEW")),
        trigger("rekap_bayar_delete", "DELETE ON bayar", step(kRemovePayment, "OLD")),
        trigger("rekap_bayar_update", "UPDATE OF tgl_bayar, id_order ON bayar",
                step(kRemovePayment, "OLD") + step(kAddPayment, "NEW")),
        trigger("rekap_pesan_insert", "INSERT ON pesan", orderPayments("NEW", "1")),
        trigger("rekap_pesan_delete", "DELETE ON pesan", orderPayments("OLD", "-1")),
        trigger("rekap_pesan_update", "UPDATE OF total_harga, id_order ON pesan",
                orderPayments("OLD", "-1") + orderPayments("NEW", "1")),
        trigger("rekap_detail_insert", "INSERT ON detail_pesan", step(kAddLine, "NEW")),
        trigger("rekap_detail_delete", "DELETE ON detail_pesan", step(kRemoveLine, "OLD")),
        trigger("rekap_detail_update", "UPDATE OF id_menu, qty ON detail_pesan",
                step(kRemoveLine, "OLD") + step(kAddLine, "NEW")),
    };
}

// Fills the running totals from the rows a file of the first version holds.
const char* const kFillRunningTotals[] = {
    "INSERT INTO rekap_harian (tgl_bayar, total, jumlah)"
    " SELECT b.tgl_bayar, coalesce(sum(o.total_harga), 0), count(*)"
    " FROM bayar b JOIN pesan o ON o.id_order = b.id_order GROUP BY b.tgl_bayar",
    "INSERT INTO rekap_menu (id_menu, total, baris)"
    " SELECT id_menu, coalesce(sum(qty), 0), count(*) FROM detail_pesan"
    " WHERE id_menu IS NOT NULL GROUP BY id_menu",
};

constexpr int kFirstVersion = 1;

void addRunningTotals(Connection& conn) {
    for (const char* sql : kRunningTotalTables) {
        conn.exec(QString::fromLatin1(sql));
    }
    for (const Trigger& t : runningTotalTriggers()) {
        conn.exec(t.sql);
    }
    for (const char* sql : kFillRunningTotals) {
        conn.exec(QString::fromLatin1(sql));
    }
    conn.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
}

// Tables the program keeps from the rows of the orders and payments (running
// totals), emptied after them by every reset so no total outlives its rows.
const QStringList& keptFromOrders() {
    static const QStringList names = {QStringLiteral("rekap_harian"), QStringLiteral("rekap_menu")};
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
    addRunningTotals(conn);
    tx.commit();
}

bool isOlderVersion(int version) {
    return version >= kFirstVersion && version < kSchemaVersion;
}

// Another workstation may have upgraded the file since it was opened: the
// version is read again under the write lock.
void upgradeSchema(Connection& conn) {
    Transaction tx(conn);
    if (conn.scalar(QStringLiteral("PRAGMA user_version")).toInt() == kFirstVersion) {
        addRunningTotals(conn);
    }
    tx.commit();
}

QStringList tablesEmptiedBy(Reset which) {
    QStringList tables = which == Reset::Everything
                             ? tableNames()
                             : QStringList{QStringLiteral("pesan"), QStringLiteral("detail_pesan"),
                                           QStringLiteral("bayar")};
    return tables + keptFromOrders();
}

// The names come from the lists above, never from typing. The running totals
// are emptied with their rows, so their triggers are taken off while the
// tables empty: a table without triggers is emptied whole at once instead of
// row by row (seconds instead of a minute on years of orders). Dropping and
// creating them again is part of the transaction, so a failure restores them.
void resetTables(Connection& conn, Reset which) {
    Transaction tx(conn);
    const std::vector<Trigger> triggers = runningTotalTriggers();
    for (const Trigger& t : triggers) {
        conn.exec(QStringLiteral("DROP TRIGGER IF EXISTS ") + t.name);
    }
    for (const QString& table : tablesEmptiedBy(which)) {
        conn.exec(QStringLiteral("DELETE FROM ") + table);
    }
    for (const Trigger& t : triggers) {
        conn.exec(t.sql);
    }
    tx.commit();
}

void createDatabaseFile(const QString& path) {
    // The engine would create the file readable by everyone; the file is made
    // first, for its owner only, and the engine's journals follow its mode.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw Error(14 /* cannot open */, QString::fromLocal8Bit(std::strerror(errno)));
    }
    ::close(fd);
    Connection conn(path, Connection::Mode::Create);
    createSchema(conn);
}

}  // namespace db
