#pragma once

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

}  // namespace masterdata
