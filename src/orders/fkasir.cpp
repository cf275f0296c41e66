#include "orders/fkasir.h"

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

namespace orders {

namespace {

const QString kZero = QStringLiteral("0");

}  // namespace

fKasir::fKasir() : OrderListClient(kModeKasir) {
    setObjectName(QStringLiteral("fKasir"));
    setWindowTitle(QStringLiteral("Data Pembayaran"));
    setDesignSize(11385, 6900);

    buildPaymentData();
    buildDetail();
    buildButtons();
    connectKeys();

    grid_->SetColumnHeaders();
    ResetPaymentForm();
}

void fKasir::buildPaymentData() {
    Frame1 = ui::frame(this, QStringLiteral("Frame1"), QStringLiteral("[ Data Pembayaran ]"),
                       {60, 0, 11220, 2310});
    const auto row = [this](int n, const QString& caption, int column) {
        const int left = column == 0 ? 240 : 5700;
        const int top = 300 + (n % 5) * 390;
        // Label9 and Label10 are the big total's.
        ui::label(Frame1, QStringLiteral("Label%1").arg(n < 8 ? n + 1 : n + 3), caption,
                  {left, top + 30, 1500, 255});
        return QRect(left + 1560, top, 2500, 315);
    };
    Text9 = disabledBox(Frame1, QStringLiteral("Text9"), row(0, QStringLiteral("Nomer Nota"), 0));
    const QRect order = row(1, QStringLiteral("Nomer Order"), 0);
    Text1 = disabledBox(Frame1, QStringLiteral("Text1"), order);
    Command5 = listButton(Frame1, QStringLiteral("Command5"), QStringLiteral("Daftar Order"),
                          order.right() + 50, order.top());
    const QRect date = row(2, QStringLiteral("Tanggal Bayar"), 0);
    DTPicker1 = new ui::DatePicker(Frame1, QStringLiteral("DTPicker1"));
    ui::placeTw(DTPicker1, date.left(), date.top(), 1800, date.height());
    Text2 = disabledBox(Frame1, QStringLiteral("Text2"), row(3, QStringLiteral("Jam Bayar"), 0));
    Text3 = disabledBox(Frame1, QStringLiteral("Text3"), row(4, QStringLiteral("Nomer Meja"), 0));
    Text4 = disabledBox(Frame1, QStringLiteral("Text4"), row(5, QStringLiteral("Nama Pelayan"), 1));
    Text5 = disabledBox(Frame1, QStringLiteral("Text5"), row(6, QStringLiteral("Nama Kasir"), 1));
    Text6 = disabledBox(Frame1, QStringLiteral("Text6"), row(7, QStringLiteral("Total Harga"), 1));
    Text7 = ui::lineBox(Frame1, QStringLiteral("Text7"), row(8, QStringLiteral("Total Bayar"), 1));
    Text8 = disabledBox(Frame1, QStringLiteral("Text8"), row(9, QStringLiteral("Kembali"), 1));
    for (QLineEdit* amount : {Text6, Text7, Text8}) {
        amount->setAlignment(Qt::AlignRight);
    }
}

void fKasir::buildDetail() {
    Frame2 = ui::frame(this, QStringLiteral("Frame2"), QStringLiteral("[ Detail Pembayaran ]"),
                       {60, 2355, 11220, 4020});
    Label10 = totalLabels(Frame2, QStringLiteral("Total Tagihan:"), {240, 300, 2300, 300},
                          {2700, 240, 8300, 1440});
    Frame3 = ui::frame(Frame2, QStringLiteral("Frame3"), QStringLiteral("[Data Detail Order ]"),
                       {90, 1710, 11040, 2220});
    ListView1 = ui::listView(Frame3, QStringLiteral("ListView1"), {90, 225, 10860, 1905});
    grid_ = std::make_unique<OrderGrid>(ListView1);
}

void fKasir::buildButtons() {
    Command6 = ui::button(this, QStringLiteral("Command6"), QStringLiteral("&Cetak"),
                          {7485, 6450, 1200, 350});
    Command11 = ui::button(this, QStringLiteral("Command11"), QStringLiteral("&Reset"),
                           {8760, 6450, 1200, 350});
    Command4 = ui::button(this, QStringLiteral("Command4"), QStringLiteral("&Keluar [Esc]"),
                          {10080, 6450, 1200, 350});
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
}

void fKasir::connectKeys() {
    connect(Command5, &QToolButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { ResetPaymentForm(); });
    connect(Command4, &QPushButton::clicked, this, &fKasir::unload);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Text7, &QLineEdit::textChanged, this, [this] { Text7_Change(); });
    setCancelButton(Command4);
    ui::digitsOnly(
        Text7, [this] { Command6_Click(); }, kMaxAmountDigits);

