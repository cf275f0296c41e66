#include "crashcases.h"

#include "controlpanel/databasefile.h"
#include "controlpanel/userqueries.h"
#include "datagen.h"
#include "db/backup.h"
#include "db/database.h"
#include "db/schema.h"
#include "orders/orderqueries.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace crashes {

namespace {

// The engine's code for an I/O failure.
constexpr int kIoError = 10;

const QDate kLastDay(2025, 12, 31);
const QDate kToday(2026, 1, 2);
const QString kUser = QStringLiteral("kasir2");

QString databaseOf(const QString& trial) {
    return trial + QStringLiteral("/dapra.mdb");
}

void generate(const QString& path, int years, int ordersPerDay) {
    db::createDatabaseFile(path);
    datagen::Restaurant restaurant;
    restaurant.years = years;
    restaurant.ordersPerDay = ordersPerDay;
    restaurant.linesPerOrder = 3;
    restaurant.menuItems = 40;
    restaurant.users = 3;
    restaurant.lastDay = kLastDay;
    datagen::generate(path, restaurant);
}

// Replaces the trial folder's content by a copy of one file as the database.
void layOut(const QString& trial, const QString& source) {
    QDir(trial).removeRecursively();
    QDir().mkpath(trial);
    if (!QFile::copy(source, databaseOf(trial))) {
        throw db::Error(kIoError, QStringLiteral("cannot copy ") + source);
    }
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void addValue(QCryptographicHash& hash, const QVariant& value) {
    hash.addData(QByteArray::number(value.typeId()));
    hash.addData(value.toString().toUtf8());
    hash.addData(QByteArrayView("\x1f"));
}

// Every row of every table the program writes, running totals included.
QByteArray fingerprint(db::Connection& c) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& table : db::tablesEmptiedBy(db::Reset::Everything)) {
        hash.addData(table.toUtf8());
        db::Statement rows =
            c.prepare(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY rowid"));
        while (rows.next()) {
            for (const QVariant& value : rows.row()) {
                addValue(hash, value);
            }
        }
    }
    return hash.result().toHex();
}

// Rows where the kept totals and the sums over the full tables differ.
qint64 totalsOffBy(db::Connection& c) {
    const QString daily = QStringLiteral(
        "SELECT b.tgl_bayar, sum(o.total_harga), count(*) FROM bayar b"
        " JOIN pesan o ON o.id_order = b.id_order GROUP BY b.tgl_bayar");
    const QString perItem = QStringLiteral(
        "SELECT id_menu, sum(qty), count(*) FROM detail_pesan"
        " WHERE id_menu IS NOT NULL GROUP BY id_menu");
    const QString kept = QStringLiteral("SELECT * FROM rekap_harian");
    const QString keptItems = QStringLiteral("SELECT * FROM rekap_menu");
    auto differ = [&](const QString& a, const QString& b) {
        return c
            .scalar(QStringLiteral("SELECT count(*) FROM (") + a + QStringLiteral(" EXCEPT ") + b +
                    QStringLiteral(")"))
            .toLongLong();
    };
    return differ(daily, kept) + differ(kept, daily) + differ(perItem, keptItems) +
           differ(keptItems, perItem);
}

QString databaseState(const QString& path) {
    try {
        db::Connection c(path);
        const QString integrity = c.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QStringLiteral("ok")) {
            return QStringLiteral("damaged: integrity ") + integrity;
        }
        if (const qint64 off = totalsOffBy(c); off != 0) {
            return QStringLiteral("damaged: running totals off in %1 rows").arg(off);
        }
        return QStringLiteral("database ") + QString::fromLatin1(fingerprint(c));
    } catch (const db::Error& error) {
        const QByteArray sum =
            QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);
        return QStringLiteral("damaged: does not open (%1 %2), bytes %3")
            .arg(error.number())
            .arg(error.description(), QString::fromLatin1(sum.toHex()));
    }
}

// db.txt as the program reads it, with its bytes.
QString dbTxtState(const QString&) {
    try {
        moddapra::ReadDbPath();
    } catch (const db::Error& error) {
        return QStringLiteral("damaged: db.txt unreadable: ") + error.description();
    }
    const QByteArray bytes = fileBytes(install::dbTxtPath());
    if (moddapra::DbPath.isEmpty()) {
        return QStringLiteral("damaged: db.txt names no file: ") +
               QString::fromLatin1(bytes.toHex());
    }
    return QStringLiteral("db.txt ") + moddapra::DbPath + QStringLiteral(" bytes ") +
           QString::fromLatin1(bytes.toHex());
}

// The install folder as the next start finds it: none yet, or, once that
// start has run, db.txt, the database and their permissions.
QString firstStartState(const QString& trial) {
    if (!QFileInfo::exists(trial)) {
        return QStringLiteral("no install folder");
    }
    try {
        install::setUpFirstRun();
    } catch (const db::Error& error) {
        return QStringLiteral("damaged: the next start fails: ") + error.description();
    }
    const auto mode = [](const QString& path) {
        return QString::number(int(QFile::permissions(path)), 16);
    };
    return dbTxtState(trial) + QStringLiteral(" mode ") + mode(install::dbTxtPath()) +
           QStringLiteral(", ") + databaseState(databaseOf(trial)) + QStringLiteral(" mode ") +
           mode(databaseOf(trial));
}

orders::OrderLine line(qint64 menuId, qint64 qty, qint64 price) {
    orders::OrderLine result;
    result.menuId = menuId;
    result.qty = qty;
    result.unitPrice = price;
    return result;
}

orders::OrderToSave order(std::vector<orders::OrderLine> lines) {
    orders::OrderToSave result;
    result.date = kToday;
    result.time = QStringLiteral("12:30:00");
    result.tableId = 4;
    result.waiterId = 2;
    result.lines = std::move(lines);
    for (const orders::OrderLine& l : result.lines) {
        result.total += l.qty * l.unitPrice;
    }
    return result;
}

