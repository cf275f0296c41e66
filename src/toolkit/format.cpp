#include "toolkit/format.h"

#include <QLocale>

namespace fmt {

namespace {

QString grouped(quint64 value) {
    QString digits = QString::number(value);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) {
        digits.insert(i, QChar('.'));
    }
    return digits;
}

}  // namespace

QString mask(qint64 amount, const QString& maskText) {
    if (amount == 0) {
        return maskText.endsWith(QChar('0')) ? QStringLiteral("0") : QString();
    }
    const quint64 magnitude = amount < 0 ? 0 - quint64(amount) : quint64(amount);
    return (amount < 0 ? QStringLiteral("-") : QString()) + grouped(magnitude);
}

qint64 parseAmount(const QString& text) {
    QString digits;
    for (const QChar c : text.trimmed()) {
        if (c == QChar('.') || c == QChar(' ')) {
            continue;
        }
        if (c.isDigit() || (c == QChar('-') && digits.isEmpty())) {
            digits.append(c);
            continue;
        }
        break;
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? value : 0;
}

QString rupiah(qint64 amount, const QString& maskText) {
    return QStringLiteral("Rp. ") + mask(amount, maskText) + QStringLiteral(",-");
}

QString showDate(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString storeDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate readStoredDate(const QString& text) {
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QString showStoredDate(const QString& text) {
    const QDate date = readStoredDate(text);
    return date.isValid() ? showDate(date) : text;
}

QString storeTime(const QTime& time) {
    return time.toString(QStringLiteral("hh:mm:ss"));
}

void applyIndonesianLocale() {
    QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
}

}  // namespace fmt
