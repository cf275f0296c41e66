#include "orders/orderqueries.h"

#include "toolkit/format.h"
#include "toolkit/seams.h"

namespace orders {

const NumberRule kOrderNumber{QStringLiteral("pesan"), QStringLiteral("id_order"),
                              QStringLiteral("no_order"), QStringLiteral("RO-")};
const NumberRule kReceiptNumber{QStringLiteral("bayar"), QStringLiteral("id_bayar"),
                                QStringLiteral("no_nota"), QStringLiteral("PO-")};

namespace {

// The serial stands after the prefix and the eight digits of the day.
constexpr int kSerialStart = 11;
constexpr int kSerialMaxLength = 13;

std::optional<qint64> serialOf(const QString& number) {
    const QString serial = number.mid(kSerialStart, kSerialMaxLength);
    if (serial.isEmpty()) {
        return std::nullopt;
    }
    for (const QChar ch : serial) {
        if (ch.unicode() < '0' || ch.unicode() > '9') {
            return std::nullopt;
        }
    }
    return serial.toLongLong();
}

// Where the draw starts: the serial after the most recently stored one, or
// after the number of rows when that number holds no serial.
qint64 firstSerial(db::Connection& c, const NumberRule& rule) {
    const QVariant last = c.scalar(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 DESC LIMIT 1")
                                       .arg(rule.numberColumn, rule.table, rule.idColumn));
    if (last.isNull()) {
        return 1;
    }
    const std::optional<qint64> lastSerial = serialOf(last.toString());
    return lastSerial
               ? *lastSerial + 1
               : c.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(rule.table)).toLongLong() +
                     1;
}

QString numberOf(const NumberRule& rule, const QDate& day, qint64 serial) {
    return rule.prefix + day.toString(QStringLiteral("ddMMyyyy")) + QString::number(serial);
}

std::vector<QStringList> pickerRows(db::Connection& c, const QString& sql) {
    std::vector<QStringList> list;
    for (const db::Row& r : c.rows(sql)) {
        list.push_back({r[1].toString(), r[2].toString(), r[0].toString()});
    }
    return list;
}

QVariantList headerParams(const OrderToSave& o, const QString& number) {
    return {number, fmt::storeDate(o.date), o.time, o.tableId, o.waiterId, o.total, kUnpaid};
}

void insertLines(db::Connection& c, qint64 orderId, const std::vector<OrderLine>& lines) {
    for (const OrderLine& line : lines) {
        c.exec(QStringLiteral("INSERT INTO detail_pesan (id_order, id_menu, qty, harga_satuan)"
                              " VALUES (?, ?, ?, ?)"),
               {orderId, line.menuId, line.qty, line.unitPrice});
    }
}

std::vector<UnpaidOrder> unpaid(db::Connection& c, const QString& andWhere,
                                const QVariantList& params) {
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT p.id_order, p.no_order, p.tgl_order, p.jam_order, m.nm_meja,"
                              " pl.nm_pelayan, p.total_harga FROM pesan p, meja m, pelayan pl"
                              " WHERE p.id_meja = m.id_meja AND p.id_pelayan = pl.id_pelayan"
                              " AND p.status = ?%1 ORDER BY p.id_order")
                   .arg(andWhere),
               params);
    std::vector<UnpaidOrder> list;
    list.reserve(rows.size());
    for (const db::Row& r : rows) {
        list.push_back({r[0].toLongLong(), r[1].toString(), fmt::readStoredDate(r[2].toString()),
                        r[3].toString(), r[4].toString(), r[5].toString(), r[6].toLongLong()});
    }
    return list;
}

bool stored(db::Connection& c, const QString& table, const QString& idColumn, qint64 id) {
    return c.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(table, idColumn),
                    {id})
               .toLongLong() != 0;
}

// An order pointing at a row deleted meanwhile (a reset at another station)
// would never show in the order list and could never be paid.
MissingData missingData(db::Connection& c, const OrderToSave& order) {
    MissingData missing;
    missing.table = !stored(c, QStringLiteral("meja"), QStringLiteral("id_meja"), order.tableId);
    missing.waiter =
        !stored(c, QStringLiteral("pelayan"), QStringLiteral("id_pelayan"), order.waiterId);
    for (const OrderLine& line : order.lines) {
        if (!stored(c, QStringLiteral("menu"), QStringLiteral("id_menu"), line.menuId)) {
            missing.menuIds.push_back(line.menuId);
        }
    }
    return missing;
}

