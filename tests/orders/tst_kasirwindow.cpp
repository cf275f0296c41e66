// The cashier window driven by keys: picking an order, the change, paying,
// the refusals and the sales receipt.
#include "helpers.h"
#include "orders/fkasir.h"
#include "toolkit/datepicker.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

using ordtest::pickWith;
using ordtest::refusal;
using ordtest::split;
using testing::child;
using testing::column;

namespace {

const QString kConfirm = QStringLiteral(
    "Konfirmasi (-?): Mohon periksa kembali karena data ini tidak bisa diubah. \r"
    "Apakah data yang anda masukkan sudah benar?");

}  // namespace

class KasirWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        f_ = std::make_unique<ordtest::WindowFixture>();
        moddapra::UserName = QStringLiteral("Ani");
        f_->install->exec("INSERT INTO akses VALUES (1, 'Kasir')");
        f_->storeOrder(1, "RO-010320241", 34000);
        f_->storeOrder(2, "RO-010320242", 3000);
        f_->install->exec("UPDATE pesan SET id_meja = 2, id_pelayan = 2 WHERE id_order = 2");
        f_->install->exec(
            "INSERT INTO detail_pesan VALUES (1, 2, 3, 3000), (1, 1, 2, 12500), (2, 2, 1, 3000)");
    }
    void cleanup() { f_.reset(); }

    // "Daftar Order", a pick, the amount with the change at each key,
    // "&Cetak", Yes: stored, marked paid, printed, reset. The buttons act on
    // Enter and on Space at once.
    void keyboardRoadOfPayment_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Space") << "Space";
    }
    void keyboardRoadOfPayment() {
        QFETCH(QString, key);
        f_->open(shell::FormId::fKasir);
        QVERIFY(qobject_cast<QMdiSubWindow*>(form()->parentWidget())->isMaximized());
        QCOMPARE(QStringList({form()->windowTitle(), f_->total(), moddapra::OrderListMode}) +
                     f_->texts({"Text9", "Text5", "Text6", "Text7", "Text8"}) + testing::tabRoad(7),
                 split("Data Pembayaran|Rp. 0,-|Kasir|PO-070320241|Ani|0|0|0|Command5|DTPicker1|"
                       "Text7|ListView1|Command6|Command11|Command4|Command5"));

        QStringList seen;
        pickWith(0, &seen);
        keys(key);
        QCOMPARE(seen + f_->texts({"Text1", "Text2", "Text3", "Text4", "Text6"}) +
                         column(f_->grid(), 0) + column(f_->grid(), 6)
                     << f_->total() << focusName(),
                 split("fDaftarOrder|Daftar Order|ListView1|RO-010320241|RO-010320242|"
                       "RO-010320241|08:00:00|Meja 1|Budi|34.000|NG|ET|25.000|9.000|Rp. 34.000,-|"
                       "Text7"));
        QCOMPARE(child<ui::DatePicker>(form(), "DTPicker1")->date(), QDate(2024, 3, 1));

        QStringList change;
        for (const char* digit : {"5", "0", "0", "0", "0"}) {
            keys(digit);
            change << f_->text("Text8");
        }
        QCOMPARE(change, split("-33.995|-33.950|-33.500|-29.000|16.000"));

        f_->boxes->answer(ui::Answer::Yes);
        QCOMPARE(testing::tabRoad(2), split("Text7|ListView1|Command6"));
        keys(key);
        QCOMPARE(f_->seen(), QStringList({kConfirm}));
        QCOMPARE(f_->rows("SELECT * FROM bayar"),
                 std::vector<db::Row>(
                     {{1, "PO-070320241", 1, "2024-03-07", "10:11:12", 1, 50000, 16000}}));
        QCOMPARE(statuses(), split("Sudah Bayar|Belum Bayar"));
        // The whole receipt, "-" for the separator.
        QCOMPARE(
            f_->printed->texts().replaceInStrings(QString(30, '-'), "-"),
            split("     Program Kasir Dapra      |        Mirawe Dapra          |"
                  "          Versi 2.2           |-|        Nota Penjualan        |-|"
                  "No. Nota  : PO-070320241|No. Order : RO-010320241|Tanggal   : 07/03/2024|"
                  "Jam       : 10:11:12|No. Meja  : Meja 1|Pelayan   : Budi|Kasir     : Ani|-|"
                  "       Detail Penjualan       |-|Nasi Goreng|     2 Porsi x 12.500 = 25.000|"
                  "Es Teh|       3 Gelas x 3.000 = 9.000|-|Total     :          Rp.34.000|"
                  "Bayar     :          Rp.50.000|Kembali   :          Rp.16.000|-|"
                  "        Terima kasih.         |"));
        QCOMPARE(f_->texts({"Text9", "Text1", "Text3", "Text7", "Text8"}) << focusName(),
                 split("PO-070320242|||0|0|Command5"));
        QCOMPARE(f_->grid()->topLevelItemCount() + form()->OrderId + form()->OrderTotal, 0);
        keys("Esc");
        testing::settle();
        QVERIFY(!form());
        QCOMPARE(moddapra::OrderListMode, QString());
    }

    // Enter in the amount box pays, and the keys typed after it wait for it;
    // without any printer the payment is stored and the order paid, and the
    // receipt that could not print is said.
    void typedAheadPaymentWithoutPrinter() {
        f_->printed.reset();
        qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
        f_->open(shell::FormId::fKasir);
        pickOrder(1);
        f_->boxes->answer(ui::Answer::Yes);
        keys("3000|Enter|Esc");
        qunsetenv("CUPS_SERVER");
        QCOMPARE(statuses() << QString::number(f_->install->count("bayar")) << f_->seen(),
                 split("Belum Bayar|Sudah Bayar|1")
                     << kConfirm
                     << "Informasi (!): Nota Penjualan gagal dicetak! Periksa printer anda. "
                        "\rData Pembayaran sudah tersimpan.");
        testing::settle();
        QVERIFY(!form());
    }

    // An amount below the total is refused with the amount selected; picking
    // another order keeps the change until Enter; No to the question stores
    // nothing and goes back to the amount.
    void shortAmountAndNo() {
        f_->open(shell::FormId::fKasir);
        pickOrder(1);  // 3.000
        keys("2999|Enter");
        QCOMPARE(f_->seen(), QStringList({"Konfirmasi (-): JUMLAH PEMBAYARAN KURANG dari yang "
                                          "seharusnya dibayar. \rTransaksi tidak bisa "
                                          "dilanjutkan!"}));
        QCOMPARE(focusName() + child<QLineEdit>(form(), "Text7")->selectedText(),
                 QStringLiteral("Text72999"));
        keys("50000");
        pickOrder(0);  // the change stays until Enter computes that of the order shown
        QCOMPARE(f_->text("Text8"), QStringLiteral("47.000"));
        keys("Enter");
        QCOMPARE(f_->seen(), QStringList({kConfirm}));
        QCOMPARE(focusName() + f_->text("Text8"), QStringLiteral("Text716.000"));
        QCOMPARE(f_->install->count("bayar") + f_->printed->documents(), 0);
    }

    // The checks in their order, each with its message and focus.
    void refusalsInOrder() {
        f_->open(shell::FormId::fKasir);
        f_->install->writeDbTxt("/nonexistent/dapra.mdb\r\n");
        keys("Alt+R");
        QCOMPARE(f_->text("Text9"), QString());
        f_->boxes->clear();
        f_->install->writeDbTxt((f_->install->dbPath() + "\r\n").toUtf8());
        keys("Alt+C");
        f_->refused("Nomer Nota tidak boleh kosong!", "Command5");

        keys("Alt+R");
        QCOMPARE(f_->text("Text9"), QStringLiteral("PO-070320241"));
        pickWith(0, nullptr, true);
        keys("Space");  // the list closed without a pick
        QCOMPARE(f_->texts({"Text1", "Text6"}) << f_->total() << focusName(),
                 split("|0|Rp. 0,-|Text7"));
        keys("Enter");
        f_->refused("Nomer Order tidak boleh kosong!", "Command5");

        f_->install->exec("UPDATE detail_pesan SET id_menu = 9 WHERE id_order = 2");
        pickOrder(1);
        keys("Enter");
        f_->refused("Data Detail Order masih kosong, tidak ada yang perlu dibayar!", "Text7");
    }

    // Another station paid, changed or deleted the order after this window
    // showed it: refused, nothing stored or printed.
    void changedMeanwhile_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("message");
        const QString order = QStringLiteral("Nomer Order RO-010320242 ");
        const QString stop = QStringLiteral(". Transaksi tidak bisa dilanjutkan!");
        QTest::newRow("paid") << "UPDATE pesan SET status = 'Sudah Bayar' WHERE id_order = 2"
                              << refusal(order + "sudah dibayar" + stop);
        QTest::newRow("gone") << "DELETE FROM pesan WHERE id_order = 2"
                              << refusal(order + "tidak ditemukan" + stop);
        QTest::newRow("changed")
            << "UPDATE pesan SET total_harga = total_harga + 500 WHERE id_order = 2"
            << refusal(order + "sudah diubah" + stop);
    }
    void changedMeanwhile() {
        QFETCH(QString, meanwhile);
        QFETCH(QString, message);
        f_->open(shell::FormId::fKasir);
        pickOrder(1);
        keys("3000");
        f_->install->exec(meanwhile);
        const QString sql =
            "SELECT id_order, status, 0 FROM pesan UNION ALL"
            " SELECT no_nota, id_order, total_bayar FROM bayar";
        const std::vector<db::Row> before = f_->rows(sql);
        f_->boxes->answer(ui::Answer::Yes);
        keys("Enter");
        QCOMPARE(f_->seen(), QStringList({kConfirm, message}));
        QCOMPARE(f_->rows(sql), before);
        QCOMPARE(f_->printed->documents(), 0);
        QCOMPARE(f_->text("Text1"), QStringLiteral("RO-010320242"));
    }

    // The order changed while the list was open shows as stored when picked,
    // and is paid and printed so.
    void changedWhileListOpen() {
        f_->open(shell::FormId::fKasir);
        testing::whenModal([this](QWidget* list) {
            f_->install->exec(
                "UPDATE pesan SET id_meja = 1, total_harga = 1500 WHERE id_order = 2");
            f_->install->exec(
                "UPDATE detail_pesan SET id_menu = 4, qty = 3, harga_satuan = 500"
                " WHERE id_order = 2");
            const bool onList =
                QApplication::focusWidget() == child<QTreeWidget>(list, "ListView1");
            testing::keys(onList ? "Down|Enter" : "Tab|Down|Enter");
        });
        keys("Space");
        QCOMPARE(f_->texts({"Text1", "Text3", "Text6"}) + column(f_->grid(), 0) << f_->total(),
                 split("RO-010320242|Meja 1|1.500|PS|Rp. 1.500,-"));
        f_->boxes->answer(ui::Answer::Yes);
        keys("2000|Enter");
        QCOMPARE(f_->seen(), QStringList({kConfirm}));
        QCOMPARE(f_->rows("SELECT total_bayar, kembali FROM bayar"),
                 std::vector<db::Row>({{2000, 500}}));
        QCOMPARE(f_->printed->texts().mid(10, 1) + f_->printed->texts().mid(16, 2),
                 split("No. Meja  : Meja 1|Pisang|         3 Porsi x 500 = 1.500"));
    }

    // Desk A pays another order under the number desk B shows: desk B's
    // payment takes the next free number, and its receipt shows that one.
    void receiptNumberTakenByAnotherDesk() {
        f_->open(shell::FormId::fKasir);
        QCOMPARE(f_->text("Text9"), QStringLiteral("PO-070320241"));
        pickOrder(1);
        keys("5000");
        f_->install->exec(
            "INSERT INTO bayar (no_nota, id_order, total_bayar, kembali)"
            " VALUES ('PO-070320241', 1, 34000, 0)");
        f_->install->exec("UPDATE pesan SET status = 'Sudah Bayar' WHERE id_order = 1");
        f_->boxes->answer(ui::Answer::Yes);
        keys("Enter");
        QCOMPARE(f_->seen(), QStringList({kConfirm}));
        QCOMPARE(f_->rows("SELECT no_nota, id_order, kembali FROM bayar ORDER BY id_bayar"),
                 std::vector<db::Row>({{"PO-070320241", 1, 0}, {"PO-070320242", 2, 2000}}));
        QVERIFY(f_->printed->texts().contains(QStringLiteral("No. Nota  : PO-070320242")));
        QCOMPARE(f_->text("Text9"), QStringLiteral("PO-070320243"));
    }

private:
    orders::fKasir* form() { return qobject_cast<orders::fKasir*>(f_->form()); }
    void keys(const QString& road) { f_->keys(road); }
    QString focusName() { return f_->focusName(); }
    QStringList statuses() {
        return testing::column(f_->rows("SELECT status FROM pesan ORDER BY id_order"), 0);
    }
    // Picks the unpaid order in this row of the list through "Daftar Order".
    void pickOrder(int row) {
        pickWith(row);
        child<QAbstractButton>(form(), "Command5")->setFocus();
        keys("Space");
    }

    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(KasirWindowTest)
#include "tst_kasirwindow.moc"
