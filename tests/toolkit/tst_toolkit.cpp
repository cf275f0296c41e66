#include "support/testsupport.h"
#include "toolkit/controls.h"
#include "toolkit/datepicker.h"
#include "toolkit/form.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using testing::keys;

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

}  // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Keys typed ahead act in the order typed: each is sent while the ones
    // before it are still in the queue, as from a fast typist. In a working
    // window inside the main window the window's own button takes its
    // mnemonic, each time, before the main menu sharing the letter.
    void buttonKeysActAtOnce_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("left");
        QTest::newRow("Alt+S, next name")
            << "Makanan|Alt+S|Minuman" << QStringList{"Makanan"} << "Minuman";
        QTest::newRow("Enter on the button")
            << "Snack|Tab|Enter|Esc" << QStringList{"Snack", "closed"} << "";
        QTest::newRow("mnemonic each time")
            << "A|Alt+S|B|Alt+S|C|Alt+S" << QStringList({"A", "B", "C"}) << "";
    }
    void buttonKeysActAtOnce() {
        QFETCH(QString, road);
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
        keys(road);
        QTEST(form->log, "log");
        QTEST(form->box->text(), "left");
        QCOMPARE(menuOpened, 0);
    }

    // A message box belongs to the window that asked: a modal window, a
    // window on its own beside the main window, or the main window for its
    // working windows. When it closes that window is active again.
    void boxBelongsToTheWindowThatAsked_data() {
        QTest::addColumn<QString>("asking");
        QTest::newRow("window on its own") << "own";
        QTest::newRow("modal window") << "modal";
        QTest::newRow("working window") << "working";
    }
    void boxBelongsToTheWindowThatAsked() {
        QFETCH(QString, asking);
        QMainWindow main;
        auto* area = new QMdiArea(&main);
        main.setCentralWidget(area);
        ui::setMdiArea(area);
        main.resize(800, 600);
        main.show();
        QVERIFY(testing::activate(&main));
        QStringList seen;  // the box's owner, then the active window after it
        const auto ask = [&seen] {
            testing::whenModal([&seen](QWidget* box) {
                seen << testing::describe(box->parentWidget());
                testing::keys("Enter");
            });
            ui::msgBox("Pilih dulu usernya!", ui::Buttons::Ok, ui::Icon::Information,
                       "Information");
            QTest::qWait(50);
            seen << testing::describe(QApplication::activeWindow());
        };
        auto* form = new SaveForm;
        form->setWindowTitle("Manajemen Pengguna");
        if (asking == "working") {
            area->addSubWindow(form)->showMaximized();
            ask();
        } else if (asking == "modal") {
            testing::whenModal([&](QWidget*) {
                ask();
                form->unload();
            });
            form->setFixedDialog(3000, 2000);
            ui::showModal(form);
        } else {
            form->setFixedDialog(3000, 2000);
            form->show();
            QVERIFY(testing::activate(form));
            ask();
            delete form;
        }
        const QString asker = asking == "working" ? testing::describe(&main)
                                                  : "ui::Form fKategori \"Manajemen Pengguna\"";
        QCOMPARE(seen, QStringList({asker, asker}));
    }

    // The date picker's other keys: a separator ends a part, Up and Down
    // step the part selected, Backspace empties it, Shift+Tab comes back to
    // the year. A text that is no date shows red, but for a day whose month
    // is still to come.
    void datePickerKeys_data() {
        QTest::addColumn<QString>("road");  // from the box before the picker, over 30/11/2026
        QTest::addColumn<bool>("red");
        QTest::addColumn<QString>("shown");
        QTest::newRow("separators") << "Tab|5/3/2027" << false << "05/03/2027";
        QTest::newRow("Up on the year") << "Tab|End|Up" << false << "30/11/2027";
        QTest::newRow("Backspace, a digit") << "Tab|Backspace|4" << false << "04/11/2026";
        QTest::newRow("Shift+Tab to the year") << "Tab|Tab|Shift+Tab|2027" << false << "30/11/2027";
        QTest::newRow("31, its month to come") << "Tab|31" << false << "31/11/2026";
        QTest::newRow("31, the picker left") << "Tab|31|Tab" << true << "31/11/2026";
        QTest::newRow("Up past the month's end") << "Tab|Up" << true << "31/11/2026";
        QTest::newRow("a year of two digits") << "Tab|Home|3011|26|Tab" << true << "30/11/26";
    }
    void datePickerKeys() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit(&window);
        auto* picker = new ui::DatePicker(&window, "DTPicker1");
        layout->addWidget(before);
        layout->addWidget(picker);
        layout->addWidget(new QLineEdit(&window));
        picker->setDate(QDate(2026, 11, 30));
        window.show();
        QVERIFY(testing::activate(&window));
        before->setFocus();
        QFETCH(QString, road);
        keys(road);
        QFETCH(QString, shown);
        QCOMPARE(picker->text(), shown);
        QCOMPARE(picker->date(), QDate::fromString(shown, "dd/MM/yyyy"));
        QTEST(picker->palette().color(QPalette::Text) == Qt::red, "red");
    }

    // A box with a length limit keeps the first characters of a pasted or
    // dropped text that fit, once the selection it replaces is gone, as the
    // platform's text box does; a digit box keeps the digits of it, as typing
    // would, and of those the first that fit. A text the program set stays.
    void pastedTextKeepsWhatFits_data() {
        QTest::addColumn<int>("limit");  // characters; digits when negative
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("selected");  // from, with the length; none: the cursor at the end
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("held");
        const char* name46 = "Nasi Goreng Kampung Spesial Telur Ceplok Pedas";
        const char* loaded = "Nasi Goreng Spesial Pakai Telur Ceplok Dua";
        const struct {
            const char* row;
            int limit;
            const char* shown;
            int selected, length;
            const char *road, *pasted, *held;
        } rows[] = {
            {"name, empty", 27, "", -1, 0, "Ctrl+V", name46, "Nasi Goreng Kampung Spesial"},
            {"name, after text", 27, "Es ", -1, 0, "Shift+Insert", name46,
             "Es Nasi Goreng Kampung Spes"},
            {"name, over a selection", 27, "Nasi Goreng Spesial", 5, 6, "Ctrl+V",
             "Bakar Kampung Pedas", "Nasi Bakar Kampung  Spesial"},
            {"name, no half emoji", 27, "", -1, 0, "Ctrl+V", "Mie Ayam Jamur Pangsit Dua🍜🍜",
             "Mie Ayam Jamur Pangsit Dua"},
            {"name loaded longer than the limit", 27, loaded, 32, 6, "Ctrl+V", "Dadar Gulung",
             "Nasi Goreng Spesial Pakai Telur Dadar  Dua"},
            {"name, dropped", 27, "Es ", -1, 0, "drop", name46, "Es Nasi Goreng Kampung Spes"},
            {"digits, signs and dots", -9, "", -1, 0, "Ctrl+V", "Rp 12.500,-", "12500"},
            {"digits, too many", -9, "", -1, 0, "Ctrl+V", "1234567890123", "123456789"},
            {"digits, other scripts", -9, "", -1, 0, "Shift+Insert", "-١٢٣ 45", "45"},
            {"digits, over a selection", -9, "1.250.000", 2, 3, "Ctrl+V", "9876543", "1.98765.000"},
            {"digits, none over a selection", -9, "1.250.000", 2, 3, "Ctrl+V", "Rp -,-",
             "1.250.000"},
            {"digits, dropped", -9, "12", -1, 0, "drop", "3x4y5678901", "123456789"},
        };
        for (const auto& r : rows) {
            QTest::newRow(r.row) << r.limit << r.shown << r.selected << r.length << r.road
                                 << r.pasted << r.held;
        }
    }
    void pastedTextKeepsWhatFits() {
        QFETCH(int, limit);
        QFETCH(QString, shown);
        QFETCH(int, selected);
        QFETCH(int, length);
        QFETCH(QString, road);
        QFETCH(QString, pasted);
        QWidget window;
        QLineEdit* box = ui::lineBox(&window, "Text1", {100, 100, 4335, 315});
        if (limit > 0) {
            ui::typingLimit(box, limit);
        } else {
            ui::digitsOnly(box, {}, -limit);
        }
        window.show();
        QVERIFY(testing::activate(&window));
        box->setFocus();
        box->setText(shown);
        if (selected >= 0) {
            box->setSelection(selected, length);
        }
        QMimeData text;
        text.setText(pasted);
        if (road == "drop") {
            const QPoint end(box->width() - 4, box->height() / 2);
            QDragEnterEvent enter(end, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(end, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &drop);
        } else {
            QApplication::clipboard()->setText(pasted);
            QTest::keySequence(box, QKeySequence(road));
        }
        QTEST(box->text(), "held");
    }
    // The right-click menu of a one-line box and of a description box speaks
    // Indonesian; Esc closes the menu alone.
    void textBoxMenuInIndonesian_data() {
        QTest::addColumn<bool>("memo");
        QTest::newRow("one-line box") << false;
        QTest::newRow("description box") << true;
    }
    void textBoxMenuInIndonesian() {
        QFETCH(bool, memo);
        QWidget window;
        QWidget* box =
            memo ? static_cast<QWidget*>(ui::memoBox(&window, "Text2", {100, 100, 4335, 915}))
                 : ui::lineBox(&window, "Text1", {100, 100, 4335, 315});
        window.show();
        QVERIFY(testing::activate(&window));
        box->setFocus();
        QStringList texts;
        testing::readNextMenu(texts);
        QWidget* target = memo ? static_cast<QPlainTextEdit*>(box)->viewport() : box;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &event);
        QTRY_VERIFY(!texts.isEmpty());
        QCOMPARE(texts, QStringList({"Batalkan", "Ulangi", "Potong", "Salin", "Tempel", "Hapus",
                                     "Pilih Semua"}));
        QVERIFY(window.isVisible());
    }
};

DAPRA_TEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"