Saved refused(SaveResult result, MissingData missing = {}) {
    return {0, {}, result, std::move(missing)};
}

}  // namespace

QString nextNumber(db::Connection& c, const NumberRule& rule, const QDate& day) {
    qint64 serial = firstSerial(c, rule);
    QString number = numberOf(rule, day, serial);
    while (numberTaken(c, rule, number)) {
        number = numberOf(rule, day, ++serial);
    }
    return number;
}

bool numberTaken(db::Connection& c, const NumberRule& rule, const QString& number) {
    return c.scalar(QStringLiteral("SELECT count(%1) FROM %2 WHERE %1 = ?")
                        .arg(rule.numberColumn, rule.table),
                    {number})
               .toLongLong() != 0;
}

QString freeNumber(db::Connection& c, const NumberRule& rule, const QString& shown,
                   const QDate& day) {
    return numberTaken(c, rule, shown) ? nextNumber(c, rule, day) : shown;
}

std::vector<QStringList> tablePickerRows(db::Connection& c) {
    return pickerRows(
        c, QStringLiteral("SELECT id_meja, nm_meja, Keterangan FROM meja ORDER BY id_meja"));
}

std::vector<QStringList> waiterPickerRows(db::Connection& c) {
    return pickerRows(
        c,
        QStringLiteral("SELECT id_pelayan, nm_pelayan, Alamat FROM pelayan ORDER BY id_pelayan"));
}

std::vector<UnpaidOrder> unpaidOrders(db::Connection& c) {
    return unpaid(c, {}, {kUnpaid});
}

std::optional<UnpaidOrder> unpaidOrder(db::Connection& c, qint64 orderId) {
    std::vector<UnpaidOrder> list =
        unpaid(c, QStringLiteral(" AND p.id_order = ?"), {kUnpaid, orderId});
    if (list.empty()) {
        return std::nullopt;
    }
    return list.front();
}

std::optional<StoredOrder> storedOrder(db::Connection& c, qint64 orderId) {
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT id_order, no_order, tgl_order, jam_order, id_meja,"
                              " id_pelayan, total_harga, status FROM pesan WHERE id_order = ?"),
               {orderId});
    if (rows.empty()) {
        return std::nullopt;
    }
    const db::Row& r = rows.front();
    return StoredOrder{r[0].toLongLong(), r[1].toString(),   r[2].toString(),   r[3].toString(),
                       r[4].toLongLong(), r[5].toLongLong(), r[6].toLongLong(), r[7].toString()};
}

std::optional<OrderVersion> orderVersion(db::Connection& c, qint64 orderId) {
    std::optional<StoredOrder> order = storedOrder(c, orderId);
    if (!order) {
        return std::nullopt;
    }
    OrderVersion version{std::move(*order), {}};
    for (const db::Row& r :
         c.rows(QStringLiteral("SELECT id_menu, qty, harga_satuan FROM detail_pesan"
                               " WHERE id_order = ? ORDER BY id_menu, qty, harga_satuan"),
                {orderId})) {
        version.lines.push_back({r[0].toLongLong(), r[1].toLongLong(), r[2].toLongLong()});
    }
    return version;
}

std::vector<OrderLine> orderLines(db::Connection& c, qint64 orderId) {
    const std::vector<db::Row> rows = c.rows(
        QStringLiteral("SELECT d.id_menu, m.kode_menu, m.nama_menu, k.nm_kategori, s.nm_satuan,"
                       " d.qty, d.harga_satuan FROM detail_pesan d, menu m, kategori k, satuan s"
                       " WHERE d.id_menu = m.id_menu AND m.id_kategori = k.id_kategori"
                       " AND m.id_satuan = s.id_satuan AND d.id_order = ? ORDER BY d.id_menu"),
        {orderId});
    std::vector<OrderLine> lines;
    lines.reserve(rows.size());
    for (const db::Row& r : rows) {
        lines.push_back({r[0].toLongLong(), r[1].toString(), r[2].toString(), r[3].toString(),
                         r[4].toString(), r[5].toLongLong(), r[6].toLongLong()});
    }
    return lines;
}

