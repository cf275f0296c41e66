#pragma once

#include <QRect>
#include <QString>
#include <QStyle>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QTreeView;
class QTreeWidget;
class QWidget;

// The controls of the windows, named and placed in twips (left, top, width,
// height) in one call each.
namespace ui {

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title, const QRect& tw);
// A label designed one line high stays one line; a taller one wraps its text.
QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& tw);
QLabel* picture(QWidget* parent, const QRect& tw);
QLineEdit* lineBox(QWidget* parent, const QString& name, const QRect& tw);
// A multi-line box with a vertical scroll bar: Enter starts a new line, Tab moves on.
QPlainTextEdit* memoBox(QWidget* parent, const QString& name, const QRect& tw);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& tw);
// A small picture button with a tooltip.
QToolButton* smallButton(QWidget* parent, const QString& name, const QString& tip,
                         QStyle::StandardPixmap icon, const QRect& tw);
QTreeWidget* listView(QWidget* parent, const QString& name, const QRect& tw);
// A list that reads its rows through a RowModel (see reportlist.h), for lists
// that can hold a year of rows.
QTreeView* modelListView(QWidget* parent, const QString& name, const QRect& tw);

// A tab control of one page framing a window's controls; returns the page.
// The designed tops of its children count the tab strip in: tabTop turns
// such a top into one on the page.
QWidget* tabPage(QWidget* parent, const QString& caption, const QRect& tw);
int tabTop(int designedTop);

// The text of a line box or a multi-line box.
QString boxText(const QWidget* box);
void setBoxText(QWidget* box, const QString& text);

}  // namespace ui
