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
class QTreeWidget;
class QWidget;

// The controls of the master data windows, named and placed in twips
// (left, top, width, height) in one call each.
namespace masterdata::widgets {

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title, const QRect& tw);
QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& tw);
QLabel* picture(QWidget* parent, const QRect& tw);
QLineEdit* lineBox(QWidget* parent, const QString& name, const QRect& tw);
// A multi-line box with a vertical scroll bar: Enter starts a new line, Tab moves on.
QPlainTextEdit* memoBox(QWidget* parent, const QString& name, const QRect& tw);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& tw);
// A small picture button with a tooltip.
QToolButton* smallButton(QWidget* parent, const QString& name, const QString& tip,
                         QStyle::StandardPixmap icon, const QRect& tw);
QTreeWidget* list(QWidget* parent, const QString& name, const QRect& tw);

// The text of a line box or a multi-line box.
QString boxText(const QWidget* box);
void setBoxText(QWidget* box, const QString& text);

}  // namespace masterdata::widgets
