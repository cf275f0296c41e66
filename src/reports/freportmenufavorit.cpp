#include "reports/freportmenufavorit.h"

#include "shell/moddapra.h"

#include <QChart>
#include <QChartView>
#include <QPieSeries>

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
        pie->append(f.name, qreal(f.quantity))->setLabelVisible(true);
    }
    chart->addSeries(pie);
    chart->legend()->setAlignment(Qt::AlignRight);
    chartView()->setChart(chart);
}

}  // namespace reports
