// The order window driven by keys: pickers, lines, saving, changing, the
// order list and the ticket.
#include "helpers.h"
#include "orders/forder.h"
#include "orders/pickers.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"
#include "toolkit/printer.h"
#include "toolkit/seams.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

using ordtest::column;
using ordtest::escapeModal;
using ordtest::kNow;
using ordtest::modalFocus;
using ordtest::pickRow;
using testing::child;
using testing::whenModal;

class OrderWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        f_ = std::make_unique<ordtest::WindowFixture>();
        moddapra::UserId = 1;
        f_->install->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order')");
        f_->install->exec(
            "INSERT INTO meja (nm_meja, Keterangan) VALUES ('Meja 1', 'luar'),"
            " ('Meja 2', 'dalam')");
        f_->install->exec(
            "INSERT INTO pelayan (nm_pelayan, Alamat) VALUES ('Budi', 'Jl. A'),"
            " ('Sari', 'Jl. B')");
        f_->install->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
        f_->install->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
        f_->install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
            " harga_jual) VALUES ('NG', 'Nasi Goreng', '', 1, 1, 12500),"
            " ('ET', 'Es Teh', '', 2, 2, 3000), ('KR', 'Kerupuk', '', 1, 1, 0),"
            " ('PS', 'Pisang', '', 1, 1, 500), ('AQ', 'Air', '', 2, 2, 250)");
    }

    void cleanup() { f_.reset(); }

    void opensAsNewOrder() {
        openOrder();
        QCOMPARE(form()->windowTitle(), QStringLiteral("Data Order"));
        QVERIFY(qobject_cast<QMdiSubWindow*>(form()->parentWidget())->isMaximized());
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-070320241"));
        QCOMPARE(box("Text7")->text() + box("Text8")->text(), QStringLiteral("00"));
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 0,-"));
        QCOMPARE(child<QLabel>(form(), "Label10")->font().pointSize(), 60);
        QCOMPARE(moddapra::OrderListMode, QStringLiteral("Order"));
        QCOMPARE(f_->focusName(), QStringLiteral("Command5"));
        auto* grid = child<QTreeWidget>(form(), "ListView1");
        QCOMPARE(grid->headerItem()->text(4) + grid->headerItem()->text(7),
                 QStringLiteral("Qty OrderID Menu"));
        QVERIFY(grid->isColumnHidden(7));

        // Tab walks the picker buttons of the header, then the quantity.
        QStringList road{f_->focusName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(f_->focused(), Qt::Key_Tab);
            road << f_->focusName();
        }
        QCOMPARE(road, QStringList({"Command5", "DTPicker1", "Command2", "Command13", "Command8",
                                    "Text7"}));

        // The clock fills the time box within a second.
        QCOMPARE(box("Text2")->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(box("Text2")->text(), QStringLiteral("10:11:12"), 1500);

        // The bottom buttons stand right-aligned under the frames.
        auto* frame1 = child<QWidget>(form(), "Frame1");
        auto* frame2 = child<QWidget>(form(), "Frame2");
        auto* save = child<QWidget>(form(), "Command6");
        auto* reset = child<QWidget>(form(), "Command11");
        auto* close = child<QWidget>(form(), "Command4");
        QVERIFY(qAbs(close->geometry().right() - frame1->geometry().right()) <= 1);
        QVERIFY(save->x() < reset->x() && reset->x() < close->x());
        QVERIFY(qAbs(save->y() - frame2->geometry().bottom() - 5) <= 2);

        QTest::keyClick(f_->focused(), Qt::Key_Escape);
        testing::settle();
        QVERIFY(!form());
        QCOMPARE(moddapra::OrderListMode, QString());
        QVERIFY(f_->boxes->empty());
    }

    // Table, waiter, menu item, quantity, Enter, next item, Alt+S.
    void keyboardRoadOfNewOrder() {
        openOrder();
        f_->key(Qt::Key_Tab);
        f_->key(Qt::Key_Tab);
        QStringList seen;
        pickRow(1, &seen);
        f_->key(Qt::Key_Space);  // "Daftar Meja"
        QCOMPARE(seen,
                 QStringList({"fDaftarMeja", "Daftar Meja", "ListView1", "Meja 1", "Meja 2"}));
        QCOMPARE(box("Text3")->text() + QString::number(form()->TableId),
                 QStringLiteral("Meja 22"));
        QCOMPARE(f_->focusName(), QStringLiteral("Command13"));

        seen.clear();
        pickRow(0, &seen);
        f_->key(Qt::Key_Space);  // "Daftar Pelayan" opens on "&Keluar"
        QCOMPARE(seen,
                 QStringList({"fDaftarPelayan", "Daftar Pelayan", "Command2", "Budi", "Sari"}));
        QCOMPARE(box("Text4")->text() + QString::number(form()->WaiterId), QStringLiteral("Budi1"));
        QCOMPARE(f_->focusName(), QStringLiteral("Command8"));

        seen.clear();
        pickRow(0, &seen);
        f_->key(Qt::Key_Space);
        QCOMPARE(seen.mid(0, 4), QStringList({"fDaftarMenu", "Daftar Menu", "ListView1", "NG"}));
        QCOMPARE(box("Text5")->text() + box("Text6")->text() + box("Text8")->text(),
                 QStringLiteral("NGNasi Goreng12.500"));
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
        QTest::keyClicks(f_->focused(), "2");
        f_->key(Qt::Key_Return);
        QCOMPARE(f_->focusName(), QStringLiteral("Command8"));
        QCOMPARE(box("Text5")->text() + box("Text7")->text() + box("Text8")->text(),
                 QStringLiteral("00"));

        pickRow(1);
        f_->key(Qt::Key_Space);
        QTest::keyClicks(f_->focused(), "3");
        f_->key(Qt::Key_Return);
        QCOMPARE(column(grid(), 5) + column(grid(), 6),
                 QStringList({"12.500", "3.000", "25.000", "9.000"}));
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 34.000,-"));

        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->install->count("pesan"), 1);
        QCOMPARE(
            f_->install->connect()->rows("SELECT * FROM pesan").front(),
            db::Row({1, "RO-070320241", "2024-03-07", "10:11:12", 2, 1, 34000, "Belum Bayar"}));
        QCOMPARE(f_->install->connect()->rows("SELECT * FROM detail_pesan"),
                 std::vector<db::Row>({{1, 1, 2, 12500}, {1, 2, 3, 3000}}));
        QCOMPARE(f_->printed->documents(), 1);
        QCOMPARE(f_->printed->texts().mid(6, 5),
                 QStringList({"No. Order : RO-070320241", "Tanggal   : 07/03/2024",
                              "Jam       : 10:11:12", "No. Meja  : Meja 2", "Pelayan   : Budi"}));
        QCOMPARE(f_->printed->texts().mid(14, 6),
                 QStringList({"Nasi Goreng", "     2 Porsi x 12.500 = 25.000", "Es Teh",
                              "       3 Gelas x 3.000 = 9.000", QString(30, '-'),
                              "Total Tagihan :      Rp.34.000"}));
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-070320242"));
        QCOMPARE(box("Text3")->text() + box("Text4")->text(), QString());
        QCOMPARE(grid()->topLevelItemCount(), 0);
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 0,-"));
        QCOMPARE(form()->OrderId + form()->TableId + form()->OrderTotal, 0);
        QCOMPARE(f_->focusName(), QStringLiteral("Command2"));
        QVERIFY(f_->boxes->empty());
    }

    void lineRulesAndRefusals() {
        openOrder();
        f_->key(Qt::Key_T, Qt::AltModifier);
        f_->expectRefusal("Kode Menu harus diisi!", "Command8");

        pickMenu(3);  // Pisang at 500
        QTest::keyClicks(f_->focused(), "00");
        f_->key(Qt::Key_Return);
        f_->expectRefusal("Quantity Order tidak boleh kosong!", "Text7");
        QCOMPARE(box("Text7")->selectedText(), QStringLiteral("00"));
        QTest::keyClicks(f_->focused(), "a1-b. 2");
        QCOMPARE(box("Text7")->text(), QStringLiteral("12"));
        f_->key(Qt::Key_Backspace);
        QTest::keyClicks(f_->focused(), "23456789");
        QCOMPARE(box("Text7")->text(), QStringLiteral("123456"));
        box("Text7")->selectAll();
        QTest::keyClicks(f_->focused(), "2");
        f_->key(Qt::Key_Return);

        pickMenu(4);  // Air at 250
        QTest::keyClicks(f_->focused(), "3");
        f_->key(Qt::Key_Return);
        QCOMPARE(column(grid(), 6), QStringList({"1.000", "750"}));
        QCOMPARE(column(grid(), 4), QStringList({"2", "3"}));
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 1.750,-"));

        // The same item again: refused, the entry emptied, grid and total kept.
        pickMenu(3);
        QTest::keyClicks(f_->focused(), "5");
        f_->key(Qt::Key_Return);
        f_->expectRefusal("Kode Menu PS sudah ada! Isi Kode Menu lainnya!", "Command8");
        QCOMPARE(box("Text5")->text() + box("Text7")->text() + box("Text8")->text(),
                 QStringLiteral("00"));
        QCOMPARE(form()->MenuId, 0);
        QCOMPARE(grid()->topLevelItemCount(), 2);

        pickMenu(2);  // Kerupuk has no price
        QCOMPARE(box("Text8")->text(), QString());
        QTest::keyClicks(f_->focused(), "1");
        f_->key(Qt::Key_Return);
        f_->expectRefusal("Harga Jual tidak boleh kosong!", "Command8");

        // Removing needs a row clicked since the last add or removal.
        f_->key(Qt::Key_H, Qt::AltModifier);
        f_->expectRefusal("Data yang ingin dihapus belum dipilih, klik pada daftar!", "ListView1");
        clickRow(1);
        f_->key(Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(grid()->topLevelItemCount(), 1);
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 1.000,-"));
        QCOMPARE(form()->MenuId, 0);
        clickRow(0);
        f_->key(Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(label("Label10"), QStringLiteral("Rp. 0,-"));
        f_->key(Qt::Key_H, Qt::AltModifier);
        f_->expectRefusal("Detail Order masih kosong!", "Command8");

        // "&Reset" drops the lines without a question and draws a number.
        pickMenu(0);
        QTest::keyClicks(f_->focused(), "1");
        f_->key(Qt::Key_Return);
        f_->key(Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(grid()->topLevelItemCount(), 0);
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-070320241"));
        QCOMPARE(f_->install->count("pesan"), 0);
    }

    // A picker closed without a pick leaves its box emptied; the focus moves on.
    void pickersClosedWithoutPick() {
        openOrder();
        pickRow(0);
        child<QAbstractButton>(form(), "Command2")->click();
        QStringList seen;
        escapeModal(&seen);
        child<QAbstractButton>(form(), "Command2")->click();
        QCOMPARE(box("Text3")->text() + QString::number(form()->TableId), QStringLiteral("0"));
        QCOMPARE(f_->focusName(), QStringLiteral("Command13"));
        whenModal([](QWidget*) { QTest::keyClick(modalFocus(), Qt::Key_Space); });
        f_->key(Qt::Key_Space);  // "&Keluar" of the waiter picker has the focus: no pick
        QCOMPARE(box("Text4")->text() + QString::number(form()->WaiterId), QStringLiteral("0"));
        QCOMPARE(f_->focusName(), QStringLiteral("Command8"));
        escapeModal();
        f_->key(Qt::Key_Space);
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
        QCOMPARE(box("Text5")->text() + box("Text7")->text(), QStringLiteral("0"));

        // An empty table: an empty list, Enter does nothing, Esc closes.
        f_->install->exec("DELETE FROM meja");
        whenModal([&seen](QWidget* w) {
            QTest::keyClick(modalFocus(), Qt::Key_Return);
            seen << QString::number(w->isVisible());
            QTest::keyClick(modalFocus(), Qt::Key_Escape);
        });
        child<QAbstractButton>(form(), "Command2")->click();
        QCOMPARE(seen, QStringList({"fDaftarMeja", "Meja 1", "Meja 2", "1"}));
        QVERIFY(f_->boxes->empty());
    }

    void saveRefusalsInOrder() {
        openOrder();
        f_->key(Qt::Key_S, Qt::AltModifier);
        f_->expectRefusal("Pilih Nomer Meja!", "Command2");
        pickRow(0);
        f_->key(Qt::Key_Space);
        f_->key(Qt::Key_S, Qt::AltModifier);
        f_->expectRefusal("Pilih Nama Pelayan!", "Command13");
        pickRow(0);
        f_->key(Qt::Key_Space);
        f_->key(Qt::Key_S, Qt::AltModifier);
        f_->expectRefusal("Data Detail Order masih kosong, tidak ada data yang akan disimpan!",
                          "Command8");
        QCOMPARE(f_->printed->documents(), 0);

        // The order list closed without a pick leaves no number to save.
        escapeModal();
        child<QAbstractButton>(form(), "Command5")->click();
        QCOMPARE(box("Text1")->text(), QString());
        QCOMPARE(f_->focusName(), QStringLiteral("Command2"));
        f_->key(Qt::Key_S, Qt::AltModifier);
        f_->expectRefusal("Nomer Order tidak boleh kosong!", "Command2");
        QCOMPARE(f_->install->count("pesan"), 0);
    }

    // Brought back with its own table and waiter ids, lines by menu id and the
    // stored total; "&Simpan" asks, then rewrites it whole.
    void bringBackAndChange() {
        f_->install->exec("INSERT INTO meja (nm_meja) VALUES ('Meja 2')");  // a repeated name
        storeOrder(40000, "RO-010320245", 3, 2, 34000, "Belum Bayar");
        f_->install->exec(
            "INSERT INTO detail_pesan VALUES (40000, 2, 3, 3000), (40000, 1, 2, 12500)");
        openOrder();
        QStringList seen;
        pickRow(0, &seen);
        f_->key(Qt::Key_Space);  // "Daftar Order" has the focus at first
        QCOMPARE(seen, QStringList({"fDaftarOrder", "Daftar Order", "ListView1", "RO-010320245"}));
        QCOMPARE(box("Text1")->text() + box("Text2")->text() + box("Text3")->text() +
                     box("Text4")->text(),
                 QStringLiteral("RO-01032024508:00:00Meja 2Sari"));
        QCOMPARE(child<QDateEdit>(form(), "DTPicker1")->date(), QDate(2024, 3, 1));
        QCOMPARE(form()->OrderId, 40000);
        QCOMPARE(form()->TableId * 10 + form()->WaiterId, 32);
        QCOMPARE(column(grid(), 0), QStringList({"NG", "ET"}));
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 34.000,-"));
        QCOMPARE(f_->focusName(), QStringLiteral("Command2"));
        QTRY_COMPARE_WITH_TIMEOUT(box("Text2")->text(), QStringLiteral("10:11:12"), 1500);

        clickRow(0);
        f_->key(Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(label("Label10"), QStringLiteral("Rp. 9.000,-"));
        const auto stored = [this] {
            return f_->install->connect()->rows("SELECT * FROM pesan").front();
        };
        const db::Row before = stored();
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->boxes->boxes().size(), 1);
        QCOMPARE(f_->boxes->last().text,
                 QStringLiteral("Nomer Order RO-010320245 sudah ada. Apakah anda ingin mengubah "
                                "Data Order?"));
        QCOMPARE(f_->boxes->last().title + QString::number(int(f_->boxes->last().buttons)),
                 QStringLiteral("Konfirmasi1"));
        QCOMPARE(stored(), before);
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-010320245"));

        f_->clock->set(kNow.addSecs(60));
        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->printed->documents(), 1);
        QCOMPARE(stored(), db::Row({40000, "RO-010320245", "2024-03-01", "10:12:12", 3, 2, 9000,
                                    "Belum Bayar"}));
        QCOMPARE(f_->install->connect()->rows("SELECT * FROM detail_pesan"),
                 std::vector<db::Row>({{40000, 2, 3, 3000}}));
        QCOMPARE(f_->printed->texts()[6], QStringLiteral("No. Order : RO-010320245"));
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-070320246"));
        QCOMPARE(form()->OrderId, 0);
    }

    // Paid or deleted meanwhile: refused, nothing written, the order stays on screen.
    void changeOfPaidOrGoneOrderRefused() {
        storeOrder(7, "RO-010320247", 1, 1, 12500, "Belum Bayar");
        f_->install->exec("INSERT INTO detail_pesan VALUES (7, 1, 1, 12500)");
        openOrder();
        pickRow(0);
        f_->key(Qt::Key_Space);
        f_->install->exec("UPDATE pesan SET status = 'Sudah Bayar'");
        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->boxes->boxes().size(), 2);
        QCOMPARE(f_->boxes->last().text,
                 QStringLiteral("Nomer Order RO-010320247 sudah dibayar. "
                                "Anda tidak diijinkan untuk mengubah data."));
        QCOMPARE(f_->boxes->last().title, QStringLiteral("Perhatian!"));
        QCOMPARE(f_->install->scalar("SELECT status FROM pesan").toString(),
                 QStringLiteral("Sudah Bayar"));

        f_->install->exec("DELETE FROM pesan");
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->boxes->boxes().size(), 3);
        QCOMPARE(f_->boxes->last().text, QStringLiteral("Nomer Order RO-010320247 tidak ditemukan. "
                                                        "Data Order tidak bisa diubah."));
        QCOMPARE(f_->install->count("pesan"), 0);
        QCOMPARE(f_->install->count("detail_pesan"), 1);
        QCOMPARE(f_->printed->documents(), 0);
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-010320247"));
        QCOMPARE(grid()->topLevelItemCount(), 1);
    }

    // A refused rewrite stops the whole save: no line touched, no ticket.
    void refusedRewriteStopsSave() {
        storeOrder(5, "RO-010320245", 1, 1, 0, "Belum Bayar");
        f_->install->exec("INSERT INTO detail_pesan VALUES (5, 1, 1, 12500)");
        openOrder();
        pickRow(0);
        f_->key(Qt::Key_Space);
        QCOMPARE(label("Label10"), QStringLiteral("Rp. 0,-"));
        f_->boxes->answer(ui::Answer::Yes);
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->boxes->boxes().size(), 2);
        QCOMPARE(f_->boxes->last().text,
                 QStringLiteral("Total Harga belum terisi. Hubungi Programer!"));
        QCOMPARE(f_->boxes->last().title, ui::kAppTitle);
        QCOMPARE(f_->install->connect()->rows("SELECT * FROM detail_pesan"),
                 std::vector<db::Row>({{5, 1, 1, 12500}}));
        QCOMPARE(f_->printed->documents(), 0);
    }

    // Another station stored the number on screen: this order is stored as
    // a new one under the next number, without a question.
    void numberTakenMeanwhileGetsNextNumber() {
        openOrder();
        storeOrder(1, "RO-070320241", 1, 1, 500, "Sudah Bayar");
        fillOrder();
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->install->count("pesan"), 2);
        QCOMPARE(f_->install->connect()->rows("SELECT id_order, no_order, status FROM pesan"),
                 std::vector<db::Row>(
                     {{1, "RO-070320241", "Sudah Bayar"}, {2, "RO-070320242", "Belum Bayar"}}));
        QCOMPARE(f_->install->connect()->rows("SELECT id_order FROM detail_pesan"),
                 std::vector<db::Row>({{2}}));
        QCOMPARE(f_->printed->texts()[6], QStringLiteral("No. Order : RO-070320242"));
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-070320243"));
        QVERIFY(f_->boxes->empty());
    }

    // Without any printer the order is stored and the window resets, silently.
    void missingPrinterLeavesOrderStored() {
        f_->printed.reset();
        qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
        openOrder();
        fillOrder();
        f_->key(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f_->install->count("pesan"), 1);
        QCOMPARE(box("Text1")->text(), QStringLiteral("RO-070320242"));
        QVERIFY(f_->boxes->empty());
        qunsetenv("CUPS_SERVER");
    }

    // The list shows unpaid orders with existing table and waiter, by id, and
    // fills the window named by OrderListMode.
    void orderListModes() {
        storeOrder(3, "RO-3", 1, 1, 0, "Belum Bayar");
        storeOrder(2, "RO-2", 2, 2, 1234567, "Belum Bayar");
        storeOrder(4, "RO-4", 1, 1, 100, "Sudah Bayar");
        storeOrder(5, "RO-5", 9, 1, 100, "Belum Bayar");
        QStringList seen;
        QList<orders::PickedOrder> picked;
        orders::OrderListReceiver kasir("Kasir",
                                        [&](const orders::PickedOrder& p) { picked.append(p); });
        moddapra::OrderListMode = "Kasir";
        whenModal([&seen](QWidget* w) {
            auto* list = child<QTreeWidget>(w, "ListView1");
            for (int c = 0; c < 7; ++c) {
                seen << list->headerItem()->text(c) + ":" + column(list, c).join(",");
            }
            QTest::keyClick(modalFocus(), Qt::Key_Down);
            QTest::keyClick(modalFocus(), Qt::Key_Return);
        });
        orders::openOrderList();
        QCOMPARE(seen,
                 QStringList({"Nomer Order:RO-2,RO-3", "Tanggal Order:01/03/2024,01/03/2024",
                              "Jam Order:08:00:00,08:00:00", "Nomer Meja:Meja 2,Meja 1",
                              "Nama Pelayan:Sari,Budi", "Total Harga:1.234.567,", "ID Order:2,3"}));
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked[0].id, 3);
        QCOMPARE(picked[0].number + picked[0].table + picked[0].waiter + picked[0].time,
                 QStringLiteral("RO-3Meja 1Budi08:00:00"));
        QCOMPARE(picked[0].date, QDate(2024, 3, 1));
        QCOMPARE(picked[0].total, 0);

        // No window named: said at load, the list stays empty, Enter does nothing.
        moddapra::OrderListMode.clear();
        seen.clear();
        whenModal([&seen](QWidget* w) {
            seen << QString::number(child<QTreeWidget>(w, "ListView1")->topLevelItemCount());
            QTest::keyClick(modalFocus(), Qt::Key_Return);
            seen << QString::number(w->isVisible());
            QTest::keyClick(modalFocus(), Qt::Key_Escape);
        });
        orders::openOrderList();
        QCOMPARE(seen, QStringList({"0", "1"}));
        QCOMPARE(f_->boxes->texts(), QStringList({"Tidak ada Form yang aktif"}));
        QCOMPARE(f_->boxes->last().title, ui::kAppTitle);

        // A mode whose window is gone: the pick is refused and the list stays.
        f_->boxes->clear();
        moddapra::OrderListMode = "Order";
        seen.clear();
        whenModal([&seen](QWidget* w) {
            QTest::keyClick(modalFocus(), Qt::Key_Return);
            seen << QString::number(w->isVisible());
            QTest::keyClick(modalFocus(), Qt::Key_Escape);
        });
        orders::openOrderList();
        QCOMPARE(seen, QStringList({"1"}));
        QCOMPARE(f_->boxes->texts(),
                 QStringList({"Tidak ada form yang aktif. Hubungi Programmer!"}));
        QCOMPARE(picked.size(), 1);
    }

