#pragma once

// A small fixed sales data set the report tests share.
#include "support/testsupport.h"

namespace rtest {

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
    install.exec(
        "INSERT INTO pesan (id_order, no_order, tgl_order, jam_order, id_meja, id_pelayan,"
        " total_harga, status) VALUES"
        " (1, 'RO-01042024101', '2024-04-01', '09:00:00', 1, 1, 25000, 'Sudah Bayar'),"
        " (2, 'RO-01042024102', '2024-04-01', '09:00:00', 1, 2, 12000, 'Sudah Bayar'),"
        " (3, 'RO-01042024103', '2024-04-01', '09:00:00', 1, 3, 8000, 'Sudah Bayar'),"
        " (4, 'RO-01042024104', '2024-04-01', '09:00:00', 1, 1, 0, 'Sudah Bayar'),"
        " (5, 'RO-01042024105', '2024-04-01', '09:00:00', 1, 1, 40000, 'Belum Bayar')");
    install.exec(
        "INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user, total_bayar,"
        " kembali) VALUES ('PO-1', 1, '2024-05-01', '10:00:00', 1, 30000, 5000),"
        " ('PO-2', 2, '2024-05-01', '11:30:00', 2, 12000, 0),"
        " ('PO-3', 3, '2024-05-03', '12:00:00', 1, 10000, 2000),"
        " ('PO-4', 4, '2024-04-30', '13:00:00', 1, 0, 0)");
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
