#pragma once

#include "reports/chartform.h"
#include "reports/reportqueries.h"

namespace reports {

// The sum of the orders paid per payment date, as a list and a line chart.
class fReportPenjualanHarian : public ChartForm {
    Q_OBJECT
public:
    fReportPenjualanHarian();

private:
    void FillAll();
    void DrawChart(const std::vector<DailyTotal>& days);
};

}  // namespace reports
