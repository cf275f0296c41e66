#include "reports/reportprint.h"

#include "toolkit/msgbox.h"
#include "toolkit/printer.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QPageRanges>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>

#include <algorithm>

namespace reports {

namespace {

constexpr double kTwipsPerPoint = 20;

// Where Qt keeps the job options it hands to CUPS with a printer's document.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The job options by which CUPS would choose or reorder the pages it is sent.
bool choosesPages(const QString& option) {
    for (const char* name : {"page-ranges", "page-set", "outputorder"}) {
        if (option.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

// The print dialog hands the pages typed in its "Pages" box and the page
// set to CUPS as well as to the program, which sends only those pages: CUPS
// would then choose again among them ("2,5" of pages 2 to 5 is page 3).
void leaveThePagesToUs(QPrinter& printer) {
    QPrintEngine* engine = printer.printEngine();
    const QStringList options = engine->property(kCupsOptions).toStringList();
    QStringList kept;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (!choosesPages(options[i])) {
            kept << options[i] << options[i + 1];
        }
    }
    if (kept.size() != options.size()) {
        engine->setProperty(kCupsOptions, kept);
    }
}

// The page set the dialog's "Page Set" box chose, where it could be chosen.
PageSet chosenSet(const QPrintDialog& dialog) {
    const auto* box = dialog.findChild<QComboBox*>(QStringLiteral("pageSetCombo"));
    if (!box || !box->isEnabled()) {
        return PageSet::All;
    }
    return PageSet(std::clamp(box->currentIndex(), 0, int(PageSet::Even)));
}

bool inSet(int number, PageSet set) {
    return set == PageSet::All || (number % 2 == 1) == (set == PageSet::Odd);
}

// The page as laid out for the preview, shrunk where the paper is smaller.
double scaleToPaper(const QPrinter& printer, const QSize& pageTw) {
    const QSizeF paper = printer.pageLayout().fullRectPoints().size() * kTwipsPerPoint;
    return std::min({1.0, paper.width() / pageTw.width(), paper.height() / pageTw.height()});
}

// Returns whether every page was begun.
bool paintPages(QPainter& painter, QPrinter& printer, const ReportLayout& layout,
                const std::vector<int>& pages) {
    const double scale = scaleToPaper(printer, layout.paper());
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, layout.page(pages[i]), printer.resolution());
        painter.restore();
    }
    return true;
}

}  // namespace

bool askPrinter(QPrinter& printer, int pageCount, PageSet& set, QWidget* parent) {
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
    dialog.setMinMax(1, pageCount);
    dialog.setFromTo(1, pageCount);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    set = chosenSet(dialog);
    return true;
}

std::vector<int> chosenPages(const QPrinter& printer, PageSet set, int current, int count) {
    const QPageRanges ranges = printer.pageRanges();
    std::vector<int> once;
    for (int number = 1; number <= count; ++number) {
        bool chosen = inSet(number, set);
        if (printer.printRange() == QPrinter::CurrentPage) {
            chosen = number == std::clamp(current, 0, count - 1) + 1;
        } else if (printer.printRange() == QPrinter::PageRange && !ranges.isEmpty()) {
            chosen = chosen && ranges.contains(number);
        }
        if (chosen) {
            once.push_back(number - 1);
        }
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst) {
        std::reverse(once.begin(), once.end());
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<int> pages;
    pages.reserve(once.size() * size_t(copies));
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c) {
            pages.insert(pages.end(), once.begin(), once.end());
        }
    } else {
        for (const int page : once) {
            pages.insert(pages.end(), size_t(copies), page);
        }
    }
    return pages;
}

bool printPages(const ReportLayout& layout, QPrinter& printer, PageSet set, int current) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    leaveThePagesToUs(printer);
    const std::vector<int> pages = chosenPages(printer, set, current, layout.pageCount());
    if (pages.empty()) {
        ui::msgBox(QStringLiteral("Tidak ada data yang akan dicetak!"), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("Informasi"));
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter painter;
    const bool painted = painter.begin(&printer) && paintPages(painter, printer, layout, pages);
    const bool printed = ui::endDocument(painter, printer) && painted;
    QGuiApplication::restoreOverrideCursor();
    if (!printed) {
        ui::msgBox(QStringLiteral("Laporan gagal dicetak! Periksa printer anda."), ui::Buttons::Ok,
                   ui::Icon::Exclamation, QStringLiteral("Informasi"));
    }
    return printed;
}

}  // namespace reports
