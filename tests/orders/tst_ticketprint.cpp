// The order ticket on a real printer: the system's default printer is a PDF
// queue (CI sets one up, see .ci/run); the PDF it writes is read back.
#include "orders/forder.h"
#include "orders/ticket.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"
#include "toolkit/seams.h"

#include <QAbstractButton>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTreeWidget>

using testing::child;
using testing::whenModal;

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

QStringList trimmedRight(QStringList lines) {
    for (QString& line : lines) {
        line.remove(QRegularExpression(QStringLiteral("\\s+$")));
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// The page's text as lines, without the page margin on the left (the
// separator lines start at the ticket's first column) and trailing blanks.
QStringList readBack(const QString& text) {
    QStringList lines = trimmedRight(text.split(QChar('\n')));
    qsizetype margin = -1;
    for (const QString& line : lines) {
        if (line.contains(QStringLiteral("---"))) {
            margin = line.indexOf(QChar('-'));
            break;
        }
    }
    for (QString& line : lines) {
        line = line.mid(std::max<qsizetype>(0, margin));
    }
    return lines;
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

void pickFirst() {
    whenModal([](QWidget*) {
        QWidget* focus = QApplication::focusWidget();
        if (!qobject_cast<QTreeWidget*>(focus)) {
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
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
        install_ = std::make_unique<testing::TestInstall>();
        boxes_ = std::make_unique<ui::MessageRecorder>();
        clock_ = std::make_unique<ui::FixedClock>(QDateTime(QDate(2024, 3, 7), QTime(10, 11, 12)));
        install_->exec("INSERT INTO akses VALUES (1, 'Pesanan/Order'), (1, 'Kasir')");
        install_->exec("INSERT INTO meja (nm_meja) VALUES ('Meja 1')");
        install_->exec("INSERT INTO pelayan (nm_pelayan) VALUES ('Budi')");
        install_->exec("INSERT INTO kategori (nm_kategori) VALUES ('Makanan')");
        install_->exec("INSERT INTO satuan (nm_satuan) VALUES ('Porsi')");
        install_->exec(
            "INSERT INTO menu (kode_menu, nama_menu, id_kategori, id_satuan, harga_jual)"
            " VALUES ('NG', 'Nasi Goreng Spesial', 1, 1, 12500)");
        moddapra::UserId = 1;
        moddapra::UserName = QStringLiteral("Ani");
        main_ = std::make_unique<QMainWindow>();
        auto* area = new QMdiArea(main_.get());
        main_->setCentralWidget(area);
        ui::setMdiArea(area);
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    }
    void cleanup() {
        main_.reset();
        ui::setMdiArea(nullptr);
        testing::settle();
        clock_.reset();
        boxes_.reset();
        install_.reset();
    }

    void savedOrderPrintsItsTicket() {
        QWidget* form = open(shell::FormId::fOrder);
        for (const char* button : {"Command2", "Command13", "Command8"}) {
            pickFirst();
            child<QAbstractButton>(form, button)->click();
        }
        QTest::keyClicks(child<QWidget>(form, "Text7"), "2");
        QTest::keyClick(child<QWidget>(form, "Text7"), Qt::Key_Return);
        child<QAbstractButton>(form, "Command6")->click();
        QCOMPARE(install_->count("pesan"), 1);
        QVERIFY(boxes_->empty());

        const QString pdf = compare(orders::orderTicket(
            "RO-070320241", QDate(2024, 3, 7), "10:11:12", "Meja 1", "Budi",
            {{"Nasi Goreng Spesial", "2", "Porsi", "12.500", "25.000"}}, 25000));

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

    void paidOrderPrintsItsReceipt() {
        install_->exec(
            "INSERT INTO pesan VALUES (1, 'RO-070320241', '2024-03-07', '09:00:00', 1, 1, 25000,"
            " 'Belum Bayar')");
        install_->exec("INSERT INTO detail_pesan VALUES (1, 1, 2, 12500)");
        QWidget* form = open(shell::FormId::fKasir);
        pickFirst();
        child<QAbstractButton>(form, "Command5")->click();
        QTest::keyClicks(child<QWidget>(form, "Text7"), "30000");
        boxes_->answer(ui::Answer::Yes);
        QTest::keyClick(child<QWidget>(form, "Text7"), Qt::Key_Return);
        QCOMPARE(install_->count("bayar"), 1);

        QFile::remove(compare(
            orders::salesReceipt({"PO-070320241",
                                  "RO-070320241",
                                  QDate(2024, 3, 7),
                                  "10:11:12",
                                  "Meja 1",
                                  "Budi",
                                  "Ani",
                                  {{"Nasi Goreng Spesial", "2", "Porsi", "12.500", "25.000"}},
                                  25000,
                                  30000,
                                  5000})));
    }

private:
    QWidget* open(shell::FormId id) {
        shell::requestForm(id);
        QWidget* form = shell::openForm(id);
        if (!form) {
            qFatal("window not opened");
        }
        return form;
    }

    // Compares the new PDF's text with the printout's lines; returns the PDF.
    QString compare(const orders::TicketContent& content) {
        QString pdf;
        const QString text = newPdfText(folder_, before_, &pdf);
        const QStringList expected = orders::ticketLines(content);
        [&] {
            QCOMPARE(readBack(text), trimmedRight(expected.mid(0, expected.size() - 1)));
        }();
        return pdf;
    }

    QString folder_;
    QStringList before_;
    std::unique_ptr<testing::TestInstall> install_;
    std::unique_ptr<ui::MessageRecorder> boxes_;
    std::unique_ptr<ui::FixedClock> clock_;
    std::unique_ptr<QMainWindow> main_;
};

DAPRA_TEST_MAIN(TicketPrintTest)
#include "tst_ticketprint.moc"
