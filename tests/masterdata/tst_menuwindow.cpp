// The menu item window with its pickers and its search.
#include "helpers.h"
#include "masterdata/menuform.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

using namespace mdtest;

namespace {

const QString kRecord =
    QStringLiteral(" Record. Klik dobel pada daftar barang untuk mengubah data.");

// Picks the row whose first column reads the name, by Enter on the list,
// which has the focus when the picker opens.
void pickByEnter(const QString& name) {
    whenModal([name](QWidget* picker) {
        QTreeWidget* list = listOf(picker);
        QCOMPARE(QApplication::focusWidget(), list);
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
        QTest::keyClick(list, Qt::Key_Return);
    });
}

void pressEscape() {
    whenModal([](QWidget* w) { QTest::keyClick(w->focusWidget(), Qt::Key_Escape); });
}

}  // namespace

class MenuWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        install_ = std::make_unique<testing::TestInstall>();
        boxes_ = std::make_unique<ui::MessageRecorder>();
        main_ = std::make_unique<QMainWindow>();
        auto* area = new QMdiArea(main_.get());
        main_->setCentralWidget(area);
        main_->resize(1100, 750);
        ui::setMdiArea(area);
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        moddapra::UserId = 1;
        for (const char* right : {"Data Menu", "Data Pelayan", "Data Kategori", "Data Satuan"}) {
            install_->exec("INSERT INTO akses VALUES (1, ?)", {QString::fromLatin1(right)});
        }
        install_->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
        install_->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
    }

    void cleanup() {
        main_.reset();
        ui::setMdiArea(nullptr);
        testing::settle();
        boxes_.reset();
        install_.reset();
    }

    void listShowsJoinedItemsAndCountsAll() {
        openMenu();
        QCOMPARE(label(), QStringLiteral("0") + kRecord);
        QCOMPARE(
            tabOrder(box("Text1"), 12),
            QStringList({"Text1", "Text2", "Text6", "Command4", "Command6", "Command5", "Command7",
                         "Text5", "Command1", "Command3", "ListView1", "Command2"}));

        addItem("NG01", "Nasi Goreng", 1, 1, 12500);
        addItem("ET01", "Es Teh", 2, 2, 0);
        addItem("XX01", "Tanpa Kategori", 9, 1, 1000);
        addItem("XX02", "Tanpa Satuan", 1, 9, 1000);
        press("Command3");
        QCOMPARE(label(), QStringLiteral(" 4") + kRecord);
        QCOMPARE(column(form(), 0), QStringList({"NG01", "ET01"}));
        QCOMPARE(column(form(), 3) + column(form(), 4),
                 QStringList({"Makanan", "Minuman", "Porsi", "Gelas"}));
        QCOMPARE(column(form(), 5), QStringList({"12.500", ""}));
        QVERIFY(listOf(form())->isColumnHidden(6));

        // The resize table puts "&Keluar" and the record label under the frame.
        auto* frame1 = child<QWidget>(form(), "Frame1");
        auto* close = child<QWidget>(form(), "Command2");
        QVERIFY(qAbs(close->geometry().right() - frame1->geometry().right()) <= 1);
        QVERIFY(qAbs(close->y() - (frame1->geometry().bottom() + ui::toPx(60))) <= 2);
        QCOMPARE(child<QWidget>(form(), "Label6")->y(), close->y());
    }

    void saveChecksInOrderThenInsert() {
        openMenu();
        press("Command1");
        expectRefusal("Kode Menu Harus Diisi!", "Text1");
        box("Text1")->setText("K01");
        press("Command1");
        expectRefusal("Nama Menu Harus Diisi!", "Text2");
        box("Text2")->setText("Sate");
        press("Command1");  // an empty description becomes "-", nothing more
        QCOMPARE(child<QPlainTextEdit>(form(), "Text6")->toPlainText(), QStringLiteral("-"));
        QCOMPARE(boxes_->boxes().size(), 2);
        press("Command1");
        expectRefusal("Kategori Menu Harus Diisi!", "Command4");

        pickByEnter("Minuman");
        press("Command4");
        QCOMPARE(box("Text3")->text() + QString::number(form()->CategoryId),
                 QStringLiteral("Minuman2"));
        QCOMPARE(focusName(), QStringLiteral("Command5"));
        press("Command1");
        expectRefusal("Satuan Menu Harus Diisi!", "Command5");

        pickByEnter("Gelas");
        press("Command5");
        QCOMPARE(box("Text4")->text() + QString::number(form()->UnitId), QStringLiteral("Gelas2"));
        QCOMPARE(focusName(), QStringLiteral("Text5"));
        press("Command1");
        expectRefusal("Harga Menu Harus Diisi!", "Text5");

        // Only digits reach the price box, at most twelve of them; Enter saves.
        QTest::keyClicks(box("Text5"), "1a2-5.0 0");
        QCOMPARE(box("Text5")->text(), QStringLiteral("12500"));
        box("Text5")->clear();
        QTest::keyClicks(box("Text5"), "9999999999999");
        QTest::keyClick(box("Text5"), Qt::Key_Return);
        QCOMPARE(install_->connect()
                     ->rows("SELECT kode_menu, nama_menu, keterangan, typeof(id_kategori),"
                            " id_kategori, id_satuan, harga_jual FROM menu")
                     .front(),
                 db::Row({"K01", "Sate", "-", "integer", 2, 2, Q_INT64_C(999999999999)}));
        QCOMPARE(column(form(), 5), QStringList({"999.999.999.999"}));
        QCOMPARE(box("Text1")->text() + box("Text3")->text() + box("Text5")->text(), QString());
        QCOMPARE(focusName(), QStringLiteral("Text1"));
    }

    // Activation clears and reloads only when the user comes back from
    // another working window, never after a modal window opened from here.
    void pickSurvivesModalWindowsButNotSwitching() {
        openMenu();
        pickByEnter("Makanan");
        press("Command4");
        pressEscape();
        press("Command6");  // the category window, through the access check
        boxes_.reset();     // a real message box this time
        whenModal([](QWidget* w) { QTest::keyClick(w->focusWidget(), Qt::Key_Return); });
        press("Command1");
        boxes_ = std::make_unique<ui::MessageRecorder>();
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        QCOMPARE(box("Text3")->text() + QString::number(form()->CategoryId),
                 QStringLiteral("Makanan1"));

        box("Text1")->setText("half typed");
        addItem("NG01", "Nasi Goreng", 1, 1, 12500);
        shell::requestForm(shell::FormId::fPelayan);
        QCOMPARE(box("Text1")->text(), QStringLiteral("half typed"));
        shell::requestForm(shell::FormId::fMenu);
        QCOMPARE(box("Text1")->text() + box("Text3")->text(), QString());
        QCOMPARE(form()->CategoryId, 0);
        QCOMPARE(column(form(), 0), QStringList({"NG01"}));

        // Closing a picker without a pick leaves the category empty.
        pickByEnter("Minuman");
        press("Command4");
        pressEscape();
        press("Command4");
        QCOMPARE(box("Text3")->text() + QString::number(form()->CategoryId), QStringLiteral("0"));
    }

    void changeAsksFirst() {
        addItem("NG01", "Nasi Goreng", 1, 2, 12500);
        openMenu();
        loadRow(0);
        QCOMPARE(box("Text5")->text() + box("Text4")->text(), QStringLiteral("12.500Gelas"));
        QCOMPARE(form()->CategoryId * 10 + form()->UnitId, 12);
        box("Text1")->setText("NG02");
        press("Command1");
        QCOMPARE(boxes_->texts(),
                 QStringList({"Anda yakin ingin mengubah data: 'NG01'\rmenjadi: 'NG02'? "}));
        QCOMPARE(boxes_->last().title, QStringLiteral("Konfirmasi"));
        QCOMPARE(install_->scalar("SELECT kode_menu FROM menu").toString(), QStringLiteral("NG01"));
        QCOMPARE(box("Text1")->text(), QString());  // No discards the edit

        loadRow(0);
        QTest::keyClicks(box("Text5"), "0x");  // digits are added to the listed price
        box("Text1")->setText("NG'02");
        boxes_->answer(ui::Answer::Yes);
        press("Command1");
        QCOMPARE(install_->connect()->rows("SELECT * FROM menu").front(),
                 db::Row({1, "NG'02", "Nasi Goreng", "enak", 1, 2, 125000}));
        QCOMPARE(box("Text1")->text(), QString());

        // A row removed elsewhere before the change is left alone silently.
        loadRow(0);
        install_->exec("DELETE FROM menu");
        boxes_->answer(ui::Answer::Yes);
        press("Command1");
        QCOMPARE(boxes_->boxes().size(), 3);
        QCOMPARE(box("Text1")->text(), QStringLiteral("NG'02"));
    }

    void searchByCodeAndName() {
        addItem("NG01", "Nasi Goreng", 1, 1, 12500);
        addItem("MG01", "Mie Goreng", 1, 1, 11000);
        addItem("ET'1", "Es Teh", 2, 2, 3000);
        addItem("PG01", "Pisang Goreng", 1, 9, 5000);
        openMenu();

        searchIn("Text2", "GORENG");
        QCOMPARE(column(form(), 0), QStringList({"NG01", "MG01"}));
        QCOMPARE(label(), QStringLiteral(" 3") + kRecord);  // the unlisted item counts
        searchIn("Text1", "_G0");
        QCOMPARE(column(form(), 0), QStringList({"NG01", "MG01"}));
        searchIn("Text1", "'");
        QCOMPARE(column(form(), 0), QStringList({"ET'1"}));
        searchIn("Text2", "");
        QCOMPARE(column(form(), 0).size(), 3);
        searchIn("Text2", "Soto");
        QCOMPARE(column(form(), 0).size(), 0);
        QCOMPARE(label(), QStringLiteral("0") + kRecord);
        QVERIFY(boxes_->empty());

        // A search keeps the loaded item in change mode.
        searchIn("Text2", "Mie");
        loadRow(0);
        searchIn("Text1", "NG");
        QCOMPARE(column(form(), 0), QStringList({"NG01"}));
        QCOMPARE(box("Text2")->text(), QStringLiteral("Mie Goreng"));
        boxes_->answer(ui::Answer::Yes);
        press("Command1");
        QCOMPARE(install_->scalar("SELECT id_menu FROM menu WHERE kode_menu = 'NG'").toInt(), 2);
        QCOMPARE(install_->count("menu"), 4);
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
    QString label() { return child<QLabel>(form(), "Label6")->text(); }
    void press(const char* name) { child<QAbstractButton>(form(), name)->click(); }

    // The widget that has the focus in the main window, or gets it back when
    // the main window is active again after a modal window.
    QString focusName() {
        QWidget* focus = main_->focusWidget();
        return focus ? focus->objectName() : QStringLiteral("<none>");
    }

    void addItem(const QString& code, const QString& name, int category, int unit, qint64 price) {
        install_->exec(
            "INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
            " harga_jual) VALUES (?, ?, 'enak', ?, ?, ?)",
            {code, name, category, unit, price});
    }

    // Enter on a row loads it and moves on to the code box.
    void loadRow(int row) {
        listOf(form())->setCurrentItem(listOf(form())->topLevelItem(row));
        QTest::keyClick(listOf(form()), Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Text1"));
    }

    void searchIn(const char* name, const QString& text) {
        box(name)->setText(text);
        QTest::keyClick(box(name), Qt::Key_Return);
    }

    void expectRefusal(const char* message, const char* focus) {
        QCOMPARE(boxes_->last().text, QString::fromLatin1(message));
        QCOMPARE(boxes_->last().title, QStringLiteral("Info"));
        QCOMPARE(focusName(), QString::fromLatin1(focus));
        QCOMPARE(install_->count("menu"), 0);
    }

    std::unique_ptr<testing::TestInstall> install_;
    std::unique_ptr<ui::MessageRecorder> boxes_;
    std::unique_ptr<QMainWindow> main_;
};

DAPRA_TEST_MAIN(MenuWindowTest)
#include "tst_menuwindow.moc"
