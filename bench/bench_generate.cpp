// Makes (or finds) the generated restaurant database of the benchmarks and
// prints its path and row counts. Run: build/bench/bench_generate [years]
#include "datagen.h"

#include "db/database.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    datagen::Restaurant restaurant;
    if (argc > 1) {
        restaurant.years = QByteArray(argv[1]).toInt();
    }
    QElapsedTimer timer;
    timer.start();
    const QString path = datagen::cachedDatabase(restaurant);
    std::printf("%s (%.1f s)\n", qPrintable(path), double(timer.elapsed()) / 1000);
    db::Connection c(path);
    for (const char* table : {"pesan", "detail_pesan", "bayar", "menu"}) {
        const qint64 rows =
            c.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toLongLong();
        std::printf("%-14s %10lld rows\n", table, static_cast<long long>(rows));
    }
    return 0;
}
