#pragma once

#include <QDate>
#include <QString>

#include <functional>

// A busy restaurant's years of data, written straight through the database
// layer, for the benchmarks that hold the speed targets.
namespace datagen {

// The size of the generated restaurant and how many years it has traded.
struct Restaurant {
    int years = 10;
    int ordersPerDay = 300;
    int linesPerOrder = 4;
    int menuItems = 120;
    int tables = 30;
    int waiters = 12;
    int users = 5;
    // The last day with orders; its orders stay unpaid, every earlier one is
    // paid on its own day. An invalid date means today.
    QDate lastDay;
};

// The password of every generated user ("kasir1", "kasir2", ... sign in with it).
inline const QString kPassword = QStringLiteral("rahasia");

// Fills a keyed program database that holds the empty tables: master data,
// users holding every right, and the orders, lines and payments of the
// restaurant's days. Throws db::Error when a write fails.
void generate(const QString& dbFile, const Restaurant& restaurant);

// The path of a generated database for the restaurant, kept between runs in the
// build folder (or in DAPRA_BENCH_DATA when set); made first when missing.
// The file is written under a temporary name and renamed when complete, so
// an interrupted run never leaves a half-filled file behind.
QString cachedDatabase(const Restaurant& restaurant);

// Shows the windows offscreen unless QT_QPA_PLATFORM says otherwise; call it
// before the QApplication is made.
void offscreenUnlessSet();

// Points the program at the generated database of as many years as the
// command line's first argument says (default: the Restaurant's): an install
// folder in home whose db.txt names it. Returns its path, empty on failure.
QString useCachedDatabase(int argc, char** argv, const QString& home);

// The median time of an action run that many times, in milliseconds.
double median(int rounds, const std::function<void()>& action);

}  // namespace datagen
