// A seeded random driver over the functions that read what users type or
// files hold: money parsing and formatting, the number rule, the ticket and
// receipt lines, db.txt and the printed report's layout. Each input is checked
// against what must hold for any text; a failed check prints the seed and the
// input number and ends the run with status 1.
//
//   fuzz_inputs [--inputs N] [--seconds S] [--seed X]
#include "db/schema.h"
#include "orders/orderqueries.h"
#include "orders/ticket.h"
#include "reports/printedreports.h"
#include "reports/reportengine.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <limits>
#include <random>

namespace {

// Pieces hostile texts are made of.
const QStringList& pieces() {
    static const QStringList list = {"'",
                                     "\"",
                                     "%",
                                     "_",
                                     "\\",
                                     "--",
                                     ";",
                                     "' OR '1'='1",
                                     "%_%",
                                     "Nasi Goreng Spesial Pedas",
                                     "Es Teh Manis",
                                     "Bakso Sapi Urat",
                                     "مطعم",
                                     "شاي بالنعناع",
                                     "🍜",
                                     "🔥🥤",
                                     "👨‍👩‍👧",
                                     QString(QChar(0)),
                                     "\t",
                                     "\r",
                                     "\n",
                                     "\r\n",
                                     "\x1b[2J",
                                     "\x7f",
                                     QString(QChar(0xD800)),
                                     QString(QChar(0xFEFF)),
                                     "\u200f",
                                     "0",
                                     "00",
                                     "1",
                                     "-",
                                     "-1",
                                     ".",
                                     "1.000",
                                     "999999",
                                     "1000000",
                                     "999999999999",
                                     "1000000000000",
                                     "9223372036854775807",
                                     "-9223372036854775808",
                                     "9223372036854775808",
                                     "99999999999999999999",
                                     "١٢٣",
                                     "１２",
                                     " ",
                                     "  ",
                                     "Rp. 1.000,-",
                                     "RO-",
                                     "PO-",
                                     "01012025",
                                     "31122024"};
    return list;
}

class Inputs {
public:
    explicit Inputs(quint64 seed) : rng_(seed) {}

    int below(int n) { return int(rng_() % quint64(n)); }

    QString text() {
        switch (below(8)) {
            case 0:
                return QString(10000, pieces()[below(int(pieces().size()))].at(0));
            case 1:
                return randomChars(below(40));
            default: {
                QString t;
                for (int i = below(6); i >= 0; --i) {
                    t += pieces()[below(int(pieces().size()))];
                }
                return t;
            }
        }
    }

    QByteArray bytes() {
        QByteArray b;
        const int n = below(5) == 0 ? 10000 + below(50) : below(80);
        for (int i = 0; i < n; ++i) {
            const int kind = below(10);
            b.append(kind == 0   ? '\r'
                     : kind == 1 ? '\n'
                     : kind == 2 ? '\0'
                     : kind == 3 ? char(0x80 + below(128))
                                 : char(0x20 + below(95)));
        }
        return b;
    }

    qint64 amount() {
        static const qint64 edges[] = {0,
                                       1,
                                       -1,
                                       999,
                                       1000,
                                       999999,
                                       999999999999,
                                       1000000000000,
                                       std::numeric_limits<qint64>::max(),
                                       std::numeric_limits<qint64>::min(),
                                       std::numeric_limits<qint64>::min() + 1};
        return below(3) == 0 ? edges[below(std::size(edges))] : qint64(rng_());
    }

private:
    QString randomChars(int n) {
        QString t;
        for (int i = 0; i < n; ++i) {
            const int kind = below(4);
            t += kind == 0   ? QChar(char16_t(below(0x20)))
                 : kind == 1 ? QChar(char16_t(0x20 + below(0x5f)))
                             : QChar(char16_t(below(0x10000)));
        }
        return t;
    }

