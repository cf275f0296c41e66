#include "reports/reportqueries.h"

#include "toolkit/format.h"

namespace reports {

namespace {

// The order row is needed for its number and total; cashier and waiter only
// lend their names. Filtering on the date first keeps one period to its part
// of the date index.
const QString kPeriodFrom = QStringLiteral(
    " FROM bayar b JOIN pesan o ON o.id_order = b.id_order"
    " WHERE b.tgl_bayar BETWEEN ? AND ?");

const QString kPeriodSelect = QStringLiteral(
    "SELECT b.id_bayar, b.no_nota, o.no_order, b.tgl_bayar, b.jam_bayar,"
    " coalesce((SELECT u.nm_user FROM pengguna u WHERE u.id_user = b.id_user), ''),"
    " coalesce((SELECT p.nm_pelayan FROM pelayan p WHERE p.id_pelayan = o.id_pelayan), ''),"
    " o.total_harga, b.total_bayar, b.kembali");

QVariantList period(const QDate& start, const QDate& end) {
    return {fmt::storeDate(start), fmt::storeDate(end)};
}

}  // namespace

std::vector<db::Row> periodPayments(db::Connection& c, const QDate& start, const QDate& end) {
    return c.rows(kPeriodSelect + kPeriodFrom + QStringLiteral(" ORDER BY b.id_bayar"),
                  period(start, end));
}

std::pair<qint64, qint64> periodIds(db::Connection& c, const QDate& start, const QDate& end) {
    const std::vector<db::Row> ids =
        c.rows(QStringLiteral("SELECT coalesce(min(id_bayar), 0), coalesce(max(id_bayar), 0)"
                              " FROM bayar WHERE tgl_bayar BETWEEN ? AND ?"),
               period(start, end));
    return {ids.front()[0].toLongLong(), ids.front()[1].toLongLong()};
}

// Walks the payments by id between the period's first and last one, so every
// page costs only its own rows.
std::vector<db::Row> periodPaymentsAfter(db::Connection& c, const QDate& start, const QDate& end,
                                         qint64 afterId, qint64 lastId, int limit) {
    return c.rows(
        kPeriodSelect + QStringLiteral(" FROM bayar b JOIN pesan o ON o.id_order = b.id_order"
                                       " WHERE b.id_bayar > ? AND b.id_bayar <= ?"
                                       " AND +b.tgl_bayar BETWEEN ? AND ?"
                                       " ORDER BY b.id_bayar LIMIT ?"),
        QVariantList{afterId, lastId} + period(start, end) + QVariantList{limit});
}

std::optional<qint64> periodTotal(db::Connection& c, const QDate& start, const QDate& end) {
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT count(*), coalesce(sum(o.total_harga), 0)") + kPeriodFrom,
               period(start, end));
    if (rows.empty() || rows.front()[0].toLongLong() == 0) {
        return std::nullopt;
    }
    return rows.front()[1].toLongLong();
}

bool anyPayment(db::Connection& c) {
    return c.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM bayar)")).toLongLong() != 0;
}

// The running totals that the database keeps in step with every payment and
// order line (see db/schema.cpp) answer at once what adding up all years
// would take seconds for.
std::vector<DailyTotal> dailyTotals(db::Connection& c) {
    std::vector<DailyTotal> days;
    db::Statement s =
        c.prepare(QStringLiteral("SELECT tgl_bayar, total FROM rekap_harian ORDER BY tgl_bayar"));
    while (s.next()) {
        days.push_back({s.text(0), s.integer(1)});
    }
    return days;
}

std::vector<Favourite> favourites(db::Connection& c, int limit) {
    std::vector<Favourite> items;
    db::Statement s =
        c.prepare(QStringLiteral("SELECT m.nama_menu, k.nm_kategori, s.nm_satuan, t1.total"
                                 " FROM rekap_menu t1 JOIN menu m ON m.id_menu = t1.id_menu"
                                 " JOIN kategori k ON k.id_kategori = m.id_kategori"
                                 " JOIN satuan s ON s.id_satuan = m.id_satuan"
                                 " ORDER BY t1.total DESC, m.nama_menu ASC LIMIT ?"));
    s.bind(1, limit);
    while (s.next()) {
        items.push_back({s.text(0), s.text(1), s.text(2), s.integer(3)});
    }
    return items;
}

qint64 menuItemCount(db::Connection& c) {
    return c.scalar(QStringLiteral("SELECT count(*) FROM menu")).toLongLong();
}

std::vector<db::Row> menuList(db::Connection& c) {
    return c.rows(QStringLiteral(
        "SELECT m.kode_menu, m.nama_menu, m.keterangan, k.nm_kategori, s.nm_satuan, m.harga_jual,"
        " m.id_menu FROM menu m JOIN kategori k ON k.id_kategori = m.id_kategori"
        " JOIN satuan s ON s.id_satuan = m.id_satuan ORDER BY m.id_menu"));
}

}  // namespace reports
