// The four report windows, driven by keys, with their charts read back.
#include "reports/freportdaftarmenu.h"
#include "reports/freportmenufavorit.h"
#include "reports/freportpenjualanharian.h"
#include "reports/freportpenjualanperiode.h"
#include "reports/printedreports.h"
#include "reports/reports.h"
#include "seed.h"
#include "toolkit/datepicker.h"
#include "toolkit/msgbox.h"
#include "toolkit/reportlist.h"
#include "toolkit/seams.h"

#include <QAbstractScrollArea>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPieSeries>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <memory>

using testing::child;
using testing::column;
using testing::focusName;
using testing::keys;
using testing::seen;

namespace {

QList<reports::ReportPreview*> previews() {
    QList<reports::ReportPreview*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<reports::ReportPreview*>(w); p && p->isVisible()) {
            found.append(p);
        }
    }
    return found;
}

QString output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page count of a PDF file written whole, else 0.
int pdfPages(const QString& pdf) {
    static const QRegularExpression count(QStringLiteral("Pages:\\s+(\\d+)"));
    return count.match(output("pdfinfo", {pdf})).captured(1).toInt();
}

// The new PDF in the queue's folder (not among `before`) that holds the
// marker, once written whole.
QString queuedPdf(const QString& queue, const QStringList& before, const QString& marker) {
    QString found;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            for (const QString& name : QDir(queue).entryList({"*.pdf"}, QDir::Files)) {
                const QString path = queue + QChar('/') + name;
                if (!before.contains(name) && pdfPages(path) > 0 &&
                    output("pdftotext", {path, "-"}).contains(marker)) {
                    found = path;
                }
            }
            return !found.isEmpty();
        },
        60000));
    return found;
}

}  // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        install_ = std::make_unique<testing::TestInstall>();
        main_ = std::make_unique<testing::MainWindow>();
        boxes_.clear();
    }
    void cleanup() {
        qDeleteAll(previews());
        main_.reset();
        install_.reset();
    }

    void periodListTotalAndRefusal() {
        rtest::seedSales(*install_);
        auto* form = open<reports::fReportPenjualanPeriode>();
        QCOMPARE(form->windowTitle(), QStringLiteral("Report Penjualan Per Periode"));
        QCOMPARE(focusName(), QStringLiteral("DTPicker1"));
        QCOMPARE(child<ui::DatePicker>(form, "DTPicker1")->date(), QDate(2024, 5, 6));
        QTreeView* list = child<QTreeView>(form, "ListView1");
        QStringList captions;
        for (int i = 0; i < list->model()->columnCount(); ++i) {
            captions.append(list->model()->headerData(i, Qt::Horizontal).toString() + "/" +
                            QString::number(list->columnWidth(i)));
        }
        QCOMPARE(captions,
                 QStringList({"Nomer Nota/133", "Nomer Order/133", "Tanggal Penjualan/133",
                              "Jam Penjualan/133", "Nama Kasir/133", "Nama Pelayan/133",
                              "Total Harga/133", "Total Bayar/133", "Kembali/133", "Id Bayar/0"}));
        QVERIFY(list->isColumnHidden(9));

        // Deleted cashier and gone waiter stay, with empty names. Keys typed
        // ahead act in order: the date typed after Alt+T stays in the picker.
        keys("01052024|Tab|03052024|Alt+T|05052024");
        QCOMPARE(
            testing::rows(list),
            QStringList({"PO-1|RO-01042024101|01/05/2024|10:00:00|ani|Sari|25.000|30.000|5.000|1",
                         "PO-2|RO-01042024102|01/05/2024|11:30:00||Tono|12.000|12.000|0|2",
                         "PO-3|RO-01042024103|03/05/2024|12:00:00|ani||8.000|10.000|2.000|3"}));
        for (const int col : {0, 6}) {  // amounts and their caption stand right
            const int align =
                list->model()->index(0, col).data(Qt::TextAlignmentRole).toInt() |
                list->model()->headerData(col, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
            QCOMPARE(bool(align & Qt::AlignRight), col == 6);
        }
        QCOMPARE(total(form), QStringLiteral("Rp. 45.000,-"));

        // A start after the end is refused; the rows stay.
        QCOMPARE(child<ui::DatePicker>(form, "DTPicker1")->date(), QDate(2024, 5, 5));
        keys("Alt+T");
        QCOMPARE(
            seen(boxes_),
            QStringList{"Informasi (i): Tanggal Awal tidak boleh lebih besar dari tanggal akhir!"});
        QCOMPARE(column(list, 0), QStringList({"PO-1", "PO-2", "PO-3"}));
        QCOMPARE(focusName(), QStringLiteral("DTPicker1"));

        showPeriod("30042024", "30042024");
        QCOMPARE(column(list, 0), QStringList({"PO-4"}));
        QCOMPARE(total(form), QStringLiteral("Rp. ,-"));

        showPeriod("01062024", "30062024");
        QCOMPARE(list->model()->rowCount() + total(form).size(), 0);
        keys("Shift+Tab|Shift+Tab|Space");
        QCOMPARE(focusName(), QStringLiteral("Command3"));
        QCOMPARE(seen(boxes_).last(),
                 QStringLiteral("Informasi (i): Tidak ada data yang akan dicetak!"));
        QVERIFY(previews().isEmpty());

        keys("Esc");
        QTRY_VERIFY(main_->get()->findChildren<reports::fReportPenjualanPeriode*>().isEmpty());
    }

    // With an item ordered but nothing paid yet the chart windows show an
    // empty list and chart; Tab and Shift+Tab walk each window's road.
    void roadsBeforeFirstPayment_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QStringList>("road");  // Shift+Tab walks it backwards
        const QStringList period = {"DTPicker1", "DTPicker2", "Command1", "ListView1",
                                    "Command3",  "Command2",  "DTPicker1"};
        const QStringList chart = {"ListView1", "Command2", "MSChart1", "ListView1"};
        QTest::newRow("period") << 0 << period;
        QTest::newRow("daily") << 1 << chart;
        QTest::newRow("favourites") << 2 << chart;
        QTest::newRow("menu list")
            << 3 << QStringList{"ListView1", "Command1", "Command2", "ListView1"};
    }
    void roadsBeforeFirstPayment() {
        QFETCH(int, window);
        QFETCH(QStringList, road);
        rtest::seedCategories(*install_);
        rtest::addMenu(*install_, "NG01", "Nasi Goreng", 1, 1, 12500);
        install_->exec("INSERT INTO detail_pesan VALUES (1, 1, 2, 0)");
        const std::array<ui::Form* (*)(), 4> makers = {
            &reports::makePenjualanPeriode, &reports::makePenjualanHarian,
            &reports::makeMenuFavorit, &reports::makeDaftarMenu};
        ui::Form* form = makers[size_t(window)]();
        ui::showChild(form);
        testing::settle();
        if (window == 1 || window == 2) {
            QCOMPARE(child<QTreeView>(form, "ListView1")->model()->rowCount(), 0);
            QChart* chart = child<QChartView>(form, "MSChart1")->chart();
            QCOMPARE(chart->title() + QString::number(chart->series().size()), QStringLiteral("0"));
        }
        QVERIFY(boxes_.empty());
        QCOMPARE(testing::tabRoad(int(road.size()) - 1), road);
        std::reverse(road.begin(), road.end());
        QCOMPARE(testing::tabRoad(int(road.size()) - 1, Qt::Key_Backtab), road);
    }

    // The day, month and year typed make one date, the one the period query
    // reads; a date that does not exist is refused and stays as typed. A
    // click on a part of a date selects it for the digits typed next.
    void typedDatesTakenWhole_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("click");  // the part of DTPicker1 clicked: 0 day, 1 month, 2 year
        QTest::addColumn<QString>("road");
        QTest::addColumn<QDate>("start");  // StartDate and EndDate
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("shown");  // the pickers' texts
        QTest::addColumn<bool>("refused");
        const QDate nov30(2026, 11, 30);
        QTest::newRow("31/10 typed over 30/11")
            << nov30 << -1 << "01102026|Tab|31102026|Alt+T" << QDate(2026, 10, 1)
            << QDate(2026, 10, 31) << "01/10/2026 31/10/2026" << false;
        const QDate feb29(2028, 2, 29);
        QTest::newRow("29/02/2028 typed over February 2026")
            << QDate(2026, 2, 10) << -1 << "29022028|Tab|29022028|Alt+T" << feb29 << feb29
            << "29/02/2028 29/02/2028" << false;
        QTest::newRow("31/11 refused")
            << nov30 << -1 << "31112026|Alt+T" << nov30 << nov30 << "31/11/2026 30/11/2026" << true;
        QTest::newRow("a day whose month was left")
            << nov30 << -1 << "31|Tab|Alt+T" << nov30 << nov30 << "31/11/2026 30/11/2026" << true;
        QTest::newRow("a click on the month, then digits")
            << nov30 << 1 << "10|Alt+T" << QDate(2026, 10, 30) << nov30 << "30/10/2026 30/11/2026"
            << false;
    }
    void typedDatesTakenWhole() {
        QFETCH(QDate, today);
        QFETCH(int, click);
        QFETCH(bool, refused);
        clock_.set(QDateTime(today, QTime(9, 30)));
        auto* form = open<reports::fReportPenjualanPeriode>();
        auto* start = child<ui::DatePicker>(form, "DTPicker1");
        if (click >= 0) {
            clickPart(start, click);
        }
        QFETCH(QString, road);
        keys(road);
        QTEST(form->StartDate, "start");
        QTEST(form->EndDate, "end");
        QTEST(start->text() + ' ' + child<ui::DatePicker>(form, "DTPicker2")->text(), "shown");
        QCOMPARE(seen(boxes_),
                 refused ? QStringList{"Perhatian! (!): Tanggal 31/11/2026 tidak ada! Isi "
                                       "tanggal yang benar!"}
                         : QStringList());
        QCOMPARE(focusName(), QStringLiteral("DTPicker1"));
    }

    // The printout covers the pickers' dates at the moment of printing and
    // reads the file db.txt names; its many pages print from the preview's
    // Print button on the default printer (the PDF queue of .ci/run), twice,
    // and the preview stays open; a broken printer is reported.
    void periodPrintout() {
        testing::TestInstall other;
        addPayments(other, 1100);
        other.exec("UPDATE bayar SET no_nota = 'X-' || no_nota");
        rtest::seedSales(*install_);
        install_->writeDbTxt(other.dbPath().toUtf8() + "\r\n");
        open<reports::fReportPenjualanPeriode>();
        showPeriod("30042024", "03052024");
        keys("01052024|Tab|03052024|Tab|Tab|Tab|Space");
        QCOMPARE(previews().size(), 1);
        reports::ReportPreview* preview = previews().front();
        QCOMPARE(preview->windowTitle(), QStringLiteral("Cetak Daftar Penjualan Per Periode"));
        QVERIFY(preview->windowState() & Qt::WindowMaximized);
        QCOMPARE(preview->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(column(preview->records(), reports::kNoNota).mid(0, 4),
                 QStringList({"X-PO-1", "X-PO-2", "X-PO-3", "X-PB-1"}));
        QTemporaryDir dir;
        QPrinter broken(QPrinter::HighResolution);
        broken.setOutputFileName(dir.filePath("no/such/folder/x.pdf"));
        QVERIFY(!preview->printTo(&broken));
        QCOMPARE(seen(boxes_),
                 QStringList{"Informasi (!): Laporan gagal dicetak! Periksa printer anda."});

        const QString queue = qEnvironmentVariable("DAPRA_TICKET_PDF_DIR");
        if (queue.isEmpty() || QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("no PDF queue as the default printer (.ci/run sets one up)");
        }
        QAction* print = nullptr;
        for (QAction* action : preview->findChildren<QAction*>()) {
            print = action->text() == QStringLiteral("Cetak") ? action : print;
        }
        QVERIFY(print);
        QTimer accept;  // the user presses Print in the print dialog
        connect(&accept, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->accept();
            }
        });
        accept.start(50);
        for (int round = 0; round < 2; ++round) {
            const QStringList before = QDir(queue).entryList({"*.pdf"}, QDir::Files);
            print->trigger();
            const QString pdf = queuedPdf(queue, before, "X-PO-1");
            QCOMPARE(pdfPages(pdf), 59);  // 1103 rows, 19 a page
            QFile::remove(pdf);
            QVERIFY(preview->isVisible());
        }
    }

    // What the print dialog asks for is what comes out, from the preview of
    // 48 pages with page 5 on screen, into a PDF file or through the CUPS
    // queue: the pages by number as in the preview, never chosen twice, in
    // landscape with every column whole whatever orientation was chosen, one
    // copy unless asked; a queue that refuses the job is said. A choice is
    // "current", "from-to", or "pages:" and the text typed under "Pages".
    void printDialogChoosesPages_data() {
        QTest::addColumn<QString>("printer");  // "file", or a CUPS queue
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("set");  // 0 all, 1 odd, 2 even pages
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("portrait");    // chosen under Properties
        QTest::addColumn<QString>("numbers");  // of the pages printed
        QTest::newRow("pages 2 to 3") << "file"
                                      << "2-3" << 0 << false << 1 << false << "2|3";
        QTest::newRow("current page") << "file"
                                      << "current" << 0 << false << 1 << false << "5";
        QTest::newRow("two copies") << "file"
                                    << "47-48" << 0 << false << 2 << false << "47|48|47|48";
        QTest::newRow("portrait, file") << "file"
                                        << "current" << 0 << false << 1 << true << "5";
        QTest::newRow("queue, pages 2,5") << "DapraPDF"
                                          << "pages:2,5" << 0 << false << 1 << false << "2|5";
        QTest::newRow("queue, pages 3-5") << "DapraPDF"
                                          << "pages:3-5" << 0 << false << 1 << false << "3|4|5";
        QTest::newRow("queue, pages 1,3-4") << "DapraPDF"
                                            << "pages:1,3-4" << 0 << false << 1 << false << "1|3|4";
        QTest::newRow("queue, odd of 2 to 7") << "DapraPDF"
                                              << "2-7" << 1 << false << 1 << false << "3|5|7";
        QTest::newRow("queue, even of 3-8 reversed")
            << "DapraPDF"
            << "pages:3-8" << 2 << true << 1 << false << "8|6|4";
        QTest::newRow("queue, portrait, current page")
            << "DapraPDF"
            << "current" << 0 << false << 1 << true << "5";
        QTest::newRow("queue refusing jobs") << "DapraRefused"
                                             << "pages:2,5" << 0 << false << 1 << false << "";
    }
    void printDialogChoosesPages() {
        QFETCH(QString, printer);
        QFETCH(QString, choice);
        QFETCH(int, set);
        QFETCH(bool, reverse);
        QFETCH(int, copies);
        QFETCH(bool, portrait);
        QFETCH(QString, numbers);
        const QString queue = qEnvironmentVariable("DAPRA_TICKET_PDF_DIR");
        if (printer != "file" && (queue.isEmpty() || QPrinterInfo::printerInfo(printer).isNull())) {
            QSKIP(qPrintable("no CUPS queue " + printer +
                             " beside a PDF queue's output folder"
                             " (.ci/run sets both up with scripts/pdf-printer)"));
        }
        addPayments(*install_, 900);
        // The waiter's name tells this run's printouts from others in the queue.
        const QString waiter = QStringLiteral("Sari%1").arg(QCoreApplication::applicationPid());
        install_->exec("UPDATE pelayan SET nm_pelayan = ? WHERE id_pelayan = 1", {waiter});
        reports::ReportPreview* preview = periodPreviewOnPage5();
        preview->printer()->setCopyCount(3);  // left from an earlier print
        QTemporaryDir dir;
        const QString file = dir.filePath("laporan.pdf");
        const QStringList before = QDir(queue).entryList({"*.pdf"}, QDir::Files);
        int offered = 0;  // copies
        testing::whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            QVERIFY(dialog);
            offered = child<QSpinBox>(dialog, "copies")->value();
            auto* printers = child<QComboBox>(dialog, "printers");
            if (printer == "file") {
                printers->setCurrentIndex(printers->count() - 1);  // "Print to File (PDF)"
                child<QLineEdit>(dialog, "filename")->setText(file);
            } else {
                printers->setCurrentIndex(printers->findText(printer));
            }
            choosePages(dialog, choice);
            auto* sets = child<QComboBox>(dialog, "pageSetCombo");
            QCOMPARE(sets->itemText(set),
                     QStringList({"All Pages", "Odd Pages", "Even Pages"})[set]);
            sets->setCurrentIndex(set);
            child<QCheckBox>(dialog, "reverse")->setChecked(reverse);
            child<QSpinBox>(dialog, "copies")->setValue(copies);
            if (portrait) {
                testing::whenModal([](QWidget* properties) {
                    child<QRadioButton>(properties, "portrait")->click();
                    qobject_cast<QDialog*>(properties)->accept();
                });
                QTest::mouseClick(child<QPushButton>(dialog, "properties"), Qt::LeftButton);
            }
            for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
                if (b->isDefault()) {
                    QTest::mouseClick(b, Qt::LeftButton);
                }
            }
        });
        QTest::mouseClick(toolButton(preview, "Cetak"), Qt::LeftButton);
        if (numbers.isEmpty()) {
            QCOMPARE(seen(boxes_),
                     QStringList{"Informasi (!): Laporan gagal dicetak! Periksa printer anda."});
            QCOMPARE(offered, 1);
            return;
        }
        QVERIFY(boxes_.empty());
        const QString pdf = printer == "file" ? file : queuedPdf(queue, before, waiter);
        const auto removePdf = qScopeGuard([&] { QFile::remove(pdf); });
        QCOMPARE(pdfPages(pdf), int(numbers.count('|')) + 1);
        QCOMPARE(pageNumbers(pdf), numbers);
        // The landscape page whole (a queue turns it on the paper in the tray).
        QVERIFY(
            output("pdfinfo", {pdf})
                .contains(QRegularExpression("Page size:\\s+(842 x 595|595 x 842) pts \\(A4\\)")));
        const QString text = output("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
        for (const char* shown : {"Total Harga", "Total Bayar", "Kembali", "25.000"}) {
            QVERIFY2(text.contains(QLatin1String(shown)), shown);
        }
        QCOMPARE(offered, 1);
    }

    // A long list keeps the order stored (a payment dated earlier but stored
    // later comes later), shows its first row at the top, and End, Page Up,
    // Home and a click reach any row.
    void longListKeepsOrderAndReachesEveryRow() {
        addPayments(*install_, 5000);
        auto* form = open<reports::fReportPenjualanPeriode>();
        QTreeView* list = child<QTreeView>(form, "ListView1");
        showPeriod("30042024", "03052024");
        QCOMPARE(total(form), QStringLiteral("Rp. 125.045.000,-"));
        QCOMPARE(list->indexAt(QPoint(5, 5)).row(), 0);
        QTRY_COMPARE(column(list, 0).mid(0, 5),
                     QStringList({"PO-1", "PO-2", "PO-3", "PO-4", "PB-1"}));
        keys("Tab|Tab|Tab|End");
        QCOMPARE(focusName(), QStringLiteral("ListView1"));
        QCOMPARE(list->currentIndex().row(), 5003);
        QTRY_COMPARE(list->currentIndex().data().toString(), QStringLiteral("PB-5000"));
        QVERIFY(list->viewport()->rect().contains(list->visualRect(list->currentIndex()).center()));
        keys("Up|Home");
        QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("PO-1"));
        const QModelIndex third = list->model()->index(2, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(third).center());
        QCOMPARE(list->selectionModel()->selectedRows().value(0).data().toString(),
                 QStringLiteral("PO-3"));
        QVERIFY(boxes_.empty());
    }

    // One point per listed date, evenly spaced in the list's order, each
    // labelled with its date (with thousands of dates, every n-th); a lone
    // date is a visible point, and nothing draws with a warning.
    void dailyChartFollowsList_data() {
        QTest::addColumn<int>("days");  // 3: the shared sales, else days from 02/01/2015
        QTest::addColumn<QStringList>("list");
        QTest::newRow("three") << 3
                               << QStringList(
                                      {"30/04/2024|", "01/05/2024|37.000", "03/05/2024|8.000"});
        QTest::newRow("one") << 1 << QStringList({"02/01/2015|1.000"});
        QTest::newRow("thousands") << 3650 << QStringList();  // the list ends on its last day
    }
    void dailyChartFollowsList() {
        QFETCH(int, days);
        QFETCH(QStringList, list);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        if (days == 3) {
            rtest::seedSales(*install_);
        } else {
            addDays(days);
        }
        auto* form = open<reports::fReportPenjualanHarian>();
        QTRY_VERIFY(!form->filling());
        auto* view = child<QAbstractItemView>(form, "ListView1");
        QAbstractItemModel* rows = view->model();
        QStringList shown;
        QList<QPointF> points;  // the row's index and its total
        for (int i = 0; i < rows->rowCount(); ++i) {
            const QString total = rows->index(i, 1).data().toString();
            shown.append(rows->index(i, 0).data().toString() + '|' + total);
            points.append({qreal(i), QString(total).remove('.').toDouble()});
        }
        QCOMPARE(shown.size(), days);
        QCOMPARE(list.isEmpty() ? list : shown, list);
        QVERIFY(view->viewport()->rect().contains(view->visualRect(rows->index(days - 1, 0))));
        QCOMPARE(view->visualRect(rows->index(0, 0)).top() >= 0, days < 20);

        auto* chartView = child<QChartView>(form, "MSChart1");
        QChart* chart = chartView->chart();
        QCOMPARE(chart->title() + QString::number(chart->series().size()),
                 QStringLiteral("Grafik Penjualan Harian1"));
        auto* line = qobject_cast<QLineSeries*>(chart->series().front());
        QVERIFY(line && line->metaObject() == &QLineSeries::staticMetaObject);  // a straight line
        QCOMPARE(line->points(), points);
        auto* dates = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
        QVERIFY(dates);
        QStringList labelled;  // the list's dates where the labels stand
        for (const QString& label : dates->categoriesLabels()) {
            labelled.append(shown.value(int(dates->endValue(label))).section('|', 0, 0));
        }
        QCOMPARE(dates->categoriesLabels(), labelled);
        QCOMPARE(labelled.size() == days, days < 10);
        QVERIFY(chart->localizeNumbers());  // "37.000", as the list shows it
        QCOMPARE(chart->locale().groupSeparator(), QStringLiteral("."));

        const QImage shot = chartView->grab().toImage();
        if (days == 1) {  // the lone point is drawn in the line's colour
            const QPoint at = chartView->mapFromScene(chart->mapToPosition(line->at(0), line));
            QCOMPARE(shot.pixelColor(at), line->color());
        }
        keys("Esc");
        QTRY_VERIFY(main_->get()->findChildren<reports::fReportPenjualanHarian*>().isEmpty());
    }

    // Every date is labelled under its own point while the labels fit the
    // chart's width; where they would overlap, every n-th from the first is,
    // no further apart than needed; a resize labels them afresh.
    void dailyChartDateLabels_data() {
        QTest::addColumn<int>("days");               // from 02/01/2015
        QTest::addColumn<QList<int>>("widths");      // of the main window, in turn
        QTest::addColumn<QList<bool>>("everyDate");  // labelled at each width
        QTest::newRow("11") << 11 << QList<int>{1280} << QList<bool>{true};
        QTest::newRow("12, narrowed, widened")
            << 12 << QList<int>{1280, 500, 1280} << QList<bool>{true, false, true};
        QTest::newRow("21") << 21 << QList<int>{1280} << QList<bool>{false};
        QTest::newRow("99") << 99 << QList<int>{1280} << QList<bool>{false};
    }
    void dailyChartDateLabels() {
        QFETCH(int, days);
        QFETCH(QList<int>, widths);
        QFETCH(QList<bool>, everyDate);
        addDays(days);
        main_->get()->resize(widths.front(), 1000);
        auto* form = open<reports::fReportPenjualanHarian>();
        QTRY_VERIFY(!form->filling());
        auto* chartView = child<QChartView>(form, "MSChart1");
        QChart* chart = chartView->chart();
        auto* line = qobject_cast<QLineSeries*>(chart->series().front());
        QVERIFY(line);
        QStringList all;
        for (int i = 0; i < days; ++i) {
            all.append(QDate(2015, 1, 2).addDays(i).toString("dd/MM/yyyy"));
        }
        for (qsizetype w = 0; w < widths.size(); ++w) {
            main_->get()->resize(widths[w], 1000);
            testing::settle();
            QMap<qreal, QGraphicsTextItem*> drawn;  // each date drawn under the axis, by place
            static const QRegularExpression date(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}$"));
            for (QGraphicsItem* item : chartView->scene()->items()) {
                auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                if (text && text->isVisible() && date.match(text->toPlainText()).hasMatch()) {
                    drawn.insert(text->sceneBoundingRect().center().x(), text);
                }
            }
            QStringList labels;  // from left to right
            for (auto it = drawn.cbegin(); it != drawn.cend(); ++it) {
                const int day = int(all.indexOf(it.value()->toPlainText()));
                const qreal off = it.key() - chart->mapToPosition(line->at(day), line).x();
                labels.append(all.value(day) +
                              (std::abs(off) <= 2 ? "" : " off by " + QString::number(off)));
            }
            const qsizetype step = everyDate[w] ? 1 : all.indexOf(labels.value(1));
            QVERIFY2(step > int(!everyDate[w]), qPrintable(labels.join(' ')));
            QStringList evenly;
            for (qsizetype i = 0; i < days; i += step) {
                evenly.append(all[i]);
            }
            QCOMPARE(labels, evenly);
            const QList<qreal> places = drawn.keys();
            const qreal width = drawn.first()->boundingRect().width();
            for (qsizetype i = 1; i < places.size(); ++i) {
                const qreal apart = places[i] - places[i - 1];
                QVERIFY(apart > width && (step == 1 || apart < 2 * width));
            }
        }
    }

    // Quantities of paid and unpaid orders count; equal quantities go by
    // name; the window cuts at ten even when the eleventh equals the tenth;
    // items whose category or unit is gone drop out.
    void favouritesListAndPie() {
        rtest::seedSales(*install_);
        rtest::seedCategories(*install_);
        const QStringList names = {"Kopi",  "Teh",  "Es Jeruk", "Nasi", "Mie",  "Sate",  "Soto",
                                   "Bakso", "Roti", "Zebra",    "Ayam", "Lele", "Hilang"};
        const QList<int> quantities = {9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 0, 50};
        for (int i = 0; i < names.size(); ++i) {
            rtest::addMenu(*install_, QString("M%1").arg(i), names[i], i == 12 ? 7 : 1, 1, 1000);
            // Order 1 is paid, order 5 unpaid: their lines add up to the quantity.
            install_->exec("INSERT INTO detail_pesan VALUES (1, ?, ?, 0), (5, ?, ?, 0)",
                           {i + 1, quantities[i] - quantities[i] / 2, i + 1, quantities[i] / 2});
        }
        auto* form = open<reports::fReportMenuFavorit>();
        QCOMPARE(form->windowTitle(), QStringLiteral("Report Menu Favorit"));
        QTreeView* list = child<QTreeView>(form, "ListView1");
        const QStringList top = {"Kopi=9", "Teh=9",  "Es Jeruk=8", "Nasi=7", "Mie=6",
                                 "Sate=5", "Soto=4", "Bakso=3",    "Roti=2", "Ayam=1"};
        QStringList rows;
        for (int i = 0; i < top.size(); ++i) {
            rows.append(QString("%1|%2|Makanan|Porsi|%3")
                            .arg(i + 1)
                            .arg(top[i].section('=', 0, 0), top[i].section('=', 1)));
        }
        QCOMPARE(testing::rows(list), rows);
        QChart* chart = child<QChartView>(form, "MSChart1")->chart();
        QCOMPARE(chart->title(), QStringLiteral("Grafik 10 Menu Ter Favorit"));
        auto* pie = qobject_cast<QPieSeries*>(chart->series().value(0));
        QVERIFY(pie);
        QStringList slices;
        for (const QPieSlice* s : pie->slices()) {
            slices.append(s->label() + "=" + QString::number(s->value()));
        }
        QCOMPARE(slices, top);
    }

    // Every slice's name is drawn whole inside the chart and clear of the
    // others, at the window's designed size and maximized.
    void favouritesPieLabels_data() {
        QTest::addColumn<QStringList>("items");  // "name=quantity", most ordered first
        QTest::newRow("review") << QStringList{
            "Nasi Goreng=41", "Es Teh Manis=33", "Mie Goreng=27", "Ayam Bakar=18",
            "Jus Alpukat=12", "Sate Ayam=9",     "Soto Ayam=6",   "Kentang Goreng=2",
            "Kopi Tubruk=2",  "Air Putih=1"};
        QTest::newRow("ten near-equal")
            << QStringList{"Bakso=3",     "Gado Gado=3", "Es Jeruk=3", "Lontong=2", "Mie Ayam=2",
                           "Nasi Uduk=2", "Pecel=2",     "Rawon=2",    "Siomay=2",  "Teh Tawar=2"};
        QTest::newRow("one huge, nine tiny") << QStringList{
            "Es Teh Manis=5000", "Air Putih=1", "Bakso=1",     "Gado Gado=1", "Jus Jeruk=1",
            "Kopi Tubruk=1",     "Lontong=1",   "Nasi Uduk=1", "Pecel=1",     "Rawon=1"};
        QTest::newRow("long names")
            << QStringList{// the longest the menu window takes
                           "NASI GORENG SEAFOOD SPESIAL=40", "MIE GORENG JAWA PEDAS TELOR=30",
                           "WEDANG MOMO SUSU MADU PANAS=20", "Kentang Goreng Keju Mayones=9",
                           "Es Campur Durian Nangka Teh=3",  "Soto Betawi Daging Babat Es=2",
                           "AYAM BAKAR MADU SAMBAL IJO=1",   "Kopi Tubruk Gula Aren Jahe=1",
                           "Martabak Manis Keju Coklat=1",   "Jus Alpukat Coklat Susu Es=1"};
    }
    void favouritesPieLabels() {
        QFETCH(QStringList, items);
        rtest::seedSales(*install_);
        rtest::seedCategories(*install_);
        QStringList names;
        for (int i = 0; i < items.size(); ++i) {
            names.append(items[i].section('=', 0, 0));
            rtest::addMenu(*install_, QString("F%1").arg(i), names.back(), 1, 1, 1000);
            install_->exec("INSERT INTO detail_pesan VALUES (1, ?, ?, 0)",
                           {i + 1, items[i].section('=', 1).toInt()});
        }
        main_->get()->resize(1280, 1000);  // maximized, which the offscreen platform does not do
        auto* form = open<reports::fReportMenuFavorit>();
        auto* view = child<QChartView>(form, "MSChart1");
        auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        QVERIFY(sub);
        for (const bool designed : {true, false}) {
            if (designed) {
                sub->showNormal();
            } else {
                sub->showMaximized();
            }
            testing::settle();
            QCOMPARE(form->size() == form->sizeHint(), designed);
            // Each name drawn beside the pie, the title and the legend, where drawn.
            QChart* chart = view->chart();
            QMap<QString, QRectF> drawn = {
                {"legend", chart->legend()->mapRectToScene(chart->legend()->rect())}};
            for (QGraphicsItem* item : view->scene()->items()) {
                const QString text = shownText(item);
                if ((names.contains(text) || text == chart->title()) &&
                    !chart->legend()->isAncestorOf(item)) {
                    QVERIFY2(!drawn.contains(text), qPrintable(text + " twice"));
                    drawn.insert(text, item->sceneBoundingRect());
                }
            }
            QStringList all = names + QStringList{"legend", chart->title()};
            all.sort();
            QCOMPARE(drawn.keys().join(", "), all.join(", "));
            const QRectF inside = chart->mapRectToScene(chart->rect());
            for (auto a = drawn.cbegin(); a != drawn.cend(); ++a) {
                QVERIFY2(inside.contains(a.value()), qPrintable(a.key() + " cut"));
                for (auto b = std::next(a); b != drawn.cend(); ++b) {
                    QVERIFY2(!a.value().intersects(b.value()),
                             qPrintable(a.key() + " covers " + b.key()));
                }
            }
        }
    }

    // An empty menu, then one of items without category or unit only, is
    // refused for printing (Esc typed at once after Alt+C closes the window
    // only after the refusal); listed items are counted and printed.
    void menuListCountAndPrint() {
        rtest::seedCategories(*install_);
        for (const QString& label : {QString(), QStringLiteral("Jumlah record = 0 Record.")}) {
            QCOMPARE(child<QLabel>(open<reports::fReportDaftarMenu>(), "Label1")->text(), label);
            keys("Alt+C|Esc");
            QCOMPARE(seen(boxes_), QStringList{"Informasi (i): Tidak ada data yang akan dicetak!"});
            QVERIFY(previews().isEmpty());
            QTRY_VERIFY(main_->get()->findChildren<reports::fReportDaftarMenu*>().isEmpty());
            boxes_.clear();
            rtest::addMenu(*install_, QString("XX%1").arg(label.size()), "Tanpa Kategori", 9, 9,
                           1000);
        }
        rtest::addMenu(*install_, "NG01", "Nasi Goreng", 1, 1, 12500, "Pedas");
        rtest::addMenu(*install_, "XX02", "Tanpa Satuan", 1, 9, 1000);
        rtest::addMenu(*install_, "ET01", "Es Teh", 2, 2, 0);
        auto* form = open<reports::fReportDaftarMenu>();
        QCOMPARE(form->windowTitle(), QStringLiteral("Cetak Daftar Menu"));
        QTreeWidget* list = child<QTreeWidget>(form, "ListView1");
        QCOMPARE(testing::rows(list), QStringList({"NG01|Nasi Goreng|Pedas|Makanan|Porsi|12.500|3",
                                                   "ET01|Es Teh|-|Minuman|Gelas|0|5"}));
        QVERIFY(list->isColumnHidden(6));
        QCOMPARE(child<QLabel>(form, "Label1")->text(),
                 QStringLiteral("Jumlah record = 2 Record."));
        keys("Tab|Tab|Space");
        QCOMPARE(previews().size(), 1);
        QCOMPARE(previews().front()->windowTitle() +
                     QString::number(previews().front()->records().size()),
                 QStringLiteral("Cetak Daftar Menu2"));
        QVERIFY(boxes_.empty());
    }

    // The preview's toolbar in Indonesian, each button from page 4 of seven:
    // zooming keeps the page, the page buttons move as they say.
    void previewToolbar_data() {
        QTest::addColumn<QString>("page");  // the page box after the press
        QTest::newRow("Sesuaikan lebar") << "4 / 7";
        QTest::newRow("Sesuaikan halaman") << "4 / 7";
        QTest::newRow("Perbesar") << "4 / 7";
        QTest::newRow("Perkecil") << "4 / 7";
        QTest::newRow("Halaman pertama") << "1 / 7";
        QTest::newRow("Halaman sebelumnya") << "3 / 7";
        QTest::newRow("Halaman berikutnya") << "5 / 7";
        QTest::newRow("Halaman terakhir") << "7 / 7";
        QTest::newRow("Cetak") << "";
    }
    void previewToolbar() {
        QFETCH(QString, page);
        reports::ReportPreview* preview = printMenuOf(100);
        QStringList tips;
        for (QAction* action : preview->findChild<QToolBar*>()->actions()) {
            if (!action->isSeparator() && !action->text().isEmpty()) {
                tips.append(action->toolTip());
            }
        }
        QCOMPARE(tips, QStringList({"Sesuaikan lebar", "Sesuaikan halaman", "Perbesar", "Perkecil",
                                    "Halaman pertama", "Halaman sebelumnya", "Halaman berikutnya",
                                    "Halaman terakhir", "Cetak"}));
        if (page.isEmpty()) {
            return;  // the stock print dialog (periodPrintout)
        }
        QVERIFY(testing::activate(preview));
        QTest::mouseClick(preview->findChild<QLineEdit*>(), Qt::LeftButton);
        keys("Ctrl+A|4|Enter");
        QCOMPARE(pageBox(preview), QStringLiteral("4 / 7"));
        QTest::mouseClick(toolButton(preview, QTest::currentDataTag()), Qt::LeftButton);
        QCOMPARE(pageBox(preview), page);
    }

    // The page box shows page 1 first; "Halaman terakhir" and scrolling down
    // with the keys reach the last page, at any zoom.
    void previewPageBoxAndLastPage_data() {
        QTest::addColumn<QString>("zoom");  // the buttons pressed first
        QTest::newRow("fit width") << "";
        QTest::newRow("fit page") << "Sesuaikan halaman";
        QTest::newRow("zoomed in") << "Perbesar";
        QTest::newRow("zoomed out") << "Perkecil|Perkecil|Perkecil|Perkecil|Perkecil|Perkecil";
    }
    void previewPageBoxAndLastPage() {
        QFETCH(QString, zoom);
        reports::ReportPreview* preview = printMenuOf(100);
        QCOMPARE(pageBox(preview), QStringLiteral("1 / 7"));
        for (const QString& tip : zoom.split('|', Qt::SkipEmptyParts)) {
            QTest::mouseClick(toolButton(preview, tip), Qt::LeftButton);
        }
        QCOMPARE(pageBox(preview), QStringLiteral("1 / 7"));
        // A page further scrolls by a page and the gap below it.
        auto* view = preview->findChild<QAbstractScrollArea*>();
        const QScrollBar* bar = view->verticalScrollBar();
        QTest::mouseClick(toolButton(preview, "Halaman berikutnya"), Qt::LeftButton);
        const int pitch = bar->value();
        const int height = view->viewport()->height();
        const auto topShows = [&] {  // the last page's top edge
            return bar->value() <= 6 * pitch && bar->value() + height > 6 * pitch;
        };
        const auto footShows = [&] {
            return bar->value() + height >= 7 * pitch;
        };
        QTest::mouseClick(toolButton(preview, "Halaman terakhir"), Qt::LeftButton);
        QCOMPARE(pageBox(preview), QStringLiteral("7 / 7"));
        QVERIFY(topShows());
        QTest::mouseClick(toolButton(preview, "Halaman sebelumnya"), Qt::LeftButton);
        QCOMPARE(pageBox(preview), QStringLiteral("6 / 7"));
        QTest::mouseClick(toolButton(preview, "Halaman pertama"), Qt::LeftButton);
        QCOMPARE(pageBox(preview), QStringLiteral("1 / 7"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton);
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(view, Qt::Key_PageDown);
        }
        QCOMPARE(pageBox(preview), QStringLiteral("7 / 7"));
        QVERIFY(footShows());
    }

    // A second print shows the report's one window again, in front, with
    // what was stored meanwhile; each report has its own window.
    void onePreviewPerReport() {
        rtest::seedSales(*install_);
        rtest::seedCategories(*install_);
        rtest::addMenu(*install_, "NG01", "Nasi Goreng", 1, 1, 12500);
        open<reports::fReportDaftarMenu>();
        keys("Alt+C");
        QCOMPARE(previews().size(), 1);
        QPointer<reports::ReportPreview> menuPreview = previews().front();
        rtest::addMenu(*install_, "ET01", "Es Teh", 2, 2, 3000);
        QVERIFY(testing::activate(main_->get()));
        keys("Alt+C");
        QCOMPARE(previews(), QList<reports::ReportPreview*>{menuPreview});
        QTRY_COMPARE(QApplication::activeWindow(), menuPreview.data());
        QCOMPARE(column(menuPreview->records(), reports::kNamaMenu),
                 QStringList({"Nasi Goreng", "Es Teh"}));

        QVERIFY(testing::activate(main_->get()));  // the menu that opens it is there
        open<reports::fReportPenjualanPeriode>();
        showPeriod("01052024", "03052024");
        keys("Shift+Tab|Shift+Tab|Space");
        QCOMPARE(previews().size(), 2);
        reports::ReportPreview* periodPreview =
            previews().value(previews().indexOf(menuPreview) ^ 1);
        QCOMPARE(periodPreview->windowTitle(),
                 QStringLiteral("Cetak Daftar Penjualan Per Periode"));
        QTRY_COMPARE(QApplication::activeWindow(), periodPreview);
        install_->exec(
            "INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user, total_bayar,"
            " kembali) VALUES ('PO-5', 5, '2024-05-02', '14:00:00', 1, 40000, 0)");
        QVERIFY(testing::activate(main_->get()));
        QCOMPARE(focusName(), QStringLiteral("Command3"));
        keys("Space");
        QCOMPARE(previews().size(), 2);
        QTRY_COMPARE(QApplication::activeWindow(), periodPreview);
        periodPreview->finishLayout();
        QCOMPARE(column(periodPreview->records(), reports::kNoNota),
                 QStringList({"PO-1", "PO-2", "PO-3", "PO-5"}));
        QVERIFY(boxes_.empty());
    }

