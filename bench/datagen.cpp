#include "datagen.h"

#include "db/database.h"
#include "db/schema.h"
#include "shell/password.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <random>
#include <vector>

namespace datagen {

namespace {

const char* const kRights[] = {
    "Data Meja",
    "Data Menu",
    "Data Pelayan",
    "Data Kategori",
    "Data Satuan",
    "Pesanan/Order",
    "Kasir",
    "Report Penjualan Per Periode",
    "Report Penjualan Harian",
    "Report Menu Favorit",
    "Report Daftar Menu",
    "User Management",
    "Ubah Password",
    "Setting Database",
    "Backup Database",
    "Reset Database",
    "Restore Database",
};

const char* const kCategories[] = {"Makanan", "Minuman", "Snack", "Dessert", "Paket"};
const char* const kUnits[] = {"Porsi", "Gelas", "Botol", "Piring"};

void addMasterData(db::Connection& c, const Restaurant& restaurant, std::vector<qint64>& prices,
                   std::mt19937& random) {
    for (const char* name : kCategories) {
        c.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES (?, '-')",
               {QString::fromLatin1(name)});
    }
    for (const char* name : kUnits) {
        c.exec("INSERT INTO satuan (nm_satuan, Keterangan) VALUES (?, '-')",
               {QString::fromLatin1(name)});
    }
    std::uniform_int_distribution<int> price(10, 150);
    for (int i = 1; i <= restaurant.menuItems; ++i) {
        const qint64 harga = qint64(price(random)) * 500;
        prices.push_back(harga);
        c.exec(
            "INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
            " harga_jual) VALUES (?, ?, ?, ?, ?, ?)",
            {QStringLiteral("M%1").arg(i, 3, 10, QLatin1Char('0')),
             QStringLiteral("Menu %1").arg(i), QStringLiteral("Hidangan nomor %1").arg(i),
             1 + i % 5, 1 + i % 4, harga});
    }
    for (int i = 1; i <= restaurant.tables; ++i) {
        c.exec("INSERT INTO meja (nm_meja, Keterangan) VALUES (?, '-')",
               {QStringLiteral("Meja %1").arg(i)});
    }
    for (int i = 1; i <= restaurant.waiters; ++i) {
        c.exec(
            "INSERT INTO pelayan (nm_pelayan, Alamat, Kota, Kode_Pos, Telepon)"
            " VALUES (?, 'Jl. Merdeka', 'Bandung', '40111', '022-4200')",
            {QStringLiteral("Pelayan %1").arg(i)});
    }
    const QString hash = password::hash(kPassword);
    for (int i = 1; i <= restaurant.users; ++i) {
        c.exec("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)",
               {QStringLiteral("kasir%1").arg(i), hash});
        for (const char* right : kRights) {
            c.exec("INSERT INTO akses (Id_User, Akses) VALUES (?, ?)",
                   {qint64(i), QString::fromLatin1(right)});
        }
    }
}

// Writes the orders, lines and payments day by day, one transaction a month,
// with prepared statements reused for every row.
class Days {
public:
    Days(db::Connection& c, const Restaurant& restaurant, const std::vector<qint64>& prices)
        : c_(c),
          spec_(restaurant),
          prices_(prices),
          order_(c.prepare("INSERT INTO pesan (no_order, tgl_order, jam_order, id_meja,"
                           " id_pelayan, total_harga, status) VALUES (?, ?, ?, ?, ?, ?, ?)")),
          line_(c.prepare("INSERT INTO detail_pesan VALUES (?, ?, ?, ?)")),
          payment_(c.prepare("INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar,"
                             " id_user, total_bayar, kembali) VALUES (?, ?, ?, ?, ?, ?, ?)")) {}

    void write(const QDate& first, const QDate& last) {
        for (QDate day = first; day <= last;) {
            db::Transaction tx(c_);
            const int month = day.month();
            for (; day <= last && day.month() == month; day = day.addDays(1)) {
                writeDay(day, day == last);
            }
            tx.commit();
        }
    }

private:
    void writeDay(const QDate& day, bool unpaid) {
        const QString stamp = day.toString(QStringLiteral("ddMMyyyy"));
        const QString date = day.toString(Qt::ISODate);
        const int opening = 10 * 3600;
        const int span = 12 * 3600;
        for (int i = 0; i < spec_.ordersPerDay; ++i) {
            const int second = opening + span * i / spec_.ordersPerDay;
            const QString time = clock(second);
            const qint64 id = writeOrder(QStringLiteral("RO-") + stamp, date, time, unpaid);
            if (!unpaid) {
                writePayment(QStringLiteral("PO-") + stamp, id, date, clock(second + 1800));
            }
        }
    }

