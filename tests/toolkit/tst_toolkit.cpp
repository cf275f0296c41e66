#include "support/testsupport.h"
#include "toolkit/controls.h"
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
};

DAPRA_TEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"
