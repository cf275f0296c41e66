// The menu item window with its pickers and its search, driven by keys.
#include "masterdata/menuform.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include <memory>

using testing::child;
using testing::focusName;
using testing::keys;

namespace {

const QString kRecord =
    QStringLiteral(" Record. Klik dobel pada daftar barang untuk mengubah data.");

// In the picker that the next key opens: what it shows, the focus, then Down
// as often as asked and Enter on the row reached.
void pickWith(int downs, QStringList* shown = nullptr) {
    testing::whenModal([downs, shown](QWidget* picker) {
        if (shown) {
            *shown += QStringList{picker->windowTitle(), focusName()} + testing::shown(picker) +
                      testing::columns(child<QTreeWidget>(picker, "ListView1"));
        }
        keys(QString("Down|").repeated(downs) + "Enter");
    });
}

// Texts parted by "|", as the tests write a table of what users see.
QStringList split(const QString& texts) {
    return texts.split(QChar('|'));
}

}  // namespace

class MenuWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        install_ = std::make_unique<testing::TestInstall>();
        messages_ = std::make_unique<ui::MessageRecorder>();
        main_ = std::make_unique<testing::MainWindow>();
        moddapra::UserId = 1;
        install_->exec(
            "INSERT INTO akses VALUES (1, 'Data Menu'), (1, 'Data Pelayan'), (1, 'Data Kategori')");
        install_->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
        install_->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
    }

    void cleanup() {
        main_.reset();
        testing::settle();
        messages_.reset();
        install_.reset();
    }

    // What the window shows, its Tab road, and a new item entered by keys
    // alone: the checks of "&Simpan" in order, the pickers, the price box.
    void newItemByKeyboard() {
        openMenu();
        QCOMPARE(QStringList{form()->windowTitle()} + testing::shown(form()) + testing::tabRoad(12),
                 split("Data Menu|Command1: &Simpan|Command2: &Keluar|Command3: &Refresh|"
                       "Command4: [Daftar Kategori]|Command5: [Daftar Satuan]|"
                       "Command6: [Input Kategori Baru]|Command7: [Input Satuan Baru]|Frame1:|"
                       "Frame2:|Label1: Nama Menu|Label10: Tekan Enter untuk cek Nama Menu. "
                       "Sebaiknya jangan ada Nama Menu yang sama.|Label2: Kategori|Label3: Satuan|"
                       "Label4: Harga Jual|Label5: Jumlah Record: |Label6: 0" +
                       kRecord +
                       "|Label7: Kode Menu|Label8: Keterangan|Label9: Tekan Enter untuk cek "
                       "Kode Menu. Sebaiknya jangan ada Kode Menu yang sama.|Text1|Text2|Text6|"
                       "Command4|Command6|Command5|Command7|Text5|Command1|Command3|ListView1|"
                       "Command2|Text1"));

        keys("Alt+S|K01|Alt+S|Sate|Alt+S");  // an empty description becomes "-", no more
        QCOMPARE(child<QPlainTextEdit>(form(), "Text6")->toPlainText(), QStringLiteral("-"));
        keys("Alt+S");
        QStringList seen{focusName()};
        for (const char* picker : {"Kategori", "Satuan"}) {
            pickWith(1, &seen);
            keys("Space");
            main_->back();
            seen << box(*picker == 'K' ? "Text3" : "Text4")->text() << focusName();
            keys("Alt+S");
        }
        const QString common =
            "|ListView1|Command2: &Keluar|Frame1:|Label1: Klik dobel pada data "
            "yang dipilih...|";
        QCOMPARE(seen.join('|') + '|' + testing::seen(*messages_).join('|') + '|' + focusName(),
                 "Command4|Daftar Kategori" + common +
                     "Kategori 3000 L|Keterangan 5000 L|ID Kategori 0 L|Minuman|Command5|"
                     "Daftar Satuan" +
                     common +
                     "Nama Satuan 3000 L|Keterangan 5000 L|Kode Satuan 0 L|Gelas|Text5|"
                     "Info (i): Kode Menu Harus Diisi!|Info (i): Nama Menu Harus Diisi!|"
                     "Info (i): Kategori Menu Harus Diisi!|Info (i): Satuan Menu Harus Diisi!|"
                     "Info (i): Harga Menu Harus Diisi!|Text5");

        // Digits only, at most twelve; Tab, Shift+Tab and Delete act as
        // usual; Enter saves.
        keys("1a2-5.0 0");
        QCOMPARE(box("Text5")->text(), QStringLiteral("12500"));
        QCOMPARE(testing::tabRoad(1, Qt::Key_Backtab), split("Text5|Command7"));
        keys("Tab|Home|Del|Tab");
        QCOMPARE(focusName() + box("Text5")->text(), QStringLiteral("Command12500"));
        keys("Shift+Tab|9999999999999|Enter");  // Shift+Tab selects the whole price
        QCOMPARE(install_->connect()
                     ->rows("SELECT kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
                            " harga_jual FROM menu")
                     .front(),
                 db::Row({"K01", "Sate", "-", 2, 2, Q_INT64_C(999999999999)}));
        QCOMPARE(testing::columns(list()) + testing::column(list(), 5) << label() << focusName(),
                 split("Kode Menu 2000 L|Nama Menu 4000 L|Keterangan 7000 L|Kategori 2000 L|"
                       "Satuan 2000 L|Harga Jual 2000 R|idMenu 0 L|999.999.999.999| 1" +
                       kRecord + "|Text1"));
        QCOMPARE(box("Text1")->text() + box("Text3")->text() + box("Text5")->text(), QString());
        QCOMPARE(messages_->boxes().size(), 5);
    }

    // Enter on a row loads it whole, a name longer than the box's typing
    // limit too, and moves to the code box; a change asks first (No discards
    // it) and stores the whole name.
    void changeAsksFirst() {
        const QString longName = QStringLiteral("Nasi Goreng Spesial Pakai Telur Ceplok Dua");
        addItem("NG01", longName, 1, 2, 12500);
        openMenu();
        loadRow(0);
        QCOMPARE(box("Text2")->text(), longName);
        QCOMPARE(box("Text5")->text() + box("Text4")->text(), QStringLiteral("12.500Gelas"));
        keys("X|Alt+S");
        QCOMPARE(testing::seen(*messages_),
                 QStringList{"Konfirmasi (-?): Anda yakin ingin mengubah data: 'NG01'\r"
                             "menjadi: 'NG01X'? "});
        QCOMPARE(box("Text1")->text(), QString());  // No discards the edit

        loadRow(0);
        messages_->answer(ui::Answer::Yes);
        keys("Tab|Tab|Tab|Tab|Tab|Tab|Tab|End|0|Alt+S");  // digits add to the listed price
        QCOMPARE(install_->connect()->rows("SELECT * FROM menu").front(),
                 db::Row({1, "NG01", longName, "enak", 1, 2, 125000}));

        keys("Tab|" + longName);  // typing stops at 27 characters
        QCOMPARE(box("Text2")->text(), longName.left(27));
    }

    // Enter in the code or name box lists the items containing the text; the
    // loaded item stays in change mode, until a double-click on the empty
    // list of a search that found nothing returns to insert mode.
    void searchByCodeAndName() {
        addItem("NG01", "Nasi Goreng", 1, 1, 12500);
        addItem("MG01", "Mie Goreng", 1, 1, 11000);
        addItem("ET'1", "Es Teh", 2, 2, 3000);
        addItem("PG01", "Pisang Goreng", 1, 9, 5000);
        openMenu();
        // The unlisted item counts; search texts are not patterns.
        QStringList found{testing::column(list(), 0).join(',') + label()};
        for (const auto& [name, text] : {std::pair("Text2", "GORENG"), std::pair("Text1", "_G0"),
                                         std::pair("Text1", "'"), std::pair("Text2", "")}) {
            searchIn(name, text);
            found << testing::column(list(), 0).join(',') + label().left(2);
        }
        QCOMPARE(found, QStringList({"NG01,MG01,ET'1 4" + kRecord, "NG01,MG01 3", "NG01,MG01 3",
                                     "ET'1 1", "NG01,MG01,ET'1 4"}));

        loadRow(1);
        searchIn("Text1", "NG");
        QCOMPARE(testing::column(list(), 0) << box("Text2")->text(), split("NG01|Mie Goreng"));
        searchIn("Text2", "Soto");
        QCOMPARE(label(), QStringLiteral("0") + kRecord);
        testing::doubleClick(list(), -1);
        QCOMPARE(form()->CategoryId + form()->UnitId, 0);
        keys("Alt+S");  // no change question: a new item
        QVERIFY(messages_->empty());
        QCOMPARE(install_->count("menu"), 5);
    }

