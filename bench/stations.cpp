// The driver of a stations run and the checks of what the stations leave.
#include "stations.h"

#include "app/forms.h"
#include "controlpanel/userqueries.h"
#include "datagen.h"
#include "db/schema.h"
#include "shell/installfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <memory>
#include <set>

namespace stations {

namespace {

// Each statement lists the rows that break one rule.
struct Rule {
    const char* broken;
    const char* sql;
};

const Rule kRules[] = {
    {"order number stored twice",
     "SELECT no_order FROM pesan GROUP BY no_order HAVING count(*) > 1"},
    {"receipt number stored twice",
     "SELECT no_nota FROM bayar GROUP BY no_nota HAVING count(*) > 1"},
    {"paid order without exactly one payment",
     "SELECT p.no_order FROM pesan p WHERE p.status = 'Sudah Bayar'"
     " AND (SELECT count(*) FROM bayar b WHERE b.id_order = p.id_order) <> 1"},
    {"unpaid order with a payment",
     "SELECT p.no_order FROM pesan p WHERE p.status = 'Belum Bayar'"
     " AND EXISTS (SELECT 1 FROM bayar b WHERE b.id_order = p.id_order)"},
    {"order neither paid nor unpaid",
     "SELECT no_order FROM pesan WHERE status NOT IN ('Sudah Bayar', 'Belum Bayar')"},
    {"payment without a paid order",
     "SELECT b.no_nota FROM bayar b LEFT JOIN pesan p ON p.id_order = b.id_order"
     " WHERE p.id_order IS NULL OR p.status <> 'Sudah Bayar'"},
    {"payment not of its order's whole total",
     "SELECT b.no_nota FROM bayar b JOIN pesan p ON p.id_order = b.id_order"
     " WHERE b.total_bayar - b.kembali <> p.total_harga OR b.kembali < 0"},
    {"order whose lines do not add up to its total",
     "SELECT p.no_order FROM pesan p WHERE p.total_harga <> (SELECT coalesce(sum(d.qty *"
     " d.harga_satuan), -1) FROM detail_pesan d WHERE d.id_order = p.id_order)"},
    {"daily running total unlike the payments' sum",
     "SELECT * FROM (SELECT tgl_bayar, total, jumlah FROM rekap_harian EXCEPT"
     " SELECT b.tgl_bayar, sum(p.total_harga), count(*) FROM bayar b JOIN pesan p"
     " ON p.id_order = b.id_order GROUP BY b.tgl_bayar) UNION ALL"
     " SELECT * FROM (SELECT b.tgl_bayar, sum(p.total_harga), count(*) FROM bayar b JOIN pesan p"
     " ON p.id_order = b.id_order GROUP BY b.tgl_bayar EXCEPT"
     " SELECT tgl_bayar, total, jumlah FROM rekap_harian)"},
    {"menu running total unlike the lines' sum",
     "SELECT * FROM (SELECT id_menu, total, baris FROM rekap_menu EXCEPT"
     " SELECT id_menu, sum(qty), count(*) FROM detail_pesan GROUP BY id_menu) UNION ALL"
     " SELECT * FROM (SELECT id_menu, sum(qty), count(*) FROM detail_pesan GROUP BY id_menu"
     " EXCEPT SELECT id_menu, total, baris FROM rekap_menu)"},
};

// The rows that break each rule, by rule.
QMap<QString, QStringList> brokenRules(db::Connection& c) {
    QMap<QString, QStringList> broken;
    for (const Rule& rule : kRules) {
        for (const db::Row& r : c.rows(QString::fromLatin1(rule.sql))) {
            QStringList fields;
            for (const QVariant& v : r) {
                fields.append(v.toString());
            }
            broken[QString::fromLatin1(rule.broken)].append(fields.join(QChar(' ')));
        }
    }
    const QString integrity = c.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    if (integrity != QStringLiteral("ok")) {
        broken[QStringLiteral("integrity check")].append(integrity);
    }
    return broken;
}

// One line per broken rule, naming its first rows.
QStringList described(const QMap<QString, QStringList>& broken) {
    QStringList lines;
    for (auto it = broken.cbegin(); it != broken.cend(); ++it) {
        lines.append(it.key() + QStringLiteral(": ") + it.value().mid(0, 5).join(", "));
    }
    return lines;
}

// What one station's log says it was told succeeded.
struct Logged {
    std::set<qint64> newOrders;
    QMap<qint64, QString> orderNumbers;
    QMap<qint64, QSet<QString>> orderVersions;  // "total digest" of each save
    QMap<QString, QStringList> payments;        // receipt: order id, paid, change
    int lastRightsRound = 0;
    QStringList faults;
    QMap<QString, qint64> counts;
};

void readLine(const QStringList& f, int station, Logged& logged) {
    const QString& kind = f[0];
    if ((kind == QStringLiteral("order") || kind == QStringLiteral("change")) && f.size() == 5) {
        const qint64 id = f[1].toLongLong();
        if (kind == QStringLiteral("order") && !logged.newOrders.insert(id).second) {
            logged.faults.append(QStringLiteral("order id %1 saved as new twice").arg(id));
        }
        logged.orderNumbers[id] = f[2];
        logged.orderVersions[id].insert(f[3] + QChar(' ') + f[4]);
    } else if (kind == QStringLiteral("pay") && f.size() == 5) {
        if (logged.payments.contains(f[1])) {
            logged.faults.append(QStringLiteral("receipt %1 stored twice").arg(f[1]));
        }
        logged.payments[f[1]] = f.mid(2);
    } else if (kind == QStringLiteral("rights") && f.size() == 2) {
        logged.lastRightsRound = std::max(logged.lastRightsRound, f[1].toInt());
    } else if (kind == QStringLiteral("count") && f.size() == 3) {
        const qint64 value = f[2].toLongLong();
        qint64& sum = logged.counts[f[1]];
        sum = f[1].startsWith(QStringLiteral("longest")) ? std::max(sum, value) : sum + value;
    } else if (kind == QStringLiteral("fault") && f.size() == 2) {
        logged.faults.append(QStringLiteral("station %1: %2").arg(station).arg(f[1]));
    } else {
        logged.faults.append(QStringLiteral("station %1: unreadable log line").arg(station));
    }
}

void readLog(const QString& path, int station, Logged& logged) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        logged.faults.append(QStringLiteral("station %1 left no log").arg(station));
        return;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).chopped(1);
        readLine(line.split(QChar('\t')), station, logged);
    }
}

