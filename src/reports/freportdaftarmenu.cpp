#include "reports/freportdaftarmenu.h"

#include "masterdata/masterdata.h"
#include "reports/listfiller.h"
#include "reports/printedreports.h"
#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/format.h"
#include "toolkit/keys.h"
#include "toolkit/msgbox.h"
#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace reports {

fReportDaftarMenu::fReportDaftarMenu() {
    using namespace ui;
    setObjectName(QStringLiteral("fReportDaftarMenu"));
    setWindowTitle(QStringLiteral("Cetak Daftar Menu"));
    setDesignSize(10665, 5130);
    frame1_ = frame(this, QStringLiteral("Frame1"), QString(), {45, 45, 10545, 4605});
    list_ = listView(frame1_, QStringLiteral("ListView1"), {90, 225, 10365, 4290});
    filler_ = new ListFiller(list_);
    label1_ = label(this, QStringLiteral("Label1"), QString(), {225, 4770, 480, 195});
    print_ =
        button(this, QStringLiteral("Command2"), QStringLiteral("&Cetak"), {8100, 4725, 1200, 350});
    close_ = button(this, QStringLiteral("Command1"), QStringLiteral("&Keluar"),
                    {9360, 4725, 1200, 350});
    connect(print_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(close_, &QPushButton::clicked, this, &Form::unload);
    setCancelButton(close_);
    ui::tabRoad({list_, close_, print_});
    list_->setFocus();

    SetColumnHeaders();
    FillList();
}

bool fReportDaftarMenu::filling() const {
    return filler_->busy();
}

void fReportDaftarMenu::SetColumnHeaders() {
    ui::setColumns(list_, masterdata::menuColumns());
}

void fReportDaftarMenu::FillList() {
    qint64 all = 0;
    std::vector<db::Row> rows;
    if (!moddapra::RunUnit([&](db::Connection& c) {
            all = menuItemCount(c);
            if (all != 0) {
                rows = menuList(c);
            }
        }) ||
        all == 0) {
        return;
    }
    std::vector<QStringList> texts;
    texts.reserve(rows.size());
    for (const db::Row& r : rows) {
        texts.push_back(
            {r[kKodeMenu].toString(), r[kNamaMenu].toString(), r[kKeterangan].toString(),
             r[kNmKategori].toString(), r[kNmSatuan].toString(),
             fmt::mask(r[kHargaJual].toLongLong(), fmt::kMask9Zero), r[kIdMenu].toString()});
    }
    filler_->fill(std::move(texts), [this] {
        list_->scrollToBottom();
        label1_->setText(QStringLiteral("Jumlah record = ") + QString::number(ui::rowCount(list_)) +
                         QStringLiteral(" Record."));
        label1_->adjustSize();
    });
}

void fReportDaftarMenu::Command2_Click() {
    if (ui::rowCount(list_) == 0) {
        ui::msgBox(QStringLiteral("Tidak ada data yang akan dicetak!"), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
        return;
    }
    ShowReport();
}

// The report reads the menu afresh from the file db.txt names.
void fReportDaftarMenu::ShowReport() {
    std::vector<db::Row> rows;
    if (!moddapra::RunUnit([&](db::Connection& c) { rows = menuList(c); })) {
        return;
    }
    showReport(menuReport(), recordsOf(std::move(rows)), window());
}

void fReportDaftarMenu::relayout(ui::TwLayout& l) {
    if (!close_) {
        return;
    }
    l.setWidth(frame1_, l.W - 360);
    l.setWidth(list_, l.W - 540);
    l.setLeft(close_, l.W - 1545);
    l.setLeft(print_, l.W - 2805);
    l.setHeight(frame1_, l.H - 1110);
    l.setHeight(list_, l.H - 1425);
    l.setTop(close_, l.H - 990);
    l.setTop(label1_, l.H - 945);
    l.setTop(print_, l.H - 990);
}

}  // namespace reports
