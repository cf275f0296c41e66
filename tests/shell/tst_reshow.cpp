// Working windows shown again inside the real main window through its
// shortcuts: each comes back with the focus where the user left it (or where
// its activation puts it), and a click or a pick made after that stands. A
// working window restored from maximized stands at its designed size.
#include "app/forms.h"
#include "shell/futama.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"
#include "toolkit/printer.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyleOptionComplex>

using testing::child;

namespace {

// The working window in front.
QWidget* front() {
    QMdiSubWindow* sub = ui::mdiArea()->activeSubWindow();
    if (!sub) {
        testing::failNow(QStringLiteral("no working window is active"));
    }
    return sub->widget();
}

// A road of steps parted by "|": "@Name" clicks that control of the window in
// front with the mouse; any other step is keys (testing::keys). A step ending
// in ">N" opens a list window, in which row N is double-clicked.
void drive(const QString& road) {
    for (QString step : road.split('|')) {
        int row = -1;
        if (const int at = step.indexOf('>'); at > 0) {
            row = step.mid(at + 1).toInt();
            step.truncate(at);
        }
        bool picked = false;
        if (row >= 0) {
            testing::whenModal([row, &picked](QWidget* list) {
                testing::doubleClick(child<QTreeWidget>(list, "ListView1"), row);
                picked = true;
            });
        }
        if (step.startsWith('@')) {
            QTest::mouseClick(child<QWidget>(front(), step.mid(1)), Qt::LeftButton);
        } else {
            testing::keys(step);
        }
        QTRY_VERIFY_WITH_TIMEOUT(picked || row < 0, 6000);
        testing::settle();
    }
}

// What one probe reads: "focus", the number of "windows" in the working area,
// the first column of a list, the text of a box (of the window in front), or
// "sql:" the rows of a query (cells parted by "/", rows by ",").
QString probe(const QString& what, const testing::TestInstall& install) {
    if (what == "focus") {
        return testing::focusName();
    }
    if (what == "windows") {
        return QString::number(ui::mdiArea()->subWindowList().size());
    }
    if (what.startsWith("sql:")) {
        QStringList rows;
        for (const db::Row& row : install.connect()->rows(what.mid(4))) {
            QStringList cells;
            for (const QVariant& cell : row) {
                cells << cell.toString();
            }
            rows << cells.join('/');
        }
        return rows.join(',');
    }
    if (auto* list = front()->findChild<QTreeWidget*>(what)) {
        return testing::column(list, 0).join(',');
    }
    return child<QLineEdit>(front(), what)->text();
}

// Clicks one of the maximized window's buttons at the right end of the menu bar.
void clickWindowButton(QMainWindow* main, QStyle::SubControl button) {
    QWidget* buttons = main->menuBar()->cornerWidget(Qt::TopRightCorner);
    if (!buttons) {
        testing::failNow(QStringLiteral("no window buttons in the menu bar"));
    }
    QStyleOptionComplex option;
    option.initFrom(buttons);
    option.subControls =
        QStyle::SC_MdiMinButton | QStyle::SC_MdiNormalButton | QStyle::SC_MdiCloseButton;
    const QRect at =
        buttons->style()->subControlRect(QStyle::CC_MdiControls, &option, button, buttons);
    QTest::mouseClick(buttons, Qt::LeftButton, {}, at.center());
    testing::settle();
}

// Clicks a button of the title bar of the restored window in front; nothing
// when the window in front is maximized (the state read after it tells).
void clickTitleBar(QStyle::SubControl button) {
    QMdiSubWindow* sub = ui::mdiArea()->activeSubWindow();
    if (!sub || sub->isMaximized()) {
        return;
    }
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = sub->windowFlags();
    option.titleBarState = sub->windowState();
    option.rect.setHeight(sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub));
    const QRect at = sub->style()->subControlRect(QStyle::CC_TitleBar, &option, button, sub);
    // The title bar acts on the button the mouse is over.
    QTest::mouseMove(sub, at.center());
    QTest::mouseClick(sub, Qt::LeftButton, {}, at.center());
    testing::settle();
}

