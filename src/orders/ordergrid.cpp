#include "orders/ordergrid.h"

#include "toolkit/format.h"
#include "toolkit/reportlist.h"

#include <QTreeWidget>

namespace orders {

namespace {

enum Column { kCode, kName, kCategory, kUnit, kQty, kPrice, kAmount, kMenuId };

QTreeWidgetItem* row(const QTreeWidget* list, int index) {
    return list->topLevelItem(index);
}

}  // namespace

OrderGrid::OrderGrid(QTreeWidget* list) : list_(list) {}

void OrderGrid::SetColumnHeaders() {
    ui::setColumns(list_, {{QStringLiteral("Kode Menu"), 2000},
                           {QStringLiteral("Nama Menu"), 4000},
                           {QStringLiteral("Kategori"), 2000},
                           {QStringLiteral("Satuan"), 2000},
                           {QStringLiteral("Qty Order"), 2000, Qt::AlignHCenter},
                           {QStringLiteral("Harga Satuan"), 2000, Qt::AlignRight},
                           {QStringLiteral("Jumlah Harga"), 2000, Qt::AlignRight},
                           {QStringLiteral("ID Menu"), 0}});
}

void OrderGrid::clear() {
    list_->clear();
}

int OrderGrid::count() const {
    return ui::rowCount(list_);
}

bool OrderGrid::contains(qint64 menuId) const {
    for (int i = 0; i < count(); ++i) {
        if (menuIdOf(row(list_, i)) == menuId) {
            return true;
        }
    }
    return false;
}

void OrderGrid::add(const OrderLine& line, const QString& qtyText) {
    ui::addRow(list_,
               {line.code, line.name, line.category, line.unit, qtyText,
                fmt::mask(line.unitPrice, fmt::kMask9),
                fmt::mask(line.qty * line.unitPrice, fmt::kMask9), QString::number(line.menuId)});
}

void OrderGrid::show(const std::vector<OrderLine>& lines) {
    clear();
    for (const OrderLine& line : lines) {
        add(line, QString::number(line.qty));
    }
}

qint64 OrderGrid::sum() const {
    qint64 total = 0;
    for (int i = 0; i < count(); ++i) {
        total += amountOf(row(list_, i));
    }
    return total;
}

// Only a highlighted row counts: the current row that focus alone makes
// was never chosen by the user.
QTreeWidgetItem* OrderGrid::selected() const {
    const QList<QTreeWidgetItem*> items = list_->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

qint64 OrderGrid::amountOf(const QTreeWidgetItem* r) {
    return fmt::parseAmount(r->text(kAmount));
}

qint64 OrderGrid::menuIdOf(const QTreeWidgetItem* r) {
    return r->text(kMenuId).toLongLong();
}

std::vector<OrderLine> OrderGrid::lines() const {
    std::vector<OrderLine> result;
    for (int i = 0; i < count(); ++i) {
        const QTreeWidgetItem* r = row(list_, i);
        result.push_back({menuIdOf(r), r->text(kCode), r->text(kName), r->text(kCategory),
                          r->text(kUnit), fmt::parseAmount(r->text(kQty)),
                          fmt::parseAmount(r->text(kPrice))});
    }
    return result;
}

std::vector<TicketItem> OrderGrid::ticketItems() const {
    std::vector<TicketItem> result;
    for (int i = 0; i < count(); ++i) {
        const QTreeWidgetItem* r = row(list_, i);
        result.push_back(
            {r->text(kName), r->text(kQty), r->text(kUnit), r->text(kPrice), r->text(kAmount)});
    }
    return result;
}

}  // namespace orders
