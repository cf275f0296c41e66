// Four stations on one database file for half a minute, and the checks that
// judge what stations leave behind.
#include "stations.h"

#include "orders/orderqueries.h"
#include "support/testsupport.h"

#include <algorithm>
#include <memory>

class StationsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each kind of damage is named by the checks; a sound file passes them.
    void checksNameEveryDamage_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("sound") << "SELECT 1"
                               << "";
        QTest::newRow("order number twice")
            << "UPDATE pesan SET no_order = 'RO-1' WHERE id_order = 2"
            << "order number stored twice";
        QTest::newRow("receipt number twice") << "INSERT INTO bayar (no_nota, id_order, "
                                                 "total_bayar, kembali) VALUES ('po-7', 9, 1, 0)"
                                              << "receipt number stored twice";
        QTest::newRow("paid without payment")
            << "UPDATE pesan SET status = 'Sudah Bayar' WHERE id_order = 2"
            << "paid order without exactly one payment";
        QTest::newRow("payment short of the total") << "UPDATE bayar SET kembali = kembali + 500"
                                                    << "payment not of its order's whole total";
        QTest::newRow("half an order")
            << "DELETE FROM detail_pesan WHERE id_order = 2 AND id_menu = 1"
            << "order whose lines do not add up to its total";
        QTest::newRow("daily total") << "UPDATE rekap_harian SET total = total + 1"
                                     << "daily running total unlike the payments' sum";
    }
    void checksNameEveryDamage() {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        testing::TestInstall install;
        std::unique_ptr<db::Connection> c = install.connect();
        const QDate day(2024, 3, 7);
        c->exec("INSERT INTO meja (nm_meja) VALUES ('1')");
        c->exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Budi')");
        c->exec("INSERT INTO menu (kode_menu) VALUES ('A'), ('B')");
        const std::vector<orders::OrderLine> lines = {{1, {}, {}, {}, {}, 2, 5000},
                                                      {2, {}, {}, {}, {}, 1, 7000}};
        const qint64 first =
            orders::insertOrder(*c, {"RO-1", day, "10:00:00", 1, 1, 17000, lines}).id;
        orders::insertOrder(*c, {"RO-2", day, "10:01:00", 1, 1, 17000, lines});
        QCOMPARE(orders::storePayment(*c, {"PO-7", *orders::orderVersion(*c, first), day,
                                           "10:30:00", 1, 20000, 3000})
                     .result,
                 orders::PaymentResult::Stored);
        c->exec(damage);
        const QStringList faults = stations::checkDatabase(*c);
        QCOMPARE(faults.isEmpty(), named.isEmpty());
        QVERIFY(named.isEmpty() ||
                std::any_of(faults.begin(), faults.end(),
                            [&named](const QString& f) { return f.startsWith(named + ":"); }));
    }

    // The stations take, change and pay orders, list reports, back up and
    // replace rights at once; nothing they were told was stored is lost or
    // half written, and no locked file reaches a user.
    void fourStationsForHalfAMinute() {
        stations::Options options;
        options.seed = quint32(QDateTime::currentSecsSinceEpoch() % 100000);
        qInfo("seed %u", options.seed);
        const stations::Outcome outcome =
            stations::run(options, QCoreApplication::applicationFilePath());
        qInfo().noquote() << outcome.table();
        QCOMPARE(outcome.faults, QStringList());
        for (const char* done : {"orders taken", "orders changed", "payments stored",
                                 "reports listed", "rights replaced", "backups"}) {
            QVERIFY2(outcome.figures.value(QString::fromLatin1(done)) > 0, done);
        }
    }
};

// The stations of a run are this executable, started again with "--station".
int main(int argc, char** argv) {
    if (stations::isStationCall(argc, argv)) {
        return stations::stationMain(argc, argv);
    }
    testing::prepareApplication();
    QApplication app(argc, argv);
    testing::afterApplication();
    StationsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stations.moc"
