#include "orders/forder.h"

#include "orders/orderqueries.h"
#include "orders/windowparts.h"
#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/datepicker.h"
#include "toolkit/format.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/reportlist.h"
#include "toolkit/seams.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace orders {

namespace {

// A quantity never holds more digits than this, so a line's amount stays
// far inside the money column.
constexpr int kMaxQuantityDigits = 6;

const QString kZero = QStringLiteral("0");

}  // namespace

fOrder::fOrder() : OrderListClient(kModeOrder) {
    setObjectName(QStringLiteral("fOrder"));
    setWindowTitle(QStringLiteral("Data Order"));
    setDesignSize(11385, 6915);

    buildHeader();
    buildLineEntry();
    buildButtons();
    connectKeys();

    grid_->SetColumnHeaders();
    ClearInput();
}

void fOrder::buildHeader() {
    using namespace ui;
    Frame1 = frame(this, QStringLiteral("Frame1"), QStringLiteral("[ Data Order ]"),
                   {60, 0, 11220, 2310});
    const auto caption = [this](const QString& name, const QString& text, int top) {
        label(Frame1, name, text, {240, top + 30, 1500, 255});
    };
    caption(QStringLiteral("Label1"), QStringLiteral("Nomer Order"), 300);
    Text1 = disabledBox(Frame1, QStringLiteral("Text1"), {1800, 300, 2500, 315});
    Command5 =
        listButton(Frame1, QStringLiteral("Command5"), QStringLiteral("Daftar Order"), 4350, 300);
    caption(QStringLiteral("Label2"), QStringLiteral("Tanggal Order"), 690);
    DTPicker1 = new ui::DatePicker(Frame1, QStringLiteral("DTPicker1"));
    placeTw(DTPicker1, 1800, 690, 1800, 315);
    caption(QStringLiteral("Label3"), QStringLiteral("Jam Order"), 1080);
    Text2 = disabledBox(Frame1, QStringLiteral("Text2"), {1800, 1080, 1800, 315});
    caption(QStringLiteral("Label4"), QStringLiteral("Nomer Meja"), 1470);
    Text3 = disabledBox(Frame1, QStringLiteral("Text3"), {1800, 1470, 2500, 315});
    Command2 =
        listButton(Frame1, QStringLiteral("Command2"), QStringLiteral("Daftar Meja"), 4350, 1470);
    caption(QStringLiteral("Label5"), QStringLiteral("Nama Pelayan"), 1860);
    Text4 = disabledBox(Frame1, QStringLiteral("Text4"), {1800, 1860, 2500, 315});
    Command13 = listButton(Frame1, QStringLiteral("Command13"), QStringLiteral("Daftar Pelayan"),
                           4350, 1860);
}

void fOrder::buildLineEntry() {
    using namespace ui;
    Frame2 = frame(this, QStringLiteral("Frame2"), QStringLiteral("[ Detail Order ]"),
                   {60, 2355, 11220, 4020});
    const auto caption = [this](const QString& name, const QString& text, int top) {
        label(Frame2, name, text, {240, top + 30, 1500, 255});
    };
    caption(QStringLiteral("Label6"), QStringLiteral("Kode Menu"), 300);
    Text5 = disabledBox(Frame2, QStringLiteral("Text5"), {1800, 300, 2500, 315});
    Command8 =
        listButton(Frame2, QStringLiteral("Command8"), QStringLiteral("Daftar Menu"), 4350, 300);
    caption(QStringLiteral("Label7"), QStringLiteral("Nama Menu"), 690);
    Text6 = disabledBox(Frame2, QStringLiteral("Text6"), {1800, 690, 2910, 315});
    caption(QStringLiteral("Label8"), QStringLiteral("Quantity Order"), 1080);
    Text7 = lineBox(Frame2, QStringLiteral("Text7"), {1800, 1080, 1200, 315});
    caption(QStringLiteral("Label11"), QStringLiteral("Harga Jual"), 1470);
    Text8 = disabledBox(Frame2, QStringLiteral("Text8"), {1800, 1470, 1800, 315});
    Command1 = button(Frame2, QStringLiteral("Command1"), QStringLiteral("&Tambah"),
                      {4920, 1080, 1200, 350});
    Command3 = button(Frame2, QStringLiteral("Command3"), QStringLiteral("&Hapus"),
                      {4920, 1470, 1200, 350});

    Label10 = totalLabels(Frame2, QStringLiteral("Total:"), {6300, 240, 1500, 300},
                          {6300, 540, 4830, 1500});

    Frame3 = frame(Frame2, QStringLiteral("Frame3"), QStringLiteral("[Data Detail Order ]"),
                   {90, 2115, 11040, 1815});
    ListView1 = listView(Frame3, QStringLiteral("ListView1"), {90, 225, 10860, 1500});
    grid_ = std::make_unique<OrderGrid>(ListView1);
}

