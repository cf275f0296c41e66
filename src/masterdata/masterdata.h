#pragma once

#include "toolkit/reportlist.h"

#include <vector>

namespace ui {
class Form;
}

// The master data windows as the window table creates them.
namespace masterdata {

ui::Form* makeMeja();
ui::Form* makeKategori();
ui::Form* makeSatuan();
ui::Form* makePelayan();
ui::Form* makeMenu();

// The columns of a list of menu items, the id last and hidden.
const std::vector<ui::Column>& menuColumns();

}  // namespace masterdata
