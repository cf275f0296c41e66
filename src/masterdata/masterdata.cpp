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

const std::vector<ui::Column>& menuColumns() {
    static const std::vector<ui::Column> columns = {
        {QStringLiteral("Kode Menu"), 2000},  {QStringLiteral("Nama Menu"), 4000},
        {QStringLiteral("Keterangan"), 7000}, {QStringLiteral("Kategori"), 2000},
        {QStringLiteral("Satuan"), 2000},     {QStringLiteral("Harga Jual"), 2000, Qt::AlignRight},
        {QStringLiteral("idMenu"), 0},
    };
    return columns;
}

}  // namespace masterdata
