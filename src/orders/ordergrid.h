#pragma once

#include "orders/orderqueries.h"
#include "orders/ticket.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace orders {

// The order-line grid of the order and cashier windows: eight columns, the
// last one the hidden menu item id. Until an order is saved its rows are the
// only store of its lines, so everything is read back from their texts.
class OrderGrid {
public:
    explicit OrderGrid(QTreeWidget* list);

    QTreeWidget* list() const { return list_; }

    // Replaces the columns with the eight of the grid (and empties it).
    void SetColumnHeaders();
    void clear();
    int count() const;

    // Whether a row holds this menu item.
    bool contains(qint64 menuId) const;
    // Appends a row showing the quantity as `qtyText` (the typed text); its
    // amount is qty x unit price.
    void add(const OrderLine& line, const QString& qtyText);
    // Empties the grid and shows these lines.
    void show(const std::vector<OrderLine>& lines);

    // The sum of the rows' amounts.
    qint64 sum() const;
    // The selected (highlighted) row, null when there is none.
    QTreeWidgetItem* selected() const;
    // The amount shown in a row.
    static qint64 amountOf(const QTreeWidgetItem* row);
    // The menu item id in a row.
    static qint64 menuIdOf(const QTreeWidgetItem* row);

    // The rows as lines to store, in grid order.
    std::vector<OrderLine> lines() const;
    // The rows as the ticket and receipt print them, in grid order.
    std::vector<TicketItem> ticketItems() const;

private:
    QTreeWidget* list_;
};

}  // namespace orders