// What the working area shows: how many working windows are open, the one in
// front ("maximized" when it is), any other one maximized, the main window's
// title, "buttons" while the menu bar shows a window's buttons, and with two
// or more windows restored whether each stands below and right of the one
// opened before it.
QString windowsState(const QMainWindow* main) {
    const QList<QMdiSubWindow*> subs = ui::mdiArea()->subWindowList();
    const QMdiSubWindow* front = ui::mdiArea()->activeSubWindow();
    QStringList state = {QString::number(subs.size()) + ": " +
                         (front ? front->windowTitle() : "none") +
                         (front && front->isMaximized() ? " maximized" : "")};
    QList<QPoint> restoredAt;
    for (const QMdiSubWindow* sub : subs) {
        if (!sub->isMaximized()) {
            restoredAt << sub->pos();
        } else if (sub != front) {
            state << sub->windowTitle() + " maximized behind";
        }
    }
    state << main->windowTitle();
    if (const QWidget* buttons = main->menuBar()->cornerWidget(Qt::TopRightCorner);
        buttons && buttons->isVisible()) {
        state << "buttons";
    }
    if (restoredAt.size() > 1) {
        const bool cascaded =
            std::adjacent_find(restoredAt.begin(), restoredAt.end(), [](QPoint a, QPoint b) {
                return b.x() <= a.x() || b.y() <= a.y();
            }) == restoredAt.end();
        state << (cascaded ? "cascaded" : "not cascaded");
    }
    return state.join(" | ");
}

// Where a control shows inside its window; a label's text may reach below it.
QRect shownAt(const QWidget* window, const QString& name) {
    const auto* control = child<QWidget>(window, name);
    const auto* label = qobject_cast<const QLabel*>(control);
    const int height = label ? std::max(label->height(), label->heightForWidth(label->width()))
                             : control->height();
    return {control->mapTo(window, QPoint(0, 0)), QSize(control->width(), height)};
}

// What keeps a window from being fitted: its closing button not wholly inside
// it or hidden, or the texts of two given labels meeting; "" when none.
QString unfitted(const QWidget* window, const QString& closer, const QStringList& apart) {
    if (!child<QWidget>(window, closer)->isVisible() ||
        !window->rect().contains(shownAt(window, closer))) {
        return closer + " out of sight";
    }
    if (!apart.isEmpty() && shownAt(window, apart[0]).intersects(shownAt(window, apart[1]))) {
        return apart.join(" meets ");
    }
    return {};
}

}  // namespace

class ReshowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    std::unique_ptr<ui::PrintRecorder> printed;
    std::unique_ptr<shell::fUtama> main;

