#pragma once

#include "db/database.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Several stations on one database file: processes that take, change and pay
// orders, draw numbers, list reports, back up and replace rights at once
// through the program's own data layer, and the checks of what they leave.
namespace stations {

// One run: how many processes, for how long, and where the file lies.
struct Options {
    int processes = 4;
    int seconds = 30;
    // The folder of the database, db.txt and the stations' logs; a temporary
    // one when empty.
    QString folder;
    // Station i draws its random actions from seed + i.
    quint32 seed = 1;
};

// What a run found. Faults name every broken promise; the figures count
// what the stations did.
struct Outcome {
    QStringList faults;
    QMap<QString, qint64> figures;
    // The figures as the table the README shows.
    QString table() const;
};

// Creates the database, starts the stations (program run with the
// arguments stationArguments gives), waits for them and checks the file and
// their logs.
Outcome run(const Options& options, const QString& program);

// Whether the command line asks this process to be one station.
bool isStationCall(int argc, char** argv);

// Runs one station until its time is up; the process's exit code.
int stationMain(int argc, char** argv);

// What the file must always hold, whoever wrote it: no number stored twice,
// every paid order with exactly one payment for its whole total and every
// payment with a paid order, every order's lines adding up to its total, the
// reports' running totals equal to the sums over the tables, and every page
// whole. One line per broken rule.
QStringList checkDatabase(db::Connection& c);

// The order's lines as one text: menu id, quantity and price of each, by menu id.
QString linesDigest(const QList<std::tuple<qint64, qint64, qint64>>& lines);

// The access rights of the changing user in round r: a set that a half
// written replacement can never look like (see isWholeRightsSet).
QStringList rightsSet(int round);
bool isWholeRightsSet(const QStringList& rights);

// The user whose rights one station keeps replacing.
inline const QString kRightsUser = QStringLiteral("kasir5");

}  // namespace stations
