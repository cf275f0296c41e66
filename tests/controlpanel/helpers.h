#pragma once

#include "support/testsupport.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

// Shows a dialog as the active window, so keys reach its focused widget.
inline bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// A key pressed on the focused widget, as the user presses it.
inline void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, mods);
}

// Text typed into the focused widget, key by key.
inline void type(const QString& text) {
    testing::typeText(QApplication::focusWidget(), text);
}

inline QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}