private:
    orders::fOrder* form() {
        return qobject_cast<orders::fOrder*>(shell::openForm(shell::FormId::fOrder));
    }
    void openOrder() {
        shell::requestForm(shell::FormId::fOrder);
        QVERIFY(form());
        QVERIFY(QTest::qWaitForWindowActive(f_->main.get()));
        QTRY_COMPARE(f_->focusName(), QStringLiteral("Command5"));
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(form(), name); }
    QString label(const char* name) { return child<QLabel>(form(), name)->text(); }
    QTreeWidget* grid() { return child<QTreeWidget>(form(), "ListView1"); }

    void clickRow(int row) {
        const QPoint at = grid()->visualItemRect(grid()->topLevelItem(row)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
    }

    void pickMenu(int row) {
        pickRow(row);
        child<QAbstractButton>(form(), "Command8")->setFocus();
        f_->key(Qt::Key_Space);
        QCOMPARE(f_->focusName(), QStringLiteral("Text7"));
    }

    // Table 1, waiter 1 and one line of Nasi Goreng.
    void fillOrder() {
        pickRow(0);
        child<QAbstractButton>(form(), "Command2")->click();
        pickRow(0);
        child<QAbstractButton>(form(), "Command13")->click();
        pickMenu(0);
        QTest::keyClicks(f_->focused(), "1");
        f_->key(Qt::Key_Return);
    }

    void storeOrder(qint64 id, const QString& number, qint64 table, qint64 waiter, qint64 total,
                    const QString& status) {
        f_->install->exec("INSERT INTO pesan VALUES (?, ?, '2024-03-01', '08:00:00', ?, ?, ?, ?)",
                          {id, number, table, waiter, total, status});
    }

    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(OrderWindowTest)
#include "tst_orderwindow.moc"
