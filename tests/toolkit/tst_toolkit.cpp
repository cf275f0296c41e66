#include "support/testsupport.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/keys.h"
#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

using testing::press;
using testing::type;

namespace {

// A window with a name box, "&Simpan" that keeps the name and empties the
// box, and "&Keluar" (Esc) that closes it; what they did goes into the log.
class SaveForm : public ui::Form {
public:
    QStringList log;
    QLineEdit* box = ui::lineBox(this, "Text1", {100, 100, 2000, 315});
    QPushButton* save = ui::button(this, "Command1", "&Simpan", {100, 600, 1200, 350});
    QPushButton* close = ui::button(this, "Command2", "&Keluar", {1400, 600, 1200, 350});

    SaveForm() {
        setObjectName("fKategori");
        setCancelButton(close);
        connect(save, &QPushButton::clicked, this, [this] {
            log << box->text();
            box->clear();
            box->setFocus();
        });
        connect(close, &QPushButton::clicked, this, [this] {
            log << "closed";
            hide();
        });
    }
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

// A working window that counts its activations.
class CountingForm : public ui::Form {
public:
    int activations = 0;
    int deactivations = 0;
    void activated() override { ++activations; }
    void deactivated() override { ++deactivations; }
};

QTreeWidget* listWithRows(QWidget* parent, int rows) {
    auto* list = ui::listView(parent, "ListView1", {100, 100, 4000, 2500});
    ui::setColumns(list, {{"Nama", 2000}, {"ID", 0}});
    for (int i = 0; i < rows; ++i) {
        ui::addRow(list, {QString("Baris %1").arg(i), QString::number(i)});
    }
    return list;
}

}  // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Keys typed ahead act in the order typed: each is sent while the ones
    // before it are still in the queue, as from a fast typist.
    void buttonKeysActAtOnce_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("left");
        QTest::newRow("Alt+S, Esc")
            << "Makanan|Alt+S|Esc" << QStringList{"Makanan", "closed"} << "";
        QTest::newRow("Alt+S, next name")
            << "Makanan|Alt+S|Minuman" << QStringList{"Makanan"} << "Minuman";
        QTest::newRow("Enter on the button")
            << "Snack|Tab|Enter|Esc" << QStringList{"Snack", "closed"} << "";
        QTest::newRow("Space on the button")
            << "Snack|Tab|Space|Esc" << QStringList{"Snack", "closed"} << "";
    }
    void buttonKeysActAtOnce() {
        QFETCH(QString, keys);
        SaveForm form;
        form.show();
        QVERIFY(testing::activate(&form));
        form.box->setFocus();
        for (const QString& step : keys.split('|')) {
            if (step == "Alt+S") {
                press(Qt::Key_S, Qt::AltModifier);
            } else if (step == "Esc" || step == "Tab" || step == "Enter" || step == "Space") {
                const QMap<QString, Qt::Key> named = {{"Esc", Qt::Key_Escape},
                                                      {"Tab", Qt::Key_Tab},
                                                      {"Enter", Qt::Key_Return},
                                                      {"Space", Qt::Key_Space}};
                press(named[step]);
            } else {
                type(step);
            }
        }
        QTEST(form.log, "log");
        QTEST(form.box->text(), "left");
    }

    // In a working window inside the main window the window's own button
    // takes its mnemonic, each time, before the main menu sharing the letter.
    void mnemonicBeatsTheMainMenu() {
        QMainWindow main;
        int menuOpened = 0;
        QMenu* menu = main.menuBar()->addMenu("&Sistem");
        connect(menu, &QMenu::aboutToShow, [&] { ++menuOpened; });
        auto* area = new QMdiArea(&main);
        main.setCentralWidget(area);
        auto* form = new SaveForm;
        area->addSubWindow(form)->showMaximized();
        main.resize(800, 600);
        main.show();
        QVERIFY(testing::activate(&main));
        form->box->setFocus();
        for (const char* name : {"A", "B", "C"}) {
            type(name);
            press(Qt::Key_S, Qt::AltModifier);
        }
        QCOMPARE(form->log, QStringList({"A", "B", "C"}));
        QCOMPARE(menuOpened, 0);
    }

    // Only printable characters other than digits are refused; Tab, Delete
    // (with the character X11 gives it) and the cursor keys act as usual.
    void digitBoxes() {
        ui::Form form;
        auto* box = ui::lineBox(&form, "Text5", {100, 100, 2000, 315});
        auto* next = ui::button(&form, "Command1", "&Simpan", {100, 600, 1200, 350});
        int saves = 0;
        ui::digitsOnly(
            box, [&] { ++saves; }, 12);
        form.show();
        QVERIFY(testing::activate(&form));
        box->setFocus();
        type("12a.3-4 5");
        QCOMPARE(box->text(), QStringLiteral("12345"));
        press(Qt::Key_Home);
        testing::pressDelete();
        press(Qt::Key_End);
        press(Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("234"));
        press(Qt::Key_Return);
        QCOMPARE(saves, 1);
        type("99999999999");
        QCOMPARE(box->text().size(), 12);  // at most twelve digits
        box->setText("1.250.000");         // an amount loaded as listed stays whole
        press(Qt::Key_Backspace);
        type("5");
        QCOMPARE(box->text(), QStringLiteral("1.250.005"));
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        press(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), box);
    }

    // The limit binds typing only: a longer text set by the program stays
    // whole and may be shortened or corrected, never lengthened.
    void typingLimitBindsTypingOnly() {
        QLineEdit box;
        ui::typingLimit(&box, 5);
        box.show();
        QVERIFY(testing::activate(&box));
        type("abcdefg");
        QCOMPARE(box.text(), QStringLiteral("abcde"));
        box.setText("Nasi Goreng Spesial");
        QCOMPARE(box.text(), QStringLiteral("Nasi Goreng Spesial"));
        type("x");
        QCOMPARE(box.text(), QStringLiteral("Nasi Goreng Spesial"));
        press(Qt::Key_Backspace);
        type("L");
        QCOMPARE(box.text(), QStringLiteral("Nasi Goreng Spesia"));
        box.setSelection(0, 1);
        type("M");
        QCOMPARE(box.text(), QStringLiteral("Masi Goreng Spesia"));
    }

    // A double-click anywhere in a list reports, on an empty list too; Enter
    // does when asked for.
    void listDoubleClickAnywhere_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("onRow");
        QTest::newRow("on a row") << 2 << true;
        QTest::newRow("below the rows") << 2 << false;
        QTest::newRow("empty list") << 0 << false;
    }
    void listDoubleClickAnywhere() {
        QFETCH(int, rows);
        QFETCH(bool, onRow);
        QWidget window;
        QTreeWidget* list = listWithRows(&window, rows);
        QStringList seen;
        ui::onRowDoubleClick(
            list, [&] { seen << ui::selectedRow(list).value(0, "-"); }, true);
        window.show();
        QVERIFY(testing::activate(&window));
        const QPoint at = onRow ? list->visualItemRect(list->topLevelItem(1)).center()
                                : QPoint(20, list->viewport()->height() - 10);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        list->setFocus();
        press(Qt::Key_Return);
        const QString picked = onRow ? "Baris 1" : "-";
        QCOMPARE(seen, QStringList({picked, picked}));
    }

    // Tab into a list makes a row current without choosing it; Space, a
    // keyboard move and a click choose.
    void onlyAVisibleSelectionChooses() {
        QWidget window;
        auto* before = new QLineEdit(&window);
        QTreeWidget* list = listWithRows(&window, 3);
        QStringList chosen;
        ui::onRowClick(list, [&] { chosen << ui::selectedRow(list).value(0); });
        window.show();
        QVERIFY(testing::activate(&window));
        before->setFocus();
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        QVERIFY(chosen.isEmpty());
        QVERIFY(ui::selectedRow(list).isEmpty());
        press(Qt::Key_Space);
        press(Qt::Key_Down);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(2)).center());
        QCOMPARE(chosen, QStringList({"Baris 0", "Baris 1", "Baris 2"}));
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
        ui::showChild(second);
        ui::showChild(first);  // already open: comes to the front
        QCOMPARE(area->subWindowList().size(), 2);
        QCOMPARE(QList<int>({first->activations, first->deactivations, second->activations,
                             second->deactivations}),
                 QList<int>({2, 1, 1, 1}));

        // A modal window opened from the active one is not a move.
        auto* dialog = new ui::Form;
        dialog->setFixedDialog(3000, 2000);
        testing::whenModal([](QWidget* w) { static_cast<ui::Form*>(w)->unload(); });
        ui::showModal(dialog);
        testing::settle();
        QCOMPARE(first->activations + first->deactivations, 3);
        ui::setMdiArea(nullptr);
    }
};

DAPRA_TEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"
