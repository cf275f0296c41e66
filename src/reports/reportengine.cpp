#include "reports/reportengine.h"

#include "toolkit/format.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPageSize>
#include <QPainter>

#include <cmath>
#include <limits>

namespace reports {

namespace {

constexpr int kTwipsPerPoint = 20;

QString fieldText(const ReportField& field, const db::Row& record) {
    const QVariant value = record.value(field.column);
    if (field.money) {
        return fmt::mask(value.toLongLong(), fmt::kMask9Zero);
    }
    if (field.date) {
        return fmt::showStoredDate(value.toString());
    }
    return value.toString();
}

// Room kept between the texts of two columns.
constexpr int kGap = 120;

// One line's width in twips. Digits share one advance in the report font, so
// numbers are measured as zeros and a year of receipt numbers costs a handful
// of measurements; kerning only narrows digits, so this never measures short.
int textWidth(const TextStyle& style, QStringView text) {
    static QHash<QString, int> cache;
    QString key = text.toString();
    for (QChar& c : key) {
        if (c.isDigit()) {
            c = QLatin1Char('0');
        }
    }
    key += QChar(char16_t(std::lround(style.pointSize * 4)) | (style.bold ? 0x4000 : 0));
    if (const auto it = cache.constFind(key); it != cache.constEnd()) {
        return *it;
    }
    if (cache.size() > 20000) {
        cache.clear();
    }
    const QFontMetricsF metrics(reportFont(style));
    const int width = int(std::ceil(metrics.horizontalAdvance(key.left(text.size()))));
    cache.insert(key, width);
    return width;
}

int widestWord(const TextStyle& style, const QString& text) {
    int widest = 0;
    for (const QStringView word : QStringView(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        widest = std::max(widest, textWidth(style, word));
    }
    return widest;
}

int wrappedHeight(const ReportField& field, const QString& text, int width) {
    const QFontMetricsF metrics(reportFont(field.style));
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | field.style.align, text);
    return std::max(field.tw.height(), int(std::ceil(bounds.height())));
}

QString filled(QString text, const QString& longDate, int page, const QString& pages) {
    return text.replace(QStringLiteral("%D"), longDate)
        .replace(QStringLiteral("%p"), QString::number(page))
        .replace(QStringLiteral("%P"), pages);
}

}  // namespace

QSize landscapeA4Tw() {
    const QSize points = QPageSize(QPageSize::A4).sizePoints();
    return QSize(points.height(), points.width()) * kTwipsPerPoint;
}

QFont reportFont(const TextStyle& style) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(int(std::lround(style.pointSize * kTwipsPerPoint)));
    font.setBold(style.bold);
    return font;
}

ReportLayout::ReportLayout(const ReportDesign& design, const QSize& paperTw, const QDate& today)
    : design_(design),
      paper_(paperTw),
      longDate_(QLocale().toString(today, QLocale::LongFormat)),
      headings_(design.detail.size(), 0),
      pages_(1, PageSpan{0, 0, Widths(design.detail.size(), 0)}),
      y_(design.marginTw + design.pageHeaderHeight) {
    for (const ReportLabel& l : design.pageHeader) {
        if (l.column >= 0) {
            headings_[size_t(l.column)] = textWidth(l.style, l.text);
        }
    }
}

