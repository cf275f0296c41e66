#pragma once

#include "reports/chartform.h"
#include "reports/reportqueries.h"

namespace reports {

// The ten menu items ordered most, as a numbered list and a pie chart.
class fReportMenuFavorit : public ChartForm {
    Q_OBJECT
public:
    fReportMenuFavorit();

    // How many items the list and the pie show at most.
    static constexpr int kShown = 10;

private:
    void FillAll();
    void DrawChart(const std::vector<Favourite>& items);
};

}  // namespace reports
