#include "masterdata/masterdata.h"

#include "masterdata/masterform.h"
#include "masterdata/menuform.h"

namespace masterdata {

ui::Form* makeMeja() {
    return new SmallMasterForm(mejaKind());
}
ui::Form* makeKategori() {
    return new SmallMasterForm(kategoriKind());
}
ui::Form* makeSatuan() {
    return new SmallMasterForm(satuanKind());
}
ui::Form* makePelayan() {
    return new fPelayan;
}
ui::Form* makeMenu() {
    return new fMenu;
}

}  // namespace masterdata
