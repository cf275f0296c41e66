#include "reports/freportpenjualanperiode.h"

#include "reports/listfiller.h"
#include "reports/printedreports.h"
#include "reports/reportqueries.h"
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
#include <QTreeView>

#include <algorithm>
#include <memory>

namespace reports {

namespace {

ui::DatePicker* datePicker(QWidget* parent, const QString& name, const QRect& tw) {
    auto* picker = new ui::DatePicker(parent, name);
    ui::placeTw(picker, tw.x(), tw.y(), tw.width(), tw.height());
    return picker;
}

QStringList listTexts(const db::Row& r) {
    return {r[kNoNota].toString(),
            r[kNoOrder].toString(),
            fmt::showStoredDate(r[kTglBayar].toString()),
            r[kJamBayar].toString(),
            r[kNmUser].toString(),
            r[kNmPelayan].toString(),
            fmt::mask(r[kTotalHarga].toLongLong(), fmt::kMask9Zero),
            fmt::mask(r[kTotalBayar].toLongLong(), fmt::kMask9Zero),
            fmt::mask(r[kKembali].toLongLong(), fmt::kMask9Zero),
            r[kIdBayar].toString()};
}

// Reads the rows of the listed payments as the list shows them, each in its
// place by its id.
ui::RowReader periodRows(std::shared_ptr<const std::vector<qint64>> ids, QDate start, QDate end) {
    return [ids, start, end](int first, int count) {
        std::vector<QStringList> texts{size_t(count)};
        const auto begin = ids->begin() + first;
        moddapra::RunUnit([&](db::Connection& c) {
            for (const db::Row& r :
                 periodPaymentsBetween(c, start, end, *begin, *(begin + count - 1))) {
                const auto at = std::lower_bound(begin, begin + count, r[kIdBayar].toLongLong());
                if (at != begin + count && *at == r[kIdBayar].toLongLong()) {
                    texts[size_t(at - begin)] = listTexts(r);
                }
            }
        });
        return texts;
    };
}

}  // namespace

fReportPenjualanPeriode::fReportPenjualanPeriode() {
    setObjectName(QStringLiteral("fReportPenjualanPeriode"));
    setWindowTitle(QStringLiteral("Report Penjualan Per Periode"));
    setDesignSize(10815, 6420);
    buildPeriodArea();
    buildList();
    buildButtons();
    SetColumnHeaders();
    ClearInput();
}

void fReportPenjualanPeriode::buildPeriodArea() {
    using namespace ui;
    frame1_ = frame(this, QStringLiteral("Frame1"), QString(), {90, 45, 10635, 5865});
    frame2_ = frame(frame1_, QStringLiteral("Frame2"), QStringLiteral("[ Periode Tanggal ]"),
                    {90, 135, 10455, 1500});
    label(frame2_, QStringLiteral("Label4"), QStringLiteral("Mulai Tanggal"),
          {135, 315, 1005, 195});
    picker1_ = datePicker(frame2_, QStringLiteral("DTPicker1"), {1440, 270, 2985, 330});
    label(frame2_, QStringLiteral("Label5"), QStringLiteral("Sampai Tanggal"),
          {135, 675, 1155, 195});
    picker2_ = datePicker(frame2_, QStringLiteral("DTPicker2"), {1440, 630, 2985, 330});
    show_ = button(frame2_, QStringLiteral("Command1"), QStringLiteral("&Tampilkan"),
                   {1440, 1035, 1200, 350});
    connect(show_, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void fReportPenjualanPeriode::buildList() {
    using namespace ui;
    frame3_ = frame(frame1_, QStringLiteral("Frame3"), QStringLiteral("[ Daftar Penjualan ]"),
                    {90, 1665, 10455, 4110});
    list_ = modelListView(frame3_, QStringLiteral("ListView1"), {90, 225, 10275, 3390});
    filler_ = new ListFiller(list_);
    label6_ = label(frame3_, QStringLiteral("Label6"), QStringLiteral("Total Penjualan"),
                    {6390, 3735, 1110, 195});
    text2_ = lineBox(frame3_, QStringLiteral("Text2"), {7650, 3690, 2715, 315});
    text2_->setEnabled(false);
}

void fReportPenjualanPeriode::buildButtons() {
    using namespace ui;
    print_ =
        button(this, QStringLiteral("Command3"), QStringLiteral("Cetak!"), {8235, 5985, 1200, 350});
    close_ = button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                    {9495, 5985, 1200, 350});
    connect(print_, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(close_, &QPushButton::clicked, this, &Form::unload);
    setCancelButton(close_);
    ui::tabRoad({picker1_, picker2_, show_, list_, print_, close_});
    picker1_->focusDay();
}

void fReportPenjualanPeriode::SetColumnHeaders() {
    const Qt::Alignment right = Qt::AlignRight;
    ui::setColumns(list_, {{QStringLiteral("Nomer Nota"), 2000},
                           {QStringLiteral("Nomer Order"), 2000},
                           {QStringLiteral("Tanggal Penjualan"), 2000},
                           {QStringLiteral("Jam Penjualan"), 2000},
                           {QStringLiteral("Nama Kasir"), 2000},
                           {QStringLiteral("Nama Pelayan"), 2000},
                           {QStringLiteral("Total Harga"), 2000, right},
                           {QStringLiteral("Total Bayar"), 2000, right},
                           {QStringLiteral("Kembali"), 2000, right},
                           {QStringLiteral("Id Bayar"), 0}});
}

void fReportPenjualanPeriode::ClearInput() {
    text2_->clear();
    const QDate today = ui::now().date();
    picker1_->setDate(today);
    picker2_->setDate(today);
    StartDate = today;
    EndDate = today;
    filler_->fill({});
}

// A date that does not exist is refused before anything is read, so the list
// and its total stay those of the last period shown.
bool fReportPenjualanPeriode::checkDates() {
    return picker1_->checkDate() && picker2_->checkDate();
}

void fReportPenjualanPeriode::Command1_Click() {
    if (!checkDates()) {
        return;
    }
    FillList();
    ShowTotal();
    picker1_->focusDay();
}

void fReportPenjualanPeriode::FillList() {
    StartDate = picker1_->date();
    EndDate = picker2_->date();
    if (StartDate > EndDate) {
        ui::msgBox(QStringLiteral("Tanggal Awal tidak boleh lebih besar dari tanggal akhir!"),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Informasi"));
        picker1_->focusDay();
        return;
    }
    filler_->fill({});
    auto ids = std::make_shared<std::vector<qint64>>();
    if (!moddapra::RunUnit(
            [&](db::Connection& c) { *ids = periodPaymentIds(c, StartDate, EndDate); })) {
        return;
    }
    filler_->fill(int(ids->size()), periodRows(ids, StartDate, EndDate));
}

// The total follows the pickers even when the list refused them, as the
// list's own rows then belong to the earlier period.
void fReportPenjualanPeriode::ShowTotal() {
    text2_->clear();
    std::optional<qint64> total;
    moddapra::RunUnit(
        [&](db::Connection& c) { total = periodTotal(c, picker1_->date(), picker2_->date()); });
    if (total) {
        text2_->setText(fmt::rupiah(*total, fmt::kMask9));
    }
}

void fReportPenjualanPeriode::Command3_Click() {
    if (ui::rowCount(list_) == 0) {
        ui::msgBox(QStringLiteral("Tidak ada data yang akan dicetak!"), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
        return;
    }
    ShowReport();
}

// The report reads the file db.txt names, for the pickers' dates as they
// stand now, a page of payments at a time.
void fReportPenjualanPeriode::ShowReport() {
    if (!checkDates()) {
        return;
    }
    showReport(periodReport(), periodRecords(picker1_->date(), picker2_->date()), window());
}

void fReportPenjualanPeriode::relayout(ui::TwLayout& l) {
    if (!close_) {
        return;
    }
    l.setWidth(frame1_, l.W - 405);
    l.setWidth(frame2_, l.W - 585);
    l.setWidth(frame3_, l.W - 585);
    l.setWidth(list_, l.W - 765);
    l.setHeight(frame1_, l.H - 1095);
    l.setHeight(frame3_, l.H - 2850);
    l.setHeight(list_, l.H - 3570);
    l.setLeft(close_, l.left(frame1_) + l.width(frame1_) - l.width(close_));
    l.setTop(close_, l.top(frame1_) + l.height(frame1_) + 75);
    l.setLeft(print_, l.left(frame1_) + l.width(frame1_) - l.width(close_) - l.width(print_) - 75);
    l.setTop(print_, l.top(close_));
    l.setLeft(text2_, l.left(list_) + l.width(list_) - l.width(text2_));
    l.setLeft(label6_, l.left(list_) + l.width(list_) - l.width(text2_) - l.width(label6_) - 100);
    l.setTop(text2_, l.top(list_) + l.height(list_) + 75);
    l.setTop(label6_, l.top(list_) + l.height(list_) + 100);
}

}  // namespace reports
