#pragma once

#include <QIcon>
#include <QStringList>

#include <functional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// Report-view lists: every list of the program is a QTreeWidget set up here.
namespace ui {

struct Column {
    QString caption;
    int widthTw;  // 0 hides the column (the row's id travels there)
    Qt::Alignment align = Qt::AlignLeft;
};

// The picture every row shows as its icon.
QIcon rowIcon();

// Prepares a list: whole-row selection, no tree decoration, one small icon a row.
void setupList(QTreeWidget* list);
// Replaces the list's columns (and empties it).
void setColumns(QTreeWidget* list, const std::vector<Column>& columns);
// Appends a row of texts with the row icon; returns the new row.
QTreeWidgetItem* addRow(QTreeWidget* list, const QStringList& texts);
// Appends many rows at once, each as addRow would (one insertion for all).
void addRows(QTreeWidget* list, std::vector<QStringList>::const_iterator first,
             std::vector<QStringList>::const_iterator last);
// The texts of a row, one per column (hidden ones included).
QStringList rowTexts(const QTreeWidgetItem* item);
// The texts of the selected (highlighted) row; empty when none is selected.
QStringList selectedRow(const QTreeWidget* list);
int rowCount(const QTreeWidget* list);

// Runs the action on a double-click anywhere in the list, on a row, below the
// rows or on an empty list, and, when enterToo, on Enter in the list (Enter is
// then swallowed). The action reads the selected row, if any, itself.
void onRowDoubleClick(QTreeWidget* list, std::function<void()> action, bool enterToo);
// Runs the action when the user chooses a row: a click on it, or a keyboard
// move or Space that selects it. Moving the focus into the list chooses none.
void onRowClick(QTreeWidget* list, std::function<void()> action);

}  // namespace ui
