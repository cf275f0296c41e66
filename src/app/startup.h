#pragma once

// The program's start, shared by main() and the start-up benchmark.
namespace app {

// What the program sets up before its main window: its name, the Indonesian
// locale and texts, the windows' font, the window table, and on a first start
// the install folder (a failure there is shown, and the start goes on).
void prepareProgram();

}  // namespace app
