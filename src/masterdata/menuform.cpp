#include "masterdata/menuform.h"

#include "masterdata/masterdata.h"
#include "masterdata/picker.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "toolkit/controls.h"
#include "toolkit/format.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

#include <optional>

namespace masterdata {

namespace {

const QString kRecordText =
    QStringLiteral(" Record. Klik dobel pada daftar barang untuk mengubah data.");

// A price never holds more digits than this, so it always fits the money
// column. The grouping dots of a price loaded for change may stay.
constexpr int kMaxPriceDigits = 12;

// The engine's numbers of the faults the search names for the user.
constexpr int kTypeMismatch = 20;
constexpr int kCannotOpen = 14;
constexpr int kNotADatabase = 26;

}  // namespace

fMenu::fMenu() {
    setObjectName(QStringLiteral("fMenu"));
    setWindowTitle(QStringLiteral("Data Menu"));
    setDesignSize(10470, 6525);

    using namespace ui;
    Frame1 = frame(this, QStringLiteral("Frame1"), QString(), {45, 0, 10380, 6075});
    buildInputArea(Frame1);
    buildList(Frame1);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                      {9195, 6135, 1200, 350});
    Label5 = label(this, QStringLiteral("Label5"), QStringLiteral("Jumlah Record: "),
                   {285, 6180, 1155, 195});
    const int label6Left = std::max(1500, ui::toTwips(Label5->geometry().right()) + 60);
    Label6 = label(this, QStringLiteral("Label6"), QString(), {label6Left, 6180, 4485, 195});
    Label6->setMinimumWidth(ui::toPx(4485));
    setRecordLabel(QStringLiteral("0") + kRecordText);

    connectKeys();
    SetColumnHeaders();
}

void fMenu::buildInputArea(QWidget* f) {
    using namespace ui;
    picture(f, {120, 240, 1095, 1335});
    const auto row = [f](const QString& name, const QString& caption, int top) {
        label(f, name, caption, {1350, top + 30, 1215, 255});
    };
    row(QStringLiteral("Label7"), QStringLiteral("Kode Menu"), 240);
    Text1 = lineBox(f, QStringLiteral("Text1"), {2580, 240, 4335, 315});
    row(QStringLiteral("Label1"), QStringLiteral("Nama Menu"), 600);
    Text2 = lineBox(f, QStringLiteral("Text2"), {2580, 600, 4335, 315});
    ui::typingLimit(Text2, 27);
    row(QStringLiteral("Label8"), QStringLiteral("Keterangan"), 960);
    Text6 = memoBox(f, QStringLiteral("Text6"), {2580, 960, 4335, 615});
    row(QStringLiteral("Label2"), QStringLiteral("Kategori"), 1665);
    Text3 = lineBox(f, QStringLiteral("Text3"), {2580, 1665, 4335, 315});
    Command4 = smallButton(f, QStringLiteral("Command4"), QStringLiteral("Daftar Kategori"),
                           QStyle::SP_FileDialogContentsView, {6960, 1665, 360, 315});
    Command6 = smallButton(f, QStringLiteral("Command6"), QStringLiteral("Input Kategori Baru"),
                           QStyle::SP_FileDialogNewFolder, {7365, 1665, 360, 315});
    row(QStringLiteral("Label3"), QStringLiteral("Satuan"), 2025);
    Text4 = lineBox(f, QStringLiteral("Text4"), {2580, 2025, 4335, 315});
    Command5 = smallButton(f, QStringLiteral("Command5"), QStringLiteral("Daftar Satuan"),
                           QStyle::SP_FileDialogContentsView, {6960, 2025, 360, 315});
    Command7 = smallButton(f, QStringLiteral("Command7"), QStringLiteral("Input Satuan Baru"),
                           QStyle::SP_FileDialogNewFolder, {7365, 2025, 360, 315});
    row(QStringLiteral("Label4"), QStringLiteral("Harga Jual"), 2385);
    Text5 = lineBox(f, QStringLiteral("Text5"), {2580, 2385, 4335, 315});
    Text3->setEnabled(false);
    Text4->setEnabled(false);

    // In the screen font each hint wraps to three lines: it takes the height
    // its text needs, and the name box's hint stands below the code box's.
    const auto hint = [f](const QString& name, const QString& text, int top) {
        QLabel* l = label(f, name, text, {7020, top, 3270, 540});
        l->resize(l->width(), std::max(l->height(), l->heightForWidth(l->width())));
        return ui::toTwips(l->y() + l->height());
    };
    const int codeHintEnd =
        hint(QStringLiteral("Label9"),
             QStringLiteral("Tekan Enter untuk cek Kode Menu. Sebaiknya jangan ada Kode Menu "
                            "yang sama."),
             90);
    hint(QStringLiteral("Label10"),
         QStringLiteral("Tekan Enter untuk cek Nama Menu. Sebaiknya jangan ada Nama Menu yang "
                        "sama."),
         std::max(630, codeHintEnd + 45));

    Command1 =
        button(f, QStringLiteral("Command1"), QStringLiteral("&Simpan"), {3420, 3060, 1200, 350});
    Command3 =
        button(f, QStringLiteral("Command3"), QStringLiteral("&Refresh"), {4680, 3060, 1200, 350});
}