void fOrder::buildButtons() {
    using namespace ui;
    Command6 = button(this, QStringLiteral("Command6"), QStringLiteral("&Simpan"),
                      {7485, 6450, 1200, 350});
    Command11 = button(this, QStringLiteral("Command11"), QStringLiteral("&Reset"),
                       {8760, 6450, 1200, 350});
    Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("&Keluar [Esc]"),
                      {10080, 6450, 1200, 350});
    Label40 = label(this, QStringLiteral("Label40"),
                    QStringLiteral("Klik Daftar Order bila ingin melakukan perubahan pada Data "
                                   "Order."),
                    {120, 6550, 6000, 195});
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
}

void fOrder::connectKeys() {
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command2, &QToolButton::clicked, this, [this] { Command2_Click(); });
    connect(Command13, &QToolButton::clicked, this, [this] { Command13_Click(); });
    connect(Command8, &QToolButton::clicked, this, [this] { Command8_Click(); });
    connect(Command5, &QToolButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { ClearInput(); });
    connect(Command4, &QPushButton::clicked, this, &fOrder::unload);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    setCancelButton(Command4);

    ui::digitsOnly(
        Text7, [this] { Command1_Click(); }, kMaxQuantityDigits);
    ui::onRowClick(ListView1, [this] { ListView1_ItemClick(); });

    ui::tabRoad({Text1, Command5, DTPicker1, Text2, Text3, Command2, Text4, Command13, Text5,
                 Command8, Text6, Text7, Text8, Command1, Command3, Command6, Command11, Command4,
                 ListView1});
    Timer1->start();
}

void fOrder::firstShown() {
    Command5->setFocus();
}

void fOrder::ClearInput() {
    Text1->clear();
    DTPicker1->setDate(ui::now().date());
    for (QLineEdit* box : {Text2, Text3, Text4}) {
        box->clear();
    }
    clearLineEntry();
    grid_->clear();
    clickedMenuId_ = 0;
    OrderId = 0;
    TableId = 0;
    WaiterId = 0;
    setTotal(Label10, kZeroTotal);
    OrderTotal = 0;
    GenerateOrderNumber();
}

void fOrder::GenerateOrderNumber() {
    QString number;
    if (moddapra::RunUnit(
            [&](db::Connection& c) { number = nextNumber(c, kOrderNumber, ui::now().date()); })) {
        Text1->setText(number);
    }
}

// Empties what the menu item picker fills and the quantity.
void fOrder::clearLineEntry() {
    Text5->clear();
    Text6->clear();
    Text7->setText(kZero);
    Text8->setText(kZero);
    MenuId = 0;
    CategoryName.clear();
    UnitName.clear();
}

void fOrder::showTotal(const QString& mask) {
    setTotal(Label10, OrderTotal == 0 ? kZeroTotal : fmt::rupiah(OrderTotal, mask));
}

// A typed digit replaces the whole quantity.
void fOrder::focusQuantity() {
    Text7->setFocus();
    Text7->selectAll();
}

void fOrder::Command1_Click() {
    if (Text5->text().isEmpty()) {
        refuse(QStringLiteral("Kode Menu harus diisi!"), Command8);
        return;
    }
    if (Text6->text().isEmpty()) {
        refuse(QStringLiteral("Nama Menu harus terisi!"), Command8);
        return;
    }
    // "00" is as empty as "0": a line of nothing is never added.
    const qint64 qty = fmt::parseAmount(Text7->text());
    if (qty == 0) {
        refuse(QStringLiteral("Quantity Order tidak boleh kosong!"), nullptr);
        focusQuantity();
        return;
    }
    const qint64 price = fmt::parseAmount(Text8->text());
    if (price == 0) {
        refuse(QStringLiteral("Harga Jual tidak boleh kosong!"), Command8);
        return;
    }
    if (grid_->contains(MenuId)) {
        refuse(QStringLiteral("Kode Menu ") + Text5->text() +
                   QStringLiteral(" sudah ada! Isi Kode Menu lainnya!"),
               Command8);
        clearLineEntry();
        return;
    }
    qint64 amount = 0;
    qint64 total = 0;
    if (__builtin_mul_overflow(qty, price, &amount) ||
        __builtin_add_overflow(grid_->sum(), amount, &total) || total > kMaxTotal) {
        refuse(QStringLiteral("Total Harga terlalu besar! Total Harga satu Order paling banyak ") +
                   fmt::rupiah(kMaxTotal, fmt::kMask12),
               nullptr);
        focusQuantity();
        return;
    }
    grid_->add({MenuId, Text5->text(), Text6->text(), CategoryName, UnitName, qty, price},
               Text7->text());
    OrderTotal = grid_->sum();
    showTotal(fmt::kMask12);
    clearLineEntry();
    clickedMenuId_ = 0;
    Command8->setFocus();
}

