#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace ui {
class Form;
}

namespace shell {

// Every window that a menu item, a toolbar button or another window requests.
enum class FormId {
    fMeja,
    fMenu,
    fPelayan,
    fKategori,
    fSatuan,
    fOrder,
    fKasir,
    fReportPenjualanPeriode,
    fReportPenjualanHarian,
    fReportMenuFavorit,
    fReportDaftarMenu,
    fUser,
    fUbahPassword,
    fClient_Server,
    fBackupDB,
    fResetDB,
    fRestoreDB,
};

// One row of the table from access right to window.
struct FormEntry {
    FormId id;
    QString right;                    // the access right that guards it
    bool modal;                       // shown modally ("Form Kecil") or as a child
    std::function<ui::Form*()> make;  // null while the window is not built yet
};

// The table, in the order the access rights window lists the rights. The
// program's top sets it once at start-up (the shell knows no window itself);
// until then it is empty and no request opens a window.
void setFormTable(const std::vector<FormEntry>& table);
const std::vector<FormEntry>& formTable();
// The row of the window; one without right or factory when there is none.
const FormEntry& formEntry(FormId id);

// The window's single instance when it is open, else null.
ui::Form* openForm(FormId id);
// The window's single instance, created when it is not open (null when the
// window is not built yet).
ui::Form* formInstance(FormId id);

// What a menu item or button does: sets FormMode for a modal window and
// MenuAkses to the window's right, then ShowFormWithAccess.
void requestForm(FormId id);

// While it lives, the window of one entry is made by the given factory instead
// of the table's, so tests can request windows that are not built yet.
class FormStandIn {
public:
    FormStandIn(FormId id, std::function<ui::Form*()> make);
    ~FormStandIn();
    FormStandIn(const FormStandIn&) = delete;
    FormStandIn& operator=(const FormStandIn&) = delete;

private:
    FormId id_;
};

}  // namespace shell

namespace moddapra {

// Refuses while nobody is signed in or when the signed-in user lacks the
// right in MenuAkses; otherwise shows the window, modally when FormMode is
// "Form Kecil", else as a child window. FormMode is emptied on every path.
void ShowFormWithAccess(shell::FormId form);

}  // namespace moddapra
