// One station: the actions of the order desk, the cash desk, the reports and
// the control panel, each through moddapra::RunUnit as the windows run them,
// in random order until the time is up. Every action the program reported
// as done is written to the station's log before the next one starts.
#include "stations.h"

#include "controlpanel/userqueries.h"
#include "db/backup.h"
#include "orders/orderqueries.h"
#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/msgbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <cstring>
#include <functional>
#include <random>

namespace stations {

namespace {

// A unit slower than this waited for another station's lock.
constexpr qint64 kWaitMs = 100;
constexpr qint64 kLongWaitMs = 1000;
constexpr int kMaxLines = 5;
constexpr int kMaxQty = 4;
constexpr qint64 kNote = 50000;
constexpr qint64 kBackupEveryMs = 4000;
constexpr qint64 kRightsEveryMs = 500;

struct MenuItem {
    qint64 id = 0;
    qint64 price = 0;
};

class Station {
public:
    Station(int index, int seconds, quint32 seed, const QString& folder)
        : index_(index),
          seconds_(seconds),
          random_(seed),
          log_(folder + QStringLiteral("/station-%1.log").arg(index)),
          backup_(folder + QStringLiteral("/backup-%1.mdb").arg(index)) {}

    int run() {
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate) || !loadMasterData()) {
            return 2;
        }
        const QDeadlineTimer deadline(qint64(seconds_) * 1000);
        QElapsedTimer sinceBackup;
        QElapsedTimer sinceRights;
        sinceBackup.start();
        sinceRights.start();
        while (!deadline.hasExpired()) {
            if (index_ == 0 && sinceBackup.elapsed() >= kBackupEveryMs) {
                backUp();
                sinceBackup.restart();
            } else if (index_ == 1 && sinceRights.elapsed() >= kRightsEveryMs) {
                replaceRights();
                sinceRights.restart();
            } else {
                oneAction();
            }
        }
        writeCounts();
        return 0;
    }

private:
    void oneAction() {
        const int roll = pick(100);
        if (roll < 25) {
            takeOrder();
        } else if (roll < 40) {
            changeOrder();
        } else if (roll < 65) {
            pay();
        } else if (roll < 90) {
            listReport();
        } else {
            readRights();
        }
    }

    int pick(int n) { return int(random_() % unsigned(n)); }

    // Runs one unit as a window does and notes how long it took and every
    // box it showed: each one is a database error that reached the user.
    bool unit(const std::function<void(db::Connection&)>& work) {
        ui::MessageRecorder boxes;
        QElapsedTimer timer;
        timer.start();
        const bool ran = moddapra::RunUnit(work);
        const qint64 ms = timer.elapsed();
        ++counts_[QStringLiteral("units")];
        counts_[QStringLiteral("longest unit ms")] =
            std::max(counts_[QStringLiteral("longest unit ms")], ms);
        if (ms >= kWaitMs) {
            ++counts_[QStringLiteral("waits of 0.1 s or more")];
        }
        if (ms >= kLongWaitMs) {
            ++counts_[QStringLiteral("waits of 1 s or more")];
        }
        for (const ui::MessageRecord& box : boxes.boxes()) {
            const bool locked = box.text.contains(QStringLiteral("locked")) ||
                                box.text.startsWith(QStringLiteral("Nomor Error : 5\r"));
            ++counts_[locked ? QStringLiteral("locked errors shown")
                             : QStringLiteral("other errors shown")];
            fault(box.text);
        }
        return ran;
    }

    void count(const QString& what) { ++counts_[what]; }

    void write(const QStringList& fields) {
        log_.write((fields.join(QChar('\t')) + QChar('\n')).toUtf8());
        log_.flush();
    }

    void fault(const QString& text) {
        QString oneLine = text;
        oneLine.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
        write({QStringLiteral("fault"), oneLine});
    }

    void writeCounts() {
        for (auto it = counts_.cbegin(); it != counts_.cend(); ++it) {
            write({QStringLiteral("count"), it.key(), QString::number(it.value())});
        }
    }

    bool loadMasterData() {
        return unit([this](db::Connection& c) {
                   for (const db::Row& r : reports::menuList(c)) {
                       menu_.push_back(
                           {r[reports::kIdMenu].toLongLong(), r[reports::kHargaJual].toLongLong()});
                   }
                   for (const QStringList& r : orders::tablePickerRows(c)) {
                       tables_.push_back(r[2].toLongLong());
                   }
                   for (const QStringList& r : orders::waiterPickerRows(c)) {
                       waiters_.push_back(r[2].toLongLong());
                   }
               }) &&
               !menu_.empty() && !tables_.empty() && !waiters_.empty();
    }

