#pragma once

#include <QDate>
#include <QStringList>

#include <vector>

// The order ticket and the sales receipt: 30-character lines built from the
// window's texts, then sent line by line to the default printer.
namespace orders {

inline constexpr int kTicketWidth = 30;

// One order line as the grid shows it.
struct TicketItem {
    QString name;
    QString qty;  // as the grid shows it: as typed, leading zeros and all
    QString unit;
    QString price;   // the unit price as the grid shows it
    QString amount;  // the line's amount as the grid shows it
};

// A labelled line: a data line ("No. Order : " + value) or a total line
// (label, then "Rp." + the amount right-aligned to the last column).
struct TicketField {
    QString label;
    QString value;
};

// What tells one printout from the other.
struct TicketContent {
    QString title;  // the line under the header, e.g. "           Nota Order         "
    std::vector<TicketField> fields;
    QString detailTitle;  // the line above the items
    std::vector<TicketItem> items;
    std::vector<TicketField> totals;
};

// The printout's lines: three bold header lines, the content, the thank-you
// line and one empty line. A value too long for its line is printed whole.
QStringList ticketLines(const TicketContent& content);

// The order ticket's content from the order window's boxes, grid and total.
TicketContent orderTicket(const QString& number, const QDate& date, const QString& time,
                          const QString& table, const QString& waiter,
                          const std::vector<TicketItem>& items, qint64 total);

// What the sales receipt reads from the cashier window; amounts in rupiah.
struct ReceiptSource {
    QString receiptNumber;
    QString orderNumber;
    QDate date;
    QString time;
    QString table;
    QString waiter;
    QString cashier;
    std::vector<TicketItem> items;
    qint64 total = 0;
    qint64 paid = 0;
    qint64 change = 0;
};

// The sales receipt's content: its header fields, the items and the total,
// amount paid and change.
TicketContent salesReceipt(const ReceiptSource& receipt);

// Prints the lines on the default printer in "Courier New" 10 pt, the first
// three bold. A printout that does not go out (no printer, a printer that
// fails, a queue that refuses it) shows `failure`; nothing is undone and
// nothing is thrown, so the caller goes on as after a print.
void printTicket(const QStringList& lines, const QString& failure);

}  // namespace orders