// Columns keep their designed places unless the widest word (or label) of
// the column before pushes them right; a right-aligned column moves its right
// edge. Each text draws in its column's room: up to the next column, and
// between a left- and a right-aligned column the left one keeps its designed
// width where the right one's widest text leaves it.
std::vector<ReportLayout::Column> ReportLayout::columns(const Widths& widths) const {
    const std::vector<ReportField>& fields = design_.detail;
    const auto right = [&](size_t i) {
        return bool(fields[i].style.align & Qt::AlignRight);
    };
    std::vector<Column> cols(fields.size());
    int used = std::numeric_limits<int>::min() / 2;  // the right end of the texts so far
    for (size_t i = 0; i < fields.size(); ++i) {
        const QRect& box = fields[i].tw;
        const int text = std::max(widths[i], headings_[i]);
        Column& c = cols[i];
        if (right(i)) {
            c.slotRight = std::max(box.x() + box.width(), used + kGap + text);
            c.slotLeft = c.slotRight - text;
        } else {
            c.slotLeft = std::max(box.x(), used + kGap);
            c.slotRight = c.slotLeft + text;
        }
        used = c.slotRight;
    }
    for (size_t i = 0; i < cols.size(); ++i) {
        Column& c = cols[i];
        c.roomLeft = right(i)
                         ? c.slotRight - std::max(fields[i].tw.width(), c.slotRight - c.slotLeft)
                         : c.slotLeft;
        c.roomRight = right(i) ? c.slotRight : paper_.width() - 2 * design_.marginTw;
        if (i == 0) {
            continue;
        }
        Column& p = cols[i - 1];
        if (right(i - 1) && right(i)) {
            c.roomLeft = p.slotRight + kGap;
        } else if (!right(i - 1) && !right(i)) {
            p.roomRight = c.slotLeft - kGap;
        } else if (!right(i - 1)) {
            const int designed = p.slotLeft + fields[i - 1].tw.width();
            p.roomRight = std::clamp(designed, p.slotRight, c.slotLeft - kGap);
            c.roomLeft = p.roomRight + kGap;
        }
    }
    return cols;
}

QStringList ReportLayout::texts(const db::Row& record) const {
    QStringList texts;
    texts.reserve(qsizetype(design_.detail.size()));
    for (const ReportField& f : design_.detail) {
        texts.append(fieldText(f, record));
    }
    return texts;
}

ReportLayout::Widths ReportLayout::widened(Widths widths, const QStringList& texts) const {
    for (size_t i = 0; i < design_.detail.size(); ++i) {
        const ReportField& f = design_.detail[i];
        const QString& text = texts[qsizetype(i)];
        if (textWidth(f.style, text) > widths[i]) {
            widths[i] = std::max(widths[i], widestWord(f.style, text));
        }
    }
    return widths;
}

int ReportLayout::rowHeight(const QStringList& texts, const std::vector<Column>& cols) const {
    int grown = 0;
    for (size_t i = 0; i < design_.detail.size(); ++i) {
        const ReportField& f = design_.detail[i];
        const QString& text = texts[qsizetype(i)];
        const int room = cols[i].roomRight - cols[i].roomLeft;
        if (textWidth(f.style, text) > room) {
            grown = std::max(grown, wrappedHeight(f, text, room) - f.tw.height());
        }
    }
    return design_.detailHeight + grown;
}

int ReportLayout::pageHeight(const PageSpan& span, const std::vector<Column>& cols) const {
    int height = 0;
    for (size_t r = span.first; r < span.end; ++r) {
        height += rowHeight(texts(records_[r]), cols);
    }
    return height;
}

int ReportLayout::placeRow(const db::Row& record, const std::vector<Column>& cols, int top,
                           Page& page) const {
    const int left = design_.marginTw;
    QStringList row = texts(record);
    const int height = rowHeight(row, cols);
    for (size_t i = 0; i < design_.detail.size(); ++i) {
        const ReportField& f = design_.detail[i];
        QString text = std::move(row[qsizetype(i)]);
        const Column& c = cols[i];
        const int width = c.roomRight - c.roomLeft;
        const int h = textWidth(f.style, text) <= width
                          ? f.tw.height()
                          : f.tw.height() + height - design_.detailHeight;
        page.push_back({PageItem::Text, QRect(left + c.roomLeft, top + f.tw.y(), width, h),
                        std::move(text), f.style, f.name});
    }
    page.push_back(
        {PageItem::Line,
         QRect(left + design_.lineLeft, top + height, design_.lineLength + stretch(cols), 0),
         QString(), TextStyle(), QStringLiteral("Line")});
    return height;
}

int ReportLayout::stretch(const std::vector<Column>& cols) const {
    const ReportField& last = design_.detail.back();
    const Column& c = cols.back();
    const int end = (last.style.align & Qt::AlignRight)
                        ? c.slotRight
                        : std::max(c.slotRight, c.slotLeft + last.tw.width());
    return std::max(0, end - last.tw.x() - last.tw.width());
}

