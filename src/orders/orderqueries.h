#pragma once

#include "db/database.h"

#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

// The statements of the order and cashier windows, their pickers and the
// order list. Values are always bound; only the fixed names below are spliced.
namespace orders {

// ---- Order and receipt numbers ---------------------------------------------

// One member of the number rule: the table and columns it reads, and its prefix.
struct NumberRule {
    QString table;
    QString idColumn;
    QString numberColumn;
    QString prefix;
};

extern const NumberRule kOrderNumber;    // "RO-" over pesan.no_order
extern const NumberRule kReceiptNumber;  // "PO-" over bayar.no_nota

// The next number: prefix + the day as ddMMyyyy + the serial of the most
// recently stored number plus one (1 for an empty table). When that number
// holds no serial from its 12th character on, the serial is the number of
// stored rows plus one. A number some row already holds (one written by hand
// or by an older copy) is passed over: the serial counts on to the first free
// one. Reads one row by the table's id and probes the number's index, never
// steps through the table.
QString nextNumber(db::Connection& c, const NumberRule& rule, const QDate& day);

// Whether a row holds this number (letter case ignored).
bool numberTaken(db::Connection& c, const NumberRule& rule, const QString& number);

// The number shown while nobody stored it, else the next free one: a number
// stored meanwhile by another station is never taken over. Call it inside
// the transaction that stores the row.
QString freeNumber(db::Connection& c, const NumberRule& rule, const QString& shown,
                   const QDate& day);

// ---- Pickers ------------------------------------------------------------------

// The tables as their picker lists them: name, description, id; by id.
std::vector<QStringList> tablePickerRows(db::Connection& c);
// The waiters as their picker lists them: name, address, id; by id.
std::vector<QStringList> waiterPickerRows(db::Connection& c);

// ---- Orders -----------------------------------------------------------------

inline const QString kUnpaid = QStringLiteral("Belum Bayar");
inline const QString kPaid = QStringLiteral("Sudah Bayar");

// An unpaid order as the order list shows it.
struct UnpaidOrder {
    qint64 id = 0;
    QString number;
    QDate date;
    QString time;
    QString table;
    QString waiter;
    qint64 total = 0;
};

// The unpaid orders whose table and waiter exist, by id.
std::vector<UnpaidOrder> unpaidOrders(db::Connection& c);
// The one with this id as the list shows it, if it is among them.
std::optional<UnpaidOrder> unpaidOrder(db::Connection& c, qint64 orderId);

// The row of a stored order: its own ids of table and waiter, its date and
// time as stored, and its status.
struct StoredOrder {
    qint64 id = 0;
    QString number;
    QString date;
    QString time;
    qint64 tableId = 0;
    qint64 waiterId = 0;
    qint64 total = 0;
    QString status;
    bool operator==(const StoredOrder&) const = default;
};

// The order with this id, if it is stored.
std::optional<StoredOrder> storedOrder(db::Connection& c, qint64 orderId);

// One stored order line as it is stored: menu item, quantity and unit price.
struct StoredLine {
    qint64 menuId = 0;
    qint64 qty = 0;
    qint64 unitPrice = 0;
    bool operator==(const StoredLine&) const = default;
};

// An order as stored at one moment: its row and every line of it, whether
// or not its menu item is still stored, by menu id.
struct OrderVersion {
    StoredOrder order;
    std::vector<StoredLine> lines;
    bool operator==(const OrderVersion&) const = default;
};

// The order with this id and its lines, if it is stored.
std::optional<OrderVersion> orderVersion(db::Connection& c, qint64 orderId);

// One order line with the names it shows.
struct OrderLine {
    qint64 menuId = 0;
    QString code;
    QString name;
    QString category;
    QString unit;
    qint64 qty = 0;
    qint64 unitPrice = 0;
};

// The lines of an order whose menu item, category and unit exist, by menu id.
std::vector<OrderLine> orderLines(db::Connection& c, qint64 orderId);

// An order picked from the order list, read again as it is stored now: its
// row and lines as stored, its row as the list shows it (when it is still
// unpaid, with its table and waiter), and its lines with their names.
struct PickedRead {
    std::optional<OrderVersion> stored;
    std::optional<UnpaidOrder> listed;
    std::vector<OrderLine> lines;
};

// The order with this id, read in that order, so that a change landing
// between the reads differs from the stored version.
PickedRead pickedRead(db::Connection& c, qint64 orderId);

// An order as a save writes it; the lines need only menu id, qty and price.
struct OrderToSave {
    QString number;
    QDate date;
    QString time;
    qint64 tableId = 0;
    qint64 waiterId = 0;
    qint64 total = 0;
    std::vector<OrderLine> lines;
};

// What of an order's table, waiter and menu items is no longer stored.
struct MissingData {
    bool table = false;
    bool waiter = false;
    std::vector<qint64> menuIds;
    bool any() const { return table || waiter || !menuIds.empty(); }
};

// What a save came to. Saved: the order's id and the number it was stored
// under. Paid: the order was paid meanwhile. Gone: no stored order has both
// the id and the number brought back any more. Missing: the table, the
// waiter or a menu item is no longer stored (the missing ones).
enum class SaveResult { Saved, Paid, Gone, Missing };
struct Saved {
    qint64 id = 0;
    QString number;
    SaveResult result = SaveResult::Saved;
    MissingData missing;
};

// Stores a new order and its lines in one transaction, as "Belum Bayar".
// When its number was stored meanwhile by another station, the order takes
// the next free number, of today's date, instead. Nothing is written when
// its table, waiter or a menu item is missing.
Saved insertOrder(db::Connection& c, const OrderToSave& order);

// Rewrites the stored order brought back with this id and the order's
// number (status "Belum Bayar" again) and replaces its lines, in one
// transaction. Nothing is written when no order holds that id and number
// any more, when it is no longer unpaid, or when its table, waiter or a
// menu item is missing.
Saved changeOrder(db::Connection& c, qint64 orderId, const OrderToSave& order);

// ---- Payments -----------------------------------------------------------------

// A payment as the cash desk stores it: the order as the cashier picked it,
// amounts in whole rupiah.
struct Payment {
    QString receiptNumber;
    OrderVersion picked;
    QDate date;
    QString time;
    qint64 userId = 0;
    qint64 paid = 0;
    qint64 change = 0;
};

enum class PaymentResult { Stored, OrderPaid, OrderGone, OrderChanged };

// What a payment came to, the receipt number it was stored under and the
// order's lines as the payment found them, for the receipt.
struct PaymentOutcome {
    PaymentResult result = PaymentResult::OrderGone;
    QString receiptNumber;
    std::vector<OrderLine> lines;
};

// Stores the payment and marks its order "Sudah Bayar" in one transaction,
// under the next free receipt number when its own was stored meanwhile.
// Nothing is written when the order is gone or no longer unpaid, when its
// row or any of its lines is no longer as picked, or when its total is not
// the one paid for (paid minus change); the result says which.
PaymentOutcome storePayment(db::Connection& c, const Payment& payment);

}  // namespace orders
