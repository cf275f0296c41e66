// Measures what the reports' running totals cost the writes on ten years of a
// busy restaurant (see datagen.h): saving a paid order of six lines with the
// triggers that keep the totals and without them, and the program's reset of
// the orders and payments. Works on copies of the
// file. Run: build/bench/bench_runningtotals [years]
#include "datagen.h"

#include "db/database.h"
#include "db/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

double millis(const std::function<void()>& step, int rounds = 1) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        step();
    }
    return double(timer.nsecsElapsed()) / 1e6 / rounds;
}

void dropTriggers(db::Connection& c) {
    for (const db::Row& r :
         c.rows("SELECT name FROM sqlite_master WHERE type = 'trigger' AND name LIKE 'rekap%'")) {
        c.exec("DROP TRIGGER " + r[0].toString());
    }
}

// An order of six lines and its payment, as the order and cashier windows
// store them, in one transaction.
void saveOrder(db::Connection& c, int n) {
    db::Transaction tx(c);
    c.exec(
        "INSERT INTO pesan (no_order, tgl_order, jam_order, id_meja, id_pelayan, total_harga,"
        " status) VALUES (?, '2099-01-01', '12:00:00', 1, 1, 90000, 'Sudah Bayar')",
        {QStringLiteral("RO-BENCH-%1").arg(n)});
    const qint64 order = c.lastInsertId();
    for (int i = 1; i <= 6; ++i) {
        c.exec("INSERT INTO detail_pesan VALUES (?, ?, 1, 15000)", {order, i});
    }
    c.exec(
        "INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user, total_bayar,"
        " kembali) VALUES (?, ?, '2099-01-01', '12:30:00', 1, 100000, 10000)",
        {QStringLiteral("PO-BENCH-%1").arg(n), order});
    tx.commit();
}

void measureCopy(const QString& data, const QString& copy, bool triggers) {
    QFile::remove(copy);
    if (!QFile::copy(data, copy)) {
        std::printf("cannot copy %s\n", qPrintable(data));
        return;
    }
    db::Connection c(copy);
    if (!triggers) {
        dropTriggers(c);
    }
    const char* kind = triggers ? "with triggers" : "without triggers";
    int n = 0;
    saveOrder(c, n++);  // warms the cache
    std::printf("save an order of 6 lines and its payment, %-17s %8.2f ms\n", kind,
                millis([&] { saveOrder(c, n++); }, 50));
    if (triggers) {
        std::printf("reset of the orders and payments %33.0f ms\n",
                    millis([&] { db::resetTables(c, db::Reset::OrdersAndPayments); }));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    datagen::Restaurant restaurant;
    if (argc > 1) {
        restaurant.years = QByteArray(argv[1]).toInt();
    }
    const QString data = datagen::cachedDatabase(restaurant);
    QTemporaryDir dir(QFileInfo(data).absolutePath() + QStringLiteral("/copy-XXXXXX"));
    for (const bool triggers : {true, false}) {
        measureCopy(data, dir.filePath(QStringLiteral("copy.mdb")), triggers);
    }
    return 0;
}
