#include "reports/freportpenjualanharian.h"

#include "reports/reportqueries.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

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

qreal chartX(const QString& storedDate) {
    return qreal(fmt::readStoredDate(storedDate).startOfDay().toMSecsSinceEpoch());
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

// No day at all leaves the chart unfilled.
void fReportPenjualanHarian::DrawChart(const std::vector<DailyTotal>& days) {
    if (days.empty()) {
        return;
    }
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Grafik Penjualan Harian"));
    chart->legend()->hide();
    chart->setLocalizeNumbers(true);  // amounts grouped with "." like the list's
    auto* series = new QLineSeries;
    QList<QPointF> points;
    points.reserve(qsizetype(days.size()));
    for (const DailyTotal& day : days) {
        points.append({chartX(day.date), qreal(day.total)});
    }
    series->replace(points);
    series->setPointsVisible(days.size() < 100);
    chart->addSeries(series);
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("dd/MM/yyyy"));
    chart->addAxis(dates, Qt::AlignBottom);
    series->attachAxis(dates);
    auto* totals = new QValueAxis;
    totals->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(totals, Qt::AlignLeft);
    series->attachAxis(totals);
    totals->applyNiceNumbers();
    if (days.size() == 1) {
        // One day gives the axis no span; a day either side centres the point.
        const qreal day = 24.0 * 3600 * 1000;
        dates->setRange(QDateTime::fromMSecsSinceEpoch(qint64(points.front().x() - day)),
                        QDateTime::fromMSecsSinceEpoch(qint64(points.front().x() + day)));
    }
    chartView()->setChart(chart);
}

}  // namespace reports
