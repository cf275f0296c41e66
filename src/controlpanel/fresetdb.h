#pragma once

#include "db/schema.h"
#include "toolkit/form.h"

class QPushButton;
class QRadioButton;

namespace controlpanel {

// The dialog "Reset Database": empties every table, or only the orders and
// payments, after a question.
class fResetDB : public ui::Form {
    Q_OBJECT
public:
    explicit fResetDB(QWidget* parent = nullptr);

    // Empties every table.
    void ResetWholeDatabase();
    // Empties the orders, their lines and the payments.
    void ResetTransactionData();

private:
    void buildControls();
    void Command7_Click();  // "&Reset"
    void reset(db::Reset which, const QString& done);

    QRadioButton* Option1;
    QRadioButton* Option2;
    QPushButton* Command7;
    QPushButton* Command1;
};

}  // namespace controlpanel
