// The report statements on a small fixed data set.
#include "db/schema.h"
#include "reports/reportqueries.h"
#include "seed.h"

#include <memory>
#include <random>

using namespace reports;

namespace {

// "key=value" for each row of a two-column statement.
QStringList pairs(db::Connection& c, const QString& sql) {
    QStringList texts;
    for (const db::Row& r : c.rows(sql)) {
        texts.append(r[0].toString() + "=" + r[1].toString());
    }
    return texts;
}

// The running daily totals as "date=total".
QStringList runningDailySums(db::Connection& c) {
    QStringList sums;
    for (const DailyTotal& d : dailyTotals(c)) {
        sums.append(d.date + "=" + QString::number(d.total));
    }
    return sums;
}
const QString kFullDaily =
    "SELECT b.tgl_bayar, sum(o.total_harga) FROM bayar b JOIN pesan o"
    " ON o.id_order = b.id_order GROUP BY b.tgl_bayar ORDER BY b.tgl_bayar";
const QString kFullMenu =
    "SELECT id_menu, sum(qty) FROM detail_pesan GROUP BY id_menu ORDER BY id_menu";
const QString kRunningMenu = "SELECT id_menu, total FROM rekap_menu ORDER BY id_menu";

// One random write of the kind the order, cashier and reset windows make.
void randomWrite(db::Connection& c, std::mt19937& random) {
    auto pick = [&random](int n) {
        return int(random() % unsigned(n));
    };
    const int order = 1 + pick(8);
    const QString date = QString("2024-05-0%1").arg(1 + pick(4));
    const QString line = "INSERT INTO detail_pesan VALUES (?, ?, ?, 1000)";
    switch (pick(7)) {
        case 0:
            c.exec(
                "INSERT OR IGNORE INTO pesan (id_order, no_order, id_pelayan, total_harga,"
                " status) VALUES (?, 'RO', 1, ?, 'Belum Bayar')",
                {order, 1000 * pick(50)});
            break;
        case 1:
            c.exec(
                "INSERT INTO bayar (no_nota, id_order, tgl_bayar, id_user, total_bayar,"
                " kembali) VALUES ('PO', ?, ?, 1, 0, 0)",
                {order, date});
            break;
        case 2: {  // an order changed: new total, its lines written again
            db::Transaction tx(c);
            c.exec("UPDATE pesan SET total_harga = ? WHERE id_order = ?", {1000 * pick(50), order});
            c.exec("DELETE FROM detail_pesan WHERE id_order = ?", {order});
            for (int i = pick(4); i > 0; --i) {
                c.exec(line, {order, 1 + pick(5), pick(6)});
            }
            tx.commit();
            break;
        }
        case 3:
            c.exec(line, {order, 1 + pick(5), 1 + pick(6)});
            break;
        case 4:
            c.exec("DELETE FROM pesan WHERE id_order = ?", {order});
            break;
        case 5:
            c.exec("UPDATE detail_pesan SET qty = qty + 1 WHERE id_order = ?", {order});
            break;
        default:  // now and then a reset of the sales
            pick(10) == 0 ? db::resetTables(c, db::Reset::OrdersAndPayments) : void();
    }
}

}  // namespace

class ReportQueriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // After each write, a random period (some before the first payment or
    // after the last) has the total of a plain sum and lists the payments it
    // sums, those of orders deleted since left out, those of cashiers that
    // never existed kept.
    void runningTotalsEqualTheFullSums() {
        testing::TestInstall install;
        const std::unique_ptr<db::Connection> conn = install.connect();
        std::mt19937 random(20240501);
        for (int step = 0; step < 400; ++step) {
            randomWrite(*conn, random);
            QCOMPARE(runningDailySums(*conn), pairs(*conn, kFullDaily));
            QCOMPARE(pairs(*conn, kRunningMenu), pairs(*conn, kFullMenu));
            const QDate start = QDate(2024, 4, 29).addDays(int(random() % 8));
            const QDate end = start.addDays(int(random() % 5));
            const db::Row plain =
                conn->rows(
                        "SELECT count(*), sum(o.total_harga) FROM bayar b JOIN pesan o"
                        " ON o.id_order = b.id_order WHERE b.tgl_bayar BETWEEN ? AND ?",
                        {start.toString(Qt::ISODate), end.toString(Qt::ISODate)})
                    .front();
            const std::optional<qint64> total = periodTotal(*conn, start, end);
            QCOMPARE(total.has_value(), plain[0].toInt() > 0);
            QCOMPARE(total.value_or(0), plain[1].toLongLong());
            const std::vector<qint64> ids = periodPaymentIds(*conn, start, end);
            QCOMPARE(qint64(ids.size()), plain[0].toLongLong());
            qint64 listed = 0;
            for (const db::Row& r :
                 periodPaymentsBetween(*conn, start, end, ids.empty() ? 0 : ids.front(),
                                       ids.empty() ? 0 : ids.back())) {
                listed += r[kTotalHarga].toLongLong();
            }
            QCOMPARE(listed, total.value_or(0));
        }
    }
};

DAPRA_TEST_MAIN(ReportQueriesTest)
#include "tst_reportqueries.moc"
