#include "reports/printedreports.h"

#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/reportlist.h"
#include "toolkit/seams.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>

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

// A column label; it moves along with the detail field it heads.
ReportLabel heading(const char* name, const char* text, QRect tw, int column, bool right = false) {
    return {QString::fromLatin1(name), QString::fromLatin1(text), tw,
            right ? kHeadingRight : kHeading, column};
}

ReportField field(const char* name, int column, QRect tw) {
    return {QString::fromLatin1(name), column, tw, kPlain};
}

ReportField moneyField(const char* name, int column, QRect tw) {
    ReportField f{QString::fromLatin1(name), column, tw, kRight};
    f.money = true;
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
        heading("Label4", "Nomer Nota", {1212, 1761, 1101, 240}, 0),
        heading("Label5", "Nomer Order", {2462, 1761, 1212, 240}, 1),
        heading("Label6", "Tanggal Penjualan", {3840, 1761, 1611, 240}, 2),
        heading("Label7", "Jam Penjualan", {5545, 1761, 1269, 240}, 3),
        heading("Label8", "Nama Kasir", {6926, 1761, 1018, 240}, 4),
        heading("Label9", "Nama Pelayan", {8273, 1761, 1212, 240}, 5),
        heading("Label10", "Total Harga", {9776, 1761, 1041, 240}, 6, true),
        heading("Label11", "Total Bayar", {10948, 1761, 1041, 240}, 7, true),
        heading("Label12", "Kembali", {12170, 1761, 756, 240}, 8, true),
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
        heading("Label4", "Kode Menu", {655, 1728, 1061, 240}, 0),
        heading("Label5", "Nama Menu", {1909, 1728, 1041, 240}, 1),
        heading("Label6", "Keterangan", {4650, 1728, 1440, 240}, 2),
        heading("Label7", "Kategori", {9117, 1728, 810, 240}, 3),
        heading("Label8", "Satuan", {10668, 1728, 675, 240}, 4),
        heading("Label9", "Harga Jual", {11811, 1728, 1140, 240}, 5, true),
    };
    d.detailHeight = 393;
    d.detail = {
        field("txtkode_menu", kKodeMenu, {655, 69, 1041, 240}),
        field("txtnama_menu", kNamaMenu, {1909, 69, 2580, 240}),
        field("txtketerangan", kKeterangan, {4650, 69, 4230, 240}),
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

}  // namespace

const ReportDesign& periodReport() {
    static const ReportDesign design = makePeriodReport();
    return design;
}

const ReportDesign& menuReport() {
    static const ReportDesign design = makeMenuReport();
    return design;
}

// The pages one under another on a grey ground; only those on screen are
// built and painted.
class PageView : public QAbstractScrollArea {
public:
    enum class Fit { Width, WholePage, None };

    explicit PageView(const ReportLayout& layout, QWidget* parent)
        : QAbstractScrollArea(parent), layout_(layout) {
        setBackgroundRole(QPalette::Dark);
        viewport()->setBackgroundRole(QPalette::Dark);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
            if (!showing_) {
                page_ = pageAt(value);
            }
            changed();
        });
    }

    std::function<void()> changed = [] {
    };

    void setFit(Fit fit) {
        fit_ = fit;
        refit();
    }
    void zoomBy(double factor) {
        const int page = currentPage();
        fit_ = Fit::None;
        zoom_ = std::clamp(zoom_ * factor, 0.01, 1.0);
        relayout();
        showPage(page);
    }
    // The page last asked for, else the one scrolled to.
    int currentPage() const { return page_; }
    // Scrolls the page to the top, as far as the pages below it let it go.
    void showPage(int index) {
        page_ = std::clamp(index, 0, layout_.pageCount() - 1);
        showing_ = true;
        verticalScrollBar()->setValue(page_ * pitch());
        showing_ = false;
        changed();
    }
    // Takes in pages that were added or the filled page count.
    void relayout() {
        const QSize page = pageSize();
        verticalScrollBar()->setPageStep(viewport()->height());
        verticalScrollBar()->setSingleStep(std::max(1, page.height() / 20));
        verticalScrollBar()->setRange(
            0, std::max(0, layout_.pageCount() * pitch() + kSpacing - viewport()->height()));
        horizontalScrollBar()->setPageStep(viewport()->width());
        horizontalScrollBar()->setRange(
            0, std::max(0, page.width() + 2 * kSpacing - viewport()->width()));
        viewport()->update();
        changed();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        refit();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(viewport());
        const QSize size = pageSize();
        const int x = std::max(kSpacing, (viewport()->width() - size.width()) / 2) -
                      horizontalScrollBar()->value();
        const int scrolled = verticalScrollBar()->value();
        for (int i = scrolled / pitch(); i < layout_.pageCount(); ++i) {
            const int top = kSpacing + i * pitch() - scrolled;
            if (top > viewport()->height()) {
                break;
            }
            const QRect paper(QPoint(x, top), size);
            painter.fillRect(paper.translated(3, 3), Qt::black);
            painter.fillRect(paper, Qt::white);
            painter.save();
            painter.setClipRect(paper);
            painter.translate(paper.topLeft());
            painter.scale(zoom_, zoom_);
            paintPage(painter, layout_.page(i), 1440);
            painter.restore();
        }
    }

