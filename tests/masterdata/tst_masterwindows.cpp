// The table, category and unit windows (one shared class) and the waiter window,
// driven by keys and the mouse as a user drives them.
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using shell::FormId;
using testing::child;
using testing::keys;

namespace {

QTreeWidget* listOf(QWidget* w) {
    return child<QTreeWidget>(w, "ListView1");
}

QString boxes(QWidget* w) {
    return child<QLineEdit>(w, "Text1")->text() + '|' +
           child<QPlainTextEdit>(w, "Text2")->toPlainText();
}

// Texts parted by "|", as the tests write a table of what users see.
QStringList split(const QString& texts) {
    return texts.split(QChar('|'));
}

void grant(const testing::TestInstall& install, const QString& right) {
    moddapra::UserId = 1;
    install.exec("INSERT INTO akses VALUES (1, ?)", {right});
}

}  // namespace

class MasterWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { testing::settle(); }

    // Each small window as the user meets it, opened through the access
    // check: captions, focus and Tab road, Enter and Esc, messages.
    void smallWindowByKeyboard_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("noName");
        QTest::addColumn<QString>("taken");
        // Caption, list frame, name label, first and hidden column, then the
        // thing the messages name.
        for (const auto& [form, table, texts] :
             {std::tuple(FormId::fMeja, "meja",
                         "Data Meja|[ Daftar Meja ]|Nomer Meja|Nomer Meja|ID Meja|Meja"),
              std::tuple(
                  FormId::fKategori, "kategori",
                  "Data Kategori|[ Data Kategori ]|Nama Kategori|Kategori|ID Kategori|Kategori"),
              std::tuple(FormId::fSatuan, "satuan",
                         "Data Satuan|[ Data Satuan ]|Nama Satuan|Satuan|ID Satuan|Satuan")}) {
            const QStringList t = split(texts);
            QTest::newRow(table)
                << int(form) << table
                << split(t[0] + "|Command1: &Simpan|Command2: &Keluar|Frame1:|Frame2: " + t[1] +
                         "|Label1: " + t[2] +
                         "|Label2: Keterangan|Label3: Klik dobel untuk edit data|" + t[3] +
                         " 2000 L|Keterangan 5000 L|" + t[4] + " 0 L")
                << "Nama " + t[5] + " Harus Diisi!"
                << t[5] + " SATU sudah ada! Masukkan " + t[5] + " yang lain!";
        }
    }
    void smallWindowByKeyboard() {
        QFETCH(int, form);
        QFETCH(QString, table);
        QFETCH(QStringList, shown);
        QFETCH(QString, noName);
        QFETCH(QString, taken);
        testing::TestInstall install;
        ui::MessageRecorder messages;
        grant(install, shown[0]);
        QStringList seen;
        testing::whenModal([&](QWidget* w) {
            QTreeWidget* list = listOf(w);
            seen << w->windowTitle() << testing::shown(w) << testing::columns(list);
            QCOMPARE(testing::tabRoad(5), split("Text1|Text2|Command1|Command2|ListView1|Text1"));

            // A double-click on the empty list empties the boxes.
            keys("x");
            testing::doubleClick(list, -1);
            QCOMPARE(boxes(w), QStringLiteral("|"));

            keys("Alt+S");
            QCOMPARE(testing::seen(messages), QStringList{"Info (i): " + noName});
            QCOMPARE(testing::focusName(), QStringLiteral("Text1"));

            // Enter moves to the description, where it starts a new line.
            keys("Satu|Enter|dekat|Enter|jendela|Alt+S");
            QCOMPARE(testing::column(list, 0), QStringList{"Satu"});
            QCOMPARE(boxes(w) + testing::focusName(), QStringLiteral("|Text1"));

            keys("SATU|Alt+S");  // names match without regard to letter case
            QCOMPARE(testing::seen(messages).last(), "Informasi (i): " + taken);
            QCOMPARE(boxes(w), QStringLiteral("SATU|"));
            keys("Esc");
        });
        shell::requestForm(FormId(form));
        QCOMPARE(seen, shown);
        QVERIFY(!shell::openForm(FormId(form)));
        QCOMPARE(install.connect()->rows("SELECT * FROM " + table),
                 std::vector<db::Row>({{1, "Satu", "dekat\njendela"}}));
        QCOMPARE(messages.boxes().size(), 2);
    }

    // A double-click loads a row for change, the focus on the list (a name
    // taken by another row is fine then; insert mode again: the waiter window).
    void changeByDoubleClick() {
        testing::TestInstall install;
        ui::MessageRecorder messages;
        grant(install, "Data Kategori");
        install.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES ('Makanan', 'a')");
        install.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES ('Minuman', 'b')");
        testing::whenModal([&](QWidget* w) {
            QTreeWidget* list = listOf(w);
            keys("Shift+Tab|Enter");  // Enter on the list does nothing here
            QCOMPARE(boxes(w), QStringLiteral("|"));
            testing::doubleClick(list, 1);
            QCOMPARE(boxes(w) + testing::focusName(), QStringLiteral("Minuman|bListView1"));
            QTest::mouseClick(child<QLineEdit>(w, "Text1"), Qt::LeftButton);
            keys("Ctrl+A|makanan|Alt+S");
            QCOMPARE(testing::column(list, 0), QStringList({"Makanan", "makanan"}));
            keys("Alt+K");
        });
        shell::requestForm(FormId::fKategori);
        QVERIFY(messages.empty());
        QCOMPARE(install.count("kategori"), 2);
    }

    // The waiter window: a working window whose Enter chain ends in saving;
    // a double-click loads all five boxes and puts the focus in the first.
    void waiterWindow() {
        testing::TestInstall install;
        ui::MessageRecorder messages;
        testing::MainWindow main;
        grant(install, "Data Pelayan");
        shell::requestForm(FormId::fPelayan);
        QWidget* w = shell::openForm(FormId::fPelayan);
        QVERIFY(w && w->parentWidget()->isMaximized());
        child<QLineEdit>(w, "Text1")->setFocus();
        QCOMPARE(QStringList{w->windowTitle()} + testing::shown(w) + testing::columns(listOf(w)) +
                     testing::tabRoad(8),
                 split("Data Pelayan|Command1: &Simpan|Command2: &Keluar|Frame1:|"
                       "Frame2: [ Data Pelanggan ]|Label1: Nama Pelayan|Label2: Alamat|"
                       "Label3: Klik dobel untuk edit data|Label4: Kota|Label5: Kode Pos|"
                       "Label6: Telepon|Nama Pelanggan 5000 L|Alamat 3000 L|Kota 3000 L|"
                       "Kode Pos 3000 L|Telepon 3000 L|ID Pelanggan 0 L|Text1|Text2|Text3|Text4|"
                       "Text5|Command1|Command2|ListView1|Text1"));

        keys("Enter|Enter");  // Enter in the name box only moves on
        QCOMPARE(testing::focusName(), QStringLiteral("Text3"));
        keys(
            "Shift+Tab|Shift+Tab|Budi|Enter|Jl. Mawar "
            "1|Enter|Bandung|Enter|40111|Enter|0812|Enter");
        QTreeWidget* list = listOf(w);
        QCOMPARE(testing::column(list, 0) + testing::column(list, 4) << testing::focusName(),
                 split("Budi|0812|Text1"));
        keys("budi|Alt+S");
        QCOMPARE(messages.texts(),
                 QStringList{"Nama Pelayan budi sudah ada! Masukkan Nama Pelanggan yang lain!"});

        testing::doubleClick(list, -1);  // below the rows: back to insert mode
        QCOMPARE(child<QLineEdit>(w, "Text1")->text(), QString());
        testing::doubleClick(list, 0);
        QCOMPARE(testing::focusName() + child<QLineEdit>(w, "Text4")->text(),
                 QStringLiteral("Text140111"));
        keys("Tab|Ctrl+A|Del|Alt+S");
        QCOMPARE(install.connect()->rows("SELECT * FROM pelayan").front(),
                 db::Row({1, "Budi", "", "Bandung", "40111", "0812"}));
        keys("Esc");
        testing::settle();
        QVERIFY(!shell::openForm(FormId::fPelayan));
    }
};

DAPRA_TEST_MAIN(MasterWindowsTest)
#include "tst_masterwindows.moc"
