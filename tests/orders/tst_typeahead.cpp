// Keys typed faster than a picker, a list or a message box opens: they are
// queued for the window beneath before the window opens, and must reach the
// new window in the order typed, never the window beneath.
#include "helpers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

using shell::FormId;
using testing::child;

namespace {

// Queues the keys for the platform window, as a window system does for the
// window that holds the focus; nothing runs until the event loop does.
void typeAhead(QWindow* window, const QString& road) {
    static const QMap<QString, Qt::Key> named = {
        {"Space", Qt::Key_Space}, {"Esc", Qt::Key_Escape}, {"Enter", Qt::Key_Return},
        {"Down", Qt::Key_Down},   {"End", Qt::Key_End},    {"Tab", Qt::Key_Tab},
        {"Ctrl+O", Qt::Key_O},    {"Ctrl+B", Qt::Key_B},   {"Alt+S", Qt::Key_S}};
    for (const QString& step : road.split('|')) {
        const Qt::KeyboardModifiers mods = step.startsWith("Alt+")    ? Qt::AltModifier
                                           : step.startsWith("Ctrl+") ? Qt::ControlModifier
                                                                      : Qt::NoModifier;
        const bool isNamed = named.contains(step);
        const QStringList typed =
            isNamed ? QStringList{QString()} : step.split("", Qt::SkipEmptyParts);
        for (const QString& text : typed) {
            const int key =
                isNamed ? int(named.value(step)) : int(text.front().toUpper().unicode());
            const QString shown = step == "Space" ? " " : text;
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QCoreApplication::postEvent(window, new QKeyEvent(type, key, mods, shown));
            }
        }
    }
}

}  // namespace

class TypeAheadTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        f_ = std::make_unique<ordtest::WindowFixture>();
        f_->install->exec(
            "INSERT INTO akses VALUES (1, 'Pesanan/Order'), (1, 'Kasir'), (1, 'Data Menu')");
        f_->install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual) VALUES"
            " ('NK', 'Nasi Kuning Komplit Dengan Ayam Goreng Pakai Telur Dadar Dan Kerupuk',"
            " 1, 1, 20000)");
        f_->storeOrder(1, "RO-010320241", 25000);
        f_->install->exec("INSERT INTO detail_pesan VALUES (1, 1, 2, 12500)");
    }
    void cleanup() { f_.reset(); }

    // Each road is queued at once on the button with the focus; the window
    // beneath stays open with its lines, and no window is left open.
    void keysQueuedBeforeAWindowOpens_data() {
        QTest::addColumn<FormId>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("realBoxes");
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("after");  // "box: text" of one box, or grid rows
        const FormId order = FormId::fOrder;
        QTest::newRow("menu picker, Esc") << order << "Command8" << false << "Space|Esc"
                                          << "1";
        QTest::newRow("menu picker, Alt+S") << order << "Command8" << false << "Space|Alt+S|Esc"
                                            << "1";
        QTest::newRow("menu picker, a whole line")
            << order << "Command8" << false << "Space|Down|Enter|2|Enter"
            << "2";
        QTest::newRow("long name shows its start")
            << order << "Command8" << false << "Space|End|Enter"
            << "Text6: Nasi Kuning";
        QTest::newRow("table picker") << order << "Command2" << false << "Space|Esc"
                                      << "1";
        QTest::newRow("waiter picker") << order << "Command13" << false << "Space|Alt+S|Esc"
                                       << "1";
        QTest::newRow("waiter picked") << order << "Command13" << false << "Space|Tab|Enter"
                                       << "Text4: Budi";
        QTest::newRow("order list") << order << "Command5" << false << "Space|Enter"
                                    << "Text1: RO-010320241";
        QTest::newRow("refusal box") << order << "Command1" << true << "Space|Esc"
                                     << "1";
        QTest::newRow("cashier's order list")
            << FormId::fKasir << "Command5" << false << "Space|Enter|3|0|0|0|0"
            << "Text7: 30000";
        QTest::newRow("category picker")
            << FormId::fMenu << "Command4" << false << "Space|Esc|Space|Enter"
            << "Text4: Porsi";
        QTest::newRow("empty menu item, refusal") << FormId::fMenu << "Text1" << true << "Alt+S|Esc"
                                                  << "Text1: ";
    }
    void keysQueuedBeforeAWindowOpens() {
        QFETCH(FormId, window);
        QFETCH(QString, button);
        QFETCH(bool, realBoxes);
        QFETCH(QString, road);
        QFETCH(QString, after);
        moddapra::UserName = QStringLiteral("Ani");
        if (window == FormId::fMenu) {
            shell::requestForm(window);
            QTRY_VERIFY(shell::openForm(window) && shell::openForm(window)->isVisible());
        } else {
            f_->open(window);
        }
        ui::Form* form = shell::openForm(window);
        if (window == FormId::fOrder) {
            ordtest::pickWith(0);
            child<QWidget>(form, "Command8")->setFocus();
            f_->keys("Space");
            f_->keys("2|Enter");
            QCOMPARE(f_->grid()->topLevelItemCount(), 1);
        }
        if (realBoxes) {
            f_->boxes.reset();
        }
        f_->main->back();
        child<QWidget>(form, button)->setFocus();
        // A window the keys left open is closed, so that the test ends.
        bool leftOpen = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&leftOpen] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                leftOpen = true;
                modal->close();
            }
        });
        closer.start(2000);
        typeAhead(f_->main->get()->windowHandle(), road);
        testing::settle();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(!leftOpen);
        QCOMPARE(shell::openForm(window), form);
        if (f_->boxes) {
            QCOMPARE(f_->seen().join("/"), QString());
        }
        if (after.contains(':')) {
            auto* box = child<QLineEdit>(form, after.section(':', 0, 0));
            QVERIFY2(box->text().startsWith(after.section(": ", 1)), qPrintable(box->text()));
            QVERIFY(box->hasFocus() || box->cursorPosition() == 0);
        } else {
            QCOMPARE(f_->grid()->topLevelItemCount(), after.toInt());
        }
    }

private:
    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(TypeAheadTest)
#include "tst_typeahead.moc"
