// The lines of the order ticket and the sales receipt, and their printing.
#include "orders/ticket.h"
#include "support/testsupport.h"
#include "toolkit/printer.h"

using namespace orders;

namespace {

const QString kSeparator(30, QChar('-'));

QString blanks(int count) {
    return QString(count, QChar(' '));
}

TicketContent ticket(std::vector<TicketItem> items, qint64 total) {
    return orderTicket("RO-0703202412", QDate(2024, 3, 7), "10:11:12", "Meja 1", "Budi",
                       std::move(items), total);
}

}  // namespace

class TicketTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A name too long for the line prints whole on its own line.
    void wholeTicket() {
        const QString longName(45, 'N');
        const QStringList lines = ticketLines(ticket({{longName, "2", "Porsi", "12.500", "25.000"},
                                                      {"Es Teh", "3", "Gelas", "3.000", "9.000"}},
                                                     34000));
        QCOMPARE(lines, QStringList({"     Program Kasir Dapra      ",
                                     "        Mirawe Dapra          ",
                                     "          Versi 2.2           ",
                                     kSeparator,
                                     "           Nota Order         ",
                                     kSeparator,
                                     "No. Order : RO-0703202412",
                                     "Tanggal   : 07/03/2024",
                                     "Jam       : 10:11:12",
                                     "No. Meja  : Meja 1",
                                     "Pelayan   : Budi",
                                     kSeparator,
                                     "          Detail Order        ",
                                     kSeparator,
                                     longName,
                                     blanks(5) + "2 Porsi x 12.500 = 25.000",
                                     "Es Teh",
                                     blanks(7) + "3 Gelas x 3.000 = 9.000",
                                     kSeparator,
                                     "Total Tagihan : " + blanks(5) + "Rp.34.000",
                                     kSeparator,
                                     "        Terima kasih.         ",
                                     ""}));
    }

    // Lines wider than 30 characters print whole, without blanks before them;
    // a total of 0 shows no digits, as its mask does.
    void tooWideLinesPrintWhole() {
        const QStringList wide = ticketLines(ticket(
            {{"Sate", "999999", "Mangkuk Besar", "12.500", "12.500"}}, Q_INT64_C(999999999999)));
        QCOMPARE(wide[15], QStringLiteral("999999 Mangkuk Besar x 12.500 = 12.500"));
        QCOMPARE(wide[17], QStringLiteral("Total Tagihan : Rp.999.999.999.999"));
        QCOMPARE(ticketLines(ticket({}, 0))[15], "Total Tagihan : " + blanks(11) + "Rp.");
    }

    // The receipt's header fields and its three totals at column 30: a
    // change of 0 prints "0", the widest amount fits.
    void salesReceiptLines() {
        const std::vector<TicketItem> sate = {{"Sate", "2", "Porsi", "12.500", "25.000"}};
        const QStringList lines =
            ticketLines(salesReceipt({"PO-070320241", "RO-070320245", QDate(2024, 3, 7), "10:11:12",
                                      "Meja 1", "Budi", "Ani", sate, 25000, 25000, 0}));
        QCOMPARE(lines.mid(3), QStringList({kSeparator,
                                            "        Nota Penjualan        ",
                                            kSeparator,
                                            "No. Nota  : PO-070320241",
                                            "No. Order : RO-070320245",
                                            "Tanggal   : 07/03/2024",
                                            "Jam       : 10:11:12",
                                            "No. Meja  : Meja 1",
                                            "Pelayan   : Budi",
                                            "Kasir     : Ani",
                                            kSeparator,
                                            "       Detail Penjualan       ",
                                            kSeparator,
                                            "Sate",
                                            blanks(5) + "2 Porsi x 12.500 = 25.000",
                                            kSeparator,
                                            "Total     : " + blanks(9) + "Rp.25.000",
                                            "Bayar     : " + blanks(9) + "Rp.25.000",
                                            "Kembali   : " + blanks(14) + "Rp.0",
                                            kSeparator,
                                            "        Terima kasih.         ",
                                            ""}));
        const QStringList widest = ticketLines(salesReceipt(
            {"PO-1", "RO-1", QDate(2024, 3, 7), "", "", "", "", {}, 1, 999'999'999'999, 0}));
        QCOMPARE(widest[widest.size() - 5], "Bayar     : Rp.999.999.999.999");
    }

    // Courier New 10 pt, bold for the header only, one document.
    void printsInFontWithBoldHeader() {
        ui::PrintRecorder printed;
        const QStringList lines = ticketLines(ticket({{"Sate", "1", "Porsi", "1", "1"}}, 1));
        printTicket(lines);
        QCOMPARE(printed.texts(), lines);
        QCOMPARE(printed.documents(), 1);
        for (qsizetype i = 0; i < printed.lines().size(); ++i) {
            const ui::PrintedLine& line = printed.lines()[i];
            QCOMPARE(line.font + QString::number(line.pointSize) + QString::number(line.bold),
                     "Courier New10" + QString::number(i < 3));
        }
    }
};

DAPRA_TEST_MAIN(TicketTest)
#include "tst_ticket.moc"
