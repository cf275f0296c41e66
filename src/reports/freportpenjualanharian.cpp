#include "reports/freportpenjualanharian.h"

#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
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

// With more dates than this, only every n-th date is labelled, so the labels
// stay readable.
constexpr size_t kDateLabels = 10;

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
    const size_t step = (days.size() + kDateLabels - 1) / kDateLabels;
    QList<QPointF> points;
    points.reserve(qsizetype(days.size()));
    qint64 high = 0;
    qint64 low = 0;
    for (size_t i = 0; i < days.size(); ++i) {
        points.append({qreal(i), qreal(days[i].total)});
        if (i % step == 0) {
            dates->append(fmt::showStoredDate(days[i].date), qreal(i));
        }
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
    chartView()->setChart(chart);
}

}  // namespace reports
