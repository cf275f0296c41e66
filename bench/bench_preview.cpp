// Measures "Cetak!" of the period window for the last year of the generated
// data with the real report window offscreen: the time until its first page
// is painted, the longest the event loop went without a turn until every page
// was laid out, resident memory before, with the window open and after it
// closed, and printing every page into a PDF file. Run: build/bench/bench_preview [years]
#include "datagen.h"

#include "reports/printedreports.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

// Notes when the report window's pages are first painted, after the painting.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
    qint64 atMs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (atMs >= 0 || inside_ || event->type() != QEvent::Paint || widget == nullptr ||
            qobject_cast<reports::ReportPreview*>(widget->window()) == nullptr ||
            qobject_cast<QAbstractScrollArea*>(widget->parentWidget()) == nullptr) {
            return false;
        }
        inside_ = true;
        QCoreApplication::sendEvent(watched, event);
        inside_ = false;
        atMs = clock_.elapsed();
        return true;
    }

private:
    const QElapsedTimer& clock_;
    bool inside_ = false;
};

void waitMs(int ms) {
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    datagen::offscreenUnlessSet();
    QApplication app(argc, argv);
    fmt::applyIndonesianLocale();
    QTemporaryDir home;
    const QString data = datagen::useCachedDatabase(argc, argv, home.path());
    if (data.isEmpty()) {
        return 1;
    }
    const QDate last = db::Connection(data).scalar("SELECT max(tgl_bayar) FROM bayar").toDate();
    const QDate yearStart = last.addYears(-1).addDays(1);
    const double before = residentMb();

    QElapsedTimer clock;
    FirstPaint firstPaint(clock);
    app.installEventFilter(&firstPaint);
    qint64 turn = 0;
    qint64 longest = 0;
    QTimer beat;  // fires on every turn of the event loop
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - turn);
        turn = clock.elapsed();
    });
    beat.start(0);
    clock.start();
    reports::ReportPreview* preview = reports::showReport(
        reports::periodReport(), reports::periodRecords(yearStart, last), nullptr);
    while (!preview->layout().finished() || firstPaint.atMs < 0) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const qint64 laidOut = clock.elapsed();
    waitMs(200);
    beat.stop();
    const double open = residentMb();
    QElapsedTimer printing;
    printing.start();
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setOutputFileName(home.filePath("year.pdf"));
    preview->printTo(&pdf);
    const qint64 printed = printing.elapsed();
    const double afterPrinting = residentMb();
    const int pages = preview->layout().pageCount();
    const size_t payments = preview->records().size();
    preview->close();
    waitMs(500);
    const double closed = residentMb();

    std::printf("\"Cetak!\" for one year: %zu payments, %d pages\n", payments, pages);
    std::printf("first page painted             %8lld ms\n", firstPaint.atMs);
    std::printf("every page laid out            %8lld ms\n", laidOut);
    std::printf("longest gap between loop turns %8lld ms\n", longest);
    std::printf("resident memory before         %8.0f MB\n", before);
    std::printf("resident memory, preview open  %8.0f MB\n", open);
    std::printf("resident memory after closing  %8.0f MB\n", closed);
    std::printf("printing every page into a PDF %8lld ms, then %.0f MB resident\n", printed,
                afterPrinting);
    return 0;
}
