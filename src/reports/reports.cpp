#include "reports/reports.h"

#include "reports/freportdaftarmenu.h"
#include "reports/freportmenufavorit.h"
#include "reports/freportpenjualanharian.h"
#include "reports/freportpenjualanperiode.h"

namespace reports {

ui::Form* makePenjualanPeriode() {
    return new fReportPenjualanPeriode;
}
ui::Form* makePenjualanHarian() {
    return new fReportPenjualanHarian;
}
ui::Form* makeMenuFavorit() {
    return new fReportMenuFavorit;
}
ui::Form* makeDaftarMenu() {
    return new fReportDaftarMenu;
}

}  // namespace reports
