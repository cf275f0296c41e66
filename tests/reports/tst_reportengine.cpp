// The printed reports as laid out pages, and their pages printed into a PDF file.
#include "reports/printedreports.h"
#include "reports/reportqueries.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

using namespace reports;

namespace {

const QDate kToday(2024, 5, 6);

std::vector<db::Row> payments(int n) {
    std::vector<db::Row> rows;
    for (int i = 1; i <= n; ++i) {
        const QString s = QString::number(i);
        rows.push_back({i, "PO-" + s, "RO-" + s, "2024-05-01", "10:00:00", "ani", "Sari", 1, 1, 0});
    }
    return rows;
}

const PageItem* find(const Page& page, const QString& name, int nth = 0) {
    for (const PageItem& item : page) {
        if (item.name == name && nth-- == 0) {
            return &item;
        }
    }
    return nullptr;
}

int count(const Page& page, const QString& name) {
    return int(std::count_if(page.begin(), page.end(),
                             [&name](const PageItem& item) { return item.name == name; }));
}

}  // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A4 landscape holds (11900 - 2 * 1440 - 2057 - 520) / 333 = 19 rows.
    void periodRowsPerPageAndPageNumbers_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QList<int>>("rowsPerPage");
        QTest::newRow("none") << 0 << QList<int>{0};
        QTest::newRow("one") << 1 << QList<int>{1};
        QTest::newRow("one page full") << 19 << QList<int>{19};
        QTest::newRow("three pages") << 40 << QList<int>{19, 19, 2};
    }
    void periodRowsPerPageAndPageNumbers() {
        QFETCH(int, records);
        QFETCH(QList<int>, rowsPerPage);
        const std::vector<Page> pages =
            layOut(periodReport(), payments(records), landscapeA4Tw(), kToday);
        QCOMPARE(int(pages.size()), rowsPerPage.size());
        const QString of = QString(" dari %1 halaman.").arg(pages.size());
        for (int p = 0; p < int(pages.size()); ++p) {
            const Page& page = pages[size_t(p)];
            QCOMPARE(count(page, "txtno_nota"), rowsPerPage[p]);
            QVERIFY(records == 0 || find(page, "txttotal_harga")->style.align == Qt::AlignRight);
            QCOMPARE(find(page, "Label1")->text + '|' + find(page, "Label2")->text,
                     QStringLiteral("Daftar Penjualan Per Periode|Tanggal Senin, 06 Mei 2024"));
            const QString number = QString("Halaman %1").arg(p + 1) + of;
            QCOMPARE(find(page, "Label3")->text + find(page, "Label13")->text, number + number);
        }
    }

    // A long name wraps inside its row: the row grows, the next one follows.
    void menuNameGrowsItsRow() {
        const QString longName = QString(
            "Nasi goreng spesial dengan telur mata sapi, sate ayam, "
            "kerupuk udang dan acar timun segar");
        const std::vector<db::Row> rows = {
            {"NG01", longName, "-", "Makanan", "Porsi", 25000, 1},
            {"ET01", "Es Teh", "-", "Minuman", "Gelas", 3000, 2},
        };
        const Page page = layOut(menuReport(), rows, landscapeA4Tw(), kToday).front();
        const PageItem* name = find(page, "txtnama_menu");
        QCOMPARE(name->text, longName);
        QVERIFY2(name->tw.height() >= 3 * 180, qPrintable(QString::number(name->tw.height())));
        QVERIFY(find(page, "Line")->tw.top() > name->tw.bottom());  // the next row follows
        QVERIFY(find(page, "txtkode_menu", 1)->tw.top() > find(page, "Line")->tw.top());
        QCOMPARE(find(page, "Label3")->text, QStringLiteral("Halaman: 1 dari 1 halaman."));
    }

    // Receipt and order numbers of 13 and 16 characters and 15-digit amounts
    // print whole in the PDF, and no word reaches into another's box.
    void wideValuesPrintWhole_data() {
        QTest::addColumn<bool>("period");
        QTest::addColumn<QList<QVariantList>>("rows");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("period")
            << true
            << QList<QVariantList>{{1, "PO-0712202610", "RO-0712202612", "2026-12-07", "10:00:00",
                                    "Kasir Utama Sekali", "Pelayan Panjang Namanya",
                                    qint64(999999999999999), qint64(999999999999999),
                                    qint64(888888888888888)},
                                   {2, "PO-0712202612345", "RO-0712202612346", "2026-12-07",
                                    "10:05:00", "ani", "Sari", qint64(123456789012),
                                    qint64(123456789012345), 0}}
            << QString(
                   "PO-0712202610 RO-0712202612 PO-0712202612345 RO-0712202612346 "
                   "999.999.999.999.999 888.888.888.888.888 123.456.789.012 "
                   "123.456.789.012.345 07/12/2026 10:05:00 0 Namanya Sekali")
                   .split(' ');
        QTest::newRow("menu") << false
                              << QList<QVariantList>{{"MKN-000000000001", "Nasi Goreng Istimewa",
                                                      "Pedas", "Makanan Berat Sekali", "Porsi",
                                                      qint64(999999999999999), 1}}
                              << QString(
                                     "MKN-000000000001 999.999.999.999.999 Istimewa "
                                     "Sekali Porsi")
                                     .split(' ');
    }
    void wideValuesPrintWhole() {
        QFETCH(bool, period);
        QFETCH(QList<QVariantList>, rows);
        QFETCH(QStringList, values);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("wide.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
        printer.setFullPage(true);
        printer.setOutputFileName(pdf);
        QPainter painter(&printer);
        paintPage(painter,
                  layOut(period ? periodReport() : menuReport(),
                         std::vector<db::Row>(rows.begin(), rows.end()), landscapeA4Tw(), kToday)
                      .front(),
                  printer.resolution());
        painter.end();

        QProcess bbox;
        bbox.start("pdftotext", {"-bbox", pdf, "-"});
        QVERIFY(bbox.waitForFinished(30000));
        const QString html = QString::fromUtf8(bbox.readAllStandardOutput());
        static const QRegularExpression word(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
        QStringList words;
        QList<QRectF> boxes;
        for (const auto& m : word.globalMatch(html)) {
            words.append(m.captured(5));
            boxes.append(QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
        }
        for (const QString& value : values) {
            QVERIFY2(words.contains(value), qPrintable(value));
        }
        const double paperWidth = 842;  // A4 landscape in points
        for (int i = 0; i < boxes.size(); ++i) {
            QVERIFY2(boxes[i].right() < paperWidth, qPrintable(words[i]));
            for (int j = i + 1; j < boxes.size(); ++j) {
                QVERIFY2(!boxes[i].adjusted(0.5, 0.5, -0.5, -0.5).intersects(boxes[j]),
                         qPrintable(words[i] + " / " + words[j]));
            }
        }
    }
};

DAPRA_TEST_MAIN(ReportEngineTest)
#include "tst_reportengine.moc"