// Every order as stored: number and "total digest".
QMap<qint64, QStringList> storedOrders(db::Connection& c) {
    QMap<qint64, QList<std::tuple<qint64, qint64, qint64>>> lines;
    for (const db::Row& r :
         c.rows(QStringLiteral("SELECT id_order, id_menu, qty, harga_satuan"
                               " FROM detail_pesan ORDER BY id_order, id_menu"))) {
        lines[r[0].toLongLong()].append({r[1].toLongLong(), r[2].toLongLong(), r[3].toLongLong()});
    }
    QMap<qint64, QStringList> stored;
    for (const db::Row& r :
         c.rows(QStringLiteral("SELECT id_order, no_order, total_harga FROM pesan"))) {
        const qint64 id = r[0].toLongLong();
        stored[id] = {r[1].toString(), r[2].toString() + QChar(' ') + linesDigest(lines[id])};
    }
    return stored;
}

// Rows the stations were told were stored but are missing or other than saved.
qint64 lostOrders(db::Connection& c, Logged& logged) {
    const QMap<qint64, QStringList> stored = storedOrders(c);
    qint64 lost = 0;
    for (auto it = logged.orderNumbers.cbegin(); it != logged.orderNumbers.cend(); ++it) {
        const QStringList row = stored.value(it.key());
        if (row.isEmpty() || row[0] != it.value() ||
            !logged.orderVersions[it.key()].contains(row[1])) {
            ++lost;
            logged.faults.append(QStringLiteral("order %1 lost or not as saved").arg(it.value()));
        }
    }
    if (stored.size() != logged.orderNumbers.size()) {
        logged.faults.append(QStringLiteral("%1 orders stored, %2 saved")
                                 .arg(stored.size())
                                 .arg(logged.orderNumbers.size()));
    }
    return lost;
}

