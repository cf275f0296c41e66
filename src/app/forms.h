#pragma once

#include "shell/windowrequests.h"

#include <vector>

// The top of the program, above the subsystems: it knows every window.
namespace app {

// The table from access right to window, in the order the access rights
// window lists the rights; main() hands it to shell::setFormTable.
const std::vector<shell::FormEntry>& formTable();

}  // namespace app
