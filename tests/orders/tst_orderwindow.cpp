// The order window driven by keys: pickers, lines, saving, changing, the
// order list and the ticket.
#include "helpers.h"
#include "orders/forder.h"
#include "orders/pickers.h"
#include "toolkit/datepicker.h"

#include <QAbstractButton>

using ordtest::pickWith;
using ordtest::refusal;
using ordtest::split;
using testing::child;
using testing::column;

namespace {

const char* const kGridColumns =
    "Kode Menu 2000 L|Nama Menu 4000 L|Kategori 2000 L|Satuan 2000 L|Qty Order 2000 C|"
    "Harga Satuan 2000 R|Jumlah Harga 2000 R|ID Menu 0 L";

}  // namespace

class OrderWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        f_ = std::make_unique<ordtest::WindowFixture>();
        f_->install->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order')");
    }
    void cleanup() { f_.reset(); }

    // The new order as users meet it: texts, Tab road, the pickers' captions
    // and columns; Esc closes it. The cashier's grid is the order window's.
    void opensAsNewOrder() {
        f_->open(shell::FormId::fOrder);
        QCOMPARE(QStringList{form()->windowTitle()} + testing::shown(form()),
                 split("Data Order|Command1: &Tambah|Command11: &Reset|Command13: [Daftar Pelayan]|"
                       "Command2: [Daftar Meja]|Command3: &Hapus|Command4: &Keluar [Esc]|"
                       "Command5: [Daftar Order]|Command6: &Simpan|Command8: [Daftar Menu]|"
                       "Frame1: [ Data Order ]|Frame2: [ Detail Order ]|"
                       "Frame3: [Data Detail Order ]|Label1: Nomer Order|Label10: Rp. 0,-|"
                       "Label11: Harga Jual|Label2: Tanggal Order|Label3: Jam Order|"
                       "Label4: Nomer Meja|Label40: Klik Daftar Order bila ingin melakukan "
                       "perubahan pada Data Order.|Label5: Nama Pelayan|Label6: Kode Menu|"
                       "Label7: Nama Menu|Label8: Quantity Order|Label9: Total:"));
        QCOMPARE(f_->texts({"Text1", "Text2", "Text7", "Text8"}) << moddapra::OrderListMode,
                 split("RO-070320241||0|0|Order"));

        // The disabled boxes are skipped; a digit typed, Tab leaves the quantity.
        QStringList road = testing::tabRoad(5);
        keys("5");
        road += testing::tabRoad(7);
        QCOMPARE(road, split("Command5|DTPicker1|Command2|Command13|Command8|Text7|Text7|Command1|"
                             "Command3|Command6|Command11|Command4|ListView1|Command5"));
        QTRY_COMPARE_WITH_TIMEOUT(f_->text("Text2"), QStringLiteral("10:11:12"), 1500);

        QStringList seen;
        for (const char* button : {"Command2", "Command13", "Command8"}) {
            testing::whenModal([&seen](QWidget* w) {
                seen << w->windowTitle() << testing::shown(w)
                     << testing::columns(child<QTreeWidget>(w, "ListView1"));
                testing::keys("Esc");
            });
            child<QAbstractButton>(form(), button)->click();
        }
        const QString common =
            "|Command2: &Keluar|Frame1:|Label1: Klik dobel pada data yang dipilih...|";
        QCOMPARE(seen.join('|'),
                 "Daftar Meja" + common + "Nomor Meja 2000 L|Keterangan 5000 L|ID Meja 0 L|" +
                     "Daftar Pelayan" + common +
                     "Nama Pelayan 2000 L|Alamat 5000 L|ID Pelayan 0 L|Daftar Menu" + common +
                     "Kode Menu 1000 L|Nama Menu 3000 L|Keterangan 4000 L|Kategori 2000 L|"
                     "Satuan 2000 L|Harga Jual 2000 R|ID Menu 0 L");
        keys("Esc");
        testing::settle();
        QVERIFY(!form());
        QCOMPARE(moddapra::OrderListMode, QString());

        f_->install->exec("INSERT INTO akses VALUES (1, 'Kasir')");
        f_->open(shell::FormId::fKasir);
        QCOMPARE(testing::columns(f_->grid()), split(kGridColumns));
    }

    // Table, waiter, menu item, quantity, Enter, next item, "&Simpan": every
    // button acts on Enter and on Space at once.
    void keyboardRoadOfNewOrder_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Space") << "Space";
    }
    void keyboardRoadOfNewOrder() {
        QFETCH(QString, key);
        f_->open(shell::FormId::fOrder);
        QStringList seen;
        pickWith(1, &seen);
        keys("Tab|Tab|" + key);
        pickWith(0, &seen);  // the waiter picker opens on "&Keluar"
        keys(key);
        pickWith(0, &seen);
        keys(key);
        QCOMPARE(seen, split("fDaftarMeja|Daftar Meja|ListView1|Meja 1|Meja 2|fDaftarPelayan|"
                             "Daftar Pelayan|Command2|Budi|Sari|fDaftarMenu|Daftar Menu|ListView1|"
                             "NG|ET|KR|PS|AQ"));
        QCOMPARE(f_->texts({"Text5", "Text6", "Text8"}) << focusName(),
                 split("NG|Nasi Goreng|12.500|Text7"));
        keys("2|Enter");
        QCOMPARE(f_->texts({"Text5", "Text7", "Text8"}) << focusName(), split("|0|0|Command8"));
        pickWith(1);
        keys(key);
        keys("3|Enter");
        QCOMPARE(column(f_->grid(), 5) + column(f_->grid(), 6) << f_->total(),
                 split("12.500|3.000|25.000|9.000|Rp. 34.000,-"));

        keys("Tab|Tab|Tab|Tab|" + key);  // to "&Simpan"
        QCOMPARE(f_->rows("SELECT * FROM pesan"),
                 std::vector<db::Row>(
                     {{1, "RO-070320241", "2024-03-07", "10:11:12", 2, 1, 34000, "Belum Bayar"}}));
        QCOMPARE(f_->rows("SELECT * FROM detail_pesan"),
                 std::vector<db::Row>({{1, 1, 2, 12500}, {1, 2, 3, 3000}}));
        // The whole ticket, "-" for the separator.
        QCOMPARE(f_->printed->texts().replaceInStrings(QString(30, '-'), "-"),
                 split("     Program Kasir Dapra      |        Mirawe Dapra          |"
                       "          Versi 2.2           |-|           Nota Order         |-|"
                       "No. Order : RO-070320241|Tanggal   : 07/03/2024|Jam       : 10:11:12|"
                       "No. Meja  : Meja 2|Pelayan   : Budi|-|          Detail Order        |-|"
                       "Nasi Goreng|     2 Porsi x 12.500 = 25.000|Es Teh|"
                       "       3 Gelas x 3.000 = 9.000|-|Total Tagihan :      Rp.34.000|-|"
                       "        Terima kasih.         |"));
        QCOMPARE(f_->texts({"Text1", "Text3", "Text4"}) << f_->total() << focusName(),
                 split("RO-070320242|||Rp. 0,-|Command2"));
        QCOMPARE(f_->grid()->topLevelItemCount() + form()->TableId + form()->WaiterId, 0);
        QVERIFY(f_->boxes->empty());
    }

    // Alt+S and the keys after it, typed ahead: the order is stored first;
    // without any printer it is stored all the same, and the ticket that
    // could not print is said.
    void typedAheadSaveWithoutPrinter() {
        f_->printed.reset();
        qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
        f_->open(shell::FormId::fOrder);
        fillOrder("3|Enter|Alt+S|Esc");
        qunsetenv("CUPS_SERVER");
        testing::settle();
        QVERIFY(!form());
        QCOMPARE(f_->rows("SELECT id_order, id_menu, qty FROM detail_pesan"),
                 std::vector<db::Row>({{1, 1, 3}}));
        QCOMPARE(f_->seen(), QStringList({"Informasi (!): Nota Order gagal dicetak! Periksa "
                                          "printer anda. \rData Order sudah tersimpan."}));
    }

    // Each refusal of a line with its focus; the quantity box takes six
    // digits; removing needs a row chosen since the last add or removal.
    void lineRulesAndRefusals() {
        f_->open(shell::FormId::fOrder);
        keys("Alt+T");
        f_->refused("Kode Menu harus diisi!", "Command8");
        pickMenu(3);  // Pisang at 500
        keys("00|Enter");
        f_->refused("Quantity Order tidak boleh kosong!", "Text7");
        QCOMPARE(child<QLineEdit>(form(), "Text7")->selectedText(), QStringLiteral("00"));
        keys("a1-b. 2");
        QCOMPARE(f_->text("Text7"), QStringLiteral("12"));
        keys("Backspace|23456789");
        QCOMPARE(f_->text("Text7"), QStringLiteral("123456"));
        keys("Ctrl+A|Del|2|Enter");
        pickMenu(4);  // Air at 250
        keys("3|Enter");
        QCOMPARE(column(f_->grid(), 4) + column(f_->grid(), 6) << f_->total(),
                 split("2|3|1.000|750|Rp. 1.750,-"));

        // The first or the last item again: refused, the entry emptied, grid
        // and total kept.
        for (const auto& [item, code] : {std::pair(3, "PS"), std::pair(4, "AQ")}) {
            pickMenu(item);
            keys("5|Enter");
            f_->refused(QStringLiteral("Kode Menu %1 sudah ada! Isi Kode Menu lainnya!").arg(code),
                        "Command8");
            QCOMPARE(f_->texts({"Text5", "Text7", "Text8"}) << f_->total(),
                     split("|0|0|Rp. 1.750,-"));
        }
        pickMenu(2);  // Kerupuk has no price
        keys("1|Enter");
        f_->refused("Harga Jual tidak boleh kosong!", "Command8");

        keys("Alt+H");
        f_->refused("Data yang ingin dihapus belum dipilih, klik pada daftar!", "ListView1");
        clickRow(1);
        keys("Alt+H");
        QCOMPARE(f_->total(), QStringLiteral("Rp. 1.000,-"));
        clickRow(0);
        keys("Alt+H");
        QCOMPARE(f_->total(), QStringLiteral("Rp. 0,-"));
        keys("Alt+H");
        f_->refused("Detail Order masih kosong!", "Command8");

        // "&Reset" drops the lines without a question and draws a number.
        pickMenu(0);
        keys("1|Enter|Alt+R");
        QCOMPARE(f_->grid()->topLevelItemCount(), 0);
        QCOMPARE(f_->text("Text1"), QStringLiteral("RO-070320241"));

        // A line whose total the cash desk could not take (its 12 digits) is
        // refused; the largest total shows whole.
        f_->install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('MK03', 'Paket', 1, 1, 1250000)");
        pickMenu(5);
        keys("999999|Enter");
        f_->refused(
            "Total Harga terlalu besar! Total Harga satu Order paling banyak "
            "Rp. 999.999.999.999,-",
            "Text7");
        keys("799999|Enter");
        QCOMPARE(f_->total(), QStringLiteral("Rp. 999.998.750.000,-"));
        auto* total = child<QLabel>(form(), "Label10");
        QVERIFY(total->width() >= total->sizeHint().width());
        QVERIFY(total->geometry().right() <= total->parentWidget()->contentsRect().right());
        QVERIFY(f_->boxes->empty());
    }

    // The quantity shows as typed in the grid and on the ticket, its leading
    // zeros giving way only where the ticket's line would pass 30 characters;
    // the number is stored, and the order brought back shows it.
    void quantityAsTyped_data() {
        QTest::addColumn<QStringList>("seen");  // typed, ticket line, total, stored
        QTest::newRow("05") << split("05|    05 Porsi x 12.500 = 62.500|Rp. 62.500,-|5");
        QTest::newRow("six digits")
            << split("000005|000005 Porsi x 12.500 = 62.500|Rp. 62.500,-|5");
        QTest::newRow("too wide") << split(
            "000010|00010 Porsi x 12.500 = 125.000|Rp. 125.000,-|10");
    }
    void quantityAsTyped() {
        QFETCH(QStringList, seen);
        f_->open(shell::FormId::fOrder);
        fillOrder(seen[0] + "|Enter");
        QCOMPARE(column(f_->grid(), 4) << f_->total(), QStringList({seen[0], seen[2]}));
        keys("Alt+S");
        QCOMPARE(f_->printed->texts().value(15), seen[1]);
        QCOMPARE(f_->rows("SELECT qty FROM detail_pesan"),
                 std::vector<db::Row>({{seen[3].toInt()}}));
        pickWith(0);
        child<QAbstractButton>(form(), "Command5")->click();
        QCOMPARE(column(f_->grid(), 4), QStringList({seen[3]}));
    }

    // Tab into the grid chooses no row, even with a menu item picked; a
    // keyboard move that highlights a row does.
    void tabIntoGridChoosesNoRow() {
        f_->open(shell::FormId::fOrder);
        for (const int item : {0, 1, 3}) {
            pickMenu(item);
            keys(item == 3 ? "Tab|Tab|Tab|Tab|Tab|Tab|Alt+H" : "1|Enter");
        }
        f_->refused("Data yang ingin dihapus belum dipilih, klik pada daftar!", "ListView1");
        keys("Down|Alt+H");
        QCOMPARE(column(f_->grid(), 0) << f_->total(), split("NG|Rp. 12.500,-"));
    }

    // A picker closed without a pick leaves its box emptied; the focus moves
    // on.
    void pickersClosedWithoutPick() {
        f_->open(shell::FormId::fOrder);
        pickWith(0);
        keys("Tab|Tab|Space");
        pickWith(0, nullptr, true);
        keys("Shift+Tab|Space");
        QCOMPARE(f_->text("Text3") + QString::number(form()->TableId) + focusName(),
                 QStringLiteral("0Command13"));
        testing::whenModal([](QWidget*) { testing::keys("Enter"); });  // on "&Keluar"
        keys("Space");
        QCOMPARE(f_->text("Text4") + QString::number(form()->WaiterId) + focusName(),
                 QStringLiteral("0Command8"));
        pickWith(0, nullptr, true);
        keys("Space");
        QCOMPARE(f_->text("Text5") + f_->text("Text7") + focusName(), QStringLiteral("0Text7"));
    }

    // "&Simpan" checks table, waiter, lines and number in that order.
    void saveRefusalsInOrder() {
        f_->open(shell::FormId::fOrder);
        keys("Alt+S");
        f_->refused("Pilih Nomer Meja!", "Command2");
        pickWith(0);
        keys("Space");
        keys("Alt+S");
        f_->refused("Pilih Nama Pelayan!", "Command13");
        pickWith(0);
        keys("Space");
        keys("Alt+S");
        f_->refused("Data Detail Order masih kosong, tidak ada data yang akan disimpan!",
                    "Command8");

        // The order list closed without a pick leaves no number to save.
        pickWith(0, nullptr, true);
        child<QAbstractButton>(form(), "Command5")->click();
        QCOMPARE(f_->text("Text1"), QString());
        keys("Alt+S");
        f_->refused("Nomer Order tidak boleh kosong!", "Command2");
        QCOMPARE(f_->install->count("pesan") + f_->printed->documents(), 0);
    }

    // The order and its ticket keep the date typed whole; a date that does
    // not exist refuses the save, stays as typed, and nothing is stored.
    void orderDateTypedWhole_data() {
        QTest::addColumn<QString>("date");  // typed over 30/11/2026
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("ticket");  // the ticket's date line
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QString>("after");  // the picker's text, the focus
        QTest::newRow("31/10") << "31102026" << QStringList{"2026-10-31"}
                               << QStringList{"Tanggal   : 31/10/2026"} << QStringList()
                               << "30/11/2026 Command2";
        QTest::newRow("31/11 refused")
            << "31112026" << QStringList() << QStringList()
            << QStringList{refusal("Tanggal 31/11/2026 tidak ada! Isi tanggal yang benar!")}
            << "31/11/2026 DTPicker1";
    }
    void orderDateTypedWhole() {
        QFETCH(QString, date);
        f_->clock->set(QDateTime(QDate(2026, 11, 30), QTime(10, 0)));
        f_->open(shell::FormId::fOrder);
        keys("Tab|" + date + "|Shift+Tab");
        fillOrder("3|Enter|Alt+S");
        QTEST(column(f_->rows("SELECT tgl_order FROM pesan"), 0), "stored");
        QTEST(f_->printed->texts().filter("Tanggal"), "ticket");
        QTEST(f_->seen(), "refused");
        QTEST(child<ui::DatePicker>(form(), "DTPicker1")->text() + ' ' + focusName(), "after");
    }

    // Brought back with its own table and waiter ids, lines by menu id and the
    // stored total; "&Simpan" asks, then rewrites it whole.
    void bringBackAndChange() {
        f_->install->exec("INSERT INTO meja (nm_meja) VALUES ('Meja 2')");  // a repeated name
        f_->storeOrder(40000, "RO-010320245", 34000);
        f_->install->exec("UPDATE pesan SET id_meja = 3, id_pelayan = 2");
        f_->install->exec(
            "INSERT INTO detail_pesan VALUES (40000, 2, 3, 3000), (40000, 1, 2, 12500)");
        f_->open(shell::FormId::fOrder);
        QStringList seen;
        pickWith(0, &seen);
        keys("Space");
        QCOMPARE(seen, split("fDaftarOrder|Daftar Order|ListView1|RO-010320245"));
        QCOMPARE(f_->texts({"Text1", "Text2", "Text3", "Text4"}) + column(f_->grid(), 0)
                     << f_->total() << focusName(),
                 split("RO-010320245|08:00:00|Meja 2|Sari|NG|ET|Rp. 34.000,-|Command2"));
        QCOMPARE(child<ui::DatePicker>(form(), "DTPicker1")->date(), QDate(2024, 3, 1));

        clickRow(0);
        keys("Alt+H|Alt+S");  // No to the question: nothing written
        QCOMPARE(f_->total(), QStringLiteral("Rp. 9.000,-"));
        QCOMPARE(f_->seen(), QStringList({"Konfirmasi (-?): Nomer Order RO-010320245 sudah ada. "
                                          "Apakah anda ingin mengubah Data Order?"}));
        QCOMPARE(f_->install->count("detail_pesan"), 2);

        f_->clock->set(ordtest::kNow.addSecs(60));
        f_->boxes->answer(ui::Answer::Yes);
        keys("Alt+S");
        QCOMPARE(f_->rows("SELECT * FROM pesan"),
                 std::vector<db::Row>({{40000, "RO-010320245", "2024-03-01", "10:12:12", 3, 2, 9000,
                                        "Belum Bayar"}}));
        QCOMPARE(f_->rows("SELECT * FROM detail_pesan"),
                 std::vector<db::Row>({{40000, 2, 3, 3000}}));
        QCOMPARE(f_->printed->texts().value(6), QStringLiteral("No. Order : RO-010320245"));
        QCOMPARE(f_->text("Text1") + QString::number(form()->OrderId),
                 QStringLiteral("RO-0703202460"));
    }

    // An order given another table and waiter while the list was open shows
    // the names of the ids it is saved with.
    void changedWhileListOpen() {
        f_->storeOrder(40000, "RO-010320245", 25000);
        f_->install->exec("INSERT INTO detail_pesan VALUES (40000, 1, 2, 12500)");
        f_->open(shell::FormId::fOrder);
        testing::whenModal([this](QWidget* list) {
            f_->install->exec("UPDATE pesan SET id_meja = 2, id_pelayan = 2");
            const bool onList =
                QApplication::focusWidget() == child<QTreeWidget>(list, "ListView1");
            testing::keys(onList ? "Enter" : "Tab|Enter");
        });
        keys("Space");
        QCOMPARE(f_->texts({"Text1", "Text3", "Text4"}), split("RO-010320245|Meja 2|Sari"));
        f_->boxes->answer(ui::Answer::Yes);
        keys("Alt+S");
        QCOMPARE(f_->rows("SELECT id_meja, id_pelayan FROM pesan"), std::vector<db::Row>({{2, 2}}));
        QVERIFY(f_->printed->texts().contains(QStringLiteral("No. Meja  : Meja 2")));
    }

    // The line entry keeps the item it shows, whatever row was clicked since:
    // "&Tambah" adds that item, "&Hapus" removes the clicked row.
    void lineEntryApartFromClickedRow() {
        f_->install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('KT', 'Kopi Tubruk', 2, 2, 500), ('AP', 'Air Putih', 2, 2, 1000)");
        f_->storeOrder(40000, "RO-010320245", 28000);
        f_->install->exec(
            "INSERT INTO detail_pesan VALUES (40000, 1, 2, 12500), (40000, 2, 1, 3000)");
        f_->open(shell::FormId::fOrder);
        pickWith(0);
        keys("Space");
        clickRow(1);  // Es Teh
        pickMenu(5);  // Kopi Tubruk
        keys("Alt+H");
        QCOMPARE(column(f_->grid(), 0) << f_->texts({"Text5", "Text7"}) << f_->total(),
                 split("NG|KT|0|Rp. 25.000,-"));
        keys("2|Enter");
        f_->boxes->answer(ui::Answer::Yes);
        keys("Alt+S");
        QCOMPARE(f_->rows("SELECT * FROM detail_pesan"),
                 std::vector<db::Row>({{40000, 1, 2, 12500}, {40000, 6, 2, 500}}));
        QCOMPARE(f_->install->scalar("SELECT total_harga FROM pesan").toLongLong(), 26000);

        // The next order: Nasi Goreng added, Air Putih picked, then the
        // Nasi Goreng row clicked.
        for (int i = 0; i < 3; ++i) {
            pickWith(0);
            keys("Space");
        }
        keys("1|Enter");
        pickMenu(6);
        keys("3");
        clickRow(0);
        keys("Alt+T");
        QCOMPARE(column(f_->grid(), 0) + column(f_->grid(), 7) << f_->total(),
                 split("NG|AP|1|7|Rp. 15.500,-"));
        QCOMPARE(f_->seen(), QStringList({"Konfirmasi (-?): Nomer Order RO-010320245 sudah ada. "
                                          "Apakah anda ingin mengubah Data Order?"}));
    }

    // Paid, deleted or its id taken by another order meanwhile, its waiter
    // deleted, or a stored total of 0: the change is refused, nothing is
    // written or printed, the order stays on screen. One no longer there is
    // then saved as a new order, under its number while that is free.
    void changeRefused_data() {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("savedAsNew");  // the number "&Simpan" then stores
        const QString order = QStringLiteral("Nomer Order RO-010320247 ");
        const QString gone = refusal(order +
                                     "sudah tidak ada. Data Order tidak bisa diubah. Klik Simpan "
                                     "untuk menyimpannya sebagai Order baru.");
        QTest::newRow("paid") << Q_INT64_C(12500) << "UPDATE pesan SET status = 'Sudah Bayar'"
                              << refusal(order +
                                         "sudah dibayar. Anda tidak diijinkan untuk mengubah data.")
                              << "";
        QTest::newRow("gone") << Q_INT64_C(12500) << "DELETE FROM pesan" << gone << "RO-010320247";
        QTest::newRow("number moved, its id taken by another number")
            << Q_INT64_C(12500)
            << "UPDATE pesan SET id_order = 9; INSERT INTO pesan VALUES (7, 'RO-010320248',"
               " '2024-03-01', '08:00:00', 1, 1, 500, 'Belum Bayar')"
            << gone << "RO-070320248";
        QTest::newRow("waiter deleted")
            << Q_INT64_C(12500) << "DELETE FROM pelayan WHERE id_pelayan = 1"
            << refusal("Nama Pelayan Budi sudah tidak ada. Data Order tidak bisa disimpan!") << "";
        QTest::newRow("no total") << Q_INT64_C(0) << "DELETE FROM pesan WHERE 0"
                                  << ui::kAppTitle +
                                         " (-): Total Harga belum terisi. Hubungi Programer!"
                                  << "";
    }
    void changeRefused() {
        QFETCH(qint64, total);
        QFETCH(QString, meanwhile);
        QFETCH(QString, savedAsNew);
        f_->storeOrder(7, "RO-010320247", total);
        f_->install->exec("INSERT INTO detail_pesan VALUES (7, 1, 1, 12500)");
        f_->open(shell::FormId::fOrder);
        pickWith(0);
        keys("Space");
        for (const QString& statement : meanwhile.split(';')) {
            f_->install->exec(statement);
        }
        const QString sql = "SELECT * FROM pesan UNION ALL SELECT *, 0, 0, 0, 0 FROM detail_pesan";
        const std::vector<db::Row> before = f_->rows(sql);
        f_->boxes->answer(ui::Answer::Yes);
        keys("Alt+S");
        QTEST(f_->seen().last(), "message");
        QCOMPARE(f_->rows(sql), before);
        QCOMPARE(f_->printed->documents(), 0);
        QCOMPARE(f_->text("Text1") + QString::number(f_->grid()->topLevelItemCount()),
                 QStringLiteral("RO-0103202471"));
        if (!savedAsNew.isEmpty()) {
            keys("Alt+S");
            QCOMPARE(f_->rows("SELECT no_order, total_harga FROM pesan ORDER BY id_order DESC"
                              " LIMIT 1"),
                     std::vector<db::Row>({{savedAsNew, 12500}}));
            QCOMPARE(f_->printed->documents() + f_->seen().size(), 1);
        }
    }

    // Another station stored the number on screen: this order is stored as
    // a new one under the next number, dated the day of saving whatever the
    // order's date, without a question.
    void numberTakenMeanwhileGetsNextNumber_data() {
        QTest::addColumn<QString>("toTable");  // keys from "Daftar Order" into the table picker
        QTest::addColumn<QDateTime>("savedAt");
        QTest::addColumn<QString>("date");    // of the new order
        QTest::addColumn<QString>("number");  // of the new order
        QTest::addColumn<QString>("next");    // shown after the save
        const QDateTime midnight(QDate(2024, 3, 8), QTime(0, 0, 5));
        QTest::newRow("today") << "Tab|Tab|Space" << ordtest::kNow << "2024-03-07"
                               << "RO-070320242"
                               << "RO-070320243";
        QTest::newRow("order dated a day back")
            << "Tab|Down|Tab|Space" << ordtest::kNow << "2024-03-06"
            << "RO-070320242"
            << "RO-070320243";
        QTest::newRow("saved after midnight") << "Tab|Tab|Space" << midnight << "2024-03-07"
                                              << "RO-080320242"
                                              << "RO-080320243";
    }
    void numberTakenMeanwhileGetsNextNumber() {
        QFETCH(QString, toTable);
        QFETCH(QDateTime, savedAt);
        QFETCH(QString, date);
        QFETCH(QString, number);
        QFETCH(QString, next);
        f_->open(shell::FormId::fOrder);
        f_->storeOrder(1, "RO-070320241", 500, "Sudah Bayar");
        for (const QString& road : {toTable, QStringLiteral("Space"), QStringLiteral("Space")}) {
            pickWith(0);
            keys(road);
        }
        keys("1|Enter");
        f_->clock->set(savedAt);
        keys("Alt+S");
        QCOMPARE(f_->rows("SELECT id_order, no_order, tgl_order, status FROM pesan"),
                 std::vector<db::Row>({{1, "RO-070320241", "2024-03-01", "Sudah Bayar"},
                                       {2, number, date, "Belum Bayar"}}));
        QCOMPARE(f_->install->scalar("SELECT id_order FROM detail_pesan").toInt(), 2);
        QCOMPARE(QStringList({f_->printed->texts().value(6), f_->text("Text1")}),
                 QStringList({"No. Order : " + number, next}));
        QVERIFY(f_->boxes->empty());
    }

    // The list shows unpaid orders with existing table and waiter, by id.
    void orderList() {
        f_->storeOrder(3, "RO-3", 0);
        f_->storeOrder(2, "RO-2", 1234567);
        f_->storeOrder(4, "RO-4", 100, "Sudah Bayar");
        f_->storeOrder(5, "RO-5", 100);
        f_->install->exec("UPDATE pesan SET id_meja = 5 WHERE id_order = 5");  // no such table
        f_->install->exec("UPDATE pesan SET id_meja = 2, id_pelayan = 2 WHERE id_order = 2");
        QStringList seen;
        testing::whenModal([&seen](QWidget* w) {
            auto* list = child<QTreeWidget>(w, "ListView1");
            seen << testing::columns(list) << testing::rows(list);
            testing::keys("Esc");
        });
        f_->open(shell::FormId::fOrder);
        keys("Space");
        QCOMPARE(seen.join('|'),
                 QString::fromUtf8("Nomer Order 2000 L|Tanggal Order 2000 L|Jam Order 2000 L|"
                                   "Nomer Meja 2000 L|Nama Pelayan 2000 L|Total Harga 2000 R|"
                                   "ID Order 0 L|RO-2|01/03/2024|08:00:00|Meja 2|Sari|1.234.567|2|"
                                   "RO-3|01/03/2024|08:00:00|Meja 1|Budi||3"));
    }

private:
    orders::fOrder* form() { return qobject_cast<orders::fOrder*>(f_->form()); }
    void keys(const QString& road) { f_->keys(road); }
    QString focusName() { return f_->focusName(); }

    void clickRow(int row) {
        QTreeWidget* grid = f_->grid();
        const QPoint at = grid->visualItemRect(grid->topLevelItem(row)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    void pickMenu(int row) {
        pickWith(row);
        child<QAbstractButton>(form(), "Command8")->setFocus();
        keys("Space");
    }

    // Table 1 and waiter 1 picked, then Nasi Goreng, then these keys.
    void fillOrder(const QString& then) {
        for (const char* road : {"Tab|Tab|Space", "Space", "Space"}) {
            pickWith(0);
            keys(road);
        }
        keys(then);
    }

    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(OrderWindowTest)
#include "tst_orderwindow.moc"
