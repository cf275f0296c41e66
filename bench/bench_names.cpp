// What comparing names costs: the sign-in's look-up of a user, a waiter
// name's duplicate check and the menu search by name, each a walk over its
// whole table folding every name. Names are half plain ASCII, half accented
// or in other scripts; the typed name is in other letter case and, for the
// accented one, with its accents as combining marks. Medians of 50 runs on
// one open connection. Run: build/bench/bench_names [rows]
#include "datagen.h"

#include "controlpanel/userqueries.h"
#include "db/database.h"
#include "db/schema.h"
#include "masterdata/masterqueries.h"
#include "shell/shellqueries.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

using datagen::median;

namespace {

constexpr int kRounds = 50;

QString storedName(int i) {
    static const QStringList stems = {QStringLiteral("Pelayan"), QStringLiteral("Élodie Müller"),
                                      QStringLiteral("Budi"),    QStringLiteral("Dễ Thương"),
                                      QStringLiteral("Siti"),    QStringLiteral("شاي")};
    return stems[i % stems.size()] + QStringLiteral(" %1").arg(i);
}

void fill(db::Connection& c, int rows) {
    db::Transaction tx(c);
    for (int i = 0; i < rows; ++i) {
        const QString name = storedName(i);
        c.exec(QStringLiteral("INSERT INTO pengguna (nm_user, Password) VALUES (?, 'x')"), {name});
        c.exec(QStringLiteral("INSERT INTO pelayan (nm_pelayan) VALUES (?)"), {name});
        c.exec(QStringLiteral("INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan)"
                              " VALUES (?, ?, 1, 1)"),
               {QStringLiteral("M%1").arg(i), name});
    }
    tx.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/names.mdb");
    db::createDatabaseFile(path);
    db::Connection c(path);
    fill(c, rows);
    const QString last = storedName(rows - 1).toUpper().normalized(QString::NormalizationForm_D);
    std::printf("%d rows each in pengguna, pelayan and menu; typed: %s (%s)\n", rows,
                qPrintable(last), shell::findUser(c, last) ? "found" : "NOT FOUND");
    const auto report = [](const char* what, double ms) {
        std::printf("%-40s %9.3f ms\n", what, ms);
    };
    report("sign-in: the user of that name", median(kRounds, [&] { shell::findUser(c, last); }));
    report("add-user: is the name taken",
           median(kRounds, [&] { controlpanel::findUserId(c, last); }));
    report("waiter: is the name taken",
           median(kRounds, [&] { masterdata::nameTaken(c, masterdata::kPelayan, last); }));
    report("menu search by name (count and rows)", median(kRounds, [&] {
               masterdata::menuSearchCount(c, masterdata::MenuColumn::Name,
                                           QStringLiteral("lodie"));
               masterdata::menuSearchRows(c, masterdata::MenuColumn::Name, QStringLiteral("lodie"));
           }));
    for (const QString& name : {storedName(0), storedName(1)}) {
        const double ms = median(kRounds, [&] {
            for (int i = 0; i < 10000; ++i) {
                db::foldCase(name);
            }
        });
        std::printf("foldCase(\"%s\") %*.3f us\n", qPrintable(name), int(30 - name.size()),
                    ms / 10000 * 1000);
    }
    return 0;
}
