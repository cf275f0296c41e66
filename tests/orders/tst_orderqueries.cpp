// The order and receipt number rule on a test install, and the number a save
// takes when the one shown is stored meanwhile. That the order
// windows' writes land whole or not at all is held by the crash and stations runs.
#include "orders/orderqueries.h"
#include "support/testsupport.h"

#include <memory>

using namespace orders;

class OrderQueriesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
        QTest::newRow("not ours: rows + 1 is taken")
            << QStringList({"RO-070320243", "RO-07032024A"}) << "RO-070320244";
        QTest::newRow("not ours: a run of rows + 1 is taken")
            << QStringList({"RO-070320243", "RO-070320244", "RO-07032024A"}) << "RO-070320245";
        QTest::newRow("stored out of turn")
            << QStringList({"RO-070320246", "RO-070320245"}) << "RO-070320247";
    }
    void numberRule() {
        QFETCH(QStringList, stored);
        QFETCH(QString, expected);
        testing::TestInstall install;
        const std::unique_ptr<db::Connection> c = install.connect();
        for (const QString& number : stored) {
            c->exec("INSERT INTO pesan (no_order) VALUES (?)", {number});
            c->exec("INSERT INTO bayar (no_nota) VALUES (?)",
                    {QString(number).replace("RO-", "PO-")});
        }
        const QDate day(2024, 3, 7);
        // The first stored number stands for one shown while another station stored it.
        const QString shown = stored.value(0, expected);
        const QString receipt = QString(expected).replace("RO-", "PO-");
        QCOMPARE(nextNumber(*c, kOrderNumber, day), expected);
        QCOMPARE(freeNumber(*c, kOrderNumber, shown, day), expected);
        QCOMPARE(nextNumber(*c, kReceiptNumber, day), receipt);
        QCOMPARE(freeNumber(*c, kReceiptNumber, QString(shown).replace("RO-", "PO-"), day),
                 receipt);
    }
};

DAPRA_TEST_MAIN(OrderQueriesTest)
#include "tst_orderqueries.moc"
