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
// The texts of the selected row; empty when no row is selected.
QStringList selectedRow(const QTreeWidget* list);
int rowCount(const QTreeWidget* list);

// Runs the action on a double-click on a row and, when enterToo, on Enter
// pressed on the selected row (Enter is then swallowed).
void onRowDoubleClick(QTreeWidget* list, std::function<void()> action, bool enterToo);
// Runs the action when a row is clicked or chosen with the keyboard.
void onRowClick(QTreeWidget* list, std::function<void()> action);

}  // namespace ui