void ReportLayout::placeHeaders(const std::vector<Column>& cols, int number, Page& page) const {
    const ReportDesign& d = design_;
    const QString pages = finished_ ? QString::number(pageCount()) : QStringLiteral("...");
    page.push_back({PageItem::Rect,
                    d.band.translated(d.marginTw, d.marginTw).adjusted(0, 0, stretch(cols), 0),
                    QString(), TextStyle(), QStringLiteral("Shape1")});
    const int footerTop = paper_.height() - d.marginTw - d.pageFooterHeight;
    for (const auto& [labels, top] :
         {std::pair(&d.pageHeader, d.marginTw), std::pair(&d.pageFooter, footerTop)}) {
        for (const ReportLabel& l : *labels) {
            QRect tw = l.tw.translated(d.marginTw, top);
            if (l.column >= 0) {
                const QRect& box = d.detail[size_t(l.column)].tw;
                const Column& c = cols[size_t(l.column)];
                tw.translate((l.style.align & Qt::AlignRight) ? c.slotRight - box.x() - box.width()
                                                              : c.slotLeft - box.x(),
                             0);
            }
            page.push_back(
                {PageItem::Text, tw, filled(l.text, longDate_, number, pages), l.style, l.name});
        }
    }
}

void ReportLayout::add(std::vector<db::Row> records) {
    const int firstRowTop = design_.marginTw + design_.pageHeaderHeight;
    const int footerTop = paper_.height() - design_.marginTw - design_.pageFooterHeight;
    records_.reserve(records_.size() + records.size());
    for (db::Row& record : records) {
        records_.push_back(std::move(record));
        const QStringList row = texts(records_.back());
        PageSpan& span = pages_.back();
        Widths widths = widened(span.widths, row);
        std::vector<Column> cols = columns(widths);
        int y = widths == span.widths ? y_ : firstRowTop + pageHeight(span, cols);
        int height = rowHeight(row, cols);
        // A row taller than a whole page still goes on a page of its own.
        if (y + height > footerTop && span.end > span.first) {
            pages_.push_back({span.end, span.end, Widths(design_.detail.size(), 0)});
            widths = widened(pages_.back().widths, row);
            y = firstRowTop;
            height = rowHeight(row, columns(widths));
        }
        pages_.back().widths = std::move(widths);
        pages_.back().end = records_.size();
        y_ = y + height;
    }
}

Page ReportLayout::page(int index) const {
    const PageSpan& span = pages_.at(size_t(index));
    const std::vector<Column> cols = columns(span.widths);
    Page page;
    page.reserve((span.end - span.first) * (design_.detail.size() + 1) + 20);
    placeHeaders(cols, index + 1, page);
    int y = design_.marginTw + design_.pageHeaderHeight;
    for (size_t r = span.first; r < span.end; ++r) {
        y += placeRow(records_[r], cols, y, page);
    }
    return page;
}

std::vector<Page> layOut(const ReportDesign& design, const std::vector<db::Row>& records,
                         const QSize& paperTw, const QDate& today) {
    ReportLayout layout(design, paperTw, today);
    layout.add(records);
    layout.finish();
    std::vector<Page> pages;
    for (int i = 0; i < layout.pageCount(); ++i) {
        pages.push_back(layout.page(i));
    }
    return pages;
}

void paintPage(QPainter& painter, const Page& page, int dotsPerInch) {
    painter.save();
    const double scale = double(dotsPerInch) / 1440.0;
    painter.scale(scale, scale);
    painter.setPen(QPen(Qt::black, 15));
    for (const PageItem& item : page) {
        switch (item.kind) {
            case PageItem::Rect:
                painter.fillRect(item.tw, kBandColour);
                break;
            case PageItem::Line:
                painter.drawLine(item.tw.topLeft(), item.tw.topLeft() + QPoint(item.tw.width(), 0));
                break;
            case PageItem::Text:
                painter.setFont(reportFont(item.style));
                painter.drawText(item.tw, int(item.style.align | Qt::AlignTop | Qt::TextWordWrap),
                                 item.text);
                break;
        }
    }
    painter.restore();
}

}  // namespace reports
