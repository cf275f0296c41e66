// Prepares the install folder for the end-to-end run and reads back what the
// run stored, through the program's own database layer.
//   e2e_tool seed   first start, a user "kasir" (password "rahasia") holding
//                   every right, and the master data
//   e2e_tool seed order   the same and an unpaid order of today: Meja 1,
//                   Budi, 2 x Nasi Goreng and 3 x Es Teh (34000)
//   e2e_tool check  one line per stored order: number, table, waiter, total,
//                   status and its lines; then one line per payment
#include "app/forms.h"
#include "orders/orderqueries.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "toolkit/format.h"

#include <QApplication>
#include <QDateTime>
#include <QTextStream>

namespace {

void seed(db::Connection& c) {
    c.exec("INSERT INTO pengguna (nm_user, Password) VALUES ('kasir', ?)",
           {password::hash(QStringLiteral("rahasia"))});
    for (const shell::FormEntry& entry : app::formTable()) {
        c.exec("INSERT INTO akses VALUES (1, ?)", {entry.right});
    }
    c.exec("INSERT INTO meja (nm_meja, Keterangan) VALUES ('Meja 1', ''), ('Meja 2', '')");
    c.exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Budi'), ('Sari')");
    c.exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
    c.exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
    c.exec(
        "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual) VALUES"
        " ('NG', 'Nasi Goreng', 1, 1, 12500), ('ET', 'Es Teh', 2, 2, 3000)");
}

void seedOrder(db::Connection& c) {
    orders::OrderToSave order;
    order.date = QDate::currentDate();
    order.number = orders::nextNumber(c, orders::kOrderNumber, order.date);
    order.time = fmt::storeTime(QTime::currentTime());
    order.tableId = 1;
    order.waiterId = 1;
    order.total = 34000;
    order.lines = {{1, "NG", "Nasi Goreng", "Makanan", "Porsi", 2, 12500},
                   {2, "ET", "Es Teh", "Minuman", "Gelas", 3, 3000}};
    orders::insertOrder(c, order);
}

void check(db::Connection& c) {
    QTextStream out(stdout);
    for (const db::Row& order :
         c.rows("SELECT p.id_order, m.nm_meja, l.nm_pelayan, p.total_harga, p.status FROM pesan p"
                " JOIN meja m ON m.id_meja = p.id_meja"
                " JOIN pelayan l ON l.id_pelayan = p.id_pelayan ORDER BY p.id_order")) {
        out << "order " << order[1].toString() << ' ' << order[2].toString() << ' '
            << order[3].toString() << ' ' << order[4].toString();
        for (const db::Row& line : c.rows("SELECT n.kode_menu, d.qty FROM detail_pesan d"
                                          " JOIN menu n ON n.id_menu = d.id_menu"
                                          " WHERE d.id_order = ? ORDER BY n.kode_menu",
                                          {order[0]})) {
            out << ' ' << line[0].toString() << 'x' << line[1].toString();
        }
        out << '\n';
    }
    for (const db::Row& paid : c.rows("SELECT total_bayar FROM bayar ORDER BY id_bayar")) {
        out << "paid " << paid[0].toString() << '\n';
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (what == "seed") {
        install::setUpFirstRun();
    }
    const bool withOrder = argc > 2 && QByteArray(argv[2]) == "order";
    const bool ran = moddapra::RunUnit([&](db::Connection& c) {
        if (what != "seed") {
            check(c);
            return;
        }
        seed(c);
        if (withOrder) {
            seedOrder(c);
        }
    });
    return ran ? 0 : 1;
}
