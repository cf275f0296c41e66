// Hostile texts typed and pasted into the windows' boxes: each is stored
// exactly as the box holds it, or refused with a message; no other row moves.
#include "../orders/helpers.h"
#include "orders/forder.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QPlainTextEdit>

using testing::child;
using testing::keys;

namespace {

// The texts every box is fed; "typed:" ones (ASCII) go in by key presses, the rest
// are pasted.
QStringList hostileTexts() {
    return {"typed:O'Brien \"x\" 100% a_b",
            "typed:Nasi Goreng Spesial Pedas",
            "Nasi Goreng Spésial",
            "%",
            "_",
            "' OR '1'='1",
            "شاي بالنعناع",
            "Mie 🍜🔥 pedas 👨‍👩‍👧",
            QString(10000, QChar('w')),
            QStringLiteral("tab\there\x1b[2J\x7f") + QChar(0) + "nul",
            "baris\r\nbaru\rlagi\n",
            "   ",
            "SATU"};
}

// Puts the text into the focused box as a user would.
void enter(const QString& text) {
    if (text.startsWith("typed:")) {
        QTest::keyClicks(QApplication::focusWidget(), text.mid(6));
    } else {
        QApplication::clipboard()->setText(text);
        keys("Ctrl+V");
    }
}

}  // namespace

class HostileWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { testing::settle(); }

    // The small master windows: the name and the description box.
    void masterBoxes_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("text");
        const QList<std::tuple<shell::FormId, QString, QString>> windows = {
            {shell::FormId::fMeja, "Data Meja", "meja"},
            {shell::FormId::fKategori, "Data Kategori", "kategori"},
            {shell::FormId::fSatuan, "Data Satuan", "satuan"}};
        for (const auto& [form, right, table] : windows) {
            for (const QString& text : hostileTexts()) {
                QTest::addRow("%s %lld", qPrintable(table), hostileTexts().indexOf(text))
                    << int(form) << right << table << text;
            }
        }
    }
    void masterBoxes() {
        QFETCH(int, form);
        QFETCH(QString, right);
        QFETCH(QString, table);
        QFETCH(QString, text);
        testing::TestInstall install;
        ui::MessageRecorder messages;
        moddapra::UserId = 1;
        install.exec("INSERT INTO akses VALUES (1, ?)", {right});
        install.exec("INSERT INTO " + table + " VALUES (1, 'Satu', 'ada')");
        QStringList held;
        testing::whenModal([&](QWidget* w) {
            enter(text);
            keys("Tab");
            enter(text);
            held << child<QLineEdit>(w, "Text1")->text()
                 << child<QPlainTextEdit>(w, "Text2")->toPlainText();
            keys("Alt+S|Esc");
        });
        shell::requestForm(shell::FormId(form));
        const std::vector<db::Row> rows = install.connect()->rows("SELECT * FROM " + table);
        QCOMPARE(rows.front(), db::Row({1, "Satu", "ada"}));
        if (rows.size() == 2) {
            QCOMPARE(rows.back(), db::Row({2, held[0], held[1]}));
            QVERIFY(messages.empty());
        } else {
            QCOMPARE(rows.size(), size_t(1));
            QCOMPARE(messages.boxes().size(), 1);
        }
    }

    // A quantity and price whose line or order total would pass the 15
    // digits the total shows is refused; the grid and total stay as they were.
    void orderTotalBeyondItsDigits() {
        ordtest::WindowFixture f;
        f.install->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order')");
        f.install->exec("UPDATE menu SET harga_jual = 999999999999 WHERE id_menu <= 2");
        f.open(shell::FormId::fOrder);
        const auto pickAndType = [&](int row, const QString& qty) {
            ordtest::pickWith(row);
            child<QAbstractButton>(f.form(), "Command8")->setFocus();
            f.keys("Space");
            f.keys(qty + "|Enter");
        };
        pickAndType(0, "999");
        QCOMPARE(f.total(), QStringLiteral("Rp. 998.999.999.999.001,-"));
        pickAndType(1, "1001");
        QCOMPARE(f.seen(), QStringList{ordtest::refusal("Total Harga terlalu besar!")});
        QCOMPARE(f.grid()->topLevelItemCount(), 1);
        QCOMPARE(f.total(), QStringLiteral("Rp. 998.999.999.999.001,-"));
        f.keys("Ctrl+A|999999|Enter");
        QCOMPARE(f.seen(), QStringList{ordtest::refusal("Total Harga terlalu besar!")});
        f.keys("Ctrl+A|1|Enter");
        QCOMPARE(f.total(), QStringLiteral("Rp. 999.999.999.999.000,-"));
        QVERIFY(f.boxes->empty());
    }
};

DAPRA_TEST_MAIN(HostileWindowsTest)
#include "tst_hostilewindows.moc"
