#pragma once

// A small fixed sales data set the report tests share.
#include "support/testsupport.h"

namespace rtest {

// An order of the given waiter and total; paid when a receipt is given.
struct Sale {
    qint64 order;
    qint64 waiter;
    qint64 total;
    QString nota;  // empty: unpaid
    QString date;  // payment date as stored
    QString time;
    qint64 cashier;
    qint64 paid;
};

inline void addSale(const testing::TestInstall& install, const Sale& s) {
    install.exec(
        "INSERT INTO pesan (id_order, no_order, tgl_order, jam_order, id_meja, id_pelayan,"
        " total_harga, status) VALUES (?, ?, '2024-04-01', '09:00:00', 1, ?, ?, ?)",
        {s.order, QStringLiteral("RO-0104202410%1").arg(s.order), s.waiter, s.total,
         s.nota.isEmpty() ? "Belum Bayar" : "Sudah Bayar"});
    if (!s.nota.isEmpty()) {
        install.exec(
            "INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user, total_bayar,"
            " kembali) VALUES (?, ?, ?, ?, ?, ?, ?)",
            {s.nota, s.order, s.date, s.time, s.cashier, s.paid, s.paid - s.total});
    }
}

// Cashiers 1 "ani" and 2 "budi" (deleted), waiters 1 "Sari" and 2 "Tono"
// (waiter 3 never existed). Payments, in the order stored:
//   PO-1 01/05/2024 order 25.000 by ani, waiter Sari
//   PO-2 01/05/2024 order 12.000 by the deleted budi, waiter Tono
//   PO-3 03/05/2024 order  8.000 by ani, waiter gone
//   PO-4 30/04/2024 order      0 by ani, waiter Sari
// and order 5 (40.000) is unpaid.
inline void seedSales(const testing::TestInstall& install) {
    install.exec("INSERT INTO pengguna (nm_user, Password) VALUES ('ani', 'x'), ('budi', 'x')");
    install.exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Sari'), ('Tono')");
    install.exec("INSERT INTO meja (nm_meja) VALUES ('1')");
    addSale(install, {1, 1, 25000, "PO-1", "2024-05-01", "10:00:00", 1, 30000});
    addSale(install, {2, 2, 12000, "PO-2", "2024-05-01", "11:30:00", 2, 12000});
    addSale(install, {3, 3, 8000, "PO-3", "2024-05-03", "12:00:00", 1, 10000});
    addSale(install, {4, 1, 0, "PO-4", "2024-04-30", "13:00:00", 1, 0});
    addSale(install, {5, 1, 40000, "", "", "", 0, 0});
    install.exec("DELETE FROM pengguna WHERE id_user = 2");
}

// Categories "Makanan" and "Minuman", units "Porsi" and "Gelas".
inline void seedCategories(const testing::TestInstall& install) {
    install.exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan'), ('Minuman')");
    install.exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi'), ('Gelas')");
}

inline void addMenu(const testing::TestInstall& install, const QString& code, const QString& name,
                    qint64 category, qint64 unit, qint64 price,
                    const QString& description = QStringLiteral("-")) {
    install.exec(
        "INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan, harga_jual)"
        " VALUES (?, ?, ?, ?, ?, ?)",
        {code, name, description, category, unit, price});
}

}  // namespace rtest
