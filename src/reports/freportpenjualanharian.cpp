#include "reports/freportpenjualanharian.h"

#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace reports {

namespace {

const ChartFormKind& harianKind() {
    static const ChartFormKind kind{
        QStringLiteral("fReportPenjualanHarian"),
        QStringLiteral("Report Penjualan Harian"),
        QStringLiteral("[ Data Penjualan Harian ]"),
        QStringLiteral("[ Grafik Penjualan Harian ]"),
        {90, 135, 11580, 2580},
        {90, 225, 11400, 2265},
        {90, 2745, 11580, 2985},
        {90, 270, 11400, 2625},
        {{QStringLiteral("Tanggal Penjualan"), 2000},
         {QStringLiteral("Total Penjualan Per Tanggal"), 3000, Qt::AlignRight}},
        1065,
        3900,
        4260,
    };
    return kind;
}

// Room kept between two date labels, and what the axis keeps either side of
// a label within its share of the axis before it cuts the label short.
constexpr qreal kLabelGap = 8;
constexpr qreal kAxisPadding = 10;

// The smallest step at which every step-th of `count` evenly spaced dates
// can be labelled: the labels keep clear of each other and each finds room
// in its share of the axis.
qsizetype labelStep(qsizetype count, qreal axisWidth, qreal labelWidth) {
    const qreal spacing = axisWidth / qreal(count);
    for (qsizetype step = 1; step < count; ++step) {
        const qsizetype labels = (count + step - 1) / step;
        if (spacing * qreal(step) >= labelWidth + kLabelGap &&
            axisWidth / qreal(labels + 1) - kAxisPadding >= labelWidth) {
            return step;
        }
    }
    return count;
}

// Labels every date that fits the axis's width, else every n-th, evenly.
void labelDates(QCategoryAxis* axis, const QStringList& dates, qreal axisWidth) {
    const QFontMetricsF metrics(axis->labelsFont());
    const qsizetype step =
        labelStep(dates.size(), axisWidth, metrics.boundingRect(dates.front()).width());
    QStringList labels;
    for (qsizetype i = 0; i < dates.size(); i += step) {
        labels.append(dates[i]);
    }
    if (labels == axis->categoriesLabels()) {
        return;
    }
    for (const QString& label : axis->categoriesLabels()) {
        axis->remove(label);
    }
    for (qsizetype i = 0; i < labels.size(); ++i) {
        axis->append(labels[i], qreal(i * step));
    }
}

}  // namespace

fReportPenjualanHarian::fReportPenjualanHarian() : ChartForm(harianKind()) {
    FillAll();
}

// One query feeds list and chart, so both show the same days.
void fReportPenjualanHarian::FillAll() {
    std::vector<DailyTotal> days;
    if (!moddapra::RunUnit([&](db::Connection& c) { days = dailyTotals(c); })) {
        return;
    }
    std::vector<QStringList> rows;
    rows.reserve(days.size());
    for (const DailyTotal& day : days) {
        rows.push_back({fmt::showStoredDate(day.date), fmt::mask(day.total, fmt::kMask9)});
    }
    fillList(std::move(rows), true);
    DrawChart(days);
}

// One point per day in the order of the result, evenly spaced and labelled
// with its date; no day at all leaves the chart unfilled.
void fReportPenjualanHarian::DrawChart(const std::vector<DailyTotal>& days) {
    if (days.empty()) {
        return;
    }
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Grafik Penjualan Harian"));
    chart->legend()->hide();
    chart->setLocalizeNumbers(true);  // amounts grouped with "." like the list's
    auto* series = new QLineSeries;
    auto* dates = new QCategoryAxis;
    dates->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    QStringList labels;
    QList<QPointF> points;
    points.reserve(qsizetype(days.size()));
    qint64 high = 0;
    qint64 low = 0;
    for (size_t i = 0; i < days.size(); ++i) {
        points.append({qreal(i), qreal(days[i].total)});
        labels.append(fmt::showStoredDate(days[i].date));
        high = std::max(high, days[i].total);
        low = std::min(low, days[i].total);
    }
    series->replace(points);
    series->setPointsVisible(days.size() < 100);
    chart->addSeries(series);
    chart->addAxis(dates, Qt::AlignBottom);
    series->attachAxis(dates);
    auto* totals = new QValueAxis;
    totals->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(totals, Qt::AlignLeft);
    series->attachAxis(totals);
    // Half a step either side, and room above the highest total, keep every
    // point off the edges; totals from zero give a lone day a span, and days of
    // nothing sold a scale in thousands.
    dates->setRange(-0.5, qreal(days.size()) - 0.5);
    totals->setRange(qreal(low), qreal(high > low ? high : low + 1000) * 1.05);
    totals->applyNiceNumbers();
    labelDates(dates, labels, chart->plotArea().width());
    connect(chart, &QChart::plotAreaChanged, dates,
            [dates, labels](const QRectF& area) { labelDates(dates, labels, area.width()); });
    chartView()->setChart(chart);
}

}  // namespace reports
