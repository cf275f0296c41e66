#include "orders/ticket.h"

#include "toolkit/format.h"
#include "toolkit/msgbox.h"
#include "toolkit/printer.h"

namespace orders {

namespace {

constexpr int kBoldLines = 3;

QString separator() {
    return QString(kTicketWidth, QChar('-'));
}

// Blanks before a right-aligned tail; none when the texts overflow the line.
QString blanks(qsizetype count) {
    return QString(std::max<qsizetype>(0, count), QChar(' '));
}

// The quantity prints as typed, but its leading zeros give way before the
// line would overflow: the quantity reads the same and the columns stay.
QString amountLine(const TicketItem& item) {
    const QString rest = QChar(' ') + item.unit + QStringLiteral(" x ") + item.price +
                         QStringLiteral(" = ") + item.amount;
    QString qty = item.qty;
    while (qty.size() > 1 && qty.startsWith(QChar('0')) &&
           qty.size() + rest.size() > kTicketWidth) {
        qty.remove(0, 1);
    }
    return blanks(kTicketWidth - qty.size() - rest.size()) + qty + rest;
}

QString totalLine(const TicketField& total) {
    const QString tail = QStringLiteral("Rp.") + total.value;
    return total.label + blanks(kTicketWidth - total.label.size() - tail.size()) + tail;
}

}  // namespace

QStringList ticketLines(const TicketContent& content) {
    QStringList lines = {
        QStringLiteral("     Program Kasir Dapra      "),
        QStringLiteral("        Mirawe Dapra          "),
        QStringLiteral("          Versi 2.2           "),
        separator(),
        content.title,
        separator(),
    };
    for (const TicketField& field : content.fields) {
        lines.append(field.label + field.value);
    }
    lines << separator() << content.detailTitle << separator();
    for (const TicketItem& item : content.items) {
        lines << item.name << amountLine(item);
    }
    lines.append(separator());
    for (const TicketField& total : content.totals) {
        lines.append(totalLine(total));
    }
    lines << separator() << QStringLiteral("        Terima kasih.         ") << QString();
    return lines;
}

TicketContent orderTicket(const QString& number, const QDate& date, const QString& time,
                          const QString& table, const QString& waiter,
                          const std::vector<TicketItem>& items, qint64 total) {
    return {QStringLiteral("           Nota Order         "),
            {{QStringLiteral("No. Order : "), number},
             {QStringLiteral("Tanggal   : "), fmt::showDate(date)},
             {QStringLiteral("Jam       : "), time},
             {QStringLiteral("No. Meja  : "), table},
             {QStringLiteral("Pelayan   : "), waiter}},
            QStringLiteral("          Detail Order        "),
            items,
            {{QStringLiteral("Total Tagihan : "), fmt::mask(total, fmt::kMask9)}}};
}

TicketContent salesReceipt(const ReceiptSource& r) {
    return {QStringLiteral("        Nota Penjualan        "),
            {{QStringLiteral("No. Nota  : "), r.receiptNumber},
             {QStringLiteral("No. Order : "), r.orderNumber},
             {QStringLiteral("Tanggal   : "), fmt::showDate(r.date)},
             {QStringLiteral("Jam       : "), r.time},
             {QStringLiteral("No. Meja  : "), r.table},
             {QStringLiteral("Pelayan   : "), r.waiter},
             {QStringLiteral("Kasir     : "), r.cashier}},
            QStringLiteral("       Detail Penjualan       "),
            r.items,
            {{QStringLiteral("Total     : "), fmt::mask(r.total, fmt::kMask9Zero)},
             {QStringLiteral("Bayar     : "), fmt::mask(r.paid, fmt::kMask9Zero)},
             {QStringLiteral("Kembali   : "), fmt::mask(r.change, fmt::kMask9Zero)}}};
}

namespace {

bool sendTicket(const QStringList& lines) {
    try {
        std::unique_ptr<ui::LinePrinter> printer = ui::defaultPrinter();
        printer->setCurrentX(0);
        printer->setCurrentY(0);
        printer->setFont(QStringLiteral("Courier New"), 10);
        printer->setBold(true);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i == kBoldLines) {
                printer->setBold(false);
            }
            printer->print(lines[i]);
        }
        return printer->endDoc();
    } catch (...) {
        // A printer fault never undoes or interrupts the save that printed.
        return false;
    }
}

}  // namespace

void printTicket(const QStringList& lines, const QString& failure) {
    if (!sendTicket(lines)) {
        ui::msgBox(failure, ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Informasi"));
    }
}

}  // namespace orders