    ui::tabRoad({Text1, Command5, DTPicker1, Text2, Text3, Text4, Text5, Text6, Text7, Text8,
                 ListView1, Command6, Command11, Command4, Text9});
    Timer1->start();
}

void fKasir::firstShown() {
    Command5->setFocus();
}

void fKasir::ResetPaymentForm() {
    Text1->clear();
    DTPicker1->setDate(ui::now().date());
    for (QLineEdit* box : {Text2, Text3, Text4}) {
        box->clear();
    }
    Text5->setText(moddapra::UserName);
    for (QLineEdit* box : {Text6, Text7, Text8}) {
        box->setText(kZero);
    }
    Text9->clear();
    grid_->clear();
    OrderId = 0;
    OrderTotal = 0;
    picked_ = {};
    setTotal(Label10, kZeroTotal);
    GenerateReceiptNumber();
}

void fKasir::GenerateReceiptNumber() {
    QString number;
    if (moddapra::RunUnit(
            [&](db::Connection& c) { number = nextNumber(c, kReceiptNumber, ui::now().date()); })) {
        Text9->setText(number);
    }
}

// A typed digit replaces the whole amount.
void fKasir::focusAmount() {
    Text7->setFocus();
    Text7->selectAll();
}

qint64 fKasir::amountPaid() const {
    return fmt::parseAmount(Text7->text());
}

// An emptied box holds "0" again, selected so the next digit replaces it.
void fKasir::Text7_Change() {
    if (Text7->text().isEmpty()) {
        Text7->setText(kZero);
        Text7->selectAll();
        return;
    }
    Text8->setText(fmt::mask(amountPaid() - OrderTotal, fmt::kMask9Zero));
}

void fKasir::Timer1_Timer() {
    const QDateTime now = ui::now();
    DTPicker1->setDate(now.date());
    Text2->setText(fmt::storeTime(now.time()));
    Text5->setText(moddapra::UserName);
}

void fKasir::Command5_Click() {
    for (QLineEdit* box : {Text1, Text2, Text3, Text4}) {
        box->clear();
    }
    OrderId = 0;
    OrderTotal = 0;
    picked_ = {};
    grid_->clear();
    if (!openOrderList(this)) {
        return;
    }
    if (OrderId != 0) {
        readPickedOrder();
    }
    setTotal(Label10, fmt::rupiah(OrderTotal, fmt::kMask12Zero));
    Text6->setText(fmt::mask(OrderTotal, fmt::kMask12Zero));
    focusAmount();
}

// The order is shown as stored now, not as the list showed it when it
// opened. The order as picked is read first: a change landing between the
// reads then differs from it, and the payment is refused.
void fKasir::readPickedOrder() {
    PickedRead read;
    moddapra::RunUnit([&](db::Connection& c) { read = pickedRead(c, OrderId); });
    picked_.order.id = OrderId;
    if (read.stored) {
        picked_ = *read.stored;
    }
    if (read.listed) {
        takePickedOrder(*read.listed);
    }
    grid_->show(read.lines);
}

void fKasir::takePickedOrder(const PickedOrder& picked) {
    OrderId = picked.id;
    Text1->setText(picked.number);
    DTPicker1->setDate(picked.date);
    Text2->setText(picked.time);
    Text3->setText(picked.table);
    Text4->setText(picked.waiter);
    OrderTotal = picked.total;
}

