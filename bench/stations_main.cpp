// Several stations on one database file for a while, then the checks of
// what they left; fails when any promise broke.
// Run: build/bench/bench_stations [--minutes M | --seconds S] [--processes N] [--folder DIR]
//      [--seed X]   (scripts/stations runs it for 10 minutes by default)
#include "stations.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <cstring>

namespace {

int numberAfter(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return std::atoi(argv[i + 1]);
        }
    }
    return fallback;
}

QString textAfter(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (stations::isStationCall(argc, argv)) {
        return stations::stationMain(argc, argv);
    }
    QCoreApplication app(argc, argv);
    stations::Options options;
    options.seconds =
        numberAfter(argc, argv, "--seconds", 60 * numberAfter(argc, argv, "--minutes", 10));
    options.processes = numberAfter(argc, argv, "--processes", options.processes);
    options.folder = textAfter(argc, argv, "--folder");
    options.seed = quint32(
        numberAfter(argc, argv, "--seed", int(QDateTime::currentSecsSinceEpoch() % 100000)));
    std::printf("%d stations for %d s, seed %u\n", options.processes, options.seconds,
                options.seed);
    std::fflush(stdout);
    const stations::Outcome outcome =
        stations::run(options, QCoreApplication::applicationFilePath());
    std::printf("%s", qPrintable(outcome.table()));
    for (const QString& fault : outcome.faults) {
        std::printf("FAULT %s\n", qPrintable(fault));
    }
    return outcome.faults.isEmpty() ? 0 : 1;
}
