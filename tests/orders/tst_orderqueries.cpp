// The statements of the order windows, run on a test install.
#include "orders/orderqueries.h"
#include "support/testsupport.h"

#include <memory>

using namespace orders;

namespace {

const QDate kDay(2024, 3, 7);

// Master data: two tables, two waiters, three menu items (the third without
// an existing category).
void seed(const testing::TestInstall& install) {
    install.exec(
        "INSERT INTO meja (nm_meja, Keterangan) VALUES ('Meja 1', 'luar'), ('Meja 2', '')");
    install.exec("INSERT INTO pelayan (nm_pelayan, Alamat) VALUES ('Budi', 'Jl. A'), ('Sari', '')");
    install.exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan')");
    install.exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi')");
    install.exec(
        "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
        " VALUES ('NG', 'Nasi Goreng', 1, 1, 12500), ('ET', 'Es Teh', 1, 1, 3000),"
        " ('XX', 'Hilang', 9, 1, 1000)");
}

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
        seed(*install_);
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
        QTest::newRow("second") << QStringList({"RO-070320241"}) << "RO-070320242";
        QTest::newRow("tenth grows") << QStringList({"RO-070320249"}) << "RO-0703202410";
        QTest::newRow("across days") << QStringList({"RO-3112202315"}) << "RO-0703202416";
        QTest::newRow("last by id, not by text")
            << QStringList({"RO-0703202499", "RO-070320245"}) << "RO-070320246";
        QTest::newRow("not ours: rows + 1")
            << QStringList({"RO-070320241", "RO-070320242", "ORDER-7"}) << "RO-070320244";
        QTest::newRow("too short: rows + 1") << QStringList({"RO-0703"}) << "RO-070320242";
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

    void pickerRowsById() {
        QCOMPARE(tablePickerRows(*c_),
                 std::vector<QStringList>({{"Meja 1", "luar", "1"}, {"Meja 2", "", "2"}}));
        QCOMPARE(waiterPickerRows(*c_),
                 std::vector<QStringList>({{"Budi", "Jl. A", "1"}, {"Sari", "", "2"}}));
    }

    // A new order lands whole; its lines come back by menu id with their names.
    void insertStoresOrderAndLines() {
        const Saved saved =
            insertOrder(*c_, order("RO-070320241", {line(2, 3, 3000), line(1, 2, 12500)}));
        QCOMPARE(saved.number, QStringLiteral("RO-070320241"));
        QCOMPARE(c_->rows("SELECT * FROM pesan").front(),
                 db::Row({saved.id, "RO-070320241", "2024-03-07", "10:11:12", 1, 2, 34000,
                          "Belum Bayar"}));
        QCOMPARE(c_->rows("SELECT * FROM detail_pesan").size(), size_t(2));
        const std::vector<OrderLine> lines = orderLines(*c_, saved.id);
        QCOMPARE(lines.size(), size_t(2));
        QCOMPARE(lines[0].menuId * 1000 + lines[0].qty, Q_INT64_C(1002));
        QCOMPARE(lines[0].code + lines[0].name + lines[0].category + lines[0].unit,
                 QStringLiteral("NGNasi GorengMakananPorsi"));
        QCOMPARE(lines[1].unitPrice, 3000);
    }

    // Two stations drew the same number: the second order is stored as a
    // new one under the next number and the first stays untouched.
    void concurrentNumberIsRedrawn() {
        auto other = install_->connect();
        const QString drawnHere = nextNumber(*c_, kOrderNumber, kDay);
        const QString drawnThere = nextNumber(*other, kOrderNumber, kDay);
        QCOMPARE(drawnHere, drawnThere);
        insertOrder(*other, order(drawnThere, {line(1, 1, 12500)}));
        const Saved saved = insertOrder(*c_, order(drawnHere, {line(2, 4, 3000)}));
        QCOMPARE(saved.number, QStringLiteral("RO-070320242"));
        QCOMPARE(c_->rows("SELECT id_order, no_order, total_harga FROM pesan ORDER BY id_order"),
                 std::vector<db::Row>({{1, "RO-070320241", 12500}, {2, "RO-070320242", 12000}}));
        QCOMPARE(c_->rows("SELECT id_order, qty FROM detail_pesan ORDER BY id_order"),
                 std::vector<db::Row>({{1, 1}, {2, 4}}));
    }

