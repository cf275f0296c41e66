// The table, category and unit windows (one shared class) and the waiter window.
#include "helpers.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace mdtest;

namespace {

void clickSave(QWidget* form) {
    child<QPushButton>(form, "Command1")->click();
}

QLineEdit* line(QWidget* form, const char* name) {
    return child<QLineEdit>(form, name);
}

QString texts(QWidget* form) {
    return line(form, "Text1")->text() + "|" + child<QPlainTextEdit>(form, "Text2")->toPlainText();
}

// Opens a small window without its modal loop, so the test can drive it.
QWidget* openSmall(shell::FormId id) {
    ui::Form* form = shell::formInstance(id);
    form->show();
    if (!QTest::qWaitFor([form] { return QApplication::activeWindow() == form; })) {
        qWarning("window not active");
    }
    return form;
}

}  // namespace

class MasterWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() {
        for (auto id : {shell::FormId::fMeja, shell::FormId::fKategori, shell::FormId::fSatuan}) {
            if (ui::Form* form = shell::openForm(id)) {
                form->unload();
            }
        }
        testing::settle();
    }

    void opensModallyThroughAccessCheck() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        moddapra::UserId = 1;
        install.exec("INSERT INTO akses VALUES (1, 'Data Satuan')");
        install.exec("INSERT INTO satuan (nm_satuan, Keterangan) VALUES ('Porsi', 'satu piring')");
        QStringList seen;
        whenModal([&](QWidget* w) {
            seen << w->objectName() << w->windowTitle() << child<QGroupBox>(w, "Frame2")->title()
                 << listOf(w)->headerItem()->text(0) << column(w, 0) << column(w, 2);
            QTest::keyClick(w->focusWidget(), Qt::Key_Escape);
        });
        shell::requestForm(shell::FormId::fSatuan);
        QCOMPARE(seen, QStringList(
                           {"fSatuan", "Data Satuan", "[ Data Satuan ]", "Satuan", "Porsi", "1"}));
        QVERIFY(boxes.empty());
        QVERIFY(!shell::openForm(shell::FormId::fSatuan));
    }

    void insertRefusesDuplicatesIgnoringCase() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        QWidget* w = openSmall(shell::FormId::fMeja);
        QLineEdit* name = line(w, "Text1");
        auto* note = child<QPlainTextEdit>(w, "Text2");
        QCOMPARE(tabOrder(name, 5),
                 QStringList({"Text1", "Text2", "Command1", "Command2", "ListView1"}));

        clickSave(w);
        QCOMPARE(boxes.last().text, QStringLiteral("Nama Meja Harus Diisi!"));
        QCOMPARE(boxes.last().title, QStringLiteral("Info"));

        // Enter moves from the name to the description, where it starts a line.
        name->setFocus();
        QTest::keyClicks(name, "Meja 1");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), note);
        QTest::keyClicks(note, "dekat");
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, "jendela");
        clickSave(w);
        QCOMPARE(install.scalar("SELECT Keterangan FROM meja WHERE nm_meja = 'Meja 1'").toString(),
                 QStringLiteral("dekat\njendela"));
        QCOMPARE(column(w, 0), QStringList({"Meja 1"}));
        QCOMPARE(texts(w), QStringLiteral("|"));
        QCOMPARE(QApplication::focusWidget(), name);

        name->setText("MEJA 1");
        note->setPlainText("lagi");
        clickSave(w);
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Meja MEJA 1 sudah ada! Masukkan Meja yang lain!"));
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(texts(w), QStringLiteral("MEJA 1|lagi"));
        QCOMPARE(install.count("meja"), 1);

        // A quote is a character like any other; a name of blanks is a name.
        name->setText("Meja 'VIP'");
        clickSave(w);
        name->setText("  ");
        clickSave(w);
        QCOMPARE(column(w, 0), QStringList({"Meja 1", "Meja 'VIP'", "  "}));
        QCOMPARE(boxes.boxes().size(), 2);
    }

    void changeSkipsDuplicateAndVanishedRowTests() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        install.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES ('Makanan', 'a')");
        install.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES ('Minuman', 'b')");
        QWidget* w = openSmall(shell::FormId::fKategori);
        QTest::keyClick(listOf(w), Qt::Key_Return);  // Enter on the list does nothing here
        QCOMPARE(texts(w), QStringLiteral("|"));

        doubleClickRow(w, 1);
        QCOMPARE(texts(w), QStringLiteral("Minuman|b"));
        line(w, "Text1")->setText("makanan");
        clickSave(w);
        QVERIFY(boxes.empty());
        QCOMPARE(column(w, 0) + column(w, 1), QStringList({"Makanan", "makanan", "a", "b"}));
        QCOMPARE(texts(w), QStringLiteral("|"));

        // Back in insert mode: the next save adds a row.
        line(w, "Text1")->setText("Snack");
        clickSave(w);
        QCOMPARE(install.count("kategori"), 3);

        // A row removed by another station before saving: nothing visible.
        doubleClickRow(w, 0);
        install.exec("DELETE FROM kategori WHERE id_kategori = 1");
        line(w, "Text1")->setText("Lauk");
        clickSave(w);
        clickSave(w);
        QVERIFY(boxes.empty());
        QCOMPARE(install.count("kategori"), 2);
        QCOMPARE(texts(w), QStringLiteral("Lauk|a"));
    }

    void waiterEnterChainAndChange() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        QMainWindow main;
        auto* area = new QMdiArea(&main);
        main.setCentralWidget(area);
        ui::setMdiArea(area);
        main.resize(1000, 700);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        moddapra::UserId = 1;
        install.exec("INSERT INTO akses VALUES (1, 'Data Pelayan')");
        shell::requestForm(shell::FormId::fPelayan);
        QWidget* w = shell::openForm(shell::FormId::fPelayan);
        QVERIFY(w && w->parentWidget()->isMaximized());

        // Enter moves box by box and saves from the phone box.
        const QStringList values = {"Budi", "Jl. Mawar 1", "Bandung", "40111", "0812"};
        line(w, "Text1")->setFocus();
        for (int i = 1; i <= 5; ++i) {
            auto* box = child<QLineEdit>(w, QStringLiteral("Text%1").arg(i));
            QCOMPARE(QApplication::focusWidget(), box);
            QTest::keyClicks(box, values[i - 1]);
            QTest::keyClick(box, Qt::Key_Return);
        }
        QVERIFY(boxes.empty());
        QCOMPARE(column(w, 0) + column(w, 4), QStringList({"Budi", "0812"}));
        QCOMPARE(QApplication::focusWidget(), line(w, "Text1"));

        line(w, "Text1")->setText("budi");
        QTest::keyClick(line(w, "Text5"), Qt::Key_Return);
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Nama Pelayan budi sudah ada! Masukkan Nama Pelanggan yang lain!"));

        doubleClickRow(w, 0);
        QCOMPARE(QApplication::focusWidget(), line(w, "Text1"));
        QCOMPARE(line(w, "Text4")->text(), QStringLiteral("40111"));
        line(w, "Text2")->clear();
        line(w, "Text5")->setText("0813");
        clickSave(w);
        QCOMPARE(install.connect()->rows("SELECT * FROM pelayan").front(),
                 db::Row({1, "Budi", "", "Bandung", "40111", "0813"}));

        // The resize table keeps "&Keluar" under the outer frame's right edge
        // and skips the steps that a too small window cannot take.
        auto* frame1 = child<QWidget>(w, "Frame1");
        auto* close = child<QWidget>(w, "Command2");
        QVERIFY(qAbs(close->geometry().right() - frame1->geometry().right()) <= 1);
        QVERIFY(qAbs(close->y() - (frame1->geometry().bottom() + ui::toPx(75))) <= 2);
        QCOMPARE(child<QWidget>(w, "Label3")->y(), close->y());
        const int listHeight = listOf(w)->height();
        w->parentWidget()->showNormal();
        w->parentWidget()->resize(200, 150);
        testing::settle();
        QVERIFY(w->height() < 150);
        QCOMPARE(listOf(w)->height(), listHeight);
        ui::setMdiArea(nullptr);
    }
};

DAPRA_TEST_MAIN(MasterWindowsTest)
#include "tst_masterwindows.moc"
