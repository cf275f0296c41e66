#pragma once

namespace ui {
class Form;
}

// The report windows as the window table creates them.
namespace reports {

ui::Form* makePenjualanPeriode();
ui::Form* makePenjualanHarian();
ui::Form* makeMenuFavorit();
ui::Form* makeDaftarMenu();

}  // namespace reports
