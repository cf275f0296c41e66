// The order numbers, and the writes of the order windows that must land
// whole or not at all, run on a test install.
#include "orders/orderqueries.h"
#include "support/testsupport.h"

#include <memory>

using namespace orders;

namespace {

const QDate kDay(2024, 3, 7);

OrderToSave order(const QString& number, std::vector<OrderLine> lines) {
    qint64 total = 0;
    for (const OrderLine& l : lines) {
        total += l.qty * l.unitPrice;
    }
    return {number, kDay, QStringLiteral("10:11:12"), 1, 2, total, std::move(lines)};
}

OrderLine line(qint64 menuId, qint64 qty, qint64 price) {
    return {menuId, {}, {}, {}, {}, qty, price};
}

}  // namespace

class OrderQueriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        install_ = std::make_unique<testing::TestInstall>();
        c_ = install_->connect();
    }
    void cleanup() {
        c_.reset();
        install_.reset();
    }

    void numberRule_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QStringList() << "RO-070320241";
        QTest::newRow("tenth grows") << QStringList({"RO-070320249"}) << "RO-0703202410";
        QTest::newRow("across days") << QStringList({"RO-3112202315"}) << "RO-0703202416";
        QTest::newRow("last by id, not by text")
            << QStringList({"RO-0703202499", "RO-070320245"}) << "RO-070320246";
        QTest::newRow("not ours: rows + 1")
            << QStringList({"RO-070320241", "RO-070320242", "ORDER-7"}) << "RO-070320244";
        QTest::newRow("signed serial: rows + 1")
            << QStringList({"RO-07032024-5"}) << "RO-070320242";
    }
    void numberRule() {
        QFETCH(QStringList, stored);
        QFETCH(QString, expected);
        for (const QString& number : stored) {
            c_->exec("INSERT INTO pesan (no_order) VALUES (?)", {number});
            c_->exec("INSERT INTO bayar (no_nota) VALUES (?)",
                     {QString(number).replace("RO-", "PO-")});
        }
        QCOMPARE(nextNumber(*c_, kOrderNumber, kDay), expected);
        QCOMPARE(nextNumber(*c_, kReceiptNumber, kDay), QString(expected).replace("RO-", "PO-"));
    }

    // A failing line leaves neither the order nor any of its lines behind.
    void failedSaveWritesNothing() {
        c_->exec(
            "CREATE TRIGGER no_big BEFORE INSERT ON detail_pesan WHEN NEW.qty > 100"
            " BEGIN SELECT RAISE(ABORT, 'too many'); END");
        QVERIFY_THROWS_EXCEPTION(db::Error,
                                 insertOrder(*c_, order("RO-1", {line(1, 1, 1), line(2, 101, 1)})));
        QCOMPARE(install_->count("pesan") + install_->count("detail_pesan"), 0);

        const qint64 id = insertOrder(*c_, order("RO-2", {line(1, 1, 12500)})).id;
        QVERIFY_THROWS_EXCEPTION(db::Error, changeOrder(*c_, id, order("RO-2", {line(2, 101, 1)})));
        QCOMPARE(c_->rows("SELECT id_menu, qty FROM detail_pesan"), std::vector<db::Row>({{1, 1}}));
        QCOMPARE(c_->scalar("SELECT total_harga FROM pesan").toLongLong(), 12500);
    }

    // Marking the order failing takes the payment back with it.
    void failedMarkStoresNoPayment() {
        const qint64 id = insertOrder(*c_, order("RO-1", {line(1, 1, 12500)})).id;
        c_->exec(
            "CREATE TRIGGER no_mark BEFORE UPDATE ON pesan"
            " BEGIN SELECT RAISE(ABORT, 'locked'); END");
        QVERIFY_THROWS_EXCEPTION(db::Error, storePayment(*c_, payment(id, 12500)));
        QCOMPARE(install_->count("bayar"), 0);
    }

private:
    static Payment payment(qint64 orderId, qint64 paid) {
        return {QStringLiteral("PO-070320241"),
                orderId,
                kDay,
                QStringLiteral("10:11:12"),
                3,
                paid,
                paid - 12500};
    }

    std::unique_ptr<testing::TestInstall> install_;
    std::unique_ptr<db::Connection> c_;
};

DAPRA_TEST_MAIN(OrderQueriesTest)
#include "tst_orderqueries.moc"