PickedRead pickedRead(db::Connection& c, qint64 orderId) {
    PickedRead read;
    read.stored = orderVersion(c, orderId);
    read.listed = unpaidOrder(c, orderId);
    read.lines = orderLines(c, orderId);
    return read;
}

// A number drawn afresh is dated the day of saving, as every drawn number
// is, never the order's own date, which the user may have set to another day.
Saved insertOrder(db::Connection& c, const OrderToSave& order) {
    db::Transaction tx(c);
    MissingData missing = missingData(c, order);
    if (missing.any()) {
        return refused(SaveResult::Missing, std::move(missing));
    }
    const QString number = freeNumber(c, kOrderNumber, order.number, ui::now().date());
    c.exec(QStringLiteral("INSERT INTO pesan (no_order, tgl_order, jam_order, id_meja, id_pelayan,"
                          " total_harga, status) VALUES (?, ?, ?, ?, ?, ?, ?)"),
           headerParams(order, number));
    const qint64 id = c.lastInsertId();
    insertLines(c, id, order.lines);
    tx.commit();
    return {id, number, SaveResult::Saved, {}};
}

// An id alone may name another order by now (a backup restored and new
// orders saved since), and a number alone another row: only the row holding
// both is the order brought back.
Saved changeOrder(db::Connection& c, qint64 orderId, const OrderToSave& order) {
    db::Transaction tx(c);
    const std::optional<StoredOrder> stored = storedOrder(c, orderId);
    if (!stored || stored->number.compare(order.number, Qt::CaseInsensitive) != 0) {
        return refused(SaveResult::Gone);
    }
    if (stored->status.compare(kUnpaid, Qt::CaseInsensitive) != 0) {
        return refused(SaveResult::Paid);
    }
    MissingData missing = missingData(c, order);
    if (missing.any()) {
        return refused(SaveResult::Missing, std::move(missing));
    }
    QVariantList params = headerParams(order, stored->number);
    params.append(orderId);
    c.exec(QStringLiteral("UPDATE pesan SET no_order = ?, tgl_order = ?, jam_order = ?,"
                          " id_meja = ?, id_pelayan = ?, total_harga = ?, status = ?"
                          " WHERE id_order = ?"),
           params);
    c.exec(QStringLiteral("DELETE FROM detail_pesan WHERE id_order = ?"), {orderId});
    insertLines(c, orderId, order.lines);
    tx.commit();
    return {orderId, stored->number, SaveResult::Saved, {}};
}

// The tests run inside the write lock, so another station paying or changing
// the same order or storing the same number meanwhile is seen here. The
// order is compared with what was picked row by row, so a change keeps no
// mark of its own and one written by any program is seen all the same.
PaymentOutcome storePayment(db::Connection& c, const Payment& p) {
    db::Transaction tx(c);
    const qint64 orderId = p.picked.order.id;
    const std::optional<OrderVersion> stored = orderVersion(c, orderId);
    if (!stored) {
        return {PaymentResult::OrderGone, {}, {}};
    }
    if (stored->order.status.compare(kUnpaid, Qt::CaseInsensitive) != 0) {
        return {PaymentResult::OrderPaid, {}, {}};
    }
    // An order changed at the order desk after the cashier picked it would
    // be marked paid for lines or a total nobody paid.
    if (*stored != p.picked || stored->order.total != p.paid - p.change) {
        return {PaymentResult::OrderChanged, {}, {}};
    }
    const QString number = freeNumber(c, kReceiptNumber, p.receiptNumber, p.date);
    c.exec(QStringLiteral("INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user,"
                          " total_bayar, kembali) VALUES (?, ?, ?, ?, ?, ?, ?)"),
           {number, orderId, fmt::storeDate(p.date), p.time, p.userId, p.paid, p.change});
    c.exec(QStringLiteral("UPDATE pesan SET status = ? WHERE id_order = ?"), {kPaid, orderId});
    std::vector<OrderLine> lines = orderLines(c, orderId);
    tx.commit();
    return {PaymentResult::Stored, number, std::move(lines)};
}

}  // namespace orders