void fMenu::buildList(QWidget* f) {
    Frame2 = ui::frame(f, QStringLiteral("Frame2"), QString(), {90, 3420, 10185, 2535});
    ListView1 = ui::listView(Frame2, QStringLiteral("ListView1"), {90, 180, 10005, 2265});
}

void fMenu::connectKeys() {
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    connect(Command3, &QPushButton::clicked, this, [this] { refresh(); });
    connect(Command2, &QPushButton::clicked, this, &fMenu::unload);
    connect(Command4, &QToolButton::clicked, this, [this] { pickCategory(); });
    connect(Command5, &QToolButton::clicked, this, [this] { pickUnit(); });
    connect(Command6, &QToolButton::clicked, this,
            [] { shell::requestForm(shell::FormId::fKategori); });
    connect(Command7, &QToolButton::clicked, this,
            [] { shell::requestForm(shell::FormId::fSatuan); });
    setCancelButton(Command2);

    ui::onEnter(Text1, [this] { SearchByCode(); });
    ui::onEnter(Text2, [this] { SearchByName(); });
    ui::digitsOnly(
        Text5, [this] { save(); }, kMaxPriceDigits);
    ui::onRowDoubleClick(
        ListView1, [this] { ListView1_DblClick(); }, false);
    ui::onEnter(ListView1, [this] {
        ListView1_DblClick();
        Text1->setFocus();
    });

    ui::tabRoad({Text1, Text2, Text6, Command4, Command6, Text4, Command5, Command7, Text5,
                 Command1, Command3, ListView1, Command2});
}

void fMenu::activated() {
    refresh();
}

void fMenu::SetColumnHeaders() {
    ui::setColumns(ListView1, menuColumns());
}

// Returns to insert mode with empty boxes and an empty list; the record
// label keeps its text.
void fMenu::ClearInput() {
    MenuId = 0;
    CategoryId = 0;
    UnitId = 0;
    for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5}) {
        box->clear();
    }
    Text6->clear();
    FoundCount = 0;
    ListView1->clear();
}

// Counts every item but lists only those whose category and unit exist.
// An empty table leaves the list and the record label as they are.
void fMenu::FillList() {
    FoundCount = 0;
    qint64 count = 0;
    std::vector<QStringList> rows;
    moddapra::RunUnit([&](db::Connection& c) {
        count = menuCount(c);
        if (count != 0) {
            rows = menuRows(c);
        }
    });
    if (count == 0) {
        return;
    }
    FoundCount = count;
    showRows(rows);
}

// Appends the rows, ends scrolled to the last one and shows the count with
// the blank that stands for its sign.
void fMenu::showRows(const std::vector<QStringList>& rows) {
    QTreeWidgetItem* last = nullptr;
    for (const QStringList& row : rows) {
        last = ui::addRow(ListView1, row);
    }
    if (last) {
        ListView1->setCurrentItem(ListView1->topLevelItem(0));
        ListView1->scrollToItem(last);
    }
    setRecordLabel(QChar(' ') + QString::number(FoundCount) + kRecordText);
}

void fMenu::setRecordLabel(const QString& text) {
    Label6->setText(text);
    Label6->adjustSize();
}

void fMenu::ListView1_DblClick() {
    MenuId = 0;
    OldCode.clear();
    CategoryId = 0;
    UnitId = 0;
    const QStringList row = ui::selectedRow(ListView1);
    if (row.isEmpty()) {
        return;
    }
    Text1->setText(row[0]);
    Text2->setText(row[1]);
    Text6->setPlainText(row[2]);
    Text3->setText(row[3]);
    Text4->setText(row[4]);
    Text5->setText(row[5]);
    MenuId = row[6].toLongLong();
    OldCode = row[0];
    moddapra::RunUnit([this](db::Connection& c) { LookUpCategoryAndUnitIds(c); });
}

// Sets an id that is still 0 from the name its box shows; a name that is
// not found leaves it at 0. Runs after a double-click and before storing, so
// that an item is stored with the category and unit that the boxes show.
void fMenu::LookUpCategoryAndUnitIds(db::Connection& c) {
    if (CategoryId == 0) {
        CategoryId = categoryIdByName(c, Text3->text()).value_or(0);
    }
    if (UnitId == 0) {
        UnitId = unitIdByName(c, Text4->text()).value_or(0);
    }
}

void fMenu::refuse(const QString& message, QWidget* focus) {
    const QPointer<QWidget> alive(focus);
    ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Info"));
    if (alive) {
        alive->setFocus();
    }
}

