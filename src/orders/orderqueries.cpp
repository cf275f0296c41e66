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
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT p.id_order, p.no_order, p.tgl_order, p.jam_order, m.nm_meja,"
                              " pl.nm_pelayan, p.total_harga FROM pesan p, meja m, pelayan pl"
                              " WHERE p.id_meja = m.id_meja AND p.id_pelayan = pl.id_pelayan"
                              " AND p.status = ? ORDER BY p.id_order"),
               {kUnpaid});
    std::vector<UnpaidOrder> list;
    list.reserve(rows.size());
    for (const db::Row& r : rows) {
        list.push_back({r[0].toLongLong(), r[1].toString(), fmt::readStoredDate(r[2].toString()),
                        r[3].toString(), r[4].toString(), r[5].toString(), r[6].toLongLong()});
    }
    return list;
}

std::optional<StoredOrder> storedOrder(db::Connection& c, qint64 orderId) {
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT id_order, no_order, id_meja, id_pelayan, total_harga, status"
                              " FROM pesan WHERE id_order = ?"),
               {orderId});
    if (rows.empty()) {
        return std::nullopt;
    }
    const db::Row& r = rows.front();
    return StoredOrder{r[0].toLongLong(), r[1].toString(),   r[2].toLongLong(),
                       r[3].toLongLong(), r[4].toLongLong(), r[5].toString()};
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

// A number drawn afresh is dated the day of saving, as every drawn number
// is, never the order's own date, which the user may have set to another day.
Saved insertOrder(db::Connection& c, const OrderToSave& order) {
    db::Transaction tx(c);
    const QString number = freeNumber(c, kOrderNumber, order.number, ui::now().date());
    c.exec(QStringLiteral("INSERT INTO pesan (no_order, tgl_order, jam_order, id_meja, id_pelayan,"
                          " total_harga, status) VALUES (?, ?, ?, ?, ?, ?, ?)"),
           headerParams(order, number));
    const qint64 id = c.lastInsertId();
    insertLines(c, id, order.lines);
    tx.commit();
    return {id, number};
}

ChangeResult changeOrder(db::Connection& c, qint64 orderId, const OrderToSave& order) {
    db::Transaction tx(c);
    const std::optional<StoredOrder> stored = storedOrder(c, orderId);
    if (!stored) {
        return ChangeResult::Gone;
    }
    if (stored->status.compare(kUnpaid, Qt::CaseInsensitive) != 0) {
        return ChangeResult::Paid;
    }
    QVariantList params = headerParams(order, order.number);
    params.append(orderId);
    c.exec(QStringLiteral("UPDATE pesan SET no_order = ?, tgl_order = ?, jam_order = ?,"
                          " id_meja = ?, id_pelayan = ?, total_harga = ?, status = ?"
                          " WHERE id_order = ?"),
           params);
    c.exec(QStringLiteral("DELETE FROM detail_pesan WHERE id_order = ?"), {orderId});
    insertLines(c, orderId, order.lines);
    tx.commit();
    return ChangeResult::Changed;
}

// The tests run inside the write lock, so another station paying or changing
// the same order or storing the same number meanwhile is seen here.
PaymentOutcome storePayment(db::Connection& c, const Payment& p) {
    db::Transaction tx(c);
    const std::optional<StoredOrder> stored = storedOrder(c, p.orderId);
    if (!stored) {
        return {PaymentResult::OrderGone, {}};
    }
    if (stored->status.compare(kUnpaid, Qt::CaseInsensitive) != 0) {
        return {PaymentResult::OrderPaid, {}};
    }
    // An order changed at the order desk after the cashier picked it would
    // be marked paid for a total nobody paid.
    if (stored->total != p.paid - p.change) {
        return {PaymentResult::OrderChanged, {}};
    }
    const QString number = freeNumber(c, kReceiptNumber, p.receiptNumber, p.date);
    c.exec(QStringLiteral("INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user,"
                          " total_bayar, kembali) VALUES (?, ?, ?, ?, ?, ?, ?)"),
           {number, p.orderId, fmt::storeDate(p.date), p.time, p.userId, p.paid, p.change});
    c.exec(QStringLiteral("UPDATE pesan SET status = ? WHERE id_order = ?"), {kPaid, p.orderId});
    tx.commit();
    return {PaymentResult::Stored, number};
}

}  // namespace orders