void fOrder::Command3_Click() {
    if (grid_->count() == 0) {
        refuse(QStringLiteral("Detail Order masih kosong!"), Command8);
        return;
    }
    QTreeWidgetItem* row = grid_->selected();
    if (clickedMenuId_ == 0 || !row) {
        refuse(QStringLiteral("Data yang ingin dihapus belum dipilih, klik pada daftar!"),
               ListView1);
        return;
    }
    OrderTotal -= OrderGrid::amountOf(row);
    delete row;
    showTotal(fmt::kMask9);
    clickedMenuId_ = 0;
}

// Kept apart from the line entry's item, so a row clicked while an item is
// picked neither becomes that item's line nor makes it a duplicate.
void fOrder::ListView1_ItemClick() {
    if (QTreeWidgetItem* row = grid_->selected()) {
        clickedMenuId_ = OrderGrid::menuIdOf(row);
    }
}

void fOrder::Command2_Click() {
    Text3->clear();
    TableId = 0;
    if (masterdata::PickerForm::open(this, tablePicker(), [this](const QStringList& row) {
            TableId = row.value(2).toLongLong();
            Text3->setText(row.value(0));
        })) {
        Command13->setFocus();
    }
}

void fOrder::Command13_Click() {
    Text4->clear();
    WaiterId = 0;
    if (masterdata::PickerForm::open(this, waiterPicker(), [this](const QStringList& row) {
            WaiterId = row.value(2).toLongLong();
            Text4->setText(row.value(0));
        })) {
        Command8->setFocus();
    }
}

void fOrder::Command8_Click() {
    clearLineEntry();
    if (masterdata::PickerForm::open(this, menuPicker(), [this](const QStringList& row) {
            MenuId = row.value(6).toLongLong();
            Text5->setText(row.value(0));
            Text6->setText(row.value(1));
            Text8->setText(row.value(5));
            CategoryName = row.value(3);
            UnitName = row.value(4);
        })) {
        focusQuantity();
    }
}

void fOrder::Timer1_Timer() {
    Text2->setText(fmt::storeTime(ui::now().time()));
}

void fOrder::Command5_Click() {
    for (QLineEdit* box : {Text1, Text2, Text3, Text4}) {
        box->clear();
    }
    OrderId = 0;
    OrderTotal = 0;
    TableId = 0;
    WaiterId = 0;
    grid_->clear();
    clickedMenuId_ = 0;
    if (!openOrderList(this)) {
        return;
    }
    loadPickedOrder();
    showTotal(fmt::kMask12Zero);
    Command2->setFocus();
}

void fOrder::takePickedOrder(const PickedOrder& picked) {
    OrderId = picked.id;
    Text1->setText(picked.number);
    DTPicker1->setDate(picked.date);
    Text2->setText(picked.time);
    Text3->setText(picked.table);
    Text4->setText(picked.waiter);
    OrderTotal = picked.total;
}

// The table and waiter are the order's own, never looked up by name: names
// may repeat or have been renamed since. The order is shown as stored now,
// not as the list showed it when it opened, so the names shown are those of
// the ids saved.
void fOrder::loadPickedOrder() {
    if (OrderId == 0) {
        return;
    }
    PickedRead read;
    moddapra::RunUnit([&](db::Connection& c) { read = pickedRead(c, OrderId); });
    if (read.stored) {
        TableId = read.stored->order.tableId;
        WaiterId = read.stored->order.waiterId;
    }
    if (read.listed) {
        takePickedOrder(*read.listed);
    }
    grid_->show(read.lines);
}

OrderToSave fOrder::orderToSave() const {
    return {Text1->text(), DTPicker1->date(), Text2->text(), TableId,
            WaiterId,      OrderTotal,        grid_->lines()};
}

void fOrder::Command6_Click() {
    if (Text1->text().isEmpty()) {
        refuse(QStringLiteral("Nomer Order tidak boleh kosong!"), nullptr);
        return;
    }
    if (!DTPicker1->checkDate()) {
        return;
    }
    if (Text3->text().isEmpty()) {
        refuse(QStringLiteral("Pilih Nomer Meja!"), Command2);
        return;
    }
    if (Text4->text().isEmpty()) {
        refuse(QStringLiteral("Pilih Nama Pelayan!"), Command13);
        return;
    }
    if (grid_->count() == 0) {
        refuse(QStringLiteral("Data Detail Order masih kosong, tidak ada data yang akan disimpan!"),
               nullptr);
        return;
    }
    Timer1_Timer();  // the order keeps the time of its saving
    if (OrderId == 0) {
        saveNewOrder();
    } else {
        changeStoredOrder();
    }
}