    // An order as a waiter would key it: a few distinct items at their price.
    orders::OrderToSave newOrder(const QString& number) {
        orders::OrderToSave order;
        order.number = number;
        const QDateTime now = QDateTime::currentDateTime();
        order.date = now.date();
        order.time = now.time().toString(QStringLiteral("hh:mm:ss"));
        order.tableId = tables_[size_t(pick(int(tables_.size())))];
        order.waiterId = waiters_[size_t(pick(int(waiters_.size())))];
        std::vector<size_t> items;
        const int lines = 1 + pick(kMaxLines);
        while (int(items.size()) < lines) {
            const size_t item = size_t(pick(int(menu_.size())));
            if (std::find(items.begin(), items.end(), item) == items.end()) {
                items.push_back(item);
            }
        }
        std::sort(items.begin(), items.end(),
                  [this](size_t a, size_t b) { return menu_[a].id < menu_[b].id; });
        for (size_t item : items) {
            orders::OrderLine line;
            line.menuId = menu_[item].id;
            line.qty = 1 + pick(kMaxQty);
            line.unitPrice = menu_[item].price;
            order.total += line.qty * line.unitPrice;
            order.lines.push_back(line);
        }
        return order;
    }

    static QString digest(const orders::OrderToSave& order) {
        QList<std::tuple<qint64, qint64, qint64>> lines;
        for (const orders::OrderLine& l : order.lines) {
            lines.append({l.menuId, l.qty, l.unitPrice});
        }
        return linesDigest(lines);
    }

    QString drawNumber(const orders::NumberRule& rule) {
        QString number;
        unit(
            [&](db::Connection& c) { number = orders::nextNumber(c, rule, QDate::currentDate()); });
        count(QStringLiteral("numbers drawn"));
        return number;
    }

    void takeOrder() {
        const QString drawn = drawNumber(orders::kOrderNumber);
        if (drawn.isEmpty()) {
            return;
        }
        const orders::OrderToSave order = newOrder(drawn);
        orders::Saved saved;
        if (!unit([&](db::Connection& c) { saved = orders::insertOrder(c, order); })) {
            return;
        }
        // No station deletes a table, waiter or menu item.
        if (saved.result != orders::SaveResult::Saved) {
            fault(QStringLiteral("new order refused: table, waiter or menu item missing"));
            return;
        }
        count(QStringLiteral("orders taken"));
        if (saved.number != drawn) {
            count(QStringLiteral("order numbers taken meanwhile, next one used"));
        }
        write({QStringLiteral("order"), QString::number(saved.id), saved.number,
               QString::number(order.total), digest(order)});
    }

    // One unpaid order as the order list offers it, any station's.
    std::optional<orders::UnpaidOrder> pickUnpaid() {
        std::vector<orders::UnpaidOrder> list;
        if (!unit([&](db::Connection& c) { list = orders::unpaidOrders(c); }) || list.empty()) {
            return std::nullopt;
        }
        return list[size_t(pick(int(list.size())))];
    }

    // Brings the order back, keys new lines, and saves it as the order window does.
    void changeOrder() {
        const std::optional<orders::UnpaidOrder> picked = pickUnpaid();
        if (!picked) {
            return;
        }
        std::vector<orders::OrderLine> shown;
        unit([&](db::Connection& c) { shown = orders::orderLines(c, picked->id); });
        const orders::OrderToSave order = newOrder(picked->number);
        bool taken = false;
        if (!unit([&](db::Connection& c) {
                taken = orders::numberTaken(c, orders::kOrderNumber, order.number);
            }) ||
            !taken) {
            return;
        }
        orders::Saved saved;
        if (!unit([&](db::Connection& c) { saved = orders::changeOrder(c, picked->id, order); })) {
            return;
        }
        // No station deletes an order or master data, or gives an order another number.
        if (saved.result == orders::SaveResult::Paid) {
            count(QStringLiteral("changes refused: order paid meanwhile"));
            return;
        }
        if (saved.result != orders::SaveResult::Saved) {
            fault(QStringLiteral("change of %1 refused: order gone or data missing")
                      .arg(order.number));
            return;
        }
        count(QStringLiteral("orders changed"));
        write({QStringLiteral("change"), QString::number(picked->id), order.number,
               QString::number(order.total), digest(order)});
    }

