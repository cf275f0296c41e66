// The order ticket and the sales receipt on a real printer: the system's default
// printer is a PDF queue (CI sets one up, see .ci/run); the PDF it writes is read back.
#include "helpers.h"
#include "shell/windowrequests.h"

#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

// The PDFs in the queue's output folder.
QStringList pdfs(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// The texts of the pattern's first group in each match.
QStringList captured(const QString& text, const QString& pattern) {
    QStringList result;
    for (const QRegularExpressionMatch& m : QRegularExpression(pattern).globalMatch(text)) {
        result.append(m.captured(1));
    }
    return result;
}

// The text of the new PDF that holds `marker`, once it is written whole.
QString newPdfText(const QString& folder, const QStringList& before, const QString& marker,
                   QString* pdf) {
    QString text;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            for (const QString& name : pdfs(folder)) {
                if (!before.contains(name)) {
                    *pdf = folder + QChar('/') + name;
                    text = run("pdftotext", {"-layout", "-fixed", "6", *pdf, QStringLiteral("-")});
                    if (text.contains(marker) && text.contains(QStringLiteral("Terima kasih."))) {
                        return true;
                    }
                }
            }
            return false;
        },
        60000));
    return text;
}

// The smallest top and left of the texts on each page of the PDF.
QList<int> firstOnPages(const QString& xml) {
    QList<int> result;
    for (const QString& page : xml.split(QStringLiteral("<page ")).mid(1)) {
        for (const char* attribute : {"top", "left"}) {
            int least = INT_MAX;
            for (const QString& v :
                 captured(page, QString("<text[^>]* %1=\"(\\d+)\"").arg(attribute))) {
                least = std::min(least, v.toInt());
            }
            result.append(least);
        }
    }
    return result;
}

}  // namespace

class TicketPrintTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        folder_ = qEnvironmentVariable("DAPRA_TICKET_PDF_DIR");
        if (folder_.isEmpty() || QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("no PDF queue as the default printer (.ci/run sets one up)");
        }
        before_ = pdfs(folder_);
        f_ = std::make_unique<ordtest::WindowFixture>();
        f_->printed.reset();
        moddapra::UserName = QStringLiteral("Ani");
        f_->install->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order'), (1, 'Kasir')");
        // The waiter's name tells this run's printouts from others in the queue.
        waiter_ = QStringLiteral("Budi%1").arg(QCoreApplication::applicationPid());
        f_->install->exec("UPDATE pelayan SET nm_pelayan = ? WHERE id_pelayan = 1", {waiter_});
    }
    void cleanup() { f_.reset(); }

    // An order of 40 lines fills more than an A4 page: the rest goes on a
    // second page, from its top and at the same left edge, in the same font,
    // down to the totals and the thank-you line; 27 lines end at the foot of
    // the first page, with no blank page after. The header alone is bold.
    // Below, "-" stands for the separator and %1 for the waiter.
    void longOrderPrintsWhole_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("totals");
        const QString ticket =
            "Nota Order|-|No. Order : RO-010320241|Tanggal : 01/03/2024|Jam : 10:11:12|"
            "No. Meja : Meja 1|Pelayan : %1|-|Detail Order";
        QTest::newRow("order ticket") << 40 << 2 << false << ticket << "Total Tagihan : Rp.40.000";
        QTest::newRow("page full") << 27 << 1 << false << ticket << "Total Tagihan : Rp.27.000";
        QTest::newRow("sales receipt")
            << 40 << 2 << true
            << "Nota Penjualan|-|No. Nota : PO-070320241|No. Order : RO-010320241|"
               "Tanggal : 07/03/2024|Jam : 10:11:12|No. Meja : Meja 1|Pelayan : %1|Kasir : Ani|-|"
               "Detail Penjualan"
            << "Total : Rp.40.000|Bayar : Rp.50.000|Kembali : Rp.10.000";
    }
    void longOrderPrintsWhole() {
        QFETCH(int, lines);
        QFETCH(int, pages);
        QFETCH(bool, receipt);
        QFETCH(QString, head);
        QFETCH(QString, totals);
        f_->storeOrder(1, "RO-010320241", lines * 1000);
        f_->install->exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)"
            " INSERT INTO menu (id_menu, kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " SELECT 100 + i, 'M' || i, printf('Menu %02d', i), 1, 1, 1000 FROM n",
            {lines});
        f_->install->exec(
            "INSERT INTO detail_pesan SELECT 1, id_menu, 1, 1000 FROM menu WHERE id_menu > 100");
        f_->boxes->answer(ui::Answer::Yes);
        f_->open(receipt ? shell::FormId::fKasir : shell::FormId::fOrder);
        ordtest::pickWith(0);
        f_->keys("Space");
        f_->keys(receipt ? "50000|Enter" : "Alt+S");

        QString expected =
            "Program Kasir Dapra|Mirawe Dapra|Versi 2.2|-|" + head.arg(waiter_) + "|-";
        for (int i = 1; i <= lines; ++i) {
            expected +=
                QStringLiteral("|Menu %1|1 Porsi x 1.000 = 1.000").arg(i, 2, 10, QChar('0'));
        }
        expected += "|-|" + totals + "|-|Terima kasih.";
        QString pdf;
        const QString text = newPdfText(folder_, before_, waiter_, &pdf);
        QCOMPARE(text.count(QChar('\f')), pages);
        // The non-empty lines with their blanks collapsed: the page margin and
        // the spacing that text extraction guesses do not count.
        QStringList shown;
        for (const QString& line : text.split(QRegularExpression("[\n\f]"))) {
            shown << line.simplified().replace(QRegularExpression("^-{30}$"), "-");
        }
        shown.removeAll(QString());
        QCOMPARE(shown, expected.split('|'));

        // Liberation Mono stands in for Courier New.
        const QString xml = run("pdftohtml", {"-xml", "-i", "-stdout", "-q", pdf});
        QVERIFY2(!xml.contains(QRegularExpression("family=\"(?![A-Z]*\\+?LiberationMono)")),
                 qPrintable(xml));
        const QList<int> firsts = firstOnPages(xml);  // top and left, page by page
        QCOMPARE(firsts.mid(firsts.size() - 2), firsts.mid(0, 2));
        QCOMPARE(captured(xml, "<text[^>]*><b>([^<]*)</b></text>").join(QChar(' ')).simplified(),
                 QStringLiteral("Program Kasir Dapra Mirawe Dapra Versi 2.2"));
        QFile::remove(pdf);
    }

    // With a queue that refuses every job as the default printer (one that
    // scripts/pdf-printer adds beside the PDF queue), the ticket and the
    // receipt do not go out and the window says so; the order and the
    // payment stay stored.
    void refusedQueueSaysSo_data() {
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("stored");  // the order's status, the payments
        QTest::newRow("order ticket") << false
                                      << "Informasi (!): Nota Order gagal dicetak! Periksa "
                                         "printer anda. \rData Order sudah tersimpan."
                                      << "Belum Bayar|0";
        QTest::newRow("sales receipt") << true
                                       << "Informasi (!): Nota Penjualan gagal dicetak! Periksa "
                                          "printer anda. \rData Pembayaran sudah tersimpan."
                                       << "Sudah Bayar|1";
    }
    void refusedQueueSaysSo() {
        QFETCH(bool, receipt);
        QFETCH(QString, said);
        QFETCH(QString, stored);
        if (QPrinterInfo::printerInfo(QStringLiteral("DapraRefused")).isNull()) {
            QSKIP("no queue DapraRefused that refuses jobs (scripts/pdf-printer start adds it)");
        }
        f_->storeOrder(1, "RO-010320241", 1000);
        f_->install->exec("INSERT INTO detail_pesan VALUES (1, 1, 1, 1000)");
        f_->boxes->answer(ui::Answer::Yes);
        f_->open(receipt ? shell::FormId::fKasir : shell::FormId::fOrder);
        ordtest::pickWith(0);
        f_->keys("Space");
        qputenv("PRINTER", "DapraRefused");  // the default printer of this program
        f_->keys(receipt ? "5000|Enter" : "Alt+S");
        qunsetenv("PRINTER");
        QCOMPARE(testing::seen(*f_->boxes).last(), said);
        const db::Row order = f_->rows("SELECT status, (SELECT count(*) FROM bayar) FROM pesan")[0];
        QCOMPARE(order[0].toString() + '|' + order[1].toString(), stored);
    }

private:
    QString folder_;
    QStringList before_;
    QString waiter_;
    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(TicketPrintTest)
#include "tst_ticketprint.moc"
