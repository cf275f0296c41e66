#pragma once

#include "toolkit/form.h"

#include <QDate>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace ui {
class DatePicker;
}

namespace reports {

class ListFiller;

// The sales of a period: every payment between two dates, the period's total,
// and the printed period report.
class fReportPenjualanPeriode : public ui::Form {
    Q_OBJECT
public:
    fReportPenjualanPeriode();

    // The start and end day of the last list ("&Tampilkan").
    QDate StartDate;
    QDate EndDate;

protected:
    void relayout(ui::TwLayout& l) override;

private:
    void buildPeriodArea();
    void buildList();
    void buildButtons();

    void SetColumnHeaders();
    void ClearInput();
    bool checkDates();
    void FillList();
    void ShowTotal();
    void ShowReport();
    void Command1_Click();  // "&Tampilkan"
    void Command3_Click();  // "Cetak!"

    QWidget* frame1_ = nullptr;
    QWidget* frame2_ = nullptr;
    QWidget* frame3_ = nullptr;
    ui::DatePicker* picker1_ = nullptr;
    ui::DatePicker* picker2_ = nullptr;
    QTreeView* list_ = nullptr;
    QLabel* label6_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QPushButton* show_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
    ListFiller* filler_ = nullptr;
};

}  // namespace reports