private:
    static constexpr int kSpacing = 12;

    QSize pageSize() const { return (QSizeF(layout_.paper()) * zoom_).toSize(); }
    // The page at the top of the view; scrolled to the end, where several
    // pages may show at once, the last one.
    int pageAt(int scrolled) const {
        const QScrollBar* bar = verticalScrollBar();
        if (scrolled > 0 && scrolled >= bar->maximum()) {
            return layout_.pageCount() - 1;
        }
        return std::clamp((scrolled + pitch() / 2) / pitch(), 0, layout_.pageCount() - 1);
    }
    int pitch() const { return std::max(1, pageSize().height() + kSpacing); }

    void refit() {
        const QSizeF paper(layout_.paper());
        const double width = (viewport()->width() - 2.0 * kSpacing) / paper.width();
        const double height = (viewport()->height() - 2.0 * kSpacing) / paper.height();
        if (fit_ != Fit::None) {
            const int page = currentPage();
            zoom_ = std::max(0.01, fit_ == Fit::Width ? width : std::min(width, height));
            relayout();
            showPage(page);
        }
    }

    const ReportLayout& layout_;
    Fit fit_ = Fit::Width;
    int page_ = 0;
    bool showing_ = false;
    double zoom_ = 0.05;  // pixels per twip
};

namespace {

// How many records are read in one go, and how long one turn of reading and
// laying out may keep the window from answering.
constexpr int kBatch = 500;
constexpr qint64 kTurnMs = 25;

QIcon previewIcon(const char* name) {
    const QString base = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/") +
                         QLatin1String(name);
    QIcon icon(base + QStringLiteral("-24.png"));
    icon.addFile(base + QStringLiteral("-32.png"));
    return QIcon::fromTheme(QLatin1String(name), icon);
}

}  // namespace

RecordSource recordsOf(std::vector<db::Row> records) {
    auto all = std::make_shared<std::vector<db::Row>>(std::move(records));
    return [all](const db::Row* last, int) {
        return last == nullptr ? std::exchange(*all, {}) : std::vector<db::Row>();
    };
}

RecordSource periodRecords(const QDate& start, const QDate& end) {
    struct Walk {
        std::vector<qint64> ids;
        std::size_t next = 0;
    };
    auto walk = std::make_shared<Walk>();
    return [start, end, walk](const db::Row* last, int limit) {
        std::vector<db::Row> rows;
        moddapra::RunUnit([&](db::Connection& c) {
            if (last == nullptr) {
                *walk = {periodPaymentIds(c, start, end), 0};
            }
            const std::size_t upTo = std::min(walk->ids.size(), walk->next + std::size_t(limit));
            if (walk->next < upTo) {
                rows = periodPaymentsBetween(c, start, end, walk->ids[walk->next],
                                             walk->ids[upTo - 1]);
                walk->next = upTo;
            }
        });
        return rows;
    };
}

ReportPreview::ReportPreview(const ReportDesign& design, RecordSource source, QWidget* parent)
    : QDialog(parent),
      design_(design),
      source_(std::move(source)),
      printer_(QPrinter::HighResolution),
      layout_(design, landscapeA4Tw(), ui::now().date()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(design.caption);
    setSizeGripEnabled(true);
    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setPageOrientation(QPageLayout::Landscape);
    printer_.setFullPage(true);
    printer_.setDocName(design.caption);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    view_ = new PageView(layout_, this);
    buildToolBar(box);
    box->addWidget(view_);
    view_->changed = [this] {
        showPageNumber();
    };
    reader_ = new QTimer(this);
    connect(reader_, &QTimer::timeout, this, [this] { layOutMore(kTurnMs); });
    startReading();
}

void ReportPreview::readAgain(RecordSource source) {
    source_ = std::move(source);
    layout_ = ReportLayout(design_, landscapeA4Tw(), ui::now().date());
    startReading();
    view_->showPage(0);
}

void ReportPreview::startReading() {
    setCursor(Qt::BusyCursor);
    layOutMore(kTurnMs);
    reader_->start(0);
}