qint64 lostPayments(db::Connection& c, Logged& logged) {
    QMap<QString, QStringList> stored;
    for (const db::Row& r :
         c.rows(QStringLiteral("SELECT no_nota, id_order, total_bayar, kembali FROM bayar"))) {
        stored[r[0].toString()] = {r[1].toString(), r[2].toString(), r[3].toString()};
    }
    qint64 lost = 0;
    for (auto it = logged.payments.cbegin(); it != logged.payments.cend(); ++it) {
        if (stored.value(it.key()) != it.value()) {
            ++lost;
            logged.faults.append(QStringLiteral("payment %1 lost or not as stored").arg(it.key()));
        }
    }
    if (stored.size() != logged.payments.size()) {
        logged.faults.append(QStringLiteral("%1 payments stored, %2 made")
                                 .arg(stored.size())
                                 .arg(logged.payments.size()));
    }
    return lost;
}

void checkRights(db::Connection& c, Logged& logged) {
    const std::optional<qint64> id = controlpanel::findUserId(c, kRightsUser);
    const QStringList rights = id ? controlpanel::userRights(c, *id) : QStringList();
    if (rights != rightsSet(logged.lastRightsRound)) {
        logged.faults.append(QStringLiteral("rights are not the last ones saved"));
    }
}

// Checks the file against the logs; the figures of the checks join the stations' counts.
void checkAll(const QString& dbPath, Logged& logged) {
    db::Connection c(dbPath);
    const QMap<QString, QStringList> broken = brokenRules(c);
    logged.faults += described(broken);
    auto rows = [&broken](const char* rule) {
        return qint64(broken.value(QString::fromLatin1(rule)).size());
    };
    logged.counts[QStringLiteral("lost rows")] = lostOrders(c, logged) + lostPayments(c, logged);
    logged.counts[QStringLiteral("numbers stored twice")] =
        rows("order number stored twice") + rows("receipt number stored twice");
    logged.counts[QStringLiteral("half-paid orders")] =
        rows("paid order without exactly one payment") + rows("unpaid order with a payment") +
        rows("payment without a paid order") + rows("payment not of its order's whole total");
    logged.counts[QStringLiteral("orders stored")] =
        c.scalar("SELECT count(*) FROM pesan").toLongLong();
    logged.counts[QStringLiteral("payments in the file")] =
        c.scalar("SELECT count(*) FROM bayar").toLongLong();
    checkRights(c, logged);
    // Shown as 0 when no station met them.
    for (const char* figure :
         {"locked errors shown", "other errors shown", "waits of 1 s or more"}) {
        logged.counts[QString::fromLatin1(figure)] += 0;
    }
}

// A restaurant's master data without orders, and the changing user's first rights.
void createDatabase(const QString& dbPath) {
    QFile::remove(dbPath);
    db::createDatabaseFile(dbPath);
    datagen::Restaurant restaurant;
    restaurant.years = 0;
    restaurant.menuItems = 40;
    restaurant.tables = 12;
    restaurant.waiters = 6;
    datagen::generate(dbPath, restaurant);
    db::Connection c(dbPath);
    controlpanel::replaceRights(c, kRightsUser, rightsSet(0));
}

