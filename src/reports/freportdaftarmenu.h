#pragma once

#include "toolkit/form.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace reports {

class ListFiller;

// Every menu item with its category, unit and price, the number of listed
// rows, and the printed menu list.
class fReportDaftarMenu : public ui::Form {
    Q_OBJECT
public:
    fReportDaftarMenu();

    // Whether the list is still being filled.
    bool filling() const;

protected:
    void relayout(ui::TwLayout& l) override;

private:
    void SetColumnHeaders();
    void FillList();
    void ShowReport();
    void Command2_Click();  // "&Cetak"

    QWidget* frame1_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* label1_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
    ListFiller* filler_ = nullptr;
};

}  // namespace reports
