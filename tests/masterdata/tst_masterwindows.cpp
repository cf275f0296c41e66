// The table, category and unit windows (one shared class) and the waiter window.
#include "masterdata/masterform.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"
#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

using testing::child;

namespace {

QTreeWidget* listOf(QWidget* form) {
    return child<QTreeWidget>(form, "ListView1");
}

void doubleClickRow(QWidget* form, int row) {
    QTreeWidget* list = listOf(form);
    QTreeWidgetItem* item = list->topLevelItem(row);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QStringList column(QWidget* form, int col) {
    QStringList texts;
    QTreeWidget* list = listOf(form);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        texts.append(list->topLevelItem(i)->text(col));
    }
    return texts;
}

void clickSave(QWidget* form) {
    child<QPushButton>(form, "Command1")->click();
}

QString text(QWidget* form, const char* name) {
    auto* box = form->findChild<QWidget*>(name);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        return line->text();
    }
    return child<QPlainTextEdit>(form, name)->toPlainText();
}

// Opens a small window without its modal loop, so the test can drive it.
QWidget* openSmall(shell::FormId id) {
    ui::Form* form = shell::formInstance(id);
    form->show();
    if (!QTest::qWaitForWindowActive(form)) {
        qWarning("window not active");
    }
    return form;
}

}  // namespace

class MasterWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() {
        for (auto id : {shell::FormId::fMeja, shell::FormId::fKategori, shell::FormId::fSatuan,
                        shell::FormId::fPelayan}) {
            if (ui::Form* form = shell::openForm(id)) {
                form->unload();
            }
        }
        testing::settle();
    }

    // Through the access check the window opens modally, with its own texts.
    void opensModallyThroughAccessCheck() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        moddapra::UserId = 1;
        install.exec("INSERT INTO akses VALUES (1, 'Data Satuan')");
        install.exec("INSERT INTO satuan (nm_satuan, Keterangan) VALUES ('Porsi', 'satu piring')");
        QStringList seen;
        testing::whenModal([&](QWidget* w) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            seen << w->objectName() << w->windowTitle() << child<QGroupBox>(w, "Frame2")->title()
                 << listOf(w)->headerItem()->text(0) << column(w, 0) << column(w, 2);
            QTest::keyClick(w, Qt::Key_Escape);
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
        QCOMPARE(listOf(w)->topLevelItemCount(), 0);
        auto* name = child<QLineEdit>(w, "Text1");
        auto* note = child<QPlainTextEdit>(w, "Text2");

        clickSave(w);
        QCOMPARE(boxes.last().text, QStringLiteral("Nama Meja Harus Diisi!"));
        QCOMPARE(boxes.last().title, QStringLiteral("Info"));
        QCOMPARE(install.count("meja"), 0);

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
        QCOMPARE(text(w, "Text1") + text(w, "Text2"), QString());
        QCOMPARE(QApplication::focusWidget(), name);

        name->setText("MEJA 1");
        note->setPlainText("lagi");
        clickSave(w);
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Meja MEJA 1 sudah ada! Masukkan Meja yang lain!"));
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(text(w, "Text1") + "|" + text(w, "Text2"), QStringLiteral("MEJA 1|lagi"));
        QCOMPARE(install.count("meja"), 1);

        // A quote is a character like any other; a name of blanks is a name.
        name->setText("Meja 'VIP'");
        clickSave(w);
        name->setText("  ");
        clickSave(w);
        QCOMPARE(column(w, 0), QStringList({"Meja 1", "Meja 'VIP'", "  "}));
        QCOMPARE(boxes.boxes().size(), 2);
    }

    void changeSkipsDuplicateTest() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        install.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES ('Makanan', 'a')");
        install.exec("INSERT INTO kategori (nm_kategori, Keterangan) VALUES ('Minuman', 'b')");
        QWidget* w = openSmall(shell::FormId::fKategori);
        QCOMPARE(w->windowTitle(), QStringLiteral("Data Kategori"));
        QTest::keyClick(listOf(w), Qt::Key_Return);  // Enter on the list does nothing here
        QCOMPARE(text(w, "Text1"), QString());

        doubleClickRow(w, 1);
        QCOMPARE(text(w, "Text1") + "|" + text(w, "Text2"), QStringLiteral("Minuman|b"));
        child<QLineEdit>(w, "Text1")->setText("makanan");
        clickSave(w);
        QVERIFY(boxes.empty());
        QCOMPARE(
            install.scalar("SELECT nm_kategori || Keterangan FROM kategori WHERE id_kategori = 2")
                .toString(),
            QStringLiteral("makananb"));
        QCOMPARE(column(w, 0), QStringList({"Makanan", "makanan"}));
        QCOMPARE(text(w, "Text1"), QString());

        // Back in insert mode: the next save adds a row.
        child<QLineEdit>(w, "Text1")->setText("Snack");
        clickSave(w);
        QCOMPARE(install.count("kategori"), 3);
    }

    void rowDeletedElsewhereBeforeSave() {
        testing::TestInstall install;
        ui::MessageRecorder boxes;
        install.exec("INSERT INTO satuan (nm_satuan, Keterangan) VALUES ('Gelas', '')");
        QWidget* w = openSmall(shell::FormId::fSatuan);
        doubleClickRow(w, 0);
        install.exec("DELETE FROM satuan");
        child<QLineEdit>(w, "Text1")->setText("Cangkir");
        clickSave(w);
        clickSave(w);
        QVERIFY(boxes.empty());
        QCOMPARE(install.count("satuan"), 0);
        QCOMPARE(text(w, "Text1"), QStringLiteral("Cangkir"));
        QCOMPARE(column(w, 0), QStringList({"Gelas"}));
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

        auto* first = child<QLineEdit>(w, "Text1");
        first->setFocus();
        const QStringList values = {"Budi", "Jl. Mawar 1", "Bandung", "40111", "0812"};
        for (int i = 1; i <= 5; ++i) {
            auto* box = child<QLineEdit>(w, QStringLiteral("Text%1").arg(i));
            QCOMPARE(QApplication::focusWidget(), box);
            QTest::keyClicks(box, values[i - 1]);
            QTest::keyClick(box, Qt::Key_Return);
        }
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(install.count("pelayan"), 1);
        QCOMPARE(QApplication::focusWidget(), first);

        // The same name again, by Enter in the phone box: refused.
        first->setText("budi");
        QTest::keyClick(child<QLineEdit>(w, "Text5"), Qt::Key_Return);
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Nama Pelayan budi sudah ada! Masukkan Nama Pelanggan yang lain!"));

        doubleClickRow(w, 0);
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(text(w, "Text3") + text(w, "Text4"), QStringLiteral("Bandung40111"));
        child<QLineEdit>(w, "Text2")->clear();
        child<QLineEdit>(w, "Text5")->setText("0813");
        clickSave(w);
        const db::Row row = install.connect()->rows("SELECT * FROM pelayan").front();
        QCOMPARE(row, db::Row({1, "Budi", "", "Bandung", "40111", "0813"}));

        // The resize table keeps "&Keluar" under the outer frame's right edge.
        auto* frame1 = child<QWidget>(w, "Frame1");
        auto* close = child<QWidget>(w, "Command2");
        QVERIFY(qAbs(close->geometry().right() - frame1->geometry().right()) <= 1);
        QVERIFY(qAbs(close->y() - (frame1->geometry().bottom() + ui::toPx(75))) <= 2);
        QCOMPARE(child<QWidget>(w, "Label3")->y(), close->y());
        const int listHeight = listOf(w)->height();
        w->parentWidget()->showNormal();
        w->parentWidget()->resize(200, 150);  // too small: the size steps are skipped
        testing::settle();
        QCOMPARE(listOf(w)->height(), listHeight);
        ui::setMdiArea(nullptr);
    }
};

DAPRA_TEST_MAIN(MasterWindowsTest)
#include "tst_masterwindows.moc"