private:
    template <typename F>
    F* open() {
        auto* form = new F;
        ui::showChild(form);
        testing::settle();
        return form;
    }

    // The menu list of n items printed from its window; its preview.
    reports::ReportPreview* printMenuOf(int n) {
        rtest::seedCategories(*install_);
        install_->exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)"
            " INSERT INTO menu (kode_menu, nama_menu, keterangan, id_kategori, id_satuan,"
            " harga_jual) SELECT 'K' || i, 'Menu ' || i, '-', 1, 1, i * 100 FROM n",
            {n});
        open<reports::fReportDaftarMenu>();
        keys("Alt+C");
        if (previews().size() != 1) {
            testing::failNow(QStringLiteral("no report window"));
        }
        reports::ReportPreview* preview = previews().front();
        preview->resize(1280, 1000);  // maximized, which the offscreen platform does not do
        preview->finishLayout();
        return preview;
    }

    // The period report of the payments on 01/05 to 03/05 printed from its
    // window; its preview, with page 5 on screen.
    reports::ReportPreview* periodPreviewOnPage5() {
        open<reports::fReportPenjualanPeriode>();
        showPeriod("01052024", "03052024");
        keys("Shift+Tab|Shift+Tab|Space");
        if (previews().size() != 1) {
            testing::failNow(QStringLiteral("no report window"));
        }
        reports::ReportPreview* preview = previews().front();
        preview->resize(1280, 1000);
        preview->finishLayout();
        if (!testing::activate(preview)) {
            testing::failNow(QStringLiteral("the report window did not become active"));
        }
        QTest::mouseClick(preview->findChild<QLineEdit*>(), Qt::LeftButton);
        keys("Ctrl+A|5|Enter");
        return preview;
    }

    // Picks the pages in the print dialog (see printDialogChoosesPages).
    static void choosePages(QPrintDialog* dialog, const QString& choice) {
        if (choice == "current") {
            child<QRadioButton>(dialog, "printCurrentPage")->setChecked(true);
        } else if (choice.startsWith("pages:")) {
            child<QRadioButton>(dialog, "pagesRadioButton")->setChecked(true);
            child<QLineEdit>(dialog, "pagesLineEdit")->setText(choice.mid(6));
        } else if (choice.contains('-')) {
            child<QRadioButton>(dialog, "printRange")->setChecked(true);
            child<QSpinBox>(dialog, "from")->setValue(choice.section('-', 0, 0).toInt());
            child<QSpinBox>(dialog, "to")->setValue(choice.section('-', 1).toInt());
        }
    }

    // The number in the first "Halaman n dari 48 halaman." of each page.
    static QString pageNumbers(const QString& pdf) {
        static const QRegularExpression number(QStringLiteral("Halaman (\\d+) dari 48 halaman\\."));
        QStringList found;
        for (const QString& page :
             output("pdftotext", {pdf, "-"}).split('\f', Qt::SkipEmptyParts)) {
            found << number.match(page).captured(1);
        }
        return found.join('|');
    }

    // The page box and the page count beside it, as "4 / 7".
    static QString pageBox(reports::ReportPreview* preview) {
        QStringList parts = {preview->findChild<QLineEdit*>()->text()};
        for (QLabel* label : preview->findChild<QToolBar*>()->findChildren<QLabel*>()) {
            parts.append(label->text());
        }
        return parts.join(QString()).simplified();
    }

    static QToolButton* toolButton(reports::ReportPreview* preview, const QString& tip) {
        for (QToolButton* b : preview->findChild<QToolBar*>()->findChildren<QToolButton*>()) {
            if (b->toolTip() == tip) {
                return b;
            }
        }
        testing::failNow("no button " + tip);
    }

    // A click in the middle of a part of the date a picker shows: 0 the day,
    // 1 the month, 2 the year.
    static void clickPart(ui::DatePicker* picker, int part) {
        const int at = std::array{0, 3, 7}.at(size_t(part));
        const QFontMetrics metrics(picker->font());
        const int x = picker->contentsRect().left() + 2 +
                      metrics.horizontalAdvance(picker->text().left(at)) +
                      metrics.horizontalAdvance(picker->text().at(at)) / 2;
        QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(x, picker->height() / 2));
    }

    // Types both dates into the pickers, day first, and presses Enter on
    // "&Tampilkan".
    void showPeriod(const QString& start, const QString& end) {
        QCOMPARE(focusName(), QStringLiteral("DTPicker1"));
        keys(start + "|Tab|" + end + "|Tab|Enter");
    }

    // The shared sales and n payments PB-1.. of order 1 on 02/05/2024.
    static void addPayments(const testing::TestInstall& install, int n) {
        rtest::seedSales(install);
        install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)"
            " INSERT INTO bayar (no_nota, id_order, tgl_bayar, jam_bayar, id_user, total_bayar,"
            " kembali) SELECT 'PB-' || i, 1, '2024-05-02', '10:00:00', 1, 1, 0 FROM n",
            {n});
    }

    // One payment a day from 02/01/2015 on, of 1.000 a day more than the day before.
    void addDays(int days) const {
        install_->exec("INSERT INTO pengguna (nm_user) VALUES ('ani')");
        install_->exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)"
            " INSERT INTO pesan (id_order, total_harga) SELECT i, i * 1000 FROM n",
            {days});
        install_->exec(
            "INSERT INTO bayar (id_order, tgl_bayar, id_user) SELECT id_order,"
            " date('2015-01-01', '+' || id_order || ' days'), 1 FROM pesan");
    }

    // The text a visible text item shows, else nothing.
    static QString shownText(const QGraphicsItem* item) {
        if (!item->isVisible()) {
            return {};
        }
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item)) {
            return text->toPlainText();
        }
        if (const auto* text = dynamic_cast<const QGraphicsSimpleTextItem*>(item)) {
            return text->text();
        }
        return {};
    }

    static QString total(QWidget* form) { return child<QLineEdit>(form, "Text2")->text(); }

    std::unique_ptr<testing::TestInstall> install_;
    ui::MessageRecorder boxes_;
    ui::FixedClock clock_{QDateTime(QDate(2024, 5, 6), QTime(9, 30))};
    std::unique_ptr<testing::MainWindow> main_;
};

DAPRA_TEST_MAIN(ReportWindowsTest)
#include "tst_reportwindows.moc"
