// Hostile texts typed and pasted into the windows' boxes, and hostile files
// chosen for a restore: each is stored exactly as the box holds it, or
// refused with a message; no other row moves.
#include "../orders/helpers.h"
#include "controlpanel/frestoredb.h"
#include "controlpanel/userqueries.h"
#include "db/schema.h"
#include "masterdata/masterqueries.h"
#include "shell/shellqueries.h"
#include "support/testsupport.h"
#include "toolkit/controls.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QPointer>
#include <QRegularExpression>

using testing::child;
using testing::keys;

namespace {

// The texts every box is fed: quotes, wildcards, other scripts and emoji,
// a very long text, control characters, line breaks, blanks, the stored name
// in capitals; "typed:" ones (ASCII) go in by key presses, the rest are pasted.
QStringList hostileTexts() {
    return QStringLiteral("typed:O'Brien \"x\" 100% a_b|SATU|Spésial شاي 🍜").split('|')
           << QString(10000, QChar('w')) << QStringLiteral("tab\there\x7f") + QChar(0) + "nul"
           << "baris\r\nbaru";
}

// What an amount box is fed besides: digits in other scripts, signs, dots,
// one digit too many.
QStringList amountTexts() {
    return hostileTexts() +
           QStringLiteral("typed:12a3|1.500|...|١٢٣|-5|999999999999|9999999999999").split('|');
}

// Puts the text into the focused box as a user would. Shift+Insert pastes
// too, past any key filter of the box.
void enter(const QString& text, bool shiftInsert = false) {
    if (text.startsWith("typed:")) {
        QTest::keyClicks(QApplication::focusWidget(), text.mid(6));
        return;
    }
    QApplication::clipboard()->setText(text);
    keys("Ctrl+V");
    if (shiftInsert) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ShiftModifier);
    }
}

// Feeds each box in turn, from the focused one on with Tab between them,
// and Tab after the last; adds what they hold.
void feed(const QList<QWidget*>& boxes, const QString& text, QStringList* held) {
    for (QWidget* box : boxes) {
        QCOMPARE(QApplication::focusWidget(), box);
        enter(text);
        *held << ui::boxText(box);
        keys("Tab");
    }
}

// The table holds its first row as it was, and then either the new row and
// no message was shown, or no other row and one message.
void storedOrRefused(const testing::TestInstall& install, const QString& table,
                     const db::Row& first, const db::Row& added,
                     const ui::MessageRecorder& messages) {
    const std::vector<db::Row> rows = install.connect()->rows("SELECT * FROM " + table);
    QCOMPARE(rows.front(), first);
    QCOMPARE(rows.size() + size_t(messages.boxes().size()), size_t(2));
    QCOMPARE(rows.size() == 2 ? rows.back() : added, added);
}

// One data row for each target and each text.
void crossRows(const QStringList& targets, const QStringList& texts = hostileTexts()) {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    for (const QString& target : targets) {
        for (qsizetype i = 0; i < texts.size(); ++i) {
            QTest::addRow("%s %lld", qPrintable(target), i) << target << texts[i];
        }
    }
}

// The amount an amount box holds, which must be what it shows: digits (and
// the grouping dots of an amount), at most twelve, never dots alone read as
// 0. Empty: no amount.
std::optional<qint64> shownAmount(const QString& held, bool* plain) {
    static const QRegularExpression shape(QStringLiteral("^[0-9.]*$"));
    QString digits = held;
    digits.remove(QChar('.'));
    *plain =
        shape.match(held).hasMatch() && digits.size() <= 12 && digits.isEmpty() == held.isEmpty();
    return digits.isEmpty() ? std::nullopt : std::optional<qint64>(digits.toLongLong());
}

// How often the look-up finds the typed name.
qint64 hits(db::Connection& c, const QString& lookUp, const QString& typed) {
    using namespace masterdata;
    const QMap<QString, const MasterTable*> tables = {
        {"meja", &kMeja}, {"kategori", &kKategori}, {"satuan", &kSatuan}, {"pelayan", &kPelayan}};
    if (tables.contains(lookUp)) {
        return nameTaken(c, *tables[lookUp], typed);
    }
    if (lookUp == "sign-in") {
        return shell::findUser(c, typed).has_value();
    }
    if (lookUp == "add-user") {
        return !controlpanel::addUserIfNew(c, typed, "x");
    }
    if (lookUp == "unit by name") {
        return unitIdByName(c, typed).has_value();
    }
    const MenuColumn column = lookUp == "menu code" ? MenuColumn::Code : MenuColumn::Name;
    return menuSearchCount(c, column, typed) + qint64(menuSearchRows(c, column, typed).size());
}

}  // namespace

class HostileWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { testing::settle(); }

    // The small master windows' name and description box (one class for the
    // three), and the waiter window's five boxes.
    void masterBoxes_data() { crossRows({"kategori", "pelayan"}); }
    void masterBoxes() {
        QFETCH(QString, target);
        QFETCH(QString, text);
        const QString& table = target;
        const shell::FormId form =
            QMap<QString, shell::FormId>{{"meja", shell::FormId::fMeja},
                                         {"kategori", shell::FormId::fKategori},
                                         {"satuan", shell::FormId::fSatuan},
                                         {"pelayan", shell::FormId::fPelayan}}[table];
        testing::TestInstall install;
        testing::MainWindow main;
        ui::MessageRecorder messages;
        moddapra::UserId = 1;
        install.exec("INSERT INTO akses VALUES (1, 'Data ' || ?)",
                     {table.at(0).toUpper() + table.mid(1)});
        const db::Row first =
            table == "pelayan" ? db::Row{1, "Satu", "a", "b", "c", "d"} : db::Row{1, "Satu", "ada"};
        install.exec(
            "INSERT INTO " + table + " VALUES (?" + QString(",?").repeated(first.size() - 1) + ")",
            first);
        QStringList held;
        const auto fill = [&](QWidget* w) {
            QList<QWidget*> boxes;
            for (int i = 1; i < first.size(); ++i) {
                boxes << child<QWidget>(w, QStringLiteral("Text%1").arg(i));
            }
            boxes.front()->setFocus();
            feed(boxes, text, &held);
            keys("Alt+S|Esc");
        };
        if (table == "pelayan") {  // a working window, not a modal one
            shell::requestForm(form);
            fill(shell::openForm(form));
        } else {
            testing::whenModal(fill);
            shell::requestForm(form);
        }
        storedOrRefused(install, table, first, db::Row{2} + db::Row(held.begin(), held.end()),
                        messages);
    }

    // The cashier's amount: of a pasted text only the digits go in, never
    // more than twelve, and nothing else is read as 0; the payment stores
    // the amount shown or is refused.
    void cashierAmount_data() { crossRows({"kasir"}, amountTexts()); }
    void cashierAmount() {
        QFETCH(QString, text);
        ordtest::WindowFixture f;
        f.install->exec("INSERT INTO akses VALUES (1, 'Kasir')");
        f.storeOrder(1, "RO-010320241", 1000);
        f.install->exec("INSERT INTO detail_pesan VALUES (1, 4, 2, 500)");
        f.open(shell::FormId::fKasir);
        ordtest::pickWith(0);
        f.keys("Enter");
        QCOMPARE(f.focusName(), QStringLiteral("Text7"));
        enter(text, true);
        bool plain = false;
        const std::optional<qint64> paid = shownAmount(f.text("Text7"), &plain);
        QVERIFY(plain && paid);
        f.boxes->answer(ui::Answer::Yes);
        f.keys("Enter");
        // One message: the refusal, or the question before the payment.
        const std::vector<db::Row> payments = f.rows("SELECT total_bayar, kembali FROM bayar");
        QCOMPARE(f.seen().size(), 1);
        QCOMPARE(f.rows("SELECT status FROM pesan").front(),
                 db::Row({payments.empty() ? "Belum Bayar" : "Sudah Bayar"}));
        QVERIFY(payments.empty() || payments == std::vector<db::Row>({{*paid, *paid - 1000}}));
    }

    // A backup chosen for a restore under a name with quotes, percent,
    // underscore and other scripts is restored (refused files: the database
    // file tests).
    void restoreFromHostileName() {
        testing::TestInstall install;
        const QString path = install.folder() + "/it's \"x\" 100%_ شاي 🍜.mdb";
        db::createDatabaseFile(path);
        db::Connection(path).exec("INSERT INTO meja (nm_meja) VALUES ('Pulih')");
        ui::MessageRecorder messages;
        ui::FileDialogScript files;
        files.answer(path);
        moddapra::ReadDbPath();
        QPointer<ui::Form> dialog = new controlpanel::fRestoreDB;
        dialog->show();
        QVERIFY(testing::activate(dialog));
        keys("Space|Tab|Space");  // browse, then "Restore ke..."
        QCOMPARE(testing::seen(messages),
                 QStringList{"Informasi (i): Restore Database Berhasil..."});
        QCOMPARE(install.connect()->scalar("SELECT group_concat(nm_meja) FROM meja"), "Pulih");
        delete dialog;
    }

    void namesInAnyCase_data() {
        QTest::addColumn<QString>("lookUp");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("same");
        const struct {
            const char *lookUp, *stored, *typed;
            bool same;
        } rows[] = {
            {"sign-in", "Ümit", "ümit", true},
            {"sign-in", "Ümit", "Umit", false},
            {"add-user", "ümit", "ÜMIT", true},
            {"kategori", "Straße", "STRASSE", true},
            {"satuan", "Σίσυφος", "ΣΊΣΥΦΟΣ", true},
            {"unit by name", "Ölçü", "ÖLÇÜ", true},
            {"menu name", "Ésteh Jeruk", "É_T%K", true},
            {"menu code", "ÉS-01", "és-0", true},
            {"menu code", "ÉS-01", "ES", false},
            // Accents as one character or as a letter with combining marks.
            {"sign-in", "Ad\u00e9la\u00efde", "ADE\u0301LAI\u0308DE", true},
            {"sign-in", "Ad\u00e9la\u00efde", "Adelaide", false},
            {"add-user", "Rene\u0301", "REN\u00c9", true},
            {"add-user", "Rene", "Rene\u0301", false},
            {"meja", "Teras Caf\u00e9", "teras cafe\u0301", true},
            {"pelayan", "Nguye\u0302\u0303n", "NGUY\u1ec4N", true},
            {"kategori", "Cr\u00eape", "CRE\u0302PE", true},
            {"satuan", "Pi\u00e8ce", "pie\u0300ce", true},
            {"menu name", "Cre\u0300me Bru\u0302le\u0301e", "cr\u00c8me br\u00db", true},
        };
        for (const auto& r : rows) {
            QTest::addRow("%s %s", r.lookUp, r.typed) << r.lookUp << r.stored << r.typed << r.same;
        }
    }
    // Names that differ only in letter case, in any script, or in how their
    // accents are encoded are one name wherever names are compared; other
    // letters stay apart. The menu search counts and lists (two hits), its
    // wildcards acting still.
    void namesInAnyCase() {
        QFETCH(QString, lookUp);
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, same);
        testing::TestInstall install;
        install.addUser(stored);
        for (const QString& table : QStringList{"meja", "kategori", "satuan", "pelayan"}) {
            install.exec("INSERT INTO " + table + " (nm_" + table + ") VALUES (?)", {stored});
        }
        install.exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan)"
            " VALUES (?, ?, 1, 1)",
            {stored, stored});
        QCOMPARE(hits(*install.connect(), lookUp, typed),
                 same ? (lookUp.startsWith("menu") ? 2 : 1) : 0);
        const QString lastUser = install.connect()
                                     ->scalar("SELECT nm_user FROM pengguna ORDER BY id_user DESC")
                                     .toString();
        QCOMPARE(lastUser, lookUp == "add-user" && !same ? typed : stored);  // stored as typed
    }

    // A quantity and price whose line or order total would pass the 12
    // digits the cash desk takes is refused; the grid and total stay as they were.
    void orderTotalBeyondItsDigits() {
        ordtest::WindowFixture f;
        f.install->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order')");
        f.install->exec("UPDATE menu SET harga_jual = 999999999 WHERE id_menu <= 2");
        f.open(shell::FormId::fOrder);
        const auto pickAndType = [&](int row, const QString& qty) {
            ordtest::pickWith(row);
            child<QAbstractButton>(f.form(), "Command8")->setFocus();
            f.keys("Space");
            f.keys(qty + "|Enter");
        };
        const QStringList tooLarge{
            ordtest::refusal("Total Harga terlalu besar! Total Harga satu Order paling banyak "
                             "Rp. 999.999.999.999,-")};
        pickAndType(0, "999");
        QCOMPARE(f.total(), QStringLiteral("Rp. 998.999.999.001,-"));
        pickAndType(1, "1001");
        QCOMPARE(f.seen(), tooLarge);
        QCOMPARE(f.grid()->topLevelItemCount(), 1);
        QCOMPARE(f.total(), QStringLiteral("Rp. 998.999.999.001,-"));
        f.keys("Ctrl+A|999999|Enter");
        QCOMPARE(f.seen(), tooLarge);
        f.keys("Ctrl+A|1|Enter");
        QCOMPARE(f.total(), QStringLiteral("Rp. 999.999.999.000,-"));
        QVERIFY(f.boxes->empty());
    }
};

DAPRA_TEST_MAIN(HostileWindowsTest)
#include "tst_hostilewindows.moc"
