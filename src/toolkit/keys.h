#pragma once

#include <functional>
#include <initializer_list>

class QEvent;
class QLineEdit;
class QObject;
class QWidget;

// Key handling shared by the windows.
namespace ui {

// Makes every button of the program act on its key at once, so that keys act
// in the order typed: Alt+mnemonic clicks the button of the window holding the
// focus (before any menu of the main window), Enter clicks a focused push or
// tool button, and Space clicks a focused button when pressed. On an X display
// it also holds each key until a window can take it (ui::gateXcbKeys).
// Installed once for the whole program; every window and message box calls it.
void keysActInOrder();

// Waits, a second at most, until the modal window just shown is active; keys
// typed for the window beneath meanwhile reach it instead, in order.
void awaitActivation(QWidget* window);

// For a modal window just shown: waits until it is active (awaitActivation),
// then runs wait, which returns once the window has closed. Keys typed after
// the window hid and before its opener went on are held, and then reach the
// opener's window in the order typed, where the opener left the focus.
void waitForModal(QWidget* window, const std::function<void()>& wait);

// Runs the handler on every event the object receives, before the object
// does; true swallows the event. The hook lives as long as the object.
void hookEvents(QObject* watched, std::function<bool(QEvent*)> handle);

// Runs the action when the key is pressed in the widget; the key is swallowed.
void onKey(QWidget* widget, int key, std::function<void()> action);

// Runs the action when Enter (or the keypad's Enter) is pressed in the widget;
// the key is swallowed.
void onEnter(QWidget* widget, std::function<void()> action);

// Enter moves the focus to the next widget (selecting its whole text when it
// is a line edit and selectAll is set); the key is swallowed.
void enterMovesTo(QWidget* from, QWidget* to, bool selectAll = false);

// The window's tab order: Tab moves from each widget to the next one given.
void tabRoad(std::initializer_list<QWidget*> road);

// A box that takes digits and refuses every other printable character: a
// typed one is swallowed, and of a pasted or dropped text only the digits go
// in. Control keys (Tab, Backtab, Delete, Backspace, arrows, Home, End, Esc)
// act as usual. Enter runs the action, when there is one, and is swallowed.
// maxDigits (when > 0) limits the number of digits: of pasted digits the
// first that fit go in. An amount set with its grouping dots is kept whole.
void digitsOnly(QLineEdit* box, std::function<void()> onEnterAction = {}, int maxDigits = 0);

// Typing, pasting or dropping never makes the box's text longer than
// maxChars, nor longer than it already is: a pasted or dropped text keeps
// its first characters that fit, after what it replaced (the selection) is
// gone. A text the program puts into the box stays whole.
void typingLimit(QLineEdit* box, int maxChars);

}  // namespace ui
