#include "shell/windowrequests.h"

#include "shell/moddapra.h"
#include "toolkit/form.h"

#include <QPointer>

#include <map>

namespace shell {

namespace {

std::vector<FormEntry>& table() {
    static std::vector<FormEntry> entries;
    return entries;
}

std::map<FormId, QPointer<ui::Form>>& instances() {
    static std::map<FormId, QPointer<ui::Form>> open;
    return open;
}

std::map<FormId, std::function<ui::Form*()>>& standIns() {
    static std::map<FormId, std::function<ui::Form*()>> makers;
    return makers;
}

void present(FormId id) {
    ui::Form* form = formInstance(id);
    if (!form) {
        return;
    }
    moddapra::RecordRight(form, moddapra::MenuAkses);
    if (moddapra::FormMode == moddapra::kFormKecil) {
        ui::showModal(form);
    } else {
        ui::showChild(form);
    }
}

}  // namespace

void setFormTable(const std::vector<FormEntry>& entries) {
    table() = entries;
}

const std::vector<FormEntry>& formTable() {
    return table();
}

const FormEntry& formEntry(FormId id) {
    for (const FormEntry& entry : table()) {
        if (entry.id == id) {
            return entry;
        }
    }
    static FormEntry none;
    none = {id, QString(), false, nullptr};
    return none;
}

ui::Form* openForm(FormId id) {
    const auto it = instances().find(id);
    return it == instances().end() ? nullptr : it->second.data();
}

ui::Form* formInstance(FormId id) {
    if (ui::Form* open = openForm(id)) {
        return open;
    }
    const auto standIn = standIns().find(id);
    const std::function<ui::Form*()>& make =
        standIn != standIns().end() ? standIn->second : formEntry(id).make;
    if (!make) {
        return nullptr;
    }
    ui::Form* form = make();
    instances()[id] = form;
    return form;
}

void requestForm(FormId id) {
    const FormEntry& entry = formEntry(id);
    if (entry.modal) {
        moddapra::FormMode = moddapra::kFormKecil;
    }
    moddapra::MenuAkses = entry.right;
    moddapra::ShowFormWithAccess(id);
}

FormStandIn::FormStandIn(FormId id, std::function<ui::Form*()> make) : id_(id) {
    standIns()[id] = std::move(make);
}

FormStandIn::~FormStandIn() {
    standIns().erase(id_);
}

}  // namespace shell

namespace moddapra {

void ShowFormWithAccess(shell::FormId form) {
    if (Granted(MenuAkses)) {
        shell::present(form);
    }
    FormMode.clear();
}

}  // namespace moddapra
