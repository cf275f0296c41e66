#include "masterdata/masterform.h"

#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace masterdata {

using ui::boxText;
using ui::setBoxText;

MasterForm::MasterForm(const MasterTable& table, MasterTexts texts)
    : table_(table), texts_(std::move(texts)) {}

void MasterForm::attach(std::vector<QWidget*> boxes, QTreeWidget* list,
                        std::vector<ui::Column> columns, QPushButton* save, QPushButton* close) {
    boxes_ = std::move(boxes);
    list_ = list;
    columns_ = std::move(columns);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(close, &QPushButton::clicked, this, &MasterForm::unload);
    setCancelButton(close);
    ui::onRowDoubleClick(
        list_, [this] { ListView1_DblClick(); }, false);

    SetColumnHeaders();
    ClearInput();
    FillList();
}

void MasterForm::SetColumnHeaders() {
    ui::setColumns(list_, columns_);
}

void MasterForm::emptyBoxes() {
    for (QWidget* box : boxes_) {
        setBoxText(box, QString());
    }
}

void MasterForm::ClearInput() {
    SelectedId = 0;
    emptyBoxes();
    list_->clear();
}

void MasterForm::FillList() {
    std::vector<QStringList> rows;
    moddapra::RunUnit([&](db::Connection& c) { rows = listRows(c, table_); });
    for (const QStringList& row : rows) {
        ui::addRow(list_, row);
    }
}

void MasterForm::ListView1_DblClick() {
    SelectedId = 0;
    emptyBoxes();
    const QStringList row = ui::selectedRow(list_);
    if (row.isEmpty()) {
        return;
    }
    for (size_t i = 0; i < boxes_.size(); ++i) {
        setBoxText(boxes_[i], row.value(int(i)));
    }
    SelectedId = row.last().toLongLong();
    if (focusNameAfterPick) {
        boxes_.front()->setFocus();
    }
}

QStringList MasterForm::values() const {
    QStringList texts;
    for (const QWidget* box : boxes_) {
        texts.append(boxText(box));
    }
    return texts;
}

// "&Simpan": only an empty name is refused; a name of blanks is a name.
void MasterForm::save() {
    QWidget* nameBox = boxes_.front();
    if (boxText(nameBox).isEmpty()) {
        ui::msgBox(texts_.emptyName, ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("Info"));
        nameBox->setFocus();
        return;
    }
    if (SelectedId != 0) {
        UpdateData();
    } else {
        InsertData();
    }
    nameBox->setFocus();
}

void MasterForm::InsertData() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    bool taken = false;
    if (!moddapra::RunUnit([&](db::Connection& c) { taken = !insertRow(c, table_, values()); })) {
        return;
    }
    if (taken) {
        ui::msgBox(texts_.duplicateBefore + boxText(boxes_.front()) + texts_.duplicateAfter,
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Informasi"));
        return;
    }
    ClearInput();
    FillList();
}

// A row removed by another station since it was loaded is left alone without
// a word: the boxes and the loaded id stay.
void MasterForm::UpdateData() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    bool gone = false;
    if (!moddapra::RunUnit(
            [&](db::Connection& c) { gone = !updateRow(c, table_, SelectedId, values()); }) ||
        gone) {
        return;
    }
    ClearInput();
    FillList();
}

// ---- Table, category and unit windows ----------------------------------------

const SmallMasterKind& mejaKind() {
    static const SmallMasterKind kind{
        QStringLiteral("fMeja"),
        &kMeja,
        QStringLiteral("Data Meja"),
        QStringLiteral("[ Daftar Meja ]"),
        QStringLiteral("Nomer Meja"),
        QStringLiteral("Nomer Meja"),
        QStringLiteral("ID Meja"),
        {QStringLiteral("Nama Meja Harus Diisi!"), QStringLiteral("Meja "),
         QStringLiteral(" sudah ada! Masukkan Meja yang lain!")},
        {9285, 5415},
        QStringLiteral("MS Sans Serif"),
    };
    return kind;
}

const SmallMasterKind& kategoriKind() {
    static const SmallMasterKind kind{
        QStringLiteral("fKategori"),
        &kKategori,
        QStringLiteral("Data Kategori"),
        QStringLiteral("[ Data Kategori ]"),
        QStringLiteral("Nama Kategori"),
        QStringLiteral("Kategori"),
        QStringLiteral("ID Kategori"),
        {QStringLiteral("Nama Kategori Harus Diisi!"), QStringLiteral("Kategori "),
         QStringLiteral(" sudah ada! Masukkan Kategori yang lain!")},
        {6480, 4335},
        QStringLiteral("MS Sans Serif"),
    };
    return kind;
}

const SmallMasterKind& satuanKind() {
    static const SmallMasterKind kind{
        QStringLiteral("fSatuan"),
        &kSatuan,
        QStringLiteral("Data Satuan"),
        QStringLiteral("[ Data Satuan ]"),
        QStringLiteral("Nama Satuan"),
        QStringLiteral("Satuan"),
        QStringLiteral("ID Satuan"),
        {QStringLiteral("Nama Satuan Harus Diisi!"), QStringLiteral("Satuan "),
         QStringLiteral(" sudah ada! Masukkan Satuan yang lain!")},
        {6480, 4380},
        QStringLiteral("Arial"),
    };
    return kind;
}

