#pragma once

#include "masterdata/picker.h"
#include "orders/orderqueries.h"

#include <functional>

// The table, waiter and menu item pickers of the order window, and the order
// list that serves the order and cashier windows.
namespace orders {

const masterdata::PickerKind& tablePicker();
const masterdata::PickerKind& waiterPicker();
const masterdata::PickerKind& menuPicker();

// The values of OrderListMode: which window the order list fills.
inline const QString kModeOrder = QStringLiteral("Order");
inline const QString kModeKasir = QStringLiteral("Kasir");

// What a pick in the order list hands to the window it serves: the order as
// the list shows it.
using PickedOrder = UnpaidOrder;

// While it lives, picks made in the order list in this mode go to the receiver.
// The order and cashier windows each hold one.
class OrderListReceiver {
public:
    OrderListReceiver(QString mode, std::function<void(const PickedOrder&)> receive);
    ~OrderListReceiver();
    OrderListReceiver(const OrderListReceiver&) = delete;
    OrderListReceiver& operator=(const OrderListReceiver&) = delete;

private:
    QString mode_;
};

// Shows the order list ("Daftar Order") modally and returns when it has closed.
// It lists the unpaid orders when OrderListMode names a window, else it says
// "Tidak ada Form yang aktif" and stays empty. A pick hands the order to the
// receiver of the mode and closes the list. Returns whether the opener still
// lives.
bool openOrderList(QWidget* opener);

}  // namespace orders