    std::mt19937_64 rng_;
};

struct Failure {
    QString what;
};

void require(bool holds, const QString& what) {
    if (!holds) {
        throw Failure{what};
    }
}

// Money: any amount shown under a mask reads back the same and is grouped
// by threes; any text reads as some amount without fault.
void checkMoney(Inputs& in) {
    static const QRegularExpression grouped(QStringLiteral("^-?[0-9]{1,3}(\\.[0-9]{3})*$"));
    const qint64 amount = in.amount();
    for (const QString& m : {fmt::kMask9, fmt::kMask12Zero}) {
        const QString shown = fmt::mask(amount, m);
        require(fmt::parseAmount(shown) == amount, "mask round trip " + shown);
        require(shown.isEmpty() || grouped.match(shown).hasMatch(), "grouping " + shown);
    }
    const QString typed = in.text();
    const qint64 read = fmt::parseAmount(typed);
    bool plain = false;
    const qint64 digits = typed.toLongLong(&plain);
    require(!plain || read == digits || typed.startsWith(QChar('+')) || typed.contains(QChar(' ')),
            "plain digits " + typed.left(40));
    fmt::rupiah(read, fmt::kMask12);
}

// A lone surrogate is no character: it is stored as the replacement mark.
// The number rule over a stored number of any shape: always the prefix, the
// day and a positive serial that no row holds, one past the stored one when
// it holds a serial and that number is free.
void checkNumber(Inputs& in, db::Connection& c, const QDate& day) {
    const QString stored = in.below(3) == 0 ? orders::nextNumber(c, orders::kOrderNumber, day)
                                            : in.text().left(in.below(2) ? 40 : 10000);
    c.exec(QStringLiteral("INSERT INTO pesan (no_order, tgl_order, jam_order, id_meja, id_pelayan,"
                          " total_harga, status) VALUES (?, '2025-01-01', '10:00:00', 1, 1, 0,"
                          " 'Belum Bayar')"),
           {stored});
    require(c.scalar(QStringLiteral("SELECT no_order FROM pesan ORDER BY id_order DESC LIMIT 1"))
                    .toString() == QString::fromUtf8(stored.toUtf8()),
            "stored as typed: " + stored.left(60).toUtf8().toHex());
    const QString next = orders::nextNumber(c, orders::kOrderNumber, day);
    const QString head = QStringLiteral("RO-") + day.toString(QStringLiteral("ddMMyyyy"));
    require(next.startsWith(head), "prefix " + next);
    bool ok = false;
    const qint64 serial = next.mid(head.size()).toLongLong(&ok);
    require(ok && serial > 0, "serial " + next);
    require(!orders::numberTaken(c, orders::kOrderNumber, next), "taken " + next);
    if (stored.startsWith(head) && stored.size() > head.size() && stored.size() <= 20) {
        bool digits = false;
        const qint64 before = stored.mid(head.size()).toLongLong(&digits);
        if (digits && !stored.mid(head.size()).startsWith(QChar('+')) &&
            !stored.mid(head.size()).startsWith(QChar('-'))) {
            // One past the stored serial, or past the stored numbers right after it.
            require(serial > before, "one past " + stored + " is " + next);
            for (qint64 s = before + 1; s < serial; ++s) {
                require(orders::numberTaken(c, orders::kOrderNumber, head + QString::number(s)),
                        "free " + head + QString::number(s) + " passed over to " + next);
            }
        }
    }
}

orders::TicketItem item(Inputs& in) {
    return {in.text(), in.text().left(8), in.text(), fmt::mask(in.amount(), fmt::kMask9),
            fmt::mask(in.amount(), fmt::kMask9)};
}

// Ticket and receipt: every line the texts fit in is 30 wide, amounts end
// their lines, and every name is printed whole.
void checkTicket(Inputs& in) {
    std::vector<orders::TicketItem> items(size_t(in.below(4)));
    for (orders::TicketItem& i : items) {
        i = item(in);
    }
    orders::ReceiptSource r{in.text(),   in.text(),   QDate(2024, 12, 31), in.text(),
                            in.text(),   in.text(),   in.text(),           items,
                            in.amount(), in.amount(), in.amount()};
    const orders::TicketContent content =
        in.below(2) ? orders::salesReceipt(r)
                    : orders::orderTicket(in.text(), QDate(2025, 1, 1), in.text(), in.text(),
                                          in.text(), items, in.amount());
    const QStringList lines = orders::ticketLines(content);
    require(lines.size() == qsizetype(6 + content.fields.size() + 3 + 2 * items.size() + 1 +
                                      content.totals.size() + 3),
            "line count");
    qsizetype at = 6 + qsizetype(content.fields.size()) + 3;
    for (const orders::TicketItem& i : items) {
        require(lines[at] == i.name, "name whole");
        const QString amountLine = lines[at + 1];
        require(amountLine.endsWith(" = " + i.amount) && amountLine.size() >= orders::kTicketWidth,
                "amount line");
        at += 2;
    }
    at += 1;
    for (const orders::TicketField& t : content.totals) {
        require(lines[at].startsWith(t.label) && lines[at].endsWith("Rp." + t.value) &&
                    lines[at].size() == std::max<qsizetype>(orders::kTicketWidth,
                                                            t.label.size() + 3 + t.value.size()),
                "total line");
        ++at;
    }
}

// db.txt of any bytes: the path is its last line, never a fault.
void checkDbTxt(Inputs& in, const QString& dbTxt) {
    const QByteArray content = in.bytes();
    QFile file(dbTxt);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(content) == content.size(),
            "write db.txt");
    file.close();
    moddapra::ReadDbPath();
    QString text = QString::fromUtf8(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QStringList lines = text.split(QChar('\n'));
    if (lines.size() > 1 && lines.last().isEmpty()) {
        lines.removeLast();
    }
    require(moddapra::DbPath == lines.last(), "last line of db.txt");
}

// The printed menu list with hostile names lays out and prints every record.
void checkReport(Inputs& in) {
    std::vector<db::Row> records(size_t(1 + in.below(3)));
    for (db::Row& r : records) {
        r = {in.text().left(100), in.text(),           in.text(),
             in.text().left(100), in.text().left(100), in.amount()};
    }
    const std::vector<reports::Page> pages = reports::layOut(
        reports::menuReport(), records, reports::landscapeA4Tw(), QDate(2024, 12, 31));
    qsizetype names = 0;
    for (const reports::Page& p : pages) {
        for (const reports::PageItem& item : p) {
            names += item.name == QStringLiteral("txtnama_menu") ? 1 : 0;
        }
    }
    require(names == qsizetype(records.size()), "every record laid out");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fmt::applyIndonesianLocale();
    qint64 inputs = 20000;
    qint64 seconds = 0;
    quint64 seed = 20250101;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--inputs")) {
            inputs = args[i + 1].toLongLong();
        } else if (args[i] == QStringLiteral("--seconds")) {
            seconds = args[i + 1].toLongLong();
        } else if (args[i] == QStringLiteral("--seed")) {
            seed = args[i + 1].toULongLong();
        }
    }
    QTemporaryDir dir;
    qputenv("DAPRA_HOME", dir.path().toUtf8());
    db::createDatabaseFile(dir.filePath(QStringLiteral("dapra.mdb")));
    db::Connection c(dir.filePath(QStringLiteral("dapra.mdb")));
    c.exec(QStringLiteral("PRAGMA synchronous = OFF"));  // speed only: the file is thrown away
    const QDate days[] = {QDate(2024, 12, 31), QDate(2025, 1, 1), QDate(2024, 2, 29)};
    Inputs in(seed);
    QElapsedTimer clock;
    clock.start();
    qint64 n = 0;
    try {
        for (; seconds > 0 ? clock.elapsed() < seconds * 1000 : n < inputs; ++n) {
            checkMoney(in);
            checkTicket(in);
            checkDbTxt(in, dir.filePath(QStringLiteral("db.txt")));
            if (n % 4 == 0) {
                checkNumber(in, c, days[in.below(3)]);
            }
            if (n % 50 == 0) {
                checkReport(in);
            }
        }
    } catch (const Failure& f) {
        std::fprintf(stderr, "seed %llu, input %lld: %s\n", static_cast<unsigned long long>(seed),
                     static_cast<long long>(n), qPrintable(f.what));
        return 1;
    }
    std::printf("%lld inputs (seed %llu) in %lld ms: 0 faults\n", static_cast<long long>(n),
                static_cast<unsigned long long>(seed), static_cast<long long>(clock.elapsed()));
    return 0;
}
