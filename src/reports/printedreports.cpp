#include "reports/printedreports.h"

#include "reports/reportqueries.h"
#include "toolkit/msgbox.h"
#include "toolkit/seams.h"

#include <QPainter>
#include <QPrinter>

namespace reports {

namespace {

const TextStyle kPlain{};
const TextStyle kTitle{9.75, true, Qt::AlignLeft};
const TextStyle kHeading{8.25, true, Qt::AlignLeft};
const TextStyle kHeadingRight{8.25, true, Qt::AlignRight};
const TextStyle kRight{8.25, false, Qt::AlignRight};

ReportLabel label(const char* name, const char* text, QRect tw, TextStyle style = kPlain) {
    return {QString::fromLatin1(name), QString::fromLatin1(text), tw, style};
}

ReportField field(const char* name, int column, QRect tw) {
    return {QString::fromLatin1(name), column, tw, kPlain};
}

ReportField moneyField(const char* name, int column, QRect tw) {
    ReportField f{QString::fromLatin1(name), column, tw, kRight};
    f.money = true;
    return f;
}

ReportField growingField(const char* name, int column, QRect tw) {
    ReportField f = field(name, column, tw);
    f.grows = true;
    return f;
}

ReportDesign makePeriodReport() {
    ReportDesign d;
    d.caption = QStringLiteral("Cetak Daftar Penjualan Per Periode");
    d.pageHeaderHeight = 2057;
    d.band = {1106, 1703, 11928, 354};
    d.pageHeader = {
        label("Label1", "Daftar Penjualan Per Periode", {1134, 567, 3348, 240}, kTitle),
        label("Label2", "Tanggal %D", {1134, 907, 3321, 240}),
        label("Label3", "Halaman %p dari %P halaman.", {1134, 1191, 3321, 240}),
        label("Label4", "Nomer Nota", {1212, 1761, 1101, 240}, kHeading),
        label("Label5", "Nomer Order", {2462, 1761, 1212, 240}, kHeading),
        label("Label6", "Tanggal Penjualan", {3840, 1761, 1611, 240}, kHeading),
        label("Label7", "Jam Penjualan", {5545, 1761, 1269, 240}, kHeading),
        label("Label8", "Nama Kasir", {6926, 1761, 1018, 240}, kHeading),
        label("Label9", "Nama Pelayan", {8273, 1761, 1212, 240}, kHeading),
        label("Label10", "Total Harga", {9776, 1761, 1041, 240}, kHeadingRight),
        label("Label11", "Total Bayar", {10948, 1761, 1041, 240}, kHeadingRight),
        label("Label12", "Kembali", {12170, 1761, 756, 240}, kHeadingRight),
    };
    d.detailHeight = 333;
    ReportField date = field("txttgl_bayar", kTglBayar, {3840, 35, 1554, 240});
    date.date = true;
    d.detail = {
        field("txtno_nota", kNoNota, {1212, 35, 1098, 240}),
        field("txtno_order", kNoOrder, {2462, 35, 1212, 240}),
        date,
        field("txtjam_bayar", kJamBayar, {5545, 35, 1155, 240}),
        field("txtnm_user", kNmUser, {6926, 35, 1269, 240}),
        field("txtnm_pelayan", kNmPelayan, {8273, 35, 1269, 240}),
        moneyField("txttotal_harga", kTotalHarga, {9776, 35, 1041, 240}),
        moneyField("txttotal_bayar", kTotalBayar, {11005, 35, 984, 240}),
        moneyField("txtkembali", kKembali, {12170, 35, 756, 240}),
    };
    d.lineLeft = 1106;
    d.lineLength = 11928;
    d.pageFooterHeight = 520;
    d.pageFooter = {label("Label13", "Halaman %p dari %P halaman.", {1191, 279, 3321, 240})};
    return d;
}

ReportDesign makeMenuReport() {
    ReportDesign d;
    d.caption = QStringLiteral("Cetak Daftar Menu");
    d.pageHeaderHeight = 2025;
    d.band = {567, 1701, 12495, 303};
    d.pageHeader = {
        label("Label1", "Daftar Menu Makanan dan Minuman", {570, 630, 3939, 240}, kTitle),
        label("Label2", "Tanggal: %D", {570, 960, 3939, 240}),
        label("Label3", "Halaman: %p dari %P halaman.", {570, 1260, 3939, 240}),
        label("Label4", "Kode Menu", {655, 1728, 1061, 240}, kHeading),
        label("Label5", "Nama Menu", {1909, 1728, 1041, 240}, kHeading),
        label("Label6", "Keterangan", {4650, 1728, 1440, 240}, kHeading),
        label("Label7", "Kategori", {9117, 1728, 810, 240}, kHeading),
        label("Label8", "Satuan", {10668, 1728, 675, 240}, kHeading),
        label("Label9", "Harga Jual", {11811, 1728, 1140, 240}, kHeadingRight),
    };
    d.detailHeight = 393;
    d.detail = {
        field("txtkode_menu", kKodeMenu, {655, 69, 1041, 240}),
        growingField("txtnama_menu", kNamaMenu, {1909, 69, 2580, 240}),
        growingField("txtketerangan", kKeterangan, {4650, 69, 4230, 240}),
        field("Text1", kNmKategori, {9117, 69, 1326, 240}),
        field("Text2", kNmSatuan, {10668, 69, 1155, 240}),
        moneyField("txtharga_jual", kHargaJual, {12024, 69, 927, 240}),
    };
    d.lineLeft = 564;
    d.lineLength = 12498;
    d.pageFooterHeight = 417;
    d.pageFooter = {label("Label10", "Halaman: %p dari %P halaman.", {570, 177, 3939, 240})};
    return d;
}

constexpr int kTwipsPerPoint = 20;

QSize paperTw(const QPrinter& printer) {
    return printer.pageLayout().fullRectPoints().size() * kTwipsPerPoint;
}

void reportFailure() {
    ui::msgBox(QStringLiteral("Laporan gagal dicetak! Periksa printer anda."), ui::Buttons::Ok,
               ui::Icon::Exclamation, QStringLiteral("Informasi"));
}

}  // namespace

const ReportDesign& periodReport() {
    static const ReportDesign design = makePeriodReport();
    return design;
}

const ReportDesign& menuReport() {
    static const ReportDesign design = makeMenuReport();
    return design;
}

ReportPreview::ReportPreview(const ReportDesign& design, std::vector<db::Row> records,
                             QWidget* parent)
    : QPrintPreviewDialog(parent), design_(design), records_(std::move(records)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(design.caption);
    printer()->setPageSize(QPageSize(QPageSize::A4));
    printer()->setPageOrientation(QPageLayout::Landscape);
    printer()->setFullPage(true);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::printTo);
}

const std::vector<Page>& ReportPreview::pagesFor(const QSize& paper) {
    if (paper != laidOutFor_ || pages_.empty()) {
        pages_ = layOut(design_, records_, paper, ui::now().date());
        laidOutFor_ = paper;
    }
    return pages_;
}

bool ReportPreview::printTo(QPrinter* target) {
    target->setFullPage(true);
    const std::vector<Page>& pages = pagesFor(paperTw(*target));
    QPainter painter;
    if (!painter.begin(target)) {
        reportFailure();
        return false;
    }
    bool ok = true;
    for (size_t i = 0; i < pages.size() && ok; ++i) {
        if (i > 0 && !target->newPage()) {
            ok = false;
            break;
        }
        paintPage(painter, pages[i], target->resolution());
    }
    ok = painter.end() && ok && target->printerState() != QPrinter::Error;
    if (!ok) {
        reportFailure();
    }
    return ok;
}

ReportPreview* showReport(const ReportDesign& design, std::vector<db::Row> records,
                          QWidget* parent) {
    auto* preview = new ReportPreview(design, std::move(records), parent);
    preview->setWindowState(Qt::WindowMaximized);
    preview->show();
    return preview;
}

}  // namespace reports
