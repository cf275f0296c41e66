#include "masterdata/picker.h"

#include "masterdata/masterqueries.h"
#include "shell/moddapra.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace masterdata {

PickerForm::PickerForm(const PickerSpec& spec, Pick onPick)
    : spec_(spec), onPick_(std::move(onPick)) {
    setObjectName(spec_.formName);
    setWindowTitle(spec_.caption);
    setFixedDialog(spec_.clientTw.width(), spec_.clientTw.height());

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    ui::placeTw(frame, spec_.frameTw.x(), spec_.frameTw.y(), spec_.frameTw.width(),
                spec_.frameTw.height());
    list_ = new QTreeWidget(frame);
    list_->setObjectName(QStringLiteral("ListView1"));
    ui::placeTw(list_, spec_.listTw.x(), spec_.listTw.y(), spec_.listTw.width(),
                spec_.listTw.height());
    ui::setupList(list_);

    auto* hint = new QLabel(QStringLiteral("Klik dobel pada data yang dipilih..."), this);
    hint->setObjectName(QStringLiteral("Label1"));
    ui::placeTw(hint, spec_.labelTw.x(), spec_.labelTw.y(), spec_.labelTw.width(),
                spec_.labelTw.height());

    auto* close = new QPushButton(QStringLiteral("&Keluar"), this);
    close->setObjectName(QStringLiteral("Command2"));
    ui::placeTw(close, spec_.closeTw.x(), spec_.closeTw.y(), 1200, 350);
    close->setAutoDefault(false);
    setCancelButton(close);
    connect(close, &QPushButton::clicked, this, &PickerForm::unload);

    ui::onRowDoubleClick(
        list_, [this] { pickSelected(); }, true);
    setTabOrder(list_, close);
    (spec_.focusOnClose ? static_cast<QWidget*>(close) : list_)->setFocus();

    SetColumnHeaders();
    ClearList();
    FillList();
}

void PickerForm::open(const PickerSpec& spec, Pick onPick) {
    ui::showModal(new PickerForm(spec, std::move(onPick)));
}

void PickerForm::SetColumnHeaders() {
    ui::setColumns(list_, spec_.columns);
}

void PickerForm::ClearList() {
    list_->clear();
}

void PickerForm::FillList() {
    std::vector<QStringList> rows;
    moddapra::RunUnit([&](db::Connection& c) { rows = spec_.rows(c); });
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
    if (row.isEmpty()) {
        return;
    }
    onPick_(row);
    unload();
}

const PickerSpec& categoryPicker() {
    static const PickerSpec spec{
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
    return spec;
}

const PickerSpec& unitPicker() {
    static const PickerSpec spec{
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
    return spec;
}

}  // namespace masterdata