// Starts the stations with DAPRA_HOME naming the folder whose db.txt names the file.
std::vector<std::unique_ptr<QProcess>> startStations(const Options& options,
                                                     const QString& program) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DAPRA_HOME"), options.folder);
    std::vector<std::unique_ptr<QProcess>> stations;
    for (int i = 0; i < options.processes; ++i) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(
            program, {QStringLiteral("--station"), QString::number(i), QStringLiteral("--seconds"),
                      QString::number(options.seconds), QStringLiteral("--seed"),
                      QString::number(options.seed + quint32(i)), QStringLiteral("--folder"),
                      options.folder});
        stations.push_back(std::move(process));
    }
    return stations;
}

constexpr int kGraceMs = 120000;

void waitFor(std::vector<std::unique_ptr<QProcess>>& stations, const Options& options,
             QStringList& faults) {
    for (size_t i = 0; i < stations.size(); ++i) {
        QProcess& p = *stations[i];
        if (!p.waitForFinished(options.seconds * 1000 + kGraceMs)) {
            p.kill();
            p.waitForFinished();
            faults.append(QStringLiteral("station %1 did not end in time").arg(i));
        } else if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            faults.append(QStringLiteral("station %1 failed (exit %2)").arg(i).arg(p.exitCode()));
        }
    }
}

}  // namespace

QString linesDigest(const QList<std::tuple<qint64, qint64, qint64>>& lines) {
    QStringList parts;
    for (const auto& [menu, qty, price] : lines) {
        parts.append(QStringLiteral("%1x%2@%3").arg(menu).arg(qty).arg(price));
    }
    return parts.join(QChar(','));
}

// Set r starts at right r (counted round the list) and runs on for a length
// fixed by where it starts, so a set cut short is no set at all.
QStringList rightsSet(int round) {
    QStringList all;
    for (const shell::FormEntry& entry : app::formTable()) {
        all.append(entry.right);
    }
    const int n = int(all.size());
    const int start = round % n;
    const int length = n - (start * 7) % n;
    QStringList set;
    for (int i = 0; i < length; ++i) {
        set.append(all[(start + i) % n]);
    }
    return set;
}

bool isWholeRightsSet(const QStringList& rights) {
    const int n = int(app::formTable().size());
    for (int start = 0; start < n; ++start) {
        if (rights == rightsSet(start)) {
            return true;
        }
    }
    return false;
}

QStringList checkDatabase(db::Connection& c) {
    return described(brokenRules(c));
}

Outcome run(const Options& given, const QString& program) {
    Options options = given;
    QTemporaryDir temporary;
    if (options.folder.isEmpty()) {
        options.folder = temporary.path();
    }
    QDir().mkpath(options.folder);
    const QString dbPath = options.folder + QStringLiteral("/dapra.mdb");
    Outcome outcome;
    Logged logged;
    try {
        createDatabase(dbPath);
        const QByteArray home = qgetenv("DAPRA_HOME");
        qputenv("DAPRA_HOME", options.folder.toUtf8());
        install::writeDbTxt(dbPath);
        qputenv("DAPRA_HOME", home);
        std::vector<std::unique_ptr<QProcess>> started = startStations(options, program);
        waitFor(started, options, outcome.faults);
        for (int i = 0; i < options.processes; ++i) {
            readLog(options.folder + QStringLiteral("/station-%1.log").arg(i), i, logged);
        }
        checkAll(dbPath, logged);
    } catch (const db::Error& error) {
        outcome.faults.append(QStringLiteral("database error: ") + error.description());
    }
    outcome.faults += logged.faults;
    outcome.figures = logged.counts;
    outcome.figures[QStringLiteral("faults")] = outcome.faults.size();
    return outcome;
}

QString Outcome::table() const {
    QString text = QStringLiteral("| what | count |\n|---|---|\n");
    for (auto it = figures.cbegin(); it != figures.cend(); ++it) {
        text += QStringLiteral("| %1 | %2 |\n").arg(it.key()).arg(it.value());
    }
    return text;
}

}  // namespace stations
