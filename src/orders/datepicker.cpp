#include "orders/datepicker.h"

namespace orders {

DatePicker::DatePicker(QWidget* parent, const QString& name) : QDateEdit(parent) {
    setObjectName(name);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
}

bool DatePicker::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

}  // namespace orders