// The layout follows the window's client size: the input area on top, the
// list below it, "&Keluar" and the hint under the outer frame.
SmallMasterForm::SmallMasterForm(const SmallMasterKind& kind)
    : MasterForm(*kind.table, kind.texts) {
    using namespace ui;
    setObjectName(kind.formName);
    setWindowTitle(kind.caption);
    const int w = kind.clientTw.width();
    const int h = kind.clientTw.height();
    setFixedDialog(w, h);

    const int fw = w - 90;
    const int fh = h - 480;
    const int boxW = fw - 2700 - 150;
    auto* frame1 = frame(this, QStringLiteral("Frame1"), QString(), {45, 0, fw, fh});
    picture(frame1, {120, 240, 1095, 1095});
    label(frame1, QStringLiteral("Label1"), kind.nameLabel, {1350, 270, 1305, 255});
    auto* text1 = lineBox(frame1, QStringLiteral("Text1"), {2700, 240, boxW, 315});
    label(frame1, QStringLiteral("Label2"), QStringLiteral("Keterangan"), {1350, 630, 1305, 255});
    auto* text2 = memoBox(frame1, QStringLiteral("Text2"), {2700, 600, boxW, 735});
    auto* save = button(frame1, QStringLiteral("Command1"), QStringLiteral("&Simpan"),
                        {2700, 1425, 1200, 350});
    auto* frame2 =
        frame(frame1, QStringLiteral("Frame2"), kind.listFrame, {90, 1890, fw - 180, fh - 1980});
    auto* listWidget =
        listView(frame2, QStringLiteral("ListView1"), {90, 240, fw - 360, fh - 2310});
    listWidget->setFont(QFont(kind.listFont));
    auto* close = button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                         {w - 1245, h - 420, 1200, 350});
    label(this, QStringLiteral("Label3"), QStringLiteral("Klik dobel untuk edit data"),
          {120, h - 375, 2500, 255});

    ui::enterMovesTo(text1, text2);
    ui::tabRoad({text1, text2, save, close, listWidget});
    text1->setFocus();

    attach({text1, text2}, listWidget,
           {{kind.firstColumn, 2000}, {QStringLiteral("Keterangan"), 5000}, {kind.idColumn, 0}},
           save, close);
}

// ---- Waiter window -------------------------------------------------------------

fPelayan::fPelayan()
    : MasterForm(kPelayan,
                 {QStringLiteral("Nama Pelayan Harus Diisi!"), QStringLiteral("Nama Pelayan "),
                  QStringLiteral(" sudah ada! Masukkan Nama Pelanggan yang lain!")}) {
    using namespace ui;
    setObjectName(QStringLiteral("fPelayan"));
    setWindowTitle(QStringLiteral("Data Pelayan"));
    setDesignSize(8370, 5295);
    focusNameAfterPick = true;

    frame1_ = frame(this, QStringLiteral("Frame1"), QString(), {45, 0, 8280, 4815});
    picture(frame1_, {120, 240, 1095, 1095});
    const QStringList captions = {QStringLiteral("Nama Pelayan"), QStringLiteral("Alamat"),
                                  QStringLiteral("Kota"), QStringLiteral("Kode Pos"),
                                  QStringLiteral("Telepon")};
    const QStringList labelNames = {QStringLiteral("Label1"), QStringLiteral("Label2"),
                                    QStringLiteral("Label4"), QStringLiteral("Label5"),
                                    QStringLiteral("Label6")};
    std::vector<QWidget*> boxes;
    for (int i = 0; i < 5; ++i) {
        const int top = 240 + i * 360;
        label(frame1_, labelNames[i], captions[i], {1350, top + 30, 1305, 255});
        boxes.push_back(
            lineBox(frame1_, QStringLiteral("Text%1").arg(i + 1), {2700, top, 4000, 315}));
    }
    auto* save = button(frame1_, QStringLiteral("Command1"), QStringLiteral("&Simpan"),
                        {2700, 2040, 1200, 350});
    frame2_ = frame(frame1_, QStringLiteral("Frame2"), QStringLiteral("[ Data Pelanggan ]"),
                    {90, 2475, 8100, 2250});
    auto* listWidget = listView(frame2_, QStringLiteral("ListView1"), {90, 180, 7920, 1935});
    list_ = listWidget;
    auto* close = button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                         {7125, 4890, 1200, 350});
    close_ = close;
    hint_ = label(this, QStringLiteral("Label3"), QStringLiteral("Klik dobel untuk edit data"),
                  {120, 4935, 2500, 255});

    for (size_t i = 0; i + 1 < boxes.size(); ++i) {
        ui::enterMovesTo(boxes[i], boxes[i + 1]);
        ui::tabRoad({boxes[i], boxes[i + 1]});
    }
    ui::onEnter(boxes.back(), [save] { save->click(); });
    ui::tabRoad({boxes.back(), save, close, listWidget});
    boxes.front()->setFocus();

    attach(boxes, listWidget,
           {{QStringLiteral("Nama Pelanggan"), 5000},
            {QStringLiteral("Alamat"), 3000},
            {QStringLiteral("Kota"), 3000},
            {QStringLiteral("Kode Pos"), 3000},
            {QStringLiteral("Telepon"), 3000},
            {QStringLiteral("ID Pelanggan"), 0}},
           save, close);
}

// The resize table: sizes follow the window by fixed amounts; a step whose
// size would be negative is skipped.
void fPelayan::relayout(ui::TwLayout& l) {
    if (!hint_) {
        return;
    }
    l.setWidth(frame1_, l.W - 405);
    l.setWidth(frame2_, l.W - 585);
    l.setWidth(list_, l.W - 765);
    l.setHeight(frame1_, l.H - 1095);
    l.setHeight(frame2_, l.H - 3660);
    l.setHeight(list_, l.H - 3975);
    l.setLeft(close_, l.left(frame1_) + l.width(frame1_) - l.width(close_));
    l.setTop(close_, l.top(frame1_) + l.height(frame1_) + 75);
    l.setTop(hint_, l.top(close_));
}

}  // namespace masterdata