void fKasir::Command6_Click() {
    if (!paymentChecks()) {
        return;
    }
    if (ui::msgBox(QStringLiteral("Mohon periksa kembali karena data ini tidak bisa diubah. \r"
                                  "Apakah data yang anda masukkan sudah benar?"),
                   ui::Buttons::YesNo, ui::Icon::None,
                   QStringLiteral("Konfirmasi")) != ui::Answer::Yes) {
        focusAmount();
        return;
    }
    if (SavePayment()) {
        PrintReceipt();
        ResetPaymentForm();
        Command5->setFocus();
    }
}

// The change shown may stem from the order picked before; the cashier
// confirms, and the payment stores, the change of the order on screen.
bool fKasir::paymentChecks() {
    if (Text9->text().isEmpty()) {
        refuse(QStringLiteral("Nomer Nota tidak boleh kosong!"), Command5);
    } else if (Text1->text().isEmpty()) {
        refuse(QStringLiteral("Nomer Order tidak boleh kosong!"), Command5);
    } else if (grid_->count() == 0) {
        refuse(QStringLiteral("Data Detail Order masih kosong, tidak ada yang perlu dibayar!"),
               nullptr);
    } else if (amountPaid() < OrderTotal) {
        ui::msgBox(QStringLiteral("JUMLAH PEMBAYARAN KURANG dari yang seharusnya dibayar. \r"
                                  "Transaksi tidak bisa dilanjutkan!"),
                   ui::Buttons::Ok, ui::Icon::None, QStringLiteral("Konfirmasi"));
        focusAmount();
    } else if (moddapra::MayWrite(this)) {
        Text8->setText(fmt::mask(amountPaid() - OrderTotal, fmt::kMask9Zero));
        return true;
    }
    return false;
}

// The payment keeps the moment it is made, not the picked order's.
bool fKasir::SavePayment() {
    Timer1_Timer();
    const Payment payment{Text9->text(),    picked_,      DTPicker1->date(),        Text2->text(),
                          moddapra::UserId, amountPaid(), amountPaid() - OrderTotal};
    PaymentOutcome outcome;
    if (!moddapra::RunUnit([&](db::Connection& c) { outcome = storePayment(c, payment); })) {
        return false;
    }
    const QString order = QStringLiteral("Nomer Order ") + Text1->text();
    switch (outcome.result) {
        case PaymentResult::Stored:
            // Another desk may have stored the number shown meanwhile. The
            // receipt prints the lines the payment found.
            Text9->setText(outcome.receiptNumber);
            grid_->show(outcome.lines);
            return true;
        case PaymentResult::OrderPaid:
            refuse(order + QStringLiteral(" sudah dibayar. Transaksi tidak bisa dilanjutkan!"),
                   Command5);
            break;
        case PaymentResult::OrderGone:
            refuse(order + QStringLiteral(" tidak ditemukan. Transaksi tidak bisa dilanjutkan!"),
                   Command5);
            break;
        case PaymentResult::OrderChanged:
            refuse(order + QStringLiteral(" sudah diubah. Transaksi tidak bisa dilanjutkan!"),
                   Command5);
            break;
    }
    return false;
}

void fKasir::PrintReceipt() {
    printTicket(
        ticketLines(salesReceipt({Text9->text(), Text1->text(), DTPicker1->date(), Text2->text(),
                                  Text3->text(), Text4->text(), Text5->text(), grid_->ticketItems(),
                                  OrderTotal, amountPaid(), fmt::parseAmount(Text8->text())})),
        QStringLiteral("Nota Penjualan gagal dicetak! Periksa printer anda. \r"
                       "Data Pembayaran sudah tersimpan."));
}

// The resize table: a step whose size would be negative is skipped.
void fKasir::relayout(ui::TwLayout& l) {
    if (!Timer1) {
        return;
    }
    l.setWidth(Frame1, l.W - 405);
    l.setWidth(Frame2, l.W - 405);
    l.setWidth(Frame3, l.W - 585);
    l.setWidth(ListView1, l.W - 645);
    l.setHeight(Frame2, l.H - 3465);
    l.setHeight(Frame3, l.H - 5265);
    l.setHeight(ListView1, l.H - 5580);
    placeButtons(l, Frame1, Frame2, Command6, Command11, Command4);
}

ui::Form* makeKasir() {
    return new fKasir;
}

}  // namespace orders
