// Measures what one user action costs the database layer: opening the keyed
// file, a count, a list of a thousand rows, and a transaction of several
// writes. Run: build/bench/bench_unitofwork
#include "db/database.h"
#include "db/schema.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

void measure(const char* what, int rounds, const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        step();
    }
    std::printf("%-44s %8.2f ms\n", what, double(timer.nsecsElapsed()) / 1e6 / rounds);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("DAPRA_HOME", (dir.path() + "/home").toUtf8());
    install::setUpFirstRun();
    {
        db::Connection c(install::defaultDbPath());
        db::Transaction tx(c);
        for (int i = 0; i < 1000; ++i) {
            c.exec(
                "INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
                " harga_jual) VALUES (?, ?, '-', 1, 1, ?)",
                {QString("M%1").arg(i), QString("Menu %1").arg(i), 1000 + i});
        }
        tx.commit();
    }
    measure("open + count + close (one unit of work)", 20, [] {
        moddapra::RunUnit([](db::Connection& c) { c.scalar("SELECT count(*) FROM akses"); });
    });
    measure("open + list 1000 menu rows + close", 20, [] {
        moddapra::RunUnit([](db::Connection& c) { c.rows("SELECT * FROM menu ORDER BY id_menu"); });
    });
    measure("open + transaction of 10 inserts + close", 20, [] {
        moddapra::RunUnit([](db::Connection& c) {
            db::Transaction tx(c);
            for (int i = 0; i < 10; ++i) {
                c.exec("INSERT INTO detail_pesan VALUES (1, ?, 1, 1000)", {i});
            }
            tx.commit();
        });
    });
    return 0;
}
