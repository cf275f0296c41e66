#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <vector>

class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

// Report-view lists, set up here: a QTreeWidget holding its rows as items, or,
// for the lists that can hold a year of payments, a QTreeView over a RowModel
// that reads its rows only when they are shown.
namespace ui {

struct Column {
    QString caption;
    int widthTw;  // 0 hides the column (the row's id travels there)
    Qt::Alignment align = Qt::AlignLeft;
};

// The picture every row shows as its icon.
QIcon rowIcon();

// Gives a run of rows from first on, each as its texts, one per column;
// fewer when reading them failed.
using RowReader = std::function<std::vector<QStringList>(int first, int count)>;

// The rows of a list given whole, or counted and read by a RowReader a page at
// a time when shown, only the pages read last kept.
class RowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    ~RowModel() override;

    void setColumns(std::vector<Column> columns);
    // Replaces the rows by these.
    void setRows(std::vector<QStringList> rows);
    // Replaces the rows by count rows the reader gives; the first page is read at once.
    void setRows(int count, RowReader reader);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const QStringList* row(int r) const;
    void readPage(int page);
    void readWanted();

    std::vector<Column> columns_;
    std::vector<QStringList> held_;
    int count_ = 0;
    RowReader reader_;
    std::map<int, std::vector<QStringList>> pages_;
    std::deque<int> readOrder_;
    mutable std::vector<int> wanted_;
};

// Prepares a list: whole-row selection, no tree decoration, one small icon a row.
void setupList(QTreeView* list);
// Replaces the list's columns (and empties it); a list that is no QTreeWidget
// gets a RowModel of these columns.
void setColumns(QTreeView* list, const std::vector<Column>& columns);
// Replaces the rows of a list set up with a RowModel (see RowModel::setRows).
void setRows(QTreeView* list, std::vector<QStringList> rows);
void setRows(QTreeView* list, int count, RowReader reader);
// Gives the memory that closed windows freed back to the system.
void giveMemoryBack();
// Appends a row of texts with the row icon; returns the new row.
QTreeWidgetItem* addRow(QTreeWidget* list, const QStringList& texts);
// Appends many rows at once, each as addRow would (one insertion for all).
void addRows(QTreeWidget* list, std::vector<QStringList>::const_iterator first,
             std::vector<QStringList>::const_iterator last);
// The texts of a row, one per column (hidden ones included).
QStringList rowTexts(const QTreeWidgetItem* item);
// The texts of the selected (highlighted) row; empty when none is selected.
QStringList selectedRow(const QTreeWidget* list);
int rowCount(const QTreeView* list);

// Runs the action on a double-click anywhere in the list, on a row, below the
// rows or on an empty list, and, when enterToo, on Enter in the list (Enter is
// then swallowed). The action reads the selected row, if any, itself.
void onRowDoubleClick(QTreeWidget* list, std::function<void()> action, bool enterToo);
// Runs the action when the user chooses a row: a click on it, or a keyboard
// move or Space that selects it. Moving the focus into the list chooses none.
void onRowClick(QTreeWidget* list, std::function<void()> action);

}  // namespace ui
