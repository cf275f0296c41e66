// What the order and cashier windows' actions cost the database on ten years
// of a busy restaurant: drawing an order number (beside the walk over every
// order that a number could also be drawn by), saving an order of six lines,
// listing the unpaid orders and bringing one back; drawing a receipt number,
// picking an order for payment and storing a payment. Every statement those actions run is
// checked to step through no table of orders, lines or payments.
// Run: build/bench/bench_orders [years]
#include "datagen.h"

#include "db/database.h"
#include "orders/orderqueries.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

using datagen::median;

namespace {

// Full-scan steps per statement text, gathered while an action runs.
std::map<QString, qint64> scanSteps;

int traced(unsigned, void*, void* statement, void*) {
    auto* stmt = static_cast<sqlite3_stmt*>(statement);
    const QString sql = QString::fromUtf8(sqlite3_sql(stmt));
    scanSteps[sql] = std::max<qint64>(
        scanSteps[sql], sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_FULLSCAN_STEP, 0));
    return 0;
}

// The slow way to the last number: every row read, the last one kept.
QString lastNumberByWalking(db::Connection& c) {
    c.scalar(QStringLiteral("SELECT count(*) FROM pesan"));
    db::Statement all = c.prepare(QStringLiteral("SELECT * FROM pesan"));
    QString last;
    while (all.next()) {
        last = all.text(1);
    }
    return last;
}

orders::OrderToSave sixLines(const QString& number) {
    orders::OrderToSave order{number, QDate::currentDate(), QStringLiteral("12:00:00"), 1, 1, 0,
                              {}};
    for (qint64 menu = 1; menu <= 6; ++menu) {
        order.lines.push_back({menu, {}, {}, {}, {}, 2, 10000});
        order.total += 20000;
    }
    return order;
}

void report(const char* what, double ms) {
    std::printf("%-46s %9.3f ms\n", what, ms);
}

// Prints the plan of every statement run, and fails on a full-table walk.
bool checkPlans(db::Connection& c) {
    bool ok = true;
    for (const auto& [sql, steps] : scanSteps) {
        std::printf("  %7lld scan steps  %s\n", static_cast<long long>(steps), qPrintable(sql));
        for (const db::Row& r : c.rows(QStringLiteral("EXPLAIN QUERY PLAN ") + sql)) {
            std::printf("                      %s\n", qPrintable(r.value(3).toString()));
        }
        ok = ok && steps <= 1;
    }
    return ok;
}

// The cash desk: each payment settles an unpaid order saved beforehand.
void benchPayments(db::Connection& c, const QDate& today) {
    constexpr int kRounds = 50;
    std::printf("%lld payments stored\n",
                static_cast<long long>(
                    c.scalar(QStringLiteral("SELECT max(id_bayar) FROM bayar")).toLongLong()));
    report("drawing a receipt number",
           median(kRounds, [&] { orders::nextNumber(c, orders::kReceiptNumber, today); }));
    std::vector<qint64> unpaid;
    for (int i = 0; i < kRounds; ++i) {
        unpaid.push_back(
            orders::insertOrder(c, sixLines(orders::nextNumber(c, orders::kOrderNumber, today)))
                .id);
    }
    size_t next = 0;
    std::vector<orders::OrderVersion> picked(unpaid.size());
    report("picking an order for payment (row, lines)", median(kRounds, [&] {
               const qint64 id = unpaid[next % unpaid.size()];
               picked[next++ % unpaid.size()] = *orders::orderVersion(c, id);
               orders::unpaidOrder(c, id);
               orders::orderLines(c, id);
           }));
    next = 0;
    report("storing a payment (one transaction)", median(kRounds, [&] {
               const orders::Payment payment{orders::nextNumber(c, orders::kReceiptNumber, today),
                                             picked[next++],
                                             today,
                                             QStringLiteral("12:00:00"),
                                             1,
                                             150000,
                                             30000};
               if (orders::storePayment(c, payment).result != orders::PaymentResult::Stored) {
                   std::fprintf(stderr, "payment refused\n");
               }
           }));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    datagen::Restaurant restaurant;
    if (argc > 1) {
        restaurant.years = QByteArray(argv[1]).toInt();
    }
    // Saving writes: work on a copy, so the kept data stays as generated.
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/dapra.mdb");
    if (!QFile::copy(datagen::cachedDatabase(restaurant), file)) {
        std::fprintf(stderr, "cannot copy the generated database\n");
        return 1;
    }
    db::Connection c(file);
    std::printf("%lld orders stored\n",
                static_cast<long long>(
                    c.scalar(QStringLiteral("SELECT max(id_order) FROM pesan")).toLongLong()));
    constexpr int kRounds = 50;
    const QDate today = QDate::currentDate();

    report("walking every order to the last number", median(3, [&] { lastNumberByWalking(c); }));
    sqlite3_trace_v2(c.handle(), SQLITE_TRACE_PROFILE, &traced, nullptr);
    report("drawing an order number",
           median(kRounds, [&] { orders::nextNumber(c, orders::kOrderNumber, today); }));
    report("saving an order of 6 lines", median(kRounds, [&] {
               orders::insertOrder(c, sixLines(orders::nextNumber(c, orders::kOrderNumber, today)));
           }));
    std::vector<orders::UnpaidOrder> unpaid;
    report("listing the unpaid orders", median(kRounds, [&] { unpaid = orders::unpaidOrders(c); }));
    std::printf("  (%zu unpaid orders listed)\n", unpaid.size());
    const qint64 id = unpaid.empty() ? 1 : unpaid.front().id;
    report("bringing an order back (header and lines)", median(kRounds, [&] {
               orders::storedOrder(c, id);
               orders::orderLines(c, id);
           }));
    report("changing a brought-back order (6 lines)",
           median(kRounds, [&] { orders::changeOrder(c, id, sixLines(unpaid.front().number)); }));
    benchPayments(c, today);
    sqlite3_trace_v2(c.handle(), 0, nullptr, nullptr);
    return checkPlans(c) ? 0 : 1;
}
