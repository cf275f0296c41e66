#pragma once

#include "db/database.h"

#include <QDate>

#include <optional>
#include <utility>
#include <vector>

// The statements of the report windows and the printed reports. Dates are
// bound as stored ('YYYY-MM-DD'); nothing typed is spliced into SQL.
//
// A payment whose cashier or waiter row is gone stays in every sales result
// with an empty name, so the list, the total, the daily sums and the printout
// of one period always count the same payments.
namespace reports {

// Field positions of a period row.
enum PeriodField {
    kIdBayar,
    kNoNota,
    kNoOrder,
    kTglBayar,
    kJamBayar,
    kNmUser,
    kNmPelayan,
    kTotalHarga,
    kTotalBayar,
    kKembali,
};

// The payments whose date lies between the two days (both included), in the
// order they were stored: the fields of PeriodField.
std::vector<db::Row> periodPayments(db::Connection& c, const QDate& start, const QDate& end);

// The ids of the same payments, in the same order.
std::vector<qint64> periodPaymentIds(db::Connection& c, const QDate& start, const QDate& end);

// The payments of periodPayments whose id lies between the two ids (both
// included), in the same order.
std::vector<db::Row> periodPaymentsBetween(db::Connection& c, const QDate& start, const QDate& end,
                                           qint64 firstId, qint64 lastId);

// The sum of the order totals of the same payments; none when the period
// holds no payment. Read from the running totals per day.
std::optional<qint64> periodTotal(db::Connection& c, const QDate& start, const QDate& end);

// Whether any payment is stored.
bool anyPayment(db::Connection& c);

// One payment date and the sum of the order totals paid on it.
struct DailyTotal {
    QString date;  // as stored
    qint64 total = 0;
};

// The sum per payment date, oldest date first.
std::vector<DailyTotal> dailyTotals(db::Connection& c);

// A menu item with the quantity ordered of it over all order lines.
struct Favourite {
    QString name;
    QString category;
    QString unit;
    qint64 quantity = 0;
};

// The items ordered most, the largest quantity first and, for equal
// quantities, by name; at most limit of them. Items whose category or unit
// row is missing are left out.
std::vector<Favourite> favourites(db::Connection& c, int limit);

// Field positions of a menu list row.
enum MenuField { kKodeMenu, kNamaMenu, kKeterangan, kNmKategori, kNmSatuan, kHargaJual, kIdMenu };

// The number of all menu rows, whether their category and unit exist or not.
qint64 menuItemCount(db::Connection& c);

// The menu items whose category and unit exist, in the order of their id: the
// fields of MenuField.
std::vector<db::Row> menuList(db::Connection& c);

}  // namespace reports
