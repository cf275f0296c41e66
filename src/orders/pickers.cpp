#include "orders/pickers.h"

#include "masterdata/masterqueries.h"
#include "orders/orderqueries.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"
#include "toolkit/msgbox.h"

#include <map>

namespace orders {

namespace {

using Receive = std::function<void(const PickedOrder&)>;

std::map<QString, Receive>& receivers() {
    static std::map<QString, Receive> byMode;
    return byMode;
}

bool serving() {
    return moddapra::OrderListMode == kModeOrder || moddapra::OrderListMode == kModeKasir;
}

const Receive* receiver() {
    const auto it = receivers().find(moddapra::OrderListMode);
    return it == receivers().end() ? nullptr : &it->second;
}

std::vector<QStringList> unpaidOrderRows(db::Connection& c) {
    std::vector<QStringList> rows;
    for (const UnpaidOrder& o : unpaidOrders(c)) {
        rows.push_back({o.number, fmt::showDate(o.date), o.time, o.table, o.waiter,
                        fmt::mask(o.total, fmt::kMask9), QString::number(o.id)});
    }
    return rows;
}

// The list window of both modes; an unserved list stays empty.
masterdata::PickerKind orderListKind(bool filled) {
    masterdata::PickerKind kind{
        QStringLiteral("fDaftarOrder"),
        QStringLiteral("Daftar Order"),
        {8910, 3150},
        {90, 45, 8745, 2625},
        {90, 180, 8565, 2355},
        {225, 2790, 2415, 195},
        {7605, 2745},
        {{QStringLiteral("Nomer Order"), 2000},
         {QStringLiteral("Tanggal Order"), 2000},
         {QStringLiteral("Jam Order"), 2000},
         {QStringLiteral("Nomer Meja"), 2000},
         {QStringLiteral("Nama Pelayan"), 2000},
         {QStringLiteral("Total Harga"), 2000, Qt::AlignRight},
         {QStringLiteral("ID Order"), 0}},
        [filled](db::Connection& c) {
            return filled ? unpaidOrderRows(c) : std::vector<QStringList>();
        },
    };
    kind.mayPick = [] {
        if (serving() && receiver()) {
            return true;
        }
        ui::msgBox(QStringLiteral("Tidak ada form yang aktif. Hubungi Programmer!"));
        return false;
    };
    return kind;
}

}  // namespace

const masterdata::PickerKind& tablePicker() {
    static const masterdata::PickerKind kind{
        QStringLiteral("fDaftarMeja"),
        QStringLiteral("Daftar Meja"),
        {8910, 3135},
        {90, 45, 8745, 2580},
        {90, 180, 8565, 2310},
        {270, 2790, 2415, 195},
        {7605, 2700},
        {{QStringLiteral("Nomor Meja"), 2000},
         {QStringLiteral("Keterangan"), 5000},
         {QStringLiteral("ID Meja"), 0}},
        &tablePickerRows,
    };
    return kind;
}

const masterdata::PickerKind& waiterPicker() {
    static const masterdata::PickerKind kind{
        QStringLiteral("fDaftarPelayan"),
        QStringLiteral("Daftar Pelayan"),
        {8910, 3150},
        {90, 45, 8745, 2625},
        {90, 180, 8565, 2355},
        {270, 2790, 2415, 195},
        {7605, 2745},
        {{QStringLiteral("Nama Pelayan"), 2000},
         {QStringLiteral("Alamat"), 5000},
         {QStringLiteral("ID Pelayan"), 0}},
        &waiterPickerRows,
        true,
    };
    return kind;
}

const masterdata::PickerKind& menuPicker() {
    static const masterdata::PickerKind kind{
        QStringLiteral("fDaftarMenu"),
        QStringLiteral("Daftar Menu"),
        {8910, 3180},
        {90, 45, 8745, 2625},
        {90, 180, 8565, 2355},
        {270, 2835, 2415, 195},
        {7605, 2745},
        {{QStringLiteral("Kode Menu"), 1000},
         {QStringLiteral("Nama Menu"), 3000},
         {QStringLiteral("Keterangan"), 4000},
         {QStringLiteral("Kategori"), 2000},
         {QStringLiteral("Satuan"), 2000},
         {QStringLiteral("Harga Jual"), 2000, Qt::AlignRight},
         {QStringLiteral("ID Menu"), 0}},
        &masterdata::menuRows,
    };
    return kind;
}

OrderListReceiver::OrderListReceiver(QString mode, std::function<void(const PickedOrder&)> receive)
    : mode_(std::move(mode)) {
    receivers()[mode_] = std::move(receive);
}

OrderListReceiver::~OrderListReceiver() {
    receivers().erase(mode_);
}

bool openOrderList(QWidget* opener) {
    const bool filled = serving();
    if (!filled) {
        ui::msgBox(QStringLiteral("Tidak ada Form yang aktif"));
    }
    return masterdata::PickerForm::open(opener, orderListKind(filled), [](const QStringList& row) {
        (*receiver())({row.value(6).toLongLong(), row.value(0),
                       QDate::fromString(row.value(1), QStringLiteral("dd/MM/yyyy")), row.value(2),
                       row.value(3), row.value(4), fmt::parseAmount(row.value(5))});
    });
}

}  // namespace orders
