// Measures the report statements on ten years of a busy restaurant (see
// datagen.h): one unit of work each, opening the file included, and laying out
// a year's printed period report. Run: build/bench/bench_reports [years]
#include "datagen.h"

#include "reports/listfiller.h"
#include "reports/printedreports.h"
#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"
#include "toolkit/reportlist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

namespace {

void measure(const char* what, int rounds, const std::function<size_t()>& step) {
    size_t rows = step();  // a first run warms the file cache
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        rows = step();
    }
    std::printf("%-46s %9.1f ms  (%zu rows)\n", what, double(timer.nsecsElapsed()) / 1e6 / rounds,
                rows);
}

size_t inUnit(const std::function<size_t(db::Connection&)>& work) {
    size_t rows = 0;
    moddapra::RunUnit([&](db::Connection& c) { rows = work(c); });
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    fmt::applyIndonesianLocale();
    QTemporaryDir home;
    const QString data =
        datagen::installCachedDatabase(argc > 1 ? QByteArray(argv[1]) : QByteArray(), home.path());
    if (data.isEmpty()) {
        return 1;
    }

    using namespace reports;
    const QDate last = db::Connection(data).scalar("SELECT max(tgl_bayar) FROM bayar").toDate();
    const QDate monthStart(last.year(), last.month(), 1);
    const QDate yearStart = last.addYears(-1).addDays(1);
    measure("period list, one month", 5, [&] {
        return inUnit(
            [&](db::Connection& c) { return periodPayments(c, monthStart, last).size(); });
    });
    measure("period total, one month", 5, [&] {
        return inUnit(
            [&](db::Connection& c) { return size_t(periodTotal(c, monthStart, last) ? 1 : 0); });
    });
    measure("period list, one year", 3, [&] {
        return inUnit([&](db::Connection& c) { return periodPayments(c, yearStart, last).size(); });
    });
    measure("period total, one year", 3, [&] {
        return inUnit(
            [&](db::Connection& c) { return size_t(periodTotal(c, yearStart, last) ? 1 : 0); });
    });
    measure("daily totals, all years", 3,
            [&] { return inUnit([](db::Connection& c) { return dailyTotals(c).size(); }); });
    measure("favourites (payment count and top ten)", 3, [&] {
        return inUnit(
            [](db::Connection& c) { return anyPayment(c) ? favourites(c, 10).size() : 0; });
    });
    measure("menu list", 5,
            [&] { return inUnit([](db::Connection& c) { return menuList(c).size(); }); });

    std::vector<db::Row> year;
    moddapra::RunUnit([&](db::Connection& c) { year = periodPayments(c, yearStart, last); });
    measure("lay out a year's printed period report", 3,
            [&] { return layOut(periodReport(), year, landscapeA4Tw(), last).size(); });

    QTreeWidget list;
    list.setColumnCount(10);
    std::vector<QStringList> texts(ListFiller::kBatch, QStringList(10, QStringLiteral("PO-123")));
    measure("append one batch of list rows", 5, [&] {
        list.clear();
        ui::addRows(&list, texts.begin(), texts.end());
        return texts.size();
    });
    return 0;
}
