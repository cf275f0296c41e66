// The cashier window driven by keys: picking an order, the change, paying,
// the refusals and the sales receipt.
#include "helpers.h"
#include "orders/fkasir.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

using ordtest::column;
using ordtest::escapeModal;
using ordtest::pickRow;
using testing::child;

class KasirWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        f_ = std::make_unique<ordtest::WindowFixture>();
        moddapra::UserId = 1;
        moddapra::UserName = QStringLiteral("Ani");
        const testing::TestInstall& db = *f_->install;
        db.exec("INSERT INTO akses VALUES (1, 'Kasir')");
        db.exec("INSERT INTO meja (nm_meja) VALUES ('Meja 1'), ('Meja 2')");
        db.exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Budi'), ('Sari')");
        db.exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan')");
        db.exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
        db.exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('NG', 'Nasi Goreng', 1, 1, 12500), ('ET', 'Es Teh', 1, 2, 3000)");
        db.exec(
            "INSERT INTO pesan VALUES (1, 'RO-010320241', '2024-03-01', '08:00:00', 1, 1, 34000,"
            " 'Belum Bayar'), (2, 'RO-010320242', '2024-03-01', '09:00:00', 2, 2, 3000,"
            " 'Belum Bayar')");
        db.exec(
            "INSERT INTO detail_pesan VALUES (1, 2, 3, 3000), (1, 1, 2, 12500), (2, 2, 1, 3000)");
    }
    void cleanup() { f_.reset(); }

    // Space on "Daftar Order", a pick, the amount with the change at each
    // key, Enter, Yes: stored, marked paid, printed, reset.
    void keyboardRoadOfPayment() {
        openKasir();
        QCOMPARE(form()->windowTitle(), QStringLiteral("Data Pembayaran"));
        QVERIFY(qobject_cast<QMdiSubWindow*>(form()->parentWidget())->isMaximized());
        QCOMPARE(texts({"Text9", "Text5", "Text6", "Text7", "Text8"}),
                 QStringList({"PO-070320241", "Ani", "0", "0", "0"}));
        QCOMPARE(label10(), QStringLiteral("Rp. 0,-"));
        QCOMPARE(moddapra::OrderListMode, QStringLiteral("Kasir"));

        QStringList seen;
        pickRow(0, &seen);
        f_->key(Qt::Key_Space);
        QCOMPARE(seen, QStringList({"fDaftarOrder", "Daftar Order", "ListView1", "RO-010320241",
                                    "RO-010320242"}));
        QCOMPARE(texts({"Text1", "Text2", "Text3", "Text4", "Text6"}),
                 QStringList({"RO-010320241", "08:00:00", "Meja 1", "Budi", "34.000"}));
        QCOMPARE(child<QDateEdit>(form(), "DTPicker1")->date(), QDate(2024, 3, 1));
        QCOMPARE(column(grid(), 0) + column(grid(), 6),
                 QStringList({"NG", "ET", "25.000", "9.000"}));
        QCOMPARE(label10(), QStringLiteral("Rp. 34.000,-"));
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));

        QStringList change;
        for (const char* digit : {"5", "0", "0", "0", "0"}) {
            f_->type(digit);
            change << box("Text8")->text();
        }
        QCOMPARE(change, QStringList({"-33.995", "-33.950", "-33.500", "-29.000", "16.000"}));

        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->install->count("bayar"), 1);
        QCOMPARE(f_->boxes->texts(),
                 QStringList({"Mohon periksa kembali karena data ini tidak bisa diubah. \r"
                              "Apakah data yang anda masukkan sudah benar?"}));
        QCOMPARE(f_->boxes->last().title, QStringLiteral("Konfirmasi"));
        QCOMPARE(f_->install->connect()->rows("SELECT * FROM bayar").front(),
                 db::Row({1, "PO-070320241", 1, "2024-03-07", "10:11:12", 1, 50000, 16000}));
        QCOMPARE(statuses(), QStringList({"Sudah Bayar", "Belum Bayar"}));
        QCOMPARE(f_->printed->documents(), 1);
        const QStringList printed = f_->printed->texts();
        const QString blanks(9, ' ');
        QCOMPARE(
            printed.mid(4, 10),
            QStringList({"        Nota Penjualan        ", QString(30, '-'),
                         "No. Nota  : PO-070320241", "No. Order : RO-010320241",
                         "Tanggal   : 07/03/2024", "Jam       : 10:11:12", "No. Meja  : Meja 1",
                         "Pelayan   : Budi", "Kasir     : Ani", QString(30, '-')}));
        QCOMPARE(printed.mid(printed.size() - 6, 3),
                 QStringList({"Total     : " + blanks + "Rp.34.000",
                              "Bayar     : " + blanks + "Rp.50.000",
                              "Kembali   : " + blanks + "Rp.16.000"}));

        QCOMPARE(texts({"Text9", "Text1", "Text3", "Text7", "Text8"}),
                 QStringList({"PO-070320242", "", "", "0", "0"}));
        QCOMPARE(grid()->topLevelItemCount(), 0);
        QCOMPARE(form()->OrderId + form()->OrderTotal, 0);
        QCOMPARE(f_->focusName(), QStringLiteral("Command5"));

        f_->key(Qt::Key_Escape);
        testing::settle();
        QVERIFY(!form());
        QCOMPARE(moddapra::OrderListMode, QString());
    }

    // The change follows every change of the amount box; picking another
    // order keeps the old change until then, and paying stores the change
    // of the order on screen.
    void changeOfTheAmount() {
        openKasir();
        pickOrder(0);  // 34.000
        f_->type("34000");
        QCOMPARE(box("Text8")->text(), QStringLiteral("0"));
        for (int i = 0; i < 5; ++i) {
            f_->key(Qt::Key_Backspace);
        }
        QCOMPARE(texts({"Text7", "Text8"}), QStringList({"0", "-34.000"}));
        f_->type("a-., 1234567890123");
        QCOMPARE(texts({"Text7", "Text8"}), QStringList({"123456789012", "123.456.755.012"}));

        pickOrder(1);  // 3.000
        QCOMPARE(texts({"Text7", "Text8"}), QStringList({"123456789012", "123.456.755.012"}));
        f_->key(Qt::Key_End);
        f_->key(Qt::Key_Backspace);
        QCOMPARE(box("Text8")->text(), QStringLiteral("12.345.675.901"));

        f_->key(Qt::Key_A, Qt::ControlModifier);
        f_->type("2999");
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->boxes->texts(),
                     QStringList({"JUMLAH PEMBAYARAN KURANG dari yang seharusnya dibayar. \r"
                                  "Transaksi tidak bisa dilanjutkan!"}));
        QCOMPARE(f_->boxes->last().title, QStringLiteral("Konfirmasi"));
        QCOMPARE(int(f_->boxes->last().icon), int(ui::Icon::None));
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
        QCOMPARE(box("Text7")->selectedText(), QStringLiteral("2999"));

        // No to the question: nothing stored, back to the amount.
        f_->type("50000");
        pickOrder(0);
        QCOMPARE(box("Text8")->text(), QStringLiteral("47.000"));
        f_->boxes->clear();
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->boxes->boxes().size(), 1);
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
        QCOMPARE(f_->install->count("bayar") + f_->printed->documents(), 0);
        QCOMPARE(box("Text8")->text(), QStringLiteral("16.000"));

        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->install->count("bayar"), 1);
        QCOMPARE(f_->install->scalar("SELECT kembali FROM bayar").toLongLong(), 16000);
        QCOMPARE(f_->printed->texts().mid(f_->printed->texts().size() - 4, 1),
                 QStringList({"Kembali   : " + QString(9, ' ') + "Rp.16.000"}));
    }

    // The checks in their order, each with its message and focus.
    void refusalsInOrder() {
        openKasir();
        f_->install->writeDbTxt("/nonexistent/dapra.mdb\r\n");
        f_->key(Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(!f_->boxes->empty());
        QCOMPARE(box("Text9")->text(), QString());
        f_->boxes->clear();
        f_->install->writeDbTxt((f_->install->dbPath() + "\r\n").toUtf8());
        f_->key(Qt::Key_C, Qt::AltModifier);
        f_->expectRefusal("Nomer Nota tidak boleh kosong!", "Command5");

        f_->key(Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(box("Text9")->text(), QStringLiteral("PO-070320241"));
        escapeModal();
        child<QAbstractButton>(form(), "Command5")->setFocus();
        f_->key(Qt::Key_Space);  // the list closed without a pick
        QCOMPARE(texts({"Text1", "Text6"}), QStringList({"", "0"}));
        QCOMPARE(label10(), QStringLiteral("Rp. 0,-"));
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
        f_->key(Qt::Key_Return);
        f_->expectRefusal("Nomer Order tidak boleh kosong!", "Command5");

        f_->install->exec("UPDATE detail_pesan SET id_menu = 9 WHERE id_order = 2");
        pickOrder(1);
        f_->key(Qt::Key_Return);
        f_->expectRefusal("Data Detail Order masih kosong, tidak ada yang perlu dibayar!", "Text7");

        // Signed out with the window open: refused, nothing stored.
        moddapra::UserId = 0;
        moddapra::UserName.clear();
        QTRY_COMPARE_WITH_TIMEOUT(box("Text5")->text(), QString(), 1500);
        pickOrder(0);
        f_->type("34000");
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->boxes->texts(), QStringList({"Anda Harus Login Terlebih Dahulu!"}));
        QCOMPARE(f_->boxes->last().title, QStringLiteral("Informasi"));
        QCOMPARE(int(f_->boxes->last().icon), int(ui::Icon::Information));
        QCOMPARE(f_->install->count("bayar") + f_->printed->documents(), 0);
    }

    // Another station paid the order, or stored the receipt number, after
    // this window drew it: refused, nothing stored, nothing printed.
    void paidOrNumberTakenMeanwhile() {
        openKasir();
        pickOrder(0);
        f_->type("34000");
        f_->install->exec("UPDATE pesan SET status = 'Sudah Bayar' WHERE id_order = 1");
        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->boxes->boxes().size(), 2);
        QCOMPARE(f_->boxes->last().text, QStringLiteral("Nomer Order RO-010320241 sudah dibayar. "
                                                        "Transaksi tidak bisa dilanjutkan!"));
        QCOMPARE(f_->boxes->last().title, QStringLiteral("Perhatian!"));

        f_->install->exec(
            "INSERT INTO bayar (no_nota, id_order, total_bayar) VALUES ('PO-070320241', 9, 1)");
        pickOrder(0);
        f_->type("3000");
        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->boxes->boxes().size(), 4);
        QCOMPARE(f_->boxes->last().text, QStringLiteral("Nomer Nota PO-070320241 sudah ada. Anda "
                                                        "tidak diijinkan untuk mengubah data."));
        QCOMPARE(f_->boxes->last().title, ui::kAppTitle);
        QCOMPARE(f_->install->count("bayar"), 1);
        QCOMPARE(statuses(), QStringList({"Sudah Bayar", "Belum Bayar"}));
        QCOMPARE(f_->printed->documents(), 0);
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-010320242"));
    }

    // Without any printer the payment is stored and the order paid, silently.
    void missingPrinterLeavesPaymentStored() {
        f_->printed.reset();
        qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
        openKasir();
        pickOrder(1);
        f_->type("3000");
        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_Return);
        QTRY_COMPARE(f_->install->count("bayar"), 1);
        QCOMPARE(statuses(), QStringList({"Belum Bayar", "Sudah Bayar"}));
        QCOMPARE(box("Text9")->text(), QStringLiteral("PO-070320242"));
        QCOMPARE(f_->boxes->boxes().size(), 1);
        qunsetenv("CUPS_SERVER");
    }

