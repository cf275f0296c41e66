#include "reports/chartform.h"

#include "reports/listfiller.h"
#include "toolkit/controls.h"
#include "toolkit/keys.h"
#include "toolkit/twips.h"

#include <QChartView>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>

namespace reports {

ChartForm::ChartForm(const ChartFormKind& kind) : kind_(kind) {
    using namespace ui;
    setObjectName(kind.formName);
    setWindowTitle(kind.caption);
    setDesignSize(11940, 6390);
    frame1_ = frame(this, QStringLiteral("Frame1"), QString(), {90, 45, 11760, 5820});
    frame2_ = frame(frame1_, QStringLiteral("Frame2"), kind.listFrame, kind.listFrameTw);
    list_ = modelListView(frame2_, QStringLiteral("ListView1"), kind.listTw);
    filler_ = new ListFiller(list_);
    setColumns(list_, kind.columns);
    frame3_ = frame(frame1_, QStringLiteral("Frame3"), kind.chartFrame, kind.chartFrameTw);
    chart_ = new QChartView(frame3_);
    chart_->setObjectName(QStringLiteral("MSChart1"));
    chart_->setRenderHint(QPainter::Antialiasing);
    placeTw(chart_, kind.chartTw.x(), kind.chartTw.y(), kind.chartTw.width(),
            kind.chartTw.height());
    close_ = button(this, QStringLiteral("Command2"), QStringLiteral("&Keluar"),
                    {10620, 5940, 1200, 350});
    connect(close_, &QPushButton::clicked, this, &Form::unload);
    setCancelButton(close_);
    ui::tabRoad({list_, close_});
    list_->setFocus();
}

bool ChartForm::filling() const {
    return filler_->busy();
}

void ChartForm::fillList(std::vector<QStringList> rows, bool scrollToEnd) {
    filler_->fill(std::move(rows), [this, scrollToEnd] {
        if (scrollToEnd) {
            list_->scrollToBottom();
        }
    });
}

void ChartForm::relayout(ui::TwLayout& l) {
    if (!close_) {
        return;
    }
    l.setWidth(frame1_, l.W - 420);
    l.setWidth(frame2_, l.W - 600);
    l.setWidth(frame3_, l.W - 600);
    l.setWidth(list_, l.W - 780);
    l.setWidth(chart_, l.W - 780);
    l.setHeight(frame1_, l.H - kind_.frame1Less);
    l.setHeight(frame3_, l.H - kind_.frame3Less);
    l.setHeight(chart_, l.H - kind_.chartLess);
    l.setLeft(close_, l.left(frame1_) + l.width(frame1_) - l.width(close_));
    l.setTop(close_, l.top(frame1_) + l.height(frame1_) + 75);
}

}  // namespace reports