    void changeRewritesOnlyUnpaidOrders() {
        const qint64 id = insertOrder(*c_, order("RO-070320241", {line(1, 1, 12500)})).id;
        OrderToSave changed = order("RO-070320241", {line(2, 2, 3000)});
        changed.time = "20:00:00";
        QCOMPARE(changeOrder(*c_, id, changed), ChangeResult::Changed);
        QCOMPARE(c_->rows("SELECT jam_order, total_harga, status FROM pesan").front(),
                 db::Row({"20:00:00", 6000, "Belum Bayar"}));
        QCOMPARE(c_->rows("SELECT id_menu, qty FROM detail_pesan"), std::vector<db::Row>({{2, 2}}));

        c_->exec("UPDATE pesan SET status = 'Sudah Bayar'");
        QCOMPARE(changeOrder(*c_, id, order("RO-070320241", {line(1, 9, 12500)})),
                 ChangeResult::Paid);
        QCOMPARE(changeOrder(*c_, id + 1, order("RO-070320241", {line(1, 9, 12500)})),
                 ChangeResult::Gone);
        QCOMPARE(c_->rows("SELECT total_harga, status FROM pesan").front(),
                 db::Row({6000, "Sudah Bayar"}));
        QCOMPARE(c_->rows("SELECT id_menu, qty FROM detail_pesan"), std::vector<db::Row>({{2, 2}}));
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

    // Unpaid orders whose table and waiter exist, by id; ids taken from the order.
    void unpaidListAndStoredOrder() {
        const qint64 first = insertOrder(*c_, order("RO-1", {line(1, 1, 12500)})).id;
        insertOrder(*c_, order("RO-2", {line(1, 1, 12500)}));
        OrderToSave noTable = order("RO-3", {line(1, 1, 1)});
        noTable.tableId = 7;
        insertOrder(*c_, noTable);
        const qint64 last = insertOrder(*c_, order("RO-4", {line(2, 1, 3000)})).id;
        c_->exec("UPDATE pesan SET status = 'Sudah Bayar' WHERE no_order = 'RO-2'");
        c_->exec("UPDATE pesan SET id_order = 40000 WHERE id_order = ?", {last});

        const std::vector<UnpaidOrder> list = unpaidOrders(*c_);
        QCOMPARE(list.size(), size_t(2));
        QCOMPARE(list[0].id, first);
        QCOMPARE(list[0].number + list[0].table + list[0].waiter + list[0].time,
                 QStringLiteral("RO-1Meja 1Sari10:11:12"));
        QCOMPARE(list[0].date, kDay);
        QCOMPARE(list[1].id, 40000);  // past what a 16-bit id could hold
        QCOMPARE(list[1].total, 3000);

        const std::optional<StoredOrder> stored = storedOrder(*c_, 40000);
        QVERIFY(stored);
        QCOMPARE(stored->tableId * 10 + stored->waiterId, 12);
        QVERIFY(!storedOrder(*c_, 5));
        QVERIFY(orderNumberTaken(*c_, "ro-1"));
        QVERIFY(!orderNumberTaken(*c_, "RO-9"));
    }

    // A payment lands with its order marked paid, or nothing is written.
    void storePaymentOnce_data() {
        QTest::addColumn<QString>("change");  // what another station did first
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("status");
        QTest::newRow("stored") << "" << int(PaymentResult::Stored) << "Sudah Bayar";
        QTest::newRow("number taken")
            << "INSERT INTO bayar (no_nota, id_order) VALUES ('po-070320241', 2)"
            << int(PaymentResult::NumberTaken) << "Belum Bayar";
        QTest::newRow("paid") << "UPDATE pesan SET status = 'Sudah Bayar'"
                              << int(PaymentResult::OrderPaid) << "Sudah Bayar";
        QTest::newRow("gone") << "DELETE FROM pesan" << int(PaymentResult::OrderGone) << "";
    }
    void storePaymentOnce() {
        QFETCH(QString, change);
        QFETCH(int, result);
        QFETCH(QString, status);
        const qint64 id = insertOrder(*c_, order("RO-1", {line(1, 1, 12500)})).id;
        if (!change.isEmpty()) {
            install_->connect()->exec(change);
        }
        const qint64 before = install_->count("bayar");
        QCOMPARE(int(storePayment(*c_, payment(id, 999'999'999'999))), result);
        QCOMPARE(c_->scalar("SELECT status FROM pesan").toString(), status);
        if (result != int(PaymentResult::Stored)) {
            QCOMPARE(install_->count("bayar"), before);
            return;
        }
        QCOMPARE(c_->rows("SELECT * FROM bayar").front(),
                 db::Row({1, "PO-070320241", id, "2024-03-07", "10:11:12", 3,
                          Q_INT64_C(999999999999), Q_INT64_C(999999987499)}));
    }

    // Two stations drew one receipt number and picked one order: the second
    // payment is refused whole, for the number and then for the order.
    void twoStationsPayingAtOnce() {
        const qint64 first = insertOrder(*c_, order("RO-1", {line(1, 1, 12500)})).id;
        const qint64 second = insertOrder(*c_, order("RO-2", {line(2, 1, 3000)})).id;
        auto other = install_->connect();
        QCOMPARE(storePayment(*other, payment(first, 12500)), PaymentResult::Stored);
        QCOMPARE(storePayment(*c_, payment(second, 3000)), PaymentResult::NumberTaken);
        Payment again = payment(first, 20000);
        again.receiptNumber = nextNumber(*c_, kReceiptNumber, kDay);
        QCOMPARE(storePayment(*c_, again), PaymentResult::OrderPaid);
        QCOMPARE(c_->rows("SELECT id_order, total_bayar FROM bayar"),
                 std::vector<db::Row>({{first, 12500}}));
        QCOMPARE(c_->rows("SELECT status FROM pesan ORDER BY id_order"),
                 std::vector<db::Row>({{"Sudah Bayar"}, {"Belum Bayar"}}));
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
