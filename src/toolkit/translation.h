#pragma once

namespace ui {

// Gives the words Qt's own widgets show inside the program's windows in
// Indonesian: the working windows' system menu and title-bar tooltips, and
// the right-click menu of the text boxes. Run once at start-up, before the
// first window opens.
void installIndonesianTexts();

}  // namespace ui