ReportPreview::~ReportPreview() {
    // The page box loses the focus as the window's children go, after this
    // window has stopped being a report window.
    disconnect(pageNumber_, nullptr, this, nullptr);
    QTimer::singleShot(0, qApp, &ui::giveMemoryBack);  // once its pages are freed
}

void ReportPreview::buildToolBar(QVBoxLayout* box) {
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(24, 24));
    bar->addAction(previewIcon("zoom-fit-width"), QStringLiteral("Sesuaikan lebar"), this,
                   [this] { view_->setFit(PageView::Fit::Width); });
    bar->addAction(previewIcon("zoom-fit-page"), QStringLiteral("Sesuaikan halaman"), this,
                   [this] { view_->setFit(PageView::Fit::WholePage); });
    bar->addAction(previewIcon("zoom-in"), QStringLiteral("Perbesar"), this,
                   [this] { view_->zoomBy(1.25); });
    bar->addAction(previewIcon("zoom-out"), QStringLiteral("Perkecil"), this,
                   [this] { view_->zoomBy(0.8); });
    bar->addSeparator();
    bar->addAction(previewIcon("go-first"), QStringLiteral("Halaman pertama"), this,
                   [this] { view_->showPage(0); });
    bar->addAction(previewIcon("go-previous"), QStringLiteral("Halaman sebelumnya"), this,
                   [this] { view_->showPage(view_->currentPage() - 1); });
    pageNumber_ = new QLineEdit(bar);
    pageNumber_->setAlignment(Qt::AlignRight);
    pageNumber_->setValidator(new QIntValidator(1, std::numeric_limits<int>::max(), pageNumber_));
    pageNumber_->setMaximumWidth(
        pageNumber_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    connect(pageNumber_, &QLineEdit::editingFinished, this, [this] {
        view_->showPage(pageNumber_->text().toInt() - 1);
        pageNumber_->setModified(false);
        showPageNumber();
    });
    bar->addWidget(pageNumber_);
    pageCount_ = new QLabel(bar);
    bar->addWidget(pageCount_);
    bar->addAction(previewIcon("go-next"), QStringLiteral("Halaman berikutnya"), this,
                   [this] { view_->showPage(view_->currentPage() + 1); });
    bar->addAction(previewIcon("go-last"), QStringLiteral("Halaman terakhir"), this,
                   [this] { view_->showPage(layout_.pageCount() - 1); });
    bar->addSeparator();
    printAction_ =
        bar->addAction(previewIcon("printer"), QStringLiteral("Cetak"), this, [this] { print(); });
    box->addWidget(bar);
}

// A page number the user is typing stays until he ends it.
void ReportPreview::showPageNumber() {
    if (!pageNumber_->isModified()) {
        pageNumber_->setText(QString::number(view_->currentPage() + 1));
    }
    pageCount_->setText(QStringLiteral(" / %1 ").arg(layout_.pageCount()));
}

// Returns whether records are left to read.
bool ReportPreview::layOutMore(qint64 budgetMs) {
    QElapsedTimer turn;
    turn.start();
    while (!layout_.finished() && (budgetMs < 0 || turn.elapsed() < budgetMs)) {
        const std::vector<db::Row>& read = layout_.records();
        std::vector<db::Row> rows = source_(read.empty() ? nullptr : &read.back(), kBatch);
        const bool last = rows.size() < size_t(kBatch);
        layout_.add(std::move(rows));
        if (last) {
            layout_.finish();
            reader_->stop();
            unsetCursor();
        }
    }
    view_->relayout();
    return !layout_.finished();
}

void ReportPreview::finishLayout() {
    if (layout_.finished()) {
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    layOutMore(-1);
    QGuiApplication::restoreOverrideCursor();
}

void ReportPreview::print() {
    finishLayout();
    PageSet set = PageSet::All;
    if (askPrinter(printer_, layout_.pageCount(), set, this)) {
        printTo(&printer_, set);
    }
}

bool ReportPreview::printTo(QPrinter* target, PageSet set) {
    finishLayout();
    return printPages(layout_, *target, set, view_->currentPage());
}

ReportPreview* showReport(const ReportDesign& design, RecordSource source, QWidget* parent) {
    static std::map<const ReportDesign*, QPointer<ReportPreview>> open;
    QPointer<ReportPreview>& preview = open[&design];
    if (preview) {
        preview->readAgain(std::move(source));
    } else {
        preview = new ReportPreview(design, std::move(source), parent);
    }
    preview->setWindowState(Qt::WindowMaximized);
    preview->show();
    preview->raise();
    preview->activateWindow();
    return preview;
}

}  // namespace reports