// "&Simpan" (and Enter in the price box). Only a box without any character
// counts as empty. An empty description becomes "-" without saving.
void fMenu::save() {
    if (Text1->text().isEmpty()) {
        refuse(QStringLiteral("Kode Menu Harus Diisi!"), Text1);
        return;
    }
    if (Text2->text().isEmpty()) {
        refuse(QStringLiteral("Nama Menu Harus Diisi!"), Text2);
        return;
    }
    if (Text6->toPlainText().isEmpty()) {
        Text6->setPlainText(QStringLiteral("-"));
        return;
    }
    if (Text3->text().isEmpty()) {
        refuse(QStringLiteral("Kategori Menu Harus Diisi!"), Command4);
        return;
    }
    if (Text4->text().isEmpty()) {
        refuse(QStringLiteral("Satuan Menu Harus Diisi!"), Command5);
        return;
    }
    if (Text5->text().isEmpty()) {
        refuse(QStringLiteral("Harga Menu Harus Diisi!"), Text5);
        return;
    }
    if (MenuId == 0) {
        InsertData();
    } else if (ui::msgBox(QStringLiteral("Anda yakin ingin mengubah data: '") + OldCode +
                              QStringLiteral("'\rmenjadi: '") + Text1->text() +
                              QStringLiteral("'? "),
                          ui::Buttons::YesNo, ui::Icon::None,
                          QStringLiteral("Konfirmasi")) == ui::Answer::Yes) {
        UpdateData();
    } else {
        refresh();
    }
    Text1->setFocus();
}

MenuValues fMenu::values() const {
    return {Text1->text(), Text2->text(), Text6->toPlainText(),
            CategoryId,    UnitId,        fmt::parseAmount(Text5->text())};
}

void fMenu::InsertData() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    const bool stored = moddapra::RunUnit([this](db::Connection& c) {
        LookUpCategoryAndUnitIds(c);
        insertMenu(c, values());
    });
    if (stored) {
        ClearInput();
        FillList();
    }
}

// An item removed by another station meanwhile is left alone without a word.
void fMenu::UpdateData() {
    if (!moddapra::MayWrite(this)) {
        return;
    }
    bool gone = false;
    const bool ran = moddapra::RunUnit([&](db::Connection& c) {
        LookUpCategoryAndUnitIds(c);
        gone = !updateMenu(c, MenuId, values());
    });
    if (ran && !gone) {
        ClearInput();
        FillList();
    }
}

// "&Refresh": clear and reload.
void fMenu::refresh() {
    ClearInput();
    FillList();
    Text1->setFocus();
}

void fMenu::pickCategory() {
    Text3->clear();
    CategoryId = 0;
    if (PickerForm::open(this, categoryPicker(), [this](const QStringList& row) {
            CategoryId = row.value(2).toLongLong();
            Text3->setText(row.value(0));
        })) {
        Command5->setFocus();
    }
}

void fMenu::pickUnit() {
    Text4->clear();
    UnitId = 0;
    if (PickerForm::open(this, unitPicker(), [this](const QStringList& row) {
            UnitId = row.value(2).toLongLong();
            Text4->setText(row.value(0));
        })) {
        Text5->setFocus();
    }
}

// Lists the items whose code or name contains the text. The boxes, the ids
// and the mode stay as they are, so a loaded item can still be changed.
void fMenu::search(MenuColumn column, const QString& text) {
    FoundCount = 0;
    setRecordLabel(QStringLiteral("0") + kRecordText);
    ListView1->clear();
    qint64 count = 0;
    std::vector<QStringList> rows;
    std::optional<db::Error> failure;
    moddapra::RunUnit([&](db::Connection& c) {
        try {
            count = menuSearchCount(c, column, text);
            if (count != 0) {
                rows = menuSearchRows(c, column, text);
            }
        } catch (const db::Error& error) {
            failure = error;
        }
    });
    if (failure) {
        switch (failure->number()) {
            case kTypeMismatch:
                ui::msgBox(QStringLiteral("Jangan memasukkan karakter aneh!"));
                Text1->setFocus();
                break;
            case kCannotOpen:
            case kNotADatabase:
                ui::msgBox(QStringLiteral("Database tidak ada!"));
                break;
            default:
                moddapra::showError(*failure);
        }
        return;
    }
    if (count != 0) {
        FoundCount = count;
        showRows(rows);
    }
}

void fMenu::SearchByCode() {
    search(MenuColumn::Code, Text1->text());
}

void fMenu::SearchByName() {
    search(MenuColumn::Name, Text2->text());
}

// The resize table: a step whose size would be negative is skipped.
void fMenu::relayout(ui::TwLayout& l) {
    if (!Label6) {
        return;
    }
    l.setWidth(Frame1, l.W - 330);
    l.setWidth(Frame2, l.W - 525);
    l.setWidth(ListView1, l.W - 705);
    l.setHeight(Frame1, l.H - 1035);
    l.setHeight(Frame2, l.H - 4575);
    l.setHeight(ListView1, l.H - 4845);
    l.setLeft(Command2, l.left(Frame1) + l.width(Frame1) - l.width(Command2));
    l.setTop(Command2, l.top(Frame1) + l.height(Frame1) + 60);
    l.setTop(Label5, l.top(Frame1) + l.top(Command2));
    l.setTop(Label6, l.top(Frame1) + l.top(Command2));
}

}  // namespace masterdata
