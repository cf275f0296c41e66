#pragma once

#include <QDate>
#include <QString>

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

// Points the program at the cached database of the given years (all when
// empty) through a db.txt in `home`, which becomes DAPRA_HOME; returns the
// database's path, or an empty text when db.txt cannot be written.
QString installCachedDatabase(const QByteArray& years, const QString& home);

}  // namespace datagen
