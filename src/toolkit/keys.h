#pragma once

#include <functional>

class QWidget;
class QLineEdit;

// Key handling shared by the windows.
namespace ui {

// Runs the action when Enter (or the keypad's Enter) is pressed in the widget;
// the key is swallowed.
void onEnter(QWidget* widget, std::function<void()> action);

// Enter moves the focus to the next widget (selecting its whole text when it
// is a line edit and selectAll is set); the key is swallowed.
void enterMovesTo(QWidget* from, QWidget* to, bool selectAll = false);

// A box that takes only digits and Backspace (typed or pasted); Enter runs the
// action, when there is one, and is swallowed. maxDigits (when > 0) limits the
// number of digits; an amount set with its grouping dots is kept whole.
void digitsOnly(QLineEdit* box, std::function<void()> onEnterAction = {}, int maxDigits = 0);

}  // namespace ui
