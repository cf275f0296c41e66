#pragma once

#include "toolkit/form.h"

#include <QDate>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

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
    void focusStartPicker();

    void SetColumnHeaders();
    void ClearInput();
    void FillList();
    void ShowTotal();
    void ShowReport();
    void Command1_Click();  // "&Tampilkan"
    void Command3_Click();  // "Cetak!"

    QWidget* frame1_ = nullptr;
    QWidget* frame2_ = nullptr;
    QWidget* frame3_ = nullptr;
    QDateEdit* picker1_ = nullptr;
    QDateEdit* picker2_ = nullptr;
    QTreeView* list_ = nullptr;
    QLabel* label6_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QPushButton* show_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
    ListFiller* filler_ = nullptr;
};

}  // namespace reports
