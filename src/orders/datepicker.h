#pragma once

#include <QDateEdit>

namespace orders {

// The date picker of the order and cashier windows: dd/MM/yyyy with a
// calendar; Tab leaves it at once instead of walking its day, month and year.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    DatePicker(QWidget* parent, const QString& name);

protected:
    bool focusNextPrevChild(bool next) override;
};

}  // namespace orders
