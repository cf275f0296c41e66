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

// The order window: an order for one table is put together line by line
// with a running total, saved as unpaid and printed as an order ticket. A
// stored unpaid order is brought back through the order list and changed.
class fOrder : public OrderListClient {
    Q_OBJECT
public:
    fOrder();

    // Written by the pickers and the order list; 0 or empty for none.
    qint64 TableId = 0;
    qint64 WaiterId = 0;
    // The menu item the line entry shows, never the grid row last clicked.
    qint64 MenuId = 0;
    QString CategoryName;
    QString UnitName;
    // The stored order on screen; 0 while the order is new.
    qint64 OrderId = 0;
    // The running total in whole rupiah.
    qint64 OrderTotal = 0;

protected:
    void takePickedOrder(const PickedOrder& picked) override;
    void relayout(ui::TwLayout& l) override;
    void firstShown() override;

private:
    void buildHeader();
    void buildLineEntry();
    void buildButtons();
    void connectKeys();

    void ClearInput();
    void GenerateOrderNumber();
    void clearLineEntry();
    void showTotal(const QString& mask);
    void focusQuantity();

    void Command1_Click();  // "&Tambah"
    void Command3_Click();  // "&Hapus"
    void ListView1_ItemClick();
    void Command2_Click();   // "Daftar Meja"
    void Command13_Click();  // "Daftar Pelayan"
    void Command8_Click();   // "Daftar Menu"
    void Command5_Click();   // "Daftar Order"
    void Command6_Click();   // "&Simpan"
    void Timer1_Timer();

    void loadPickedOrder();
    OrderToSave orderToSave() const;
    void saveNewOrder();
    void changeStoredOrder();
    bool UpdateOrderChecks();
    void finishSave(const Saved& saved);
    void refuseMissing(const MissingData& missing);
    void PrintOrderTicket();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QToolButton* Command5 = nullptr;
    ui::DatePicker* DTPicker1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QToolButton* Command2 = nullptr;
    QLineEdit* Text4 = nullptr;
    QToolButton* Command13 = nullptr;
    QLineEdit* Text5 = nullptr;
    QToolButton* Command8 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label10 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Label40 = nullptr;
    QTimer* Timer1 = nullptr;

    std::unique_ptr<OrderGrid> grid_;
    // The menu item of the grid row last clicked, which "&Hapus" removes; 0 = none.
    qint64 clickedMenuId_ = 0;
};

// The order window as the window table creates it.
ui::Form* makeOrder();

}  // namespace orders