private:
    orders::fKasir* form() {
        return qobject_cast<orders::fKasir*>(shell::openForm(shell::FormId::fKasir));
    }
    void openKasir() {
        shell::requestForm(shell::FormId::fKasir);
        QVERIFY(form());
        QVERIFY(QTest::qWaitForWindowActive(f_->main.get()));
        QTRY_COMPARE(f_->focusName(), QStringLiteral("Command5"));
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(form(), name); }
    QStringList texts(std::initializer_list<const char*> names) {
        QStringList result;
        for (const char* name : names) {
            result.append(box(name)->text());
        }
        return result;
    }
    QString label10() { return child<QLabel>(form(), "Label10")->text(); }
    QTreeWidget* grid() { return child<QTreeWidget>(form(), "ListView1"); }
    QStringList statuses() {
        QStringList result;
        for (const db::Row& r :
             f_->install->connect()->rows("SELECT status FROM pesan ORDER BY id_order")) {
            result.append(r[0].toString());
        }
        return result;
    }

    // Picks the unpaid order in this row of the list through "Daftar Order".
    void pickOrder(int row) {
        pickRow(row);
        child<QAbstractButton>(form(), "Command5")->setFocus();
        f_->key(Qt::Key_Space);
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
    }

    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(KasirWindowTest)
#include "tst_kasirwindow.moc"
