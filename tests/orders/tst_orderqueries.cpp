// The order and receipt number rule on a test install. That the order
// windows' writes land whole or not at all is held by the crash and stations runs.
#include "orders/orderqueries.h"
#include "support/testsupport.h"

#include <memory>

using namespace orders;

namespace {

const QDate kDay(2024, 3, 7);

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

private:
    std::unique_ptr<testing::TestInstall> install_;
    std::unique_ptr<db::Connection> c_;
};

DAPRA_TEST_MAIN(OrderQueriesTest)
#include "tst_orderqueries.moc"
