#pragma once

#include "toolkit/form.h"
#include "toolkit/reportlist.h"

#include <vector>

class QPushButton;
class QTreeView;

class QChartView;

namespace reports {

class ListFiller;

// How the daily sales and favourites windows differ.
struct ChartFormKind {
    QString formName;
    QString caption;
    QString listFrame;   // Frame2's caption
    QString chartFrame;  // Frame3's caption
    QRect listFrameTw;
    QRect listTw;
    QRect chartFrameTw;
    QRect chartTw;
    std::vector<ui::Column> columns;
    // Subtracted from the window's outer height: Frame1, Frame3, the chart.
    int frame1Less;
    int frame3Less;
    int chartLess;
};

// A report window of one list above one chart and "&Keluar", both filled once
// when the window opens.
class ChartForm : public ui::Form {
    Q_OBJECT
public:
    explicit ChartForm(const ChartFormKind& kind);

    // Whether the list is still being filled.
    bool filling() const;

protected:
    void relayout(ui::TwLayout& l) override;

    // Fills the list with these rows; the list ends scrolled to its last row
    // when scrollToEnd is set.
    void fillList(std::vector<QStringList> rows, bool scrollToEnd);

    QTreeView* list() const { return list_; }
    QChartView* chartView() const { return chart_; }

private:
    const ChartFormKind& kind_;
    QWidget* frame1_ = nullptr;
    QWidget* frame2_ = nullptr;
    QWidget* frame3_ = nullptr;
    QTreeView* list_ = nullptr;
    QChartView* chart_ = nullptr;
    QPushButton* close_ = nullptr;
    ListFiller* filler_ = nullptr;
};

}  // namespace reports
