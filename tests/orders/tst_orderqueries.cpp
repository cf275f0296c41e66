// The order and receipt number rule on a test install, and the number a save
// takes when the one shown is stored meanwhile; a payment refused when the
// order is no longer as picked, a save when its order or its master data is
// no longer there. That the order windows' writes land whole or not at all
// is held by the crash and stations runs.
#include "orders/orderqueries.h"
#include "support/testsupport.h"

#include <memory>

using namespace orders;

namespace {

// Tables 1 and 2, waiter 1, menu items 1 to 4, and order 1, "RO-1", of table
// 1 and waiter 1: 2 x item 1 at 15.000, 1 x item 2 and 3 x item 3 at 5.000.
std::unique_ptr<testing::TestInstall> withOrder() {
    auto install = std::make_unique<testing::TestInstall>();
    install->exec("INSERT INTO meja (nm_meja) VALUES ('Meja 1'), ('Meja 2')");
    install->exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Budi')");
    install->exec(
        "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan) VALUES"
        " ('JA', 'Jus Alpukat', 1, 1), ('ET', 'Es Teh', 1, 1), ('KR', 'Kerupuk', 1, 1),"
        " ('ETM', 'Es Teh Manis', 1, 1)");
    install->exec("INSERT INTO kategori (nm_kategori) VALUES ('Minuman')");
    install->exec("INSERT INTO satuan (nm_satuan) VALUES ('Gelas')");
    install->exec(
        "INSERT INTO pesan VALUES (1, 'RO-1', '2024-03-07', '10:00:00', 1, 1, 50000,"
        " 'Belum Bayar')");
    install->exec(
        "INSERT INTO detail_pesan VALUES (1, 1, 2, 15000), (1, 2, 1, 5000), (1, 3, 3, 5000)");
    return install;
}

// Runs the statements, parted by ";", on the connection.
void run(db::Connection& c, const QString& statements) {
    for (const QString& sql : statements.split(';', Qt::SkipEmptyParts)) {
        c.exec(sql);
    }
}

// Every order, line and payment, to see that nothing was written.
std::vector<db::Row> everything(db::Connection& c) {
    return c.rows(
        "SELECT * FROM pesan UNION ALL SELECT *, 0, 0, 0, 0 FROM detail_pesan"
        " UNION ALL SELECT * FROM bayar");
}

// "gone", "missing waiter menu 4" and the like.
QString described(const Saved& saved) {
    QString text = QStringList{"saved", "paid", "gone", "missing"}[int(saved.result)];
    text += QString(saved.missing.table ? " table" : "") + (saved.missing.waiter ? " waiter" : "");
    for (const qint64 id : saved.missing.menuIds) {
        text += QString(" menu %1").arg(id);
    }
    return text;
}

}  // namespace

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

    // Another station (one connection: this one; two: its own) changed the
    // order picked, keeping its total: the payment is refused and nothing
    // written. Unchanged, it is paid and the receipt gets the lines paid.
    void paymentFindsTheOrderAsPicked_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("twoConnections");
        QTest::addColumn<bool>("paid");
        const std::pair<const char*, const char*> changes[] = {
            {"lines replaced, same total",
             "DELETE FROM detail_pesan WHERE id_menu = 1;"
             "INSERT INTO detail_pesan VALUES (1, 4, 6, 5000)"},
            {"quantity moved between lines",
             "UPDATE detail_pesan SET qty = 2 WHERE id_menu IN (2, 3)"},
            {"table changed", "UPDATE pesan SET id_meja = 2"},
            {"unchanged", ""}};
        for (const auto& [name, sql] : changes) {
            for (const bool two : {false, true}) {
                QTest::addRow("%s, %s", name, two ? "two connections" : "one connection")
                    << sql << two << QString(sql).isEmpty();
            }
        }
    }
    void paymentFindsTheOrderAsPicked() {
        QFETCH(QString, meanwhile);
        QFETCH(bool, twoConnections);
        QFETCH(bool, paid);
        const std::unique_ptr<testing::TestInstall> install = withOrder();
        const std::unique_ptr<db::Connection> c = install->connect();
        const std::optional<OrderVersion> picked = orderVersion(*c, 1);
        QVERIFY(picked);
        run(twoConnections ? *install->connect() : *c, meanwhile);
        const std::vector<db::Row> before = everything(*c);
        const PaymentOutcome outcome =
            storePayment(*c, {"PO-1", *picked, QDate(2024, 3, 7), "10:30:00", 1, 50000, 0});
        if (!paid) {
            QCOMPARE(outcome.result, PaymentResult::OrderChanged);
            QCOMPARE(everything(*c), before);
            return;
        }
        QCOMPARE(outcome.result, PaymentResult::Stored);
        QCOMPARE(c->rows("SELECT status FROM pesan"), std::vector<db::Row>({{"Sudah Bayar"}}));
        QStringList printed;
        for (const OrderLine& line : outcome.lines) {
            printed << QString("%1 %2x%3").arg(line.name).arg(line.qty).arg(line.unitPrice);
        }
        QCOMPARE(printed, QStringList({"Jus Alpukat 2x15000", "Es Teh 1x5000", "Kerupuk 3x5000"}));
    }

    // A change lands only on the row that still holds both the id and the
    // number brought back; no save points at a table, waiter or menu item
    // deleted meanwhile. Refused, nothing is written.
    void saveRefused_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("result");
        QTest::newRow("brought back, id taken by another number")
            << "DELETE FROM pesan; DELETE FROM detail_pesan;"
               "INSERT INTO pesan VALUES (1, 'RO-7', '2024-03-07', '11:00:00', 2, 1, 5000,"
               " 'Belum Bayar');"
               "INSERT INTO detail_pesan VALUES (1, 2, 1, 5000)"
            << true << "gone";
        QTest::newRow("number moved to another id")
            << "UPDATE pesan SET id_order = 9; UPDATE detail_pesan SET id_order = 9;"
               "INSERT INTO pesan VALUES (1, 'RO-8', '2024-03-07', '11:00:00', 2, 1, 0,"
               " 'Belum Bayar')"
            << true << "gone";
        QTest::newRow("waiter deleted") << "DELETE FROM pelayan" << false << "missing waiter";
        QTest::newRow("menu item deleted")
            << "DELETE FROM menu WHERE id_menu = 4" << true << "missing menu 4";
    }
    void saveRefused() {
        QFETCH(QString, meanwhile);
        QFETCH(bool, change);
        const std::unique_ptr<testing::TestInstall> install = withOrder();
        const std::unique_ptr<db::Connection> c = install->connect();
        run(*install->connect(), meanwhile);
        const std::vector<db::Row> before = everything(*c);
        // Brought back as RO-1, or a new order, of 2 x item 1 and 6 x item 4.
        const OrderToSave order{change ? "RO-1" : "RO-2",
                                QDate(2024, 3, 7),
                                "12:00:00",
                                1,
                                1,
                                60000,
                                {{1, {}, {}, {}, {}, 2, 15000}, {4, {}, {}, {}, {}, 6, 5000}}};
        QTEST(described(change ? changeOrder(*c, 1, order) : insertOrder(*c, order)), "result");
        QCOMPARE(everything(*c), before);
    }
};

DAPRA_TEST_MAIN(OrderQueriesTest)
#include "tst_orderqueries.moc"
