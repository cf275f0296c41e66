// The table from access right to window: adding a window is one line here.
#include "app/forms.h"

#include "controlpanel/fbackupdb.h"
#include "controlpanel/fclient_server.h"
#include "controlpanel/fresetdb.h"
#include "controlpanel/frestoredb.h"
#include "controlpanel/fubahpassword.h"
#include "controlpanel/fuser.h"
#include "masterdata/masterdata.h"
#include "orders/fkasir.h"
#include "orders/forder.h"
#include "reports/reports.h"
#include "toolkit/form.h"

namespace app {

using shell::FormEntry;
using shell::FormId;

namespace {

template <typename Window>
ui::Form* make() {
    return new Window;
}

}  // namespace

const std::vector<FormEntry>& formTable() {
    static const std::vector<FormEntry> table = {
        {FormId::fMeja, QStringLiteral("Data Meja"), true, &masterdata::makeMeja},
        {FormId::fMenu, QStringLiteral("Data Menu"), false, &masterdata::makeMenu},
        {FormId::fPelayan, QStringLiteral("Data Pelayan"), false, &masterdata::makePelayan},
        {FormId::fKategori, QStringLiteral("Data Kategori"), true, &masterdata::makeKategori},
        {FormId::fSatuan, QStringLiteral("Data Satuan"), true, &masterdata::makeSatuan},
        {FormId::fOrder, QStringLiteral("Pesanan/Order"), false, &orders::makeOrder},
        {FormId::fKasir, QStringLiteral("Kasir"), false, &orders::makeKasir},
        {FormId::fReportPenjualanPeriode, QStringLiteral("Report Penjualan Per Periode"), false,
         &reports::makePenjualanPeriode},
        {FormId::fReportPenjualanHarian, QStringLiteral("Report Penjualan Harian"), false,
         &reports::makePenjualanHarian},
        {FormId::fReportMenuFavorit, QStringLiteral("Report Menu Favorit"), false,
         &reports::makeMenuFavorit},
        {FormId::fReportDaftarMenu, QStringLiteral("Report Daftar Menu"), false,
         &reports::makeDaftarMenu},
        {FormId::fUser, QStringLiteral("User Management"), true, &make<controlpanel::fUser>},
        {FormId::fUbahPassword, QStringLiteral("Ubah Password"), true,
         &make<controlpanel::fUbahPassword>},
        {FormId::fClient_Server, QStringLiteral("Setting Database"), true,
         &make<controlpanel::fClient_Server>},
        {FormId::fBackupDB, QStringLiteral("Backup Database"), true,
         &make<controlpanel::fBackupDB>},
        {FormId::fResetDB, QStringLiteral("Reset Database"), true, &make<controlpanel::fResetDB>},
        {FormId::fRestoreDB, QStringLiteral("Restore Database"), true,
         &make<controlpanel::fRestoreDB>},
    };
    return table;
}

}  // namespace app
