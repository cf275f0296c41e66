#include "support/testsupport.h"
#include "toolkit/format.h"

class FormatTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void masks_data() {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero under #") << qint64(0) << fmt::kMask9 << "";
        QTest::newRow("zero under 0") << qint64(0) << fmt::kMask9Zero << "0";
        QTest::newRow("one thousand") << qint64(1000) << fmt::kMask9Zero << "1.000";
        QTest::newRow("millions") << qint64(12345678) << fmt::kMask9 << "12.345.678";
        QTest::newRow("past the mask's digits")
            << qint64(1234567890123) << fmt::kMask9 << "1.234.567.890.123";
        QTest::newRow("negative") << qint64(-1500) << fmt::kMask9Zero << "-1.500";
        QTest::newRow("largest") << std::numeric_limits<qint64>::min() << fmt::kMask12
                                 << "-9.223.372.036.854.775.808";
    }
    void masks() {
        QFETCH(qint64, amount);
        QFETCH(QString, mask);
        QFETCH(QString, shown);
        QCOMPARE(fmt::mask(amount, mask), shown);
    }

    // Amounts read back (nothing readable or too large reads as 0), totals
    // in rupiah, hours before ten with their zero, an unreadable stored date
    // shown as stored.
    void readingBackAndOtherFormats() {
        for (const auto& [text, value] :
             {std::pair("", 0), std::pair("  ", 0), std::pair("abc", 0), std::pair("007", 7),
              std::pair("12.500,-", 12500), std::pair("99999999999999999999", 0)}) {
            QCOMPARE(fmt::parseAmount(QString::fromLatin1(text)), value);
        }
        QCOMPARE(fmt::rupiah(25000) + fmt::rupiah(0) + fmt::rupiah(0, fmt::kMask9Zero),
                 QStringLiteral("Rp. 25.000,-Rp. ,-Rp. 0,-"));
        QCOMPARE(fmt::storeTime(QTime(7, 4, 9)), QStringLiteral("07:04:09"));
        QCOMPARE(fmt::showStoredDate(QStringLiteral("kacau")), QStringLiteral("kacau"));
    }
};

DAPRA_TEST_MAIN(FormatTest)
#include "tst_format.moc"
