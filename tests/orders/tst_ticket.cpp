// The lines of the order ticket and the sales receipt that the windows'
// tests do not reach. Whole printouts, fonts and bold are held there.
#include "orders/ticket.h"
#include "support/testsupport.h"

using namespace orders;

namespace {

TicketContent ticket(std::vector<TicketItem> items, qint64 total) {
    return orderTicket("RO-0703202412", QDate(2024, 3, 7), "10:11:12", "Meja 1", "Budi",
                       std::move(items), total);
}

}  // namespace

class TicketTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A name or a line too wide for 30 characters prints whole, without
    // blanks before it; a total of 0 shows no digits, as its mask does; a
    // change of 0 prints "0"; the widest amounts fit.
    void wideAndEmptyAmounts() {
        const QString longName(45, 'N');
        const QStringList wide = ticketLines(ticket(
            {{longName, "999999", "Mangkuk Besar", "12.500", "12.500"}}, Q_INT64_C(999999999999)));
        QCOMPARE(
            wide.mid(14, 2) << wide[17] << ticketLines(ticket({}, 0))[15],
            QStringList({longName, "999999 Mangkuk Besar x 12.500 = 12.500",
                         "Total Tagihan : Rp.999.999.999.999", "Total Tagihan :            Rp."}));
        const QStringList receipt = ticketLines(salesReceipt(
            {"PO-1", "RO-1", QDate(2024, 3, 7), "", "", "", "", {}, 1, 999'999'999'999, 0}));
        QCOMPARE(receipt.mid(receipt.size() - 5, 2),
                 QStringList({"Bayar     : Rp.999.999.999.999", "Kembali   :               Rp.0"}));
    }
};

DAPRA_TEST_MAIN(TicketTest)
#include "tst_ticket.moc"