private:
    masterdata::fMenu* form() {
        return qobject_cast<masterdata::fMenu*>(shell::openForm(shell::FormId::fMenu));
    }
    void openMenu() {
        shell::requestForm(shell::FormId::fMenu);
        QVERIFY(form());
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(form(), name); }
    QTreeWidget* list() { return child<QTreeWidget>(form(), "ListView1"); }
    QString label() { return child<QLabel>(form(), "Label6")->text(); }

    void addItem(const QString& code, const QString& name, int category, int unit, qint64 price) {
        install_->exec(
            "INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
            " harga_jual) VALUES (?, ?, 'enak', ?, ?, ?)",
            {code, name, category, unit, price});
    }

    // A click on the row, then Enter: it loads and the focus moves to the
    // code box.
    void loadRow(int row) {
        const QRect rect = list()->visualItemRect(list()->topLevelItem(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
        keys("Enter");
        QCOMPARE(focusName(), QStringLiteral("Text1"));
    }

    void searchIn(const char* name, const QString& text) {
        QTest::mouseClick(box(name), Qt::LeftButton);
        keys("Ctrl+A|Del|" + text + "|Enter");
    }

    std::unique_ptr<testing::TestInstall> install_;
    std::unique_ptr<ui::MessageRecorder> messages_;
    std::unique_ptr<testing::MainWindow> main_;
};

DAPRA_TEST_MAIN(MenuWindowTest)
#include "tst_menuwindow.moc"