void saveOrder(const QString& trial) {
    db::Connection c(databaseOf(trial));
    orders::OrderToSave o = order({line(3, 2, 15000), line(7, 1, 22500), line(11, 4, 5000),
                                   line(19, 1, 60000), line(23, 3, 12000), line(31, 2, 8500)});
    o.number = orders::nextNumber(c, orders::kOrderNumber, kToday);
    orders::insertOrder(c, o);
}

void changeOrder(const QString& trial, qint64 orderId) {
    db::Connection c(databaseOf(trial));
    orders::OrderToSave o = order({line(5, 3, 17500), line(9, 1, 40000)});
    o.number = orders::storedOrder(c, orderId)->number;
    orders::changeOrder(c, orderId, o);
}

void pay(const QString& trial, qint64 orderId) {
    db::Connection c(databaseOf(trial));
    orders::Payment p;
    p.receiptNumber = orders::nextNumber(c, orders::kReceiptNumber, kToday);
    p.picked = *orders::orderVersion(c, orderId);
    p.date = kToday;
    p.time = QStringLiteral("13:05:00");
    p.userId = 1;
    p.paid = p.picked.order.total + 50000;
    p.change = 50000;
    orders::storePayment(c, p);
}

void replaceRights(const QString& trial) {
    db::Connection c(databaseOf(trial));
    controlpanel::replaceRights(
        c, kUser,
        {QStringLiteral("Kasir"), QStringLiteral("Pesanan/Order"), QStringLiteral("Ubah Password"),
         QStringLiteral("Report Penjualan Harian")});
}

void reset(const QString& trial, db::Reset which) {
    db::Connection c(databaseOf(trial));
    db::resetTables(c, which);
}

// As the restore window does: the backup is checked whole, then restored. A
// refusal is a failure: the trial would try nothing.
void restore(const QString& trial, const QString& backup) {
    if (!db::isProgramDatabase(backup, true) ||
        !controlpanel::restoreDatabase(backup, databaseOf(trial))) {
        throw db::Error(kIoError, QStringLiteral("restore refused ") + backup);
    }
}

Case databaseCase(const QString& name, const QString& start,
                  std::function<void(const QString&)> act) {
    return {name, [start](const QString& trial) { layOut(trial, start); }, std::move(act),
            [](const QString& trial) {
                return databaseState(databaseOf(trial));
            }};
}

}  // namespace

Seed makeSeed(const QString& folder) {
    Seed seed;
    seed.folder = folder;
    seed.database = folder + QStringLiteral("/seed.mdb");
    seed.smallBackup = folder + QStringLiteral("/small-backup.mdb");
    seed.largeBackup = folder + QStringLiteral("/large-backup.mdb");
    seed.foreignBytes = folder + QStringLiteral("/foreign.mdb");
    generate(seed.database, 1, 2);
    generate(seed.smallBackup, 0, 1);
    generate(seed.largeBackup, 1, 4);
    QFile foreign(seed.foreignBytes);
    if (!foreign.open(QIODevice::WriteOnly) ||
        foreign.write(QByteArray("Daftar harga lama\r\n").repeated(300)) < 0) {
        throw db::Error(kIoError, foreign.errorString());
    }
    db::Connection c(seed.database);
    seed.unpaidOrder = orders::unpaidOrders(c).back().id;
    return seed;
}

std::vector<Case> allCases(const Seed& seed) {
    const QString start = seed.database;
    const qint64 unpaid = seed.unpaidOrder;
    Case dbTxt{QStringLiteral("db.txt"),
               [](const QString& trial) {
                   QDir(trial).removeRecursively();
                   QDir().mkpath(trial);
                   install::writeDbTxt(QStringLiteral("/srv/kasir/lama/dapra.mdb"));
               },
               [](const QString&) {
                   install::writeDbTxt(QStringLiteral("//server/bersama/Mirawe Dapra/dapra.mdb"));
               },
               dbTxtState};
    return {
        databaseCase(QStringLiteral("save an order"), start, saveOrder),
        databaseCase(QStringLiteral("change an order"), start,
                     [unpaid](const QString& t) { changeOrder(t, unpaid); }),
        databaseCase(QStringLiteral("pay"), start, [unpaid](const QString& t) { pay(t, unpaid); }),
        databaseCase(QStringLiteral("replace rights"), start, replaceRights),
        databaseCase(QStringLiteral("reset everything"), start,
                     [](const QString& t) { reset(t, db::Reset::Everything); }),
        databaseCase(QStringLiteral("reset orders"), start,
                     [](const QString& t) { reset(t, db::Reset::OrdersAndPayments); }),
        databaseCase(QStringLiteral("restore smaller"), start,
                     [b = seed.smallBackup](const QString& t) { restore(t, b); }),
        databaseCase(QStringLiteral("restore larger"), start,
                     [b = seed.largeBackup](const QString& t) { restore(t, b); }),
        databaseCase(QStringLiteral("restore over foreign"), seed.foreignBytes,
                     [b = seed.largeBackup](const QString& t) { restore(t, b); }),
        dbTxt,
        {QStringLiteral("first start"),
         [](const QString& trial) { QDir(trial).removeRecursively(); },
         [](const QString&) { install::setUpFirstRun(); }, firstStartState},
    };
}

Verdict judge(const QString& state, const QString& before, const QString& after) {
    if (state == before) {
        return Verdict::Old;
    }
    if (state == after) {
        return Verdict::New;
    }
    return state.startsWith(QStringLiteral("damaged:")) ? Verdict::Damaged : Verdict::Partial;
}

}  // namespace crashes
