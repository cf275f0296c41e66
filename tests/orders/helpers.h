#pragma once

// What the tests of the order and cashier windows share: a main window,
// master data, recorded message boxes and printouts, and a fixed clock.
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/printer.h"
#include "toolkit/seams.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <memory>

namespace ordtest {

inline const QDateTime kNow(QDate(2024, 3, 7), QTime(10, 11, 12));

// In the list that the next key opens: records its name, caption, focus and
// first column, then Tab into the list when "&Keluar" has the focus, Down as
// often as asked and Enter (or only Esc).
inline void pickWith(int downs, QStringList* seen = nullptr, bool escape = false) {
    testing::whenModal([=](QWidget* w) {
        auto* list = testing::child<QTreeWidget>(w, "ListView1");
        if (seen) {
            *seen << w->objectName() << w->windowTitle() << testing::focusName()
                  << testing::column(list, 0);
        }
        const QString road = QStringLiteral("Down|").repeated(downs) + "Enter";
        testing::keys(escape                                ? QStringLiteral("Esc")
                      : QApplication::focusWidget() == list ? road
                                                            : "Tab|" + road);
    });
}

// Texts parted by "|", as the tests write a table of what users see.
inline QStringList split(const char* texts) {
    return QString::fromUtf8(texts).split(QChar('|'));
}

// A refusal as testing::seen shows it.
inline QString refusal(const QString& text) {
    return QStringLiteral("Perhatian! (!): ") + text;
}

// One test's surroundings: made in init(), dropped in cleanup().
struct WindowFixture {
    WindowFixture() {
        moddapra::UserId = 1;
        install->exec(
            "INSERT INTO meja (nm_meja, Keterangan) VALUES ('Meja 1', 'luar'), ('Meja 2', '')");
        install->exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Budi'), ('Sari')");
        install->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
        install->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
        install->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('NG', 'Nasi Goreng', 1, 1, 12500), ('ET', 'Es Teh', 2, 2, 3000),"
            " ('KR', 'Kerupuk', 1, 1, 0), ('PS', 'Pisang', 1, 1, 500), ('AQ', 'Air', 2, 2, 250)");
    }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // An order of 1 March at 08:00 for table and waiter 1.
    void storeOrder(qint64 id, const QString& number, qint64 total,
                    const QString& status = QStringLiteral("Belum Bayar")) const {
        install->exec("INSERT INTO pesan VALUES (?, ?, '2024-03-01', '08:00:00', 1, 1, ?, ?)",
                      {id, number, total, status});
    }
    std::vector<db::Row> rows(const QString& sql) const { return install->connect()->rows(sql); }
    // Keys to the main window, made active again first.
    void keys(const QString& road) const {
        main->back();
        testing::keys(road);
    }
    QString focusName() const {
        main->back();
        return testing::focusName();
    }
    // Opens the window through the access check; its first focus is "Daftar Order".
    void open(shell::FormId id) {
        window = id;
        shell::requestForm(id);
        QTRY_COMPARE(focusName(), QStringLiteral("Command5"));
    }
    ui::Form* form() const { return shell::openForm(window); }
    QString text(const char* name) const { return testing::child<QLineEdit>(form(), name)->text(); }
    QStringList texts(std::initializer_list<const char*> names) const {
        QStringList result;
        for (const char* name : names) {
            result.append(text(name));
        }
        return result;
    }
    QString total() const { return testing::child<QLabel>(form(), "Label10")->text(); }
    QTreeWidget* grid() const { return testing::child<QTreeWidget>(form(), "ListView1"); }
    // The one box since the last check was this refusal, and the focus went on.
    void refused(const QString& message, const QString& focus) {
        QCOMPARE(seen(), QStringList({refusal(message)}));
        QCOMPARE(focusName(), focus);
    }
    // The boxes seen since the last call.
    QStringList seen() {
        const QStringList result = testing::seen(*boxes);
        boxes->clear();
        return result;
    }

    std::unique_ptr<testing::TestInstall> install = std::make_unique<testing::TestInstall>();
    std::unique_ptr<ui::MessageRecorder> boxes = std::make_unique<ui::MessageRecorder>();
    std::unique_ptr<ui::PrintRecorder> printed = std::make_unique<ui::PrintRecorder>();
    std::unique_ptr<ui::FixedClock> clock = std::make_unique<ui::FixedClock>(kNow);
    std::unique_ptr<testing::MainWindow> main = std::make_unique<testing::MainWindow>();
    shell::FormId window = shell::FormId::fOrder;
};

}  // namespace ordtest