// A number stored meanwhile by another station is never taken over: the
// order is stored under the next free number instead.
void fOrder::saveNewOrder() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    Saved saved;
    if (moddapra::RunUnit([&](db::Connection& c) { saved = insertOrder(c, orderToSave()); })) {
        finishSave(saved);
    }
}

void fOrder::changeStoredOrder() {
    const QString number = Text1->text();
    bool taken = false;
    if (!moddapra::RunUnit(
            [&](db::Connection& c) { taken = numberTaken(c, kOrderNumber, number); })) {
        return;
    }
    Saved saved;
    saved.result = SaveResult::Gone;
    if (taken) {
        if (ui::msgBox(QStringLiteral("Nomer Order ") + number +
                           QStringLiteral(" sudah ada. Apakah anda ingin mengubah Data Order?"),
                       ui::Buttons::YesNo, ui::Icon::None,
                       QStringLiteral("Konfirmasi")) != ui::Answer::Yes ||
            !UpdateOrderChecks()) {
            return;
        }
        if (!moddapra::MayWrite(this)) {
            return;
        }
        if (!moddapra::RunUnit(
                [&](db::Connection& c) { saved = changeOrder(c, OrderId, orderToSave()); })) {
            return;
        }
    }
    finishSave(saved);
}

// A refusal here stops the whole save: no line is touched, no ticket prints.
bool fOrder::UpdateOrderChecks() {
    if (TableId == 0) {
        ui::msgBox(QStringLiteral("ID Meja belum ada. Hubungi Programmer!"));
    } else if (WaiterId == 0) {
        ui::msgBox(QStringLiteral("ID Pelayan belum ada. Hubungi Programer!"));
    } else if (OrderTotal == 0) {
        ui::msgBox(QStringLiteral("Total Harga belum terisi. Hubungi Programer!"));
    } else {
        return true;
    }
    return false;
}

// A refused save writes nothing and keeps the order on screen. One no
// longer stored is saved as a new order at the next "&Simpan".
void fOrder::finishSave(const Saved& saved) {
    const QString order = QStringLiteral("Nomer Order ") + Text1->text();
    switch (saved.result) {
        case SaveResult::Saved:
            OrderId = saved.id;
            Text1->setText(saved.number);
            PrintOrderTicket();
            ClearInput();
            Command2->setFocus();
            return;
        case SaveResult::Paid:
            refuse(
                order + QStringLiteral(" sudah dibayar. Anda tidak diijinkan untuk mengubah data."),
                nullptr);
            return;
        case SaveResult::Gone:
            OrderId = 0;
            refuse(order + QStringLiteral(" sudah tidak ada. Data Order tidak bisa diubah. Klik "
                                          "Simpan untuk menyimpannya sebagai Order baru."),
                   nullptr);
            return;
        case SaveResult::Missing:
            refuseMissing(saved.missing);
            return;
    }
}

// Names what is missing as the window shows it, and leads to its picker.
void fOrder::refuseMissing(const MissingData& missing) {
    QStringList names;
    if (missing.table) {
        names << QStringLiteral("Nomer Meja ") + Text3->text();
    }
    if (missing.waiter) {
        names << QStringLiteral("Nama Pelayan ") + Text4->text();
    }
    for (const OrderLine& line : grid_->lines()) {
        if (std::find(missing.menuIds.begin(), missing.menuIds.end(), line.menuId) !=
            missing.menuIds.end()) {
            names << QStringLiteral("Kode Menu ") + line.code;
        }
    }
    refuse(names.join(QStringLiteral(", ")) +
               QStringLiteral(" sudah tidak ada. Data Order tidak bisa disimpan!"),
           missing.table    ? Command2
           : missing.waiter ? Command13
                            : Command8);
}

void fOrder::PrintOrderTicket() {
    printTicket(
        ticketLines(orderTicket(Text1->text(), DTPicker1->date(), Text2->text(), Text3->text(),
                                Text4->text(), grid_->ticketItems(), OrderTotal)),
        QStringLiteral("Nota Order gagal dicetak! Periksa printer anda. \r"
                       "Data Order sudah tersimpan."));
}

// The resize table: a step whose size would be negative is skipped.
void fOrder::relayout(ui::TwLayout& l) {
    if (!Timer1) {
        return;
    }
    l.setWidth(Frame1, l.W - 405);
    l.setWidth(Frame2, l.W - 405);
    l.setWidth(Frame3, l.W - 585);
    l.setWidth(ListView1, l.W - 765);
    l.setHeight(Frame2, l.H - 3480);
    l.setHeight(Frame3, l.H - 5685);
    l.setHeight(ListView1, l.H - 6000);
    placeButtons(l, Frame1, Frame2, Command6, Command11, Command4);
    l.setTop(Label40, l.top(Command6) + 100);
}

ui::Form* makeOrder() {
    return new fOrder;
}

}  // namespace orders
