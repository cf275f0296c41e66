#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/keys.h"
#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// A working window that counts its activations.
class CountingForm : public ui::Form {
public:
    int activations = 0;
    int deactivations = 0;
    void activated() override { ++activations; }
    void deactivated() override { ++deactivations; }
};

// A window with a resize table of two steps.
class LaidOutForm : public ui::Form {
public:
    QWidget* frame = new QWidget(this);
    bool widthTaken = false;

protected:
    void relayout(ui::TwLayout& l) override {
        widthTaken = ui::TwLayout::setWidth(frame, l.W - 3000);
        ui::TwLayout::setHeight(frame, l.H - 600);
    }
};

}  // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportListHoldsRowsWithAHiddenId() {
        QTreeWidget list;
        ui::setupList(&list);
        ui::setColumns(&list, {{"Nama", 2000}, {"Harga", 1500, Qt::AlignRight}, {"ID", 0}});
        QCOMPARE(list.columnCount(), 3);
        QVERIFY(list.isColumnHidden(2));
        QCOMPARE(list.columnWidth(0), ui::toPx(2000));
        QVERIFY(ui::selectedRow(&list).isEmpty());
        ui::addRow(&list, {"Es Teh", "3.000", "7"});
        QTreeWidgetItem* second = ui::addRow(&list, {"Kopi", "5.000", "9"});
        QVERIFY(!second->icon(0).isNull());
        QVERIFY(second->textAlignment(1) & Qt::AlignRight);
        list.setCurrentItem(second);
        QCOMPARE(ui::selectedRow(&list), (QStringList{"Kopi", "5.000", "9"}));
        QCOMPARE(ui::rowCount(&list), 2);
        ui::setColumns(&list, {{"A", 100}});  // new columns empty the list
        QCOMPARE(ui::rowCount(&list), 0);
    }

    void rowDoubleClickAndEnter() {
        QTreeWidget list;
        ui::setupList(&list);
        ui::setColumns(&list, {{"Nama", 2000}});
        QTreeWidgetItem* row = ui::addRow(&list, {"Meja 1"});
        int picks = 0;
        ui::onRowDoubleClick(
            &list, [&] { ++picks; }, true);
        QTest::keyClick(&list, Qt::Key_Return);  // no current row yet
        QCOMPARE(picks, 0);
        list.setCurrentItem(row);
        QTest::keyClick(&list, Qt::Key_Return);
        Q_EMIT list.itemDoubleClicked(row, 0);
        QCOMPARE(picks, 2);

        QTreeWidget plain;
        ui::setColumns(&plain, {{"Nama", 2000}});
        plain.setCurrentItem(ui::addRow(&plain, {"x"}));
        int plainPicks = 0;
        ui::onRowDoubleClick(
            &plain, [&] { ++plainPicks; }, false);
        QTest::keyClick(&plain, Qt::Key_Return);  // Enter is ignored here
        QCOMPARE(plainPicks, 0);
    }

    void digitsOnlyBox() {
        QLineEdit box;
        int saves = 0;
        ui::digitsOnly(
            &box, [&] { ++saves; }, 12);
        QTest::keyClicks(&box, "12a.3-4 5");
        QCOMPARE(box.text(), QStringLiteral("12345"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("1234"));
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClick(&box, Qt::Key_Enter);
        QCOMPARE(saves, 2);
        QTest::keyClicks(&box, "99999999999");
        QCOMPARE(box.text().size(), 12);           // at most twelve digits
        box.setText(QStringLiteral("1.250.000"));  // an amount loaded as listed
        box.end(false);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClicks(&box, "5");
        QCOMPARE(box.text(), QStringLiteral("1.250.005"));
        box.setText(QStringLiteral("999.999.999.999"));  // twelve digits, fifteen characters
        QCOMPARE(box.text(), QStringLiteral("999.999.999.999"));
        box.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        box.paste();
        QCOMPARE(box.text(), QString());  // a paste cannot bring letters in
    }

    void enterMovesTheFocus() {
        QWidget window;
        auto* first = new QLineEdit(&window);
        auto* second = new QLineEdit(&window);
        second->setText(QStringLiteral("lama"));
        ui::enterMovesTo(first, second, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Return);
        QVERIFY(second->hasFocus());
        QCOMPARE(second->selectedText(), QStringLiteral("lama"));
    }

    void escPressesTheCancelButton() {
        auto* form = new ui::Form;
        auto* box = new QLineEdit(form);
        auto* cancel = new QPushButton(QStringLiteral("&Keluar"), form);
        int presses = 0;
        QObject::connect(cancel, &QPushButton::clicked, [&] { ++presses; });
        form->setCancelButton(cancel);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(presses, 1);
        form->unload();
        testing::settle();
    }

    void resizeTableSkipsNegativeSizes() {
        LaidOutForm form;
        form.resize(ui::toPx(9000), ui::toPx(6000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int widthBefore = form.frame->width();
        QVERIFY(form.widthTaken);
        QVERIFY(qAbs(ui::TwLayout::width(form.frame) - (ui::outerSizeTw(&form).width() - 3000)) <=
                15);
        form.resize(ui::toPx(1500), ui::toPx(6000));  // W - 3000 < 0: the step is skipped
        QVERIFY(!form.widthTaken);
        QCOMPARE(form.frame->width(), widthBefore);
        QCOMPARE(ui::toTwips(ui::toPx(1440)), 1440);
    }

    void activationRunsOnlyBetweenWorkingWindows() {
        QMainWindow main;
        auto* area = new QMdiArea(&main);
        main.setCentralWidget(area);
        ui::setMdiArea(area);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto* first = new CountingForm;
        auto* second = new CountingForm;
        ui::showChild(first);
        QCOMPARE(first->activations, 1);
        ui::showChild(second);
        QCOMPARE(first->deactivations, 1);
        QCOMPARE(second->activations, 1);
        ui::showChild(first);  // already open: comes to the front
        QCOMPARE(area->subWindowList().size(), 2);
        QCOMPARE(first->activations, 2);
        QCOMPARE(second->deactivations, 1);

        // A modal window opened from the active one is not a move.
        auto* dialog = new ui::Form;
        dialog->setFixedDialog(3000, 2000);
        testing::whenModal([](QWidget* w) { static_cast<ui::Form*>(w)->unload(); });
        ui::showModal(dialog);
        testing::settle();
        QCOMPARE(first->activations, 2);
        QCOMPARE(first->deactivations, 1);

        first->unload();
        second->unload();
        testing::settle();
        QVERIFY(area->subWindowList().isEmpty());
        ui::setMdiArea(nullptr);
    }
};

DAPRA_TEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"
