#pragma once

#include "orders/ordergrid.h"
#include "orders/windowparts.h"

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace ui {
class DatePicker;
}

namespace orders {

// The cash desk: an unpaid order is picked from the order list, the amount
// paid is typed and the change shown; paying stores the payment, marks the
// order paid and prints the sales receipt.
class fKasir : public OrderListClient {
    Q_OBJECT
public:
    fKasir();

    // Written by the order list: the picked order, 0 for none.
    qint64 OrderId = 0;
    // The picked order's total in whole rupiah.
    qint64 OrderTotal = 0;

protected:
    void takePickedOrder(const PickedOrder& picked) override;
    void relayout(ui::TwLayout& l) override;
    void firstShown() override;

private:
    void buildPaymentData();
    void buildDetail();
    void buildButtons();
    void connectKeys();

    void ResetPaymentForm();
    void GenerateReceiptNumber();
    void readPickedOrder();
    void focusAmount();
    qint64 amountPaid() const;

    void Command5_Click();  // "Daftar Order"
    void Command6_Click();  // "&Cetak"
    void Text7_Change();
    void Timer1_Timer();

    bool paymentChecks();
    bool SavePayment();
    void PrintReceipt();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* Text1 = nullptr;
    QToolButton* Command5 = nullptr;
    ui::DatePicker* DTPicker1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLabel* Label10 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command4 = nullptr;
    QTimer* Timer1 = nullptr;

    std::unique_ptr<OrderGrid> grid_;
    // The order as stored when it was picked; a payment must find it so.
    OrderVersion picked_;
};

// The cashier window as the window table creates it.
ui::Form* makeKasir();

}  // namespace orders
