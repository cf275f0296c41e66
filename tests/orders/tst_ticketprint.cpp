// The order ticket on a real printer: the system's default printer is a PDF
// queue (CI sets one up, see .ci/run); the PDF it writes is read back.
#include "helpers.h"
#include "orders/ticket.h"
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

// The non-empty lines with their blanks collapsed: the page margin and the
// spacing that text extraction guesses do not count.
QStringList collapsed(const QStringList& lines) {
    QStringList result;
    for (const QString& line : lines) {
        if (!line.simplified().isEmpty()) {
            result.append(line.simplified());
        }
    }
    return result;
}

// The text of the PDF that appeared since `before`, once it is written whole.
QString newPdfText(const QString& folder, const QStringList& before, QString* pdf) {
    QString text;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            for (const QString& name : pdfs(folder)) {
                if (!before.contains(name)) {
                    *pdf = folder + QChar('/') + name;
                }
            }
            text = pdf->isEmpty()
                       ? QString()
                       : run("pdftotext", {"-layout", "-fixed", "6", *pdf, QStringLiteral("-")});
            return text.contains(QStringLiteral("Terima kasih."));
        },
        60000));
    return text;
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
        f_->install->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order')");
        f_->install->exec("UPDATE menu SET nama_menu = 'Nasi Goreng Spesial' WHERE id_menu = 1");
    }
    void cleanup() { f_.reset(); }

    void savedOrderPrintsItsTicket() {
        shell::requestForm(shell::FormId::fOrder);
        for (const char* road : {"Tab|Tab|Space", "Space", "Space"}) {
            ordtest::pickWith(0);
            f_->keys(road);
        }
        f_->keys("2|Enter|Alt+S");
        QCOMPARE(f_->install->count("pesan"), 1);
        QVERIFY(f_->boxes->empty());

        QString pdf;
        const QString text = newPdfText(folder_, before_, &pdf);
        const QStringList expected = orders::ticketLines(orders::orderTicket(
            "RO-070320241", ordtest::kNow.date(), "10:11:12", "Meja 1", "Budi",
            {{"Nasi Goreng Spesial", "2", "Porsi", "12.500", "25.000"}}, 25000));
        QCOMPARE(collapsed(text.split(QChar('\n'))), collapsed(expected));

        // Liberation Mono stands in for Courier New; the header alone is bold.
        const QString xml = run("pdftohtml", {"-xml", "-i", "-stdout", "-q", pdf});
        QVERIFY2(xml.contains(QStringLiteral("LiberationMono")), qPrintable(xml));
        const QRegularExpression boldText(QStringLiteral("<text[^>]*><b>([^<]*)</b></text>"));
        QStringList bold;
        for (const QRegularExpressionMatch& m : boldText.globalMatch(xml)) {
            bold.append(m.captured(1));
        }
        QCOMPARE(bold.join(QChar(' ')).simplified(),
                 QStringLiteral("Program Kasir Dapra Mirawe Dapra Versi 2.2"));
        QFile::remove(pdf);
    }

private:
    QString folder_;
    QStringList before_;
    std::unique_ptr<ordtest::WindowFixture> f_;
};

DAPRA_TEST_MAIN(TicketPrintTest)
#include "tst_ticketprint.moc"