    qint64 writeOrder(const QString& prefix, const QString& date, const QString& time,
                      bool unpaid) {
        std::uniform_int_distribution<int> menu(0, int(prices_.size()) - 1);
        std::uniform_int_distribution<int> qty(1, 4);
        std::vector<int> items;
        while (int(items.size()) < std::min(spec_.linesPerOrder, int(prices_.size()))) {
            const int item = menu(random_);
            if (std::find(items.begin(), items.end(), item) == items.end()) {
                items.push_back(item);
            }
        }
        std::vector<int> counts;
        total_ = 0;
        for (int item : items) {
            counts.push_back(qty(random_));
            total_ += counts.back() * prices_[size_t(item)];
        }
        std::uniform_int_distribution<int> table(1, spec_.tables);
        std::uniform_int_distribution<int> waiter(1, spec_.waiters);
        run(order_,
            {prefix + QString::number(++orderSerial_), date, time, table(random_), waiter(random_),
             total_, unpaid ? QStringLiteral("Belum Bayar") : QStringLiteral("Sudah Bayar")});
        const qint64 id = c_.lastInsertId();
        for (size_t i = 0; i < items.size(); ++i) {
            run(line_, {id, qint64(items[i] + 1), counts[i], prices_[size_t(items[i])]});
        }
        return id;
    }

    void writePayment(const QString& prefix, qint64 orderId, const QString& date,
                      const QString& time) {
        std::uniform_int_distribution<int> user(1, spec_.users);
        const qint64 paid = (total_ + 49999) / 50000 * 50000;
        run(payment_, {prefix + QString::number(++paymentSerial_), orderId, date, time,
                       user(random_), paid, paid - total_});
    }

    static void run(db::Statement& statement, const QVariantList& values) {
        statement.reset();
        statement.bindAll(values);
        statement.run();
    }

    static QString clock(int second) {
        return QTime(0, 0).addSecs(std::min(second, 86399)).toString(QStringLiteral("hh:mm:ss"));
    }

    db::Connection& c_;
    const Restaurant& spec_;
    const std::vector<qint64>& prices_;
    db::Statement order_;
    db::Statement line_;
    db::Statement payment_;
    std::mt19937 random_{20261206};
    qint64 orderSerial_ = 0;
    qint64 paymentSerial_ = 0;
    qint64 total_ = 0;
};

QDate lastDayOf(const Restaurant& restaurant) {
    return restaurant.lastDay.isValid() ? restaurant.lastDay : QDate::currentDate();
}

}  // namespace

void generate(const QString& dbFile, const Restaurant& restaurant) {
    db::Connection c(dbFile);
    std::mt19937 random(1);
    std::vector<qint64> prices;
    {
        db::Transaction tx(c);
        addMasterData(c, restaurant, prices, random);
        tx.commit();
    }
    const QDate last = lastDayOf(restaurant);
    Days(c, restaurant, prices).write(last.addYears(-restaurant.years).addDays(1), last);
}

QString cachedDatabase(const Restaurant& restaurant) {
    QString folder = qEnvironmentVariable("DAPRA_BENCH_DATA");
    if (folder.isEmpty()) {
        folder = QStringLiteral(DAPRA_BENCH_DATA_DIR);
    }
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/restaurant-%2y-%3x%4-%5m-%6t-%7w-%8u.mdb")
                             .arg(folder)
                             .arg(restaurant.years)
                             .arg(restaurant.ordersPerDay)
                             .arg(restaurant.linesPerOrder)
                             .arg(restaurant.menuItems)
                             .arg(restaurant.tables)
                             .arg(restaurant.waiters)
                             .arg(restaurant.users);
    if (QFileInfo::exists(path)) {
        return path;
    }
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    db::createDatabaseFile(partial);
    generate(partial, restaurant);
    if (!QFile::rename(partial, path)) {
        throw db::Error(10, QStringLiteral("cannot rename %1").arg(partial));
    }
    return path;
}

void offscreenUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

QString useCachedDatabase(int argc, char** argv, const QString& home) {
    Restaurant restaurant;
    if (argc > 1) {
        restaurant.years = QByteArray(argv[1]).toInt();
    }
    const QString data = cachedDatabase(restaurant);
    qputenv("DAPRA_HOME", home.toUtf8());
    QFile dbTxt(QDir(home).filePath(QStringLiteral("db.txt")));
    if (!dbTxt.open(QIODevice::WriteOnly) || dbTxt.write(data.toUtf8() + "\r\n") <= 0) {
        return {};
    }
    return data;
}

double median(int rounds, const std::function<void()>& action) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        action();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace datagen