private Q_SLOTS:
    void init() {
        install = std::make_unique<testing::TestInstall>();
        printed = std::make_unique<ui::PrintRecorder>();
        QStringList rights;
        for (const shell::FormEntry& entry : app::formTable()) {
            rights << entry.right;
        }
        moddapra::UserId = install->addUser("Ani", rights);
        moddapra::UserName = QStringLiteral("Ani");
        install->exec(
            "INSERT INTO meja (nm_meja, Keterangan) VALUES ('Meja 1', ''), ('Meja 2', '')");
        install->exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Sari')");
        install->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
        install->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
        install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('NG', 'Nasi Goreng', 1, 1, 12500), ('ET', 'Es Teh', 2, 2, 3000)");
        install->exec(
            "INSERT INTO pesan VALUES (1, 'RO-010320241', '2024-03-01', '08:00:00', 1, 1,"
            " 25000, 'Belum Bayar')");
        install->exec("INSERT INTO detail_pesan VALUES (1, 1, 2, 12500)");
        main = std::make_unique<shell::fUtama>();
        main->show();
        QVERIFY(testing::activate(main.get()));
    }

    void cleanup() {
        main.reset();
        printed.reset();
        install.reset();
        testing::settle();
    }

    // Each road moves to another working window and back by the main
    // window's shortcuts (Ctrl+P waiters, Ctrl+N menu items, Ctrl+O orders,
    // Ctrl+B payments), then clicks or picks; the probes read what came of it,
    // and last the titles of the message boxes that showed.
    void clicksAndPicksAfterComingBack_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("probes");
        QTest::addColumn<QString>("expected");
        const QString waiters =
            "sql:SELECT nm_pelayan, Kota, Telepon FROM pelayan WHERE id_pelayan > 1";
        QTest::newRow("waiter: menu items and back, click Telepon")
            << "Ctrl+P|Budi|Ctrl+N|Ctrl+P|@Text5|0812|Enter"
            << "windows|" + waiters << "2|Budi//0812|";
        QTest::newRow("waiter: orders and back, click Kota")
            << "Ctrl+P|Budi|@Text5|0812|Ctrl+O|Ctrl+P|@Text3|Bogor|@Text5|Enter"
            << "windows|" + waiters << "2|Budi/Bogor/0812|";
        QTest::newRow("waiter: the name typed before leaving goes on")
            << "Ctrl+P|Bu|Ctrl+B|Ctrl+P|di|Enter|Enter|Enter|Enter|Enter" << waiters << "Budi//|";
        QTest::newRow("menu item: waiters and back, the window starts afresh in Kode Menu")
            << "Ctrl+N|@Text5|123|Ctrl+P|Ctrl+N|77"
            << "windows|Text1|Text5|focus"
            << "2|77||Text1|";
        QTest::newRow("menu item: a category picked after coming back")
            << "Ctrl+N|Ctrl+P|Ctrl+N|@Command4>0|Space>1"
            << "Text3|Text4|focus"
            << "Makanan|Gelas|Text5|";
        QTest::newRow("order: payments and back, menu item picked by mouse")
            << "Ctrl+O|Ctrl+B|Ctrl+O|@Command2>1|@Command8>0|2|Enter"
            << "windows|Text3|ListView1|focus"
            << "2|Meja 2|NG|Command8|";
        QTest::newRow("order: the payment window closed, the quantity goes on")
            << "Ctrl+O|@Command8>1|Ctrl+B|Esc|3|Enter"
            << "windows|ListView1|focus"
            << "1|ET|Command8|";
        QTest::newRow("payment: orders and back, an order picked by mouse")
            << "Ctrl+B|Ctrl+O|Ctrl+B|@Command5>0|40000|Enter"
            << "windows|sql:SELECT id_order, total_bayar FROM bayar|Text7|focus"
            << "2|1/40000|0|Command5|Konfirmasi";
        QTest::newRow("payment: the amount typed before leaving goes on")
            << "Ctrl+B|Space>0|20|Ctrl+O|Ctrl+B|000"
            << "windows|Text7|focus"
            << "2|20000|Text7|";
    }
    void clicksAndPicksAfterComingBack() {
        QFETCH(QString, road);
        QFETCH(QString, probes);
        QFETCH(QString, expected);
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);
        drive(road);
        QStringList read;
        for (const QString& what : probes.split('|')) {
            read << probe(what, *install);
        }
        QStringList titles;
        for (const ui::MessageRecord& box : boxes.boxes()) {
            titles << box.title;
        }
        read << titles.join(',');
        QCOMPARE(read.join('|'), expected);
    }

    // At most one working window is maximized, the one in front: restored,
    // no window is; brought forward while the one in front is maximized, a
    // window shows maximized and the other restored behind it. Restored
    // windows stand cascaded in the order they opened. The menu bar's close
    // button closes the window in front. Steps: shortcuts, "restore" and
    // "close" (the menu bar's buttons), "maximize" (the title bar's button).
    void oneMaximizedWindow_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QStringList>("states");
        QTest::newRow("two")
            << "Ctrl+P|Ctrl+N|restore|Ctrl+P|maximize|Ctrl+N|close|close"
            << QStringList{"1: Data Pelayan maximized | Mirawe Dapra - [Data Pelayan] | buttons",
                           "2: Data Menu maximized | Mirawe Dapra - [Data Menu] | buttons",
                           "2: Data Menu | Mirawe Dapra | cascaded",
                           "2: Data Pelayan | Mirawe Dapra | cascaded",
                           "2: Data Pelayan maximized | Mirawe Dapra - [Data Pelayan] | buttons",
                           "2: Data Menu maximized | Mirawe Dapra - [Data Menu] | buttons",
                           "1: Data Pelayan maximized | Mirawe Dapra - [Data Pelayan] | buttons",
                           "0: none | Mirawe Dapra"};
        QTest::newRow("three")
            << "Ctrl+P|Ctrl+N|Ctrl+O|restore|Ctrl+P|Ctrl+N|maximize|Ctrl+O|close|close|close"
            << QStringList{
                   "1: Data Pelayan maximized | Mirawe Dapra - [Data Pelayan] | buttons",
                   "2: Data Menu maximized | Mirawe Dapra - [Data Menu] | buttons",
                   "3: Data Order maximized | Mirawe Dapra - [Data Order] | buttons | cascaded",
                   "3: Data Order | Mirawe Dapra | cascaded",
                   "3: Data Pelayan | Mirawe Dapra | cascaded",
                   "3: Data Menu | Mirawe Dapra | cascaded",
                   "3: Data Menu maximized | Mirawe Dapra - [Data Menu] | buttons | cascaded",
                   "3: Data Order maximized | Mirawe Dapra - [Data Order] | buttons | cascaded",
                   "2: Data Pelayan maximized | Mirawe Dapra - [Data Pelayan] | buttons",
                   "1: Data Menu maximized | Mirawe Dapra - [Data Menu] | buttons",
                   "0: none | Mirawe Dapra"};
    }
    void oneMaximizedWindow() {
        QFETCH(QString, road);
        QFETCH(QStringList, states);
        main->resize(1024, 768);  // room for three cascaded windows
        QStringList seen;
        for (const QString& step : road.split('|')) {
            if (step == "restore" || step == "close") {
                clickWindowButton(main.get(), step == "restore" ? QStyle::SC_MdiNormalButton
                                                                : QStyle::SC_MdiCloseButton);
            } else if (step == "maximize") {
                clickTitleBar(QStyle::SC_TitleBarMaxButton);
            } else {
                drive(step);
            }
            seen << windowsState(main.get());
        }
        QCOMPARE(seen, states);
    }

    // The system menu of a working window, opened from the icon at the left
    // of the menu bar while the window is maximized or from the icon of its
    // title bar restored, reads in Indonesian; Esc closes the menu alone.
    void systemMenuInIndonesian_data() {
        QTest::addColumn<bool>("restored");
        QTest::newRow("maximized, the menu bar's icon") << false;
        QTest::newRow("restored, the title bar's icon") << true;
    }
    void systemMenuInIndonesian() {
        QFETCH(bool, restored);
        drive("Ctrl+P");
        QStringList texts;
        testing::readNextMenu(texts);
        if (restored) {
            clickWindowButton(main.get(), QStyle::SC_MdiNormalButton);
            clickTitleBar(QStyle::SC_TitleBarSysMenu);
        } else {
            QWidget* icon = main->menuBar()->cornerWidget(Qt::TopLeftCorner);
            QVERIFY(icon && icon->isVisible());
            QTest::mouseClick(icon, Qt::LeftButton);
        }
        QTRY_VERIFY(!texts.isEmpty());
        QTRY_VERIFY(!QApplication::activePopupWidget());
        texts << probe("windows", *install);
        QCOMPARE(texts, QStringList({"Pulihkan", "Pindahkan", "Ukuran", "Minimalkan", "Maksimalkan",
                                     "Selalu di Atas", "Tutup", "1"}));
    }

    // Each working window, restored by the middle button at the right end of
    // the menu bar, stands at the workspace's top left at its designed client
    // size (twips, 15 to the pixel), fitted, the focus kept; maximized and
    // restored again it stands where it was moved to; its closing button
    // closes it. The labels named never meet.
    void restoredAtDesignedSize_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QSize>("designTw");
        QTest::addColumn<QString>("closer");
        QTest::addColumn<QStringList>("apart");
        const QStringList none;
        QTest::newRow("waiter") << "Ctrl+P" << QSize(8370, 5295) << "Command2" << none;
        QTest::newRow("menu item, the two hints")
            << "Ctrl+N" << QSize(10470, 6525) << "Command2" << QStringList{"Label9", "Label10"};
        QTest::newRow("order") << "Ctrl+O" << QSize(11385, 6915) << "Command4" << none;
        QTest::newRow("cash desk") << "Ctrl+B" << QSize(11385, 6900) << "Command4" << none;
        QTest::newRow("sales per period") << "Alt+L|p" << QSize(10815, 6420) << "Command2" << none;
        QTest::newRow("daily sales") << "Alt+L|h" << QSize(11940, 6390) << "Command2" << none;
        QTest::newRow("favourite items") << "Alt+L|m" << QSize(11940, 6390) << "Command2" << none;
        QTest::newRow("menu list") << "Alt+L|d" << QSize(10665, 5130) << "Command1" << none;
    }
    void restoredAtDesignedSize() {
        QFETCH(QString, road);
        QFETCH(QSize, designTw);
        QFETCH(QString, closer);
        QFETCH(QStringList, apart);
        drive(road);
        QWidget* window = front();
        auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        const QString focus = testing::focusName();
        QCOMPARE(unfitted(window, closer, apart), QString());

        clickWindowButton(main.get(), QStyle::SC_MdiNormalButton);
        QCOMPARE(sub->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(window->size(), designTw / 15);
        QCOMPARE(unfitted(window, closer, apart), QString());
        QCOMPARE(testing::focusName(), focus);

        sub->move(40, 30);
        sub->showMaximized();
        QCOMPARE(testing::focusName(), focus);
        clickWindowButton(main.get(), QStyle::SC_MdiNormalButton);
        QCOMPARE(QRect(sub->pos(), window->size()), QRect(QPoint(40, 30), designTw / 15));
        QTest::mouseClick(child<QWidget>(window, closer), Qt::LeftButton);
        testing::settle();
        QCOMPARE(ui::mdiArea()->subWindowList().size(), 0);
    }
};

DAPRA_TEST_MAIN(ReshowTest)
#include "tst_reshow.moc"
