#pragma once

#include "masterdata/masterqueries.h"
#include "toolkit/form.h"
#include "toolkit/reportlist.h"

#include <vector>

class QPushButton;
class QTreeWidget;

namespace masterdata {

// The messages of a master window.
struct MasterTexts {
    QString emptyName;        // the name box is empty
    QString duplicateBefore;  // before the name in the duplicate message
    QString duplicateAfter;   // after it
};

// What the table, category, unit and waiter windows share: a list of every
// row, boxes for the fields (name first), "&Simpan" that adds a new row or
// changes the row picked by double-click, and "&Keluar". Nothing is deleted.
class MasterForm : public ui::Form {
    Q_OBJECT
protected:
    MasterForm(const MasterTable& table, MasterTexts texts);

    // Called by the window once its controls exist: the boxes in field
    // order, the list and its columns, the two buttons. Then loads.
    void attach(std::vector<QWidget*> boxes, QTreeWidget* list, std::vector<ui::Column> columns,
                QPushButton* save, QPushButton* close);

    // Whether a double-click puts the focus into the name box.
    bool focusNameAfterPick = false;

private:
    void SetColumnHeaders();
    void ClearInput();
    void FillList();
    void ListView1_DblClick();
    void save();
    void InsertData();
    void UpdateData();
    void emptyBoxes();
    QStringList values() const;

    const MasterTable& table_;
    MasterTexts texts_;
    std::vector<QWidget*> boxes_;
    QTreeWidget* list_ = nullptr;
    std::vector<ui::Column> columns_;
    // The id of the row loaded for change; 0 when the next save inserts.
    qint64 SelectedId = 0;
};

// The table, category and unit windows: one build, these differences.
struct SmallMasterKind {
    QString formName;
    const MasterTable* table;
    QString caption;
    QString listFrame;
    QString nameLabel;
    QString firstColumn;
    QString idColumn;
    MasterTexts texts;
    QSize clientTw;
    QString listFont;
};

const SmallMasterKind& mejaKind();
const SmallMasterKind& kategoriKind();
const SmallMasterKind& satuanKind();

// A small modal window keeping one of the tables meja, kategori, satuan.
class SmallMasterForm : public MasterForm {
    Q_OBJECT
public:
    explicit SmallMasterForm(const SmallMasterKind& kind);
};

// The waiter window: a working window with five fields and a resize table.
class fPelayan : public MasterForm {
    Q_OBJECT
public:
    fPelayan();

protected:
    void relayout(ui::TwLayout& l) override;

private:
    QWidget* frame1_ = nullptr;
    QWidget* frame2_ = nullptr;
    QWidget* list_ = nullptr;
    QWidget* close_ = nullptr;
    QWidget* hint_ = nullptr;
};

}  // namespace masterdata
