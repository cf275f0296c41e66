#pragma once

// Keys typed ahead on an X display.
namespace ui {

// On the X (xcb) platform, makes every key typed reach the window that can
// take it when its turn comes, in the order typed, and hands the focus back
// to the window beneath a modal window as it closes; false elsewhere, where
// nothing is installed. Installed once for the whole program.
bool gateXcbKeys();

}  // namespace ui
