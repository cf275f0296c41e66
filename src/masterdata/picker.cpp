#include "masterdata/picker.h"

#include "masterdata/masterqueries.h"
#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"

#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

namespace masterdata {

PickerForm::PickerForm(const PickerKind& kind, Pick onPick)
    : kind_(kind), onPick_(std::move(onPick)) {
    setObjectName(kind_.formName);
    setWindowTitle(kind_.caption);
    setFixedDialog(kind_.clientTw.width(), kind_.clientTw.height());

    using namespace ui;
    auto* frame1 = frame(this, QStringLiteral("Frame1"), QString(), kind_.frameTw);
    list_ = listView(frame1, QStringLiteral("ListView1"), kind_.listTw);
    label(this, QStringLiteral("Label1"), QStringLiteral("Klik dobel pada data yang dipilih..."),
          kind_.labelTw);
    auto* close = button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                         {kind_.closeTw, QSize(1200, 350)});
    setCancelButton(close);
    connect(close, &QPushButton::clicked, this, &PickerForm::unload);

    ui::onRowDoubleClick(
        list_, [this] { pickSelected(); }, true);
    ui::tabRoad({list_, close});
    close_ = close;

    SetColumnHeaders();
    ClearList();
    FillList();
}

// The focus is set once the picker shows: showing it on top of the main
// window gives it a new parent, which resets its focus.
void PickerForm::showEvent(QShowEvent* event) {
    ui::Form::showEvent(event);
    (kind_.focusOnClose ? close_ : list_)->setFocus();
}

bool PickerForm::open(QWidget* opener, const PickerKind& kind, Pick onPick) {
    auto guarded = [alive = QPointer<QWidget>(opener), hasOpener = opener != nullptr,
                    onPick = std::move(onPick)](const QStringList& row) {
        if (alive || !hasOpener) {
            onPick(row);
        }
    };
    return ui::showModal(new PickerForm(kind, std::move(guarded)), opener);
}

void PickerForm::SetColumnHeaders() {
    ui::setColumns(list_, kind_.columns);
}

void PickerForm::ClearList() {
    list_->clear();
}

void PickerForm::FillList() {
    std::vector<QStringList> rows;
    moddapra::RunUnit([&](db::Connection& c) { rows = kind_.rows(c); });
    for (const QStringList& row : rows) {
        ui::addRow(list_, row);
    }
    // As in every list of the program, the first row starts out selected.
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
}

void PickerForm::pickSelected() {
    const QStringList row = ui::selectedRow(list_);
    if (row.isEmpty() || (kind_.mayPick && !kind_.mayPick())) {
        return;
    }
    onPick_(row);
    unload();
}

const PickerKind& categoryPicker() {
    static const PickerKind kind{
        QStringLiteral("fDaftarKategori"),
        QStringLiteral("Daftar Kategori"),
        {4560, 3075},
        {90, 45, 4380, 2535},
        {90, 180, 4200, 2265},
        {135, 2700, 2415, 195},
        {3240, 2655},
        {{QStringLiteral("Kategori"), 3000},
         {QStringLiteral("Keterangan"), 5000},
         {QStringLiteral("ID Kategori"), 0}},
        [](db::Connection& c) { return listRows(c, kKategori); },
    };
    return kind;
}

const PickerKind& unitPicker() {
    static const PickerKind kind{
        QStringLiteral("fDaftarSatuan"),
        QStringLiteral("Daftar Satuan"),
        {4770, 3075},
        {90, 45, 4605, 2535},
        {90, 180, 4425, 2265},
        {225, 2700, 2415, 195},
        {3465, 2655},
        {{QStringLiteral("Nama Satuan"), 3000},
         {QStringLiteral("Keterangan"), 5000},
         {QStringLiteral("Kode Satuan"), 0}},
        [](db::Connection& c) { return listRows(c, kSatuan); },
    };
    return kind;
}

}  // namespace masterdata