    // Draws a receipt number, picks an order from the list, reads it as the
    // cash desk does and pays it with the next whole note above its total.
    void pay() {
        const QString receipt = drawNumber(orders::kReceiptNumber);
        const std::optional<orders::UnpaidOrder> picked = pickUnpaid();
        if (receipt.isEmpty() || !picked) {
            return;
        }
        orders::OrderVersion version;
        version.order.id = picked->id;
        qint64 total = picked->total;
        unit([&](db::Connection& c) {
            if (const std::optional<orders::OrderVersion> v = orders::orderVersion(c, picked->id)) {
                version = *v;
            }
            if (const std::optional<orders::UnpaidOrder> l = orders::unpaidOrder(c, picked->id)) {
                total = l->total;
            }
            orders::orderLines(c, picked->id);
        });
        const qint64 paid = (total + kNote) / kNote * kNote;
        const QDateTime now = QDateTime::currentDateTime();
        const orders::Payment payment{
            receipt, version, now.date(),  now.time().toString(QStringLiteral("hh:mm:ss")),
            1,       paid,    paid - total};
        orders::PaymentOutcome outcome;
        if (!unit([&](db::Connection& c) { outcome = orders::storePayment(c, payment); })) {
            return;
        }
        countPayment(outcome.result);
        if (outcome.result != orders::PaymentResult::Stored) {
            return;
        }
        if (outcome.receiptNumber != receipt) {
            count(QStringLiteral("receipt numbers taken meanwhile, next one used"));
        }
        checkReceiptLines(version, outcome.lines);
        write({QStringLiteral("pay"), outcome.receiptNumber, QString::number(picked->id),
               QString::number(paid), QString::number(payment.change)});
    }

    // The receipt prints the lines the payment found: those of the order paid.
    void checkReceiptLines(const orders::OrderVersion& paid,
                           const std::vector<orders::OrderLine>& printed) {
        std::vector<orders::StoredLine> lines;
        for (const orders::OrderLine& l : printed) {
            lines.push_back({l.menuId, l.qty, l.unitPrice});
        }
        if (lines != paid.lines) {
            fault(QStringLiteral("receipt of %1 prints other lines").arg(paid.order.number));
        }
    }

    void countPayment(orders::PaymentResult result) {
        switch (result) {
            case orders::PaymentResult::Stored:
                count(QStringLiteral("payments stored"));
                return;
            case orders::PaymentResult::OrderPaid:
                count(QStringLiteral("payments refused: order paid meanwhile"));
                return;
            case orders::PaymentResult::OrderGone:
                count(QStringLiteral("payments refused: order gone"));
                return;
            case orders::PaymentResult::OrderChanged:
                count(QStringLiteral("payments refused: order changed meanwhile"));
                return;
        }
    }

    void listReport() {
        const QDate today = QDate::currentDate();
        unit([&](db::Connection& c) {
            switch (pick(4)) {
                case 0:
                    reports::periodPayments(c, today, today);
                    reports::periodTotal(c, today, today);
                    break;
                case 1:
                    reports::dailyTotals(c);
                    break;
                case 2:
                    reports::favourites(c, 10);
                    break;
                default:
                    reports::menuList(c);
                    break;
            }
        });
        count(QStringLiteral("reports listed"));
    }

    void readRights() {
        QStringList rights;
        unit([&](db::Connection& c) {
            const std::optional<qint64> id = controlpanel::findUserId(c, kRightsUser);
            rights = id ? controlpanel::userRights(c, *id) : QStringList();
        });
        count(QStringLiteral("rights read"));
        if (!isWholeRightsSet(rights)) {
            fault(QStringLiteral("rights read half written: ") + rights.join(QChar(',')));
        }
    }

    void replaceRights() {
        const int round = ++rightsRound_;
        bool saved = false;
        if (unit([&](db::Connection& c) {
                saved = controlpanel::replaceRights(c, kRightsUser, rightsSet(round));
            }) &&
            saved) {
            count(QStringLiteral("rights replaced"));
            write({QStringLiteral("rights"), QString::number(round)});
        }
    }

    // The backup window's work; the copy must hold what the file must.
    void backUp() {
        QString failure;
        unit([&](db::Connection& c) {
            try {
                db::backupToFile(c, backup_);
            } catch (const db::Error& error) {
                failure = error.description();
            }
        });
        if (!failure.isEmpty()) {
            fault(QStringLiteral("Backup Database Gagal! ") + failure);
            return;
        }
        count(QStringLiteral("backups"));
        checkBackup();
    }

    void checkBackup() {
        try {
            db::Connection copy(backup_);
            for (const QString& broken : checkDatabase(copy)) {
                fault(QStringLiteral("backup: ") + broken);
            }
        } catch (const db::Error& error) {
            fault(QStringLiteral("backup does not open: ") + error.description());
        }
    }

    int index_;
    int seconds_;
    std::mt19937 random_;
    QFile log_;
    QString backup_;
    std::vector<MenuItem> menu_;
    std::vector<qint64> tables_;
    std::vector<qint64> waiters_;
    QMap<QString, qint64> counts_;
    int rightsRound_ = 0;
};

QString argument(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    return {};
}

}  // namespace

bool isStationCall(int argc, char** argv) {
    return !argument(argc, argv, "--station").isEmpty();
}

int stationMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Station station(argument(argc, argv, "--station").toInt(),
                    argument(argc, argv, "--seconds").toInt(),
                    argument(argc, argv, "--seed").toUInt(), argument(argc, argv, "--folder"));
    return station.run();
}

}  // namespace stations
