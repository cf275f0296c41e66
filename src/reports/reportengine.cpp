#include "reports/reportengine.h"

#include "toolkit/format.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPainter>

#include <cmath>

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

// Measuring in a font sized in twips gives heights in twips on any device.
int neededHeight(const ReportField& field, const QString& text) {
    if (!field.grows || text.isEmpty()) {
        return field.tw.height();
    }
    const QFontMetricsF metrics(reportFont(field.style));
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, field.tw.width(), 1e9),
                                               Qt::TextWordWrap | field.style.align, text);
    return std::max(field.tw.height(), int(std::ceil(bounds.height())));
}

void placeRow(const ReportDesign& d, const db::Row& record, int top, Page& page, int& height) {
    const int left = d.marginTw;
    std::vector<std::pair<const ReportField*, QString>> texts;
    height = d.detailHeight;
    for (const ReportField& f : d.detail) {
        QString text = fieldText(f, record);
        const int grown = neededHeight(f, text) - f.tw.height();
        height = std::max(height, d.detailHeight + grown);
        texts.emplace_back(&f, std::move(text));
    }
    for (auto& [f, text] : texts) {
        const int h = f->tw.height() + (height - d.detailHeight);
        page.push_back(
            {PageItem::Text,
             QRect(left + f->tw.x(), top + f->tw.y(), f->tw.width(), f->grows ? h : f->tw.height()),
             std::move(text), f->style, f->name});
    }
    page.push_back({PageItem::Line, QRect(left + d.lineLeft, top + height, d.lineLength, 0),
                    QString(), TextStyle(), QStringLiteral("Line")});
}

QString filled(QString text, const QString& longDate, int page, int pages) {
    return text.replace(QStringLiteral("%D"), longDate)
        .replace(QStringLiteral("%p"), QString::number(page))
        .replace(QStringLiteral("%P"), QString::number(pages));
}

void placeLabels(const std::vector<ReportLabel>& labels, int left, int top, const QString& date,
                 int page, int pages, Page& out) {
    for (const ReportLabel& l : labels) {
        out.push_back({PageItem::Text, l.tw.translated(left, top),
                       filled(l.text, date, page, pages), l.style, l.name});
    }
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

std::vector<Page> layOut(const ReportDesign& d, const std::vector<db::Row>& records,
                         const QSize& paperTw, const QDate& today) {
    const int firstRowTop = d.marginTw + d.pageHeaderHeight;
    const int footerTop = paperTw.height() - d.marginTw - d.pageFooterHeight;

    std::vector<Page> bodies(1);
    int y = firstRowTop;
    for (const db::Row& record : records) {
        Page row;
        int height = 0;
        placeRow(d, record, y, row, height);
        // A row taller than a whole page still goes on a page of its own.
        if (y + height > footerTop && y > firstRowTop) {
            bodies.emplace_back();
            y = firstRowTop;
            row.clear();
            placeRow(d, record, y, row, height);
        }
        std::move(row.begin(), row.end(), std::back_inserter(bodies.back()));
        y += height;
    }

    const QString longDate = QLocale().toString(today, QLocale::LongFormat);
    const int pages = int(bodies.size());
    std::vector<Page> result(bodies.size());
    for (int i = 0; i < pages; ++i) {
        Page& page = result[size_t(i)];
        page.reserve(bodies[size_t(i)].size() + d.pageHeader.size() + d.pageFooter.size() + 1);
        page.push_back({PageItem::Rect, d.band.translated(d.marginTw, d.marginTw), QString(),
                        TextStyle(), QStringLiteral("Shape1")});
        placeLabels(d.pageHeader, d.marginTw, d.marginTw, longDate, i + 1, pages, page);
        std::move(bodies[size_t(i)].begin(), bodies[size_t(i)].end(), std::back_inserter(page));
        placeLabels(d.pageFooter, d.marginTw, footerTop, longDate, i + 1, pages, page);
    }
    return result;
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
