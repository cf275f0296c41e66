#pragma once

#include "db/database.h"
#include "toolkit/form.h"
#include "toolkit/reportlist.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

class QTreeWidget;

namespace masterdata {

// What tells one picker from another: a small modal list window that hands
// the chosen row to its opener. Positions and sizes are in twips.
struct PickerKind {
    QString formName;
    QString caption;
    QSize clientTw;
    QRect frameTw;
    QRect listTw;  // inside the frame
    QRect labelTw;
    QPoint closeTw;  // left and top of "&Keluar" (1200 x 350)
    std::vector<ui::Column> columns;
    // The rows as the list shows them, the id last.
    std::function<std::vector<QStringList>(db::Connection&)> rows;
    bool focusOnClose = false;  // "&Keluar" rather than the list has the focus at first
    // When set, runs before a pick; false keeps the picker open and writes nothing.
    std::function<bool()> mayPick = {};
};

// A picker: lists the rows when it opens; a double-click or Enter on a row
// hands the row's texts to the opener and closes it; "&Keluar" or Esc closes
// it without a pick.
class PickerForm : public ui::Form {
    Q_OBJECT
public:
    using Pick = std::function<void(const QStringList& row)>;

    PickerForm(const PickerKind& kind, Pick onPick);

    // Shows a picker modally and returns when it has closed; a pick reaches
    // the opener only while it lives. Returns whether the opener still lives.
    static bool open(QWidget* opener, const PickerKind& kind, Pick onPick);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetColumnHeaders();
    void ClearList();
    void FillList();
    void pickSelected();

    PickerKind kind_;
    Pick onPick_;
    QTreeWidget* list_;
    QWidget* close_;
};

// The category and unit pickers of the menu item window.
const PickerKind& categoryPicker();
const PickerKind& unitPicker();

}  // namespace masterdata
