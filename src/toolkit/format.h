#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Money, dates and times as the program shows and stores them.
namespace fmt {

// The money masks of the windows.
inline const QString kMask9 = QStringLiteral("###,###,###");
inline const QString kMask9Zero = QStringLiteral("###,###,##0");
inline const QString kMask12Zero = QStringLiteral("###,###,###,##0");
inline const QString kMask12 = QStringLiteral("###,###,###,###");

// An amount under a mask: thousands grouped with ".", a minus sign kept.
// Zero is "" under a mask ending in "#" and "0" under one ending in "0".
QString mask(qint64 amount, const QString& maskText);

// Reads an amount shown under a mask (or typed as digits) back: grouping
// dots and blanks are dropped; an empty or unreadable text is 0.
qint64 parseAmount(const QString& text);

// "Rp. " + amount + ",-" as the windows' total fields show it.
QString rupiah(qint64 amount, const QString& maskText = kMask9);

// Dates as shown (dd/MM/yyyy) and as stored (yyyy-MM-dd, sortable).
QString showDate(const QDate& date);
QString storeDate(const QDate& date);
QDate readStoredDate(const QString& text);
// A stored date shown as dd/MM/yyyy (the text unchanged when unreadable).
QString showStoredDate(const QString& text);

// Times of day as shown and stored: hh:mm:ss.
QString storeTime(const QTime& time);

// Makes Indonesian the application's locale, whatever the machine's.
void applyIndonesianLocale();

}  // namespace fmt
