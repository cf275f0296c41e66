#include "support/testsupport.h"
#include "toolkit/controls.h"
#include "toolkit/datepicker.h"
#include "toolkit/form.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
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
};

DAPRA_TEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"
