#pragma once

// Small helpers the master data tests share.
#include "support/testsupport.h"

#include <QTreeWidget>

namespace mdtest {

using testing::child;

inline QTreeWidget* listOf(QWidget* form) {
    return child<QTreeWidget>(form, "ListView1");
}

inline QStringList column(QWidget* form, int col) {
    QStringList texts;
    QTreeWidget* list = listOf(form);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        texts.append(list->topLevelItem(i)->text(col));
    }
    return texts;
}

inline void doubleClickRow(QWidget* form, int row) {
    QTreeWidget* list = listOf(form);
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The named widgets that Tab visits from this one on.
inline QStringList tabOrder(QWidget* from, int steps) {
    QStringList names{from->objectName()};
    for (QWidget* w = from->nextInFocusChain(); names.size() < steps; w = w->nextInFocusChain()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty()) {
            names.append(w->objectName());
        }
    }
    return names;
}

using testing::whenModal;

}  // namespace mdtest
