#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Small builders for the control panel's fixed dialogs; geometry in twips.
namespace controlpanel {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                    int width, int height);
QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top,
              int width, int height);

// A tab control of one page framing a window's controls; returns the page.
// The designed tops of its children count the tab strip in: tabTop turns
// such a top into one on the page.
QWidget* tabPage(QWidget* parent, const QString& caption, int left, int top, int width, int height);
int tabTop(int designedTop);

}  // namespace controlpanel
