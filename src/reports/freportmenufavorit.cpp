#include "reports/freportmenufavorit.h"

#include "shell/moddapra.h"

#include <QChart>
#include <QChartView>
#include <QFontInfo>
#include <QGraphicsPathItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <QPieSeries>

#include <algorithm>
#include <cmath>

namespace reports {

namespace {

const ChartFormKind& favoritKind() {
    static const ChartFormKind kind{
        QStringLiteral("fReportMenuFavorit"),
        QStringLiteral("Report Menu Favorit"),
        QStringLiteral("[ Data 10 Menu Ter Favorit ]"),
        QStringLiteral("[ Grafik 10 Menu Ter Favorit ]"),
        {90, 135, 11580, 2625},
        {90, 225, 11400, 2310},
        {90, 2790, 11580, 2940},
        {90, 225, 11400, 2625},
        {{QStringLiteral("Nomer"), 1000},
         {QStringLiteral("Nama Menu"), 3000},
         {QStringLiteral("Kategori"), 2000},
         {QStringLiteral("Satuan"), 1000},
         {QStringLiteral("Total Penjualan"), 1500, Qt::AlignRight}},
        1095,
        3975,
        4290,
    };
    return kind;
}

// Room kept between two labels of a column, the run of the line from the
// pie's rim to a label's column, the smallest pie drawn, and the smallest
// font the labels shrink to where the chart is too small for them.
constexpr qreal kLabelGap = 2;
constexpr qreal kArm = 16;
constexpr qreal kMinRadius = 12;
constexpr int kMinPixelSize = 8;
// Above the pie's own items.
constexpr qreal kOverPie = 100;

// A slice's name beside the pie and the line that joins it to its slice.
struct SliceLabel {
    QGraphicsSimpleTextItem* text;
    QGraphicsPathItem* line;
    qreal angle;  // of the slice's middle, clockwise from twelve o'clock
    bool right = false;
    qreal rank = 0;  // orders the labels of a column from top to bottom
};

using Labels = std::vector<SliceLabel>;

// How far a label lies from the top or the bottom of the pie, where it can
// go to the other column without crossing another label's line.
qreal fromColumnEnd(const SliceLabel& l) {
    const qreal a = l.right ? l.angle : l.angle - 180;
    return std::min(a, 180 - a);
}

// Each label goes to the side of the pie its slice lies on; a column holding
// more than fit moves its labels nearest the pie's top or bottom over.
void chooseColumns(Labels& labels, qsizetype fit) {
    for (SliceLabel& l : labels) {
        l.right = l.angle < 180;
    }
    for (const bool right : {true, false}) {
        const auto inColumn = [right](const SliceLabel& l) {
            return l.right == right;
        };
        while (std::count_if(labels.begin(), labels.end(), inColumn) > fit) {
            auto nearest = std::min_element(
                labels.begin(), labels.end(), [&](const SliceLabel& a, const SliceLabel& b) {
                    return inColumn(a) && (!inColumn(b) || fromColumnEnd(a) < fromColumnEnd(b));
                });
            nearest->right = !right;
        }
    }
    // Going round the pie: the right column downwards, the left one upwards.
    for (SliceLabel& l : labels) {
        const qreal turn = l.right ? (l.angle > 270 ? -360 : 0) : (l.angle < 90 ? 360 : 0);
        l.rank = l.right ? l.angle + turn : -(l.angle + turn);
    }
    std::sort(labels.begin(), labels.end(),
              [](const SliceLabel& a, const SliceLabel& b) { return a.rank < b.rank; });
}

qreal columnWidth(const Labels& labels, bool right) {
    qreal width = 0;
    for (const SliceLabel& l : labels) {
        if (l.right == right) {
            width = std::max(width, l.text->boundingRect().width());
        }
    }
    return width;
}

qreal labelHeight(const Labels& labels) {
    return labels.front().text->boundingRect().height();
}

struct PieBox {
    QPointF centre;
    qreal radius;
};

// The pie in the middle of the area, as large as the columns of labels on
// its sides leave room for; a radius below kMinRadius where they do not fit.
PieBox pieBox(const Labels& labels, const QRectF& area) {
    const qreal left = columnWidth(labels, false);
    const qreal right = columnWidth(labels, true);
    const qreal leftArm = left > 0 ? kArm : 0;
    const qreal sides = left + leftArm + right + (right > 0 ? kArm : 0);
    const qreal radius = std::min(area.height() * 0.45, (area.width() - sides) / 2);
    const qreal start = area.left() + (area.width() - sides - 2 * radius) / 2;
    return {{start + left + leftArm + radius, area.center().y()}, radius};
}

// Gives the labels the largest font, from the slices' own down, at which
// their columns fit the room beside a pie in the area, and chooses the
// columns.
void fitFont(Labels& labels, const QFont& font, const QRectF& area, const QRectF& room) {
    QFont smaller = font;
    for (int pixels = QFontInfo(font).pixelSize();; --pixels) {
        smaller.setPixelSize(pixels);
        for (SliceLabel& l : labels) {
            l.text->setFont(smaller);
        }
        const auto fit = qsizetype((room.height() + kLabelGap) / (labelHeight(labels) + kLabelGap));
        chooseColumns(labels, std::max(fit, qsizetype(1)));
        if (pixels <= kMinPixelSize ||
            (2 * fit >= qsizetype(labels.size()) && pieBox(labels, area).radius >= kMinRadius)) {
            return;
        }
    }
}

// The tops of a column's labels, each as near the height it wants as the
// labels above and below it and the room leave it.
std::vector<qreal> stackColumn(const std::vector<qreal>& wanted, qreal height, const QRectF& room) {
    std::vector<qreal> tops(wanted.size());
    qreal next = room.top();
    for (size_t i = 0; i < wanted.size(); ++i) {
        tops[i] = std::max(wanted[i] - height / 2, next);
        next = tops[i] + height + kLabelGap;
    }
    qreal last = room.bottom() - height;
    for (size_t i = wanted.size(); i-- > 0;) {
        tops[i] = std::min(tops[i], last);
        last = tops[i] - height - kLabelGap;
    }
    return tops;
}

QPointF onRim(const PieBox& pie, qreal beyond, qreal angle) {
    const qreal rad = qDegreesToRadians(angle);
    return pie.centre + QPointF(std::sin(rad), -std::cos(rad)) * (pie.radius + beyond);
}

// Puts the labels of one column beside the pie, each level with its slice
// where room allows, as close to the pie as a ring kArm wide around it
// lets, and joined to the middle of its slice's rim. Labels the room has no
// place for are hidden, the legend naming their slices.
void placeColumn(Labels& labels, bool right, const PieBox& pie, const QRectF& room) {
    std::vector<SliceLabel*> column;
    std::vector<qreal> wanted;
    for (SliceLabel& l : labels) {
        if (l.right == right) {
            column.push_back(&l);
            wanted.push_back(onRim(pie, kArm / 2, l.angle).y());
        }
    }
    const qreal height = labelHeight(labels);
    const std::vector<qreal> tops = stackColumn(wanted, height, room);
    const qreal side = right ? 1 : -1;
    const qreal ring = pie.radius + kArm;
    for (size_t i = 0; i < column.size(); ++i) {
        const qreal rise = std::clamp(pie.centre.y(), tops[i], tops[i] + height) - pie.centre.y();
        const qreal inner =
            pie.centre.x() +
            side * std::max(kLabelGap, std::sqrt(std::max(0.0, ring * ring - rise * rise)));
        QGraphicsSimpleTextItem* text = column[i]->text;
        text->setPos(right ? inner : inner - text->boundingRect().width(), tops[i]);
        QPainterPath path(onRim(pie, 0, column[i]->angle));
        path.lineTo(inner - side * kLabelGap, tops[i] + height / 2);
        column[i]->line->setPath(path);
        text->setVisible(tops[i] > room.top() - 0.5);
        column[i]->line->setVisible(text->isVisible());
    }
}

// Sizes and places the pie within the plot area so that the two columns of
// labels find room beside it, and lays the labels out; the labels may take
// the chart's margin below the plot area too, where nothing else is drawn.
void layOutLabels(QPieSeries* pie, Labels& labels, const QFont& font, const QRectF& area) {
    if (labels.empty() || area.isEmpty()) {
        return;
    }
    const QRectF room = area.adjusted(0, 0, 0, pie->chart()->margins().bottom() - kLabelGap);
    fitFont(labels, font, area, room);
    PieBox box = pieBox(labels, area);
    box.radius = std::max(box.radius, kMinRadius);
    pie->setPieSize(2 * box.radius / std::min(area.width(), area.height()));
    pie->setHorizontalPosition((box.centre.x() - area.left()) / area.width());
    placeColumn(labels, false, box, room);
    placeColumn(labels, true, box, room);
}

// Draws the slices' names beside the pie in place of Qt's own labels, which
// cover each other where small slices meet; laid out again whenever the
// plot area changes.
void labelSlices(QChart* chart, QPieSeries* pie) {
    Labels labels;
    for (QPieSlice* slice : pie->slices()) {
        auto* text = new QGraphicsSimpleTextItem(slice->label(), chart);
        text->setBrush(slice->labelBrush());
        text->setZValue(kOverPie);
        auto* line = new QGraphicsPathItem(chart);
        line->setPen(QPen(slice->labelBrush(), 1));
        line->setZValue(kOverPie);
        labels.push_back({text, line, slice->startAngle() + slice->angleSpan() / 2});
    }
    const QFont font = pie->slices().front()->labelFont();
    layOutLabels(pie, labels, font, chart->plotArea());
    QObject::connect(
        chart, &QChart::plotAreaChanged, pie,
        [pie, labels, font](const QRectF& area) mutable { layOutLabels(pie, labels, font, area); });
}

}  // namespace

fReportMenuFavorit::fReportMenuFavorit() : ChartForm(favoritKind()) {
    FillAll();
}

// Nothing is listed before the first payment, even when orders exist.
void fReportMenuFavorit::FillAll() {
    std::vector<Favourite> items;
    if (!moddapra::RunUnit([&](db::Connection& c) {
            if (anyPayment(c)) {
                items = favourites(c, kShown);
            }
        })) {
        return;
    }
    std::vector<QStringList> rows;
    for (size_t i = 0; i < items.size(); ++i) {
        const Favourite& f = items[i];
        rows.push_back(
            {QString::number(i + 1), f.name, f.category, f.unit, QString::number(f.quantity)});
    }
    fillList(std::move(rows), false);
    DrawChart(items);
}

void fReportMenuFavorit::DrawChart(const std::vector<Favourite>& items) {
    if (items.empty()) {
        return;
    }
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Grafik 10 Menu Ter Favorit"));
    auto* pie = new QPieSeries;
    for (const Favourite& f : items) {
        pie->append(f.name, qreal(f.quantity));
    }
    chart->addSeries(pie);
    chart->legend()->setAlignment(Qt::AlignRight);
    // Narrow side margins leave the labels beside the pie more room; the
    // legend keeps its height, which holds whole rows.
    chart->setMargins(QMargins(6, 20, 6, 20));
    labelSlices(chart, pie);
    chartView()->setChart(chart);
}

}  // namespace reports
