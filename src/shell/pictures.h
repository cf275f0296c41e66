#pragma once

#include <QString>

class QLabel;
class QWidget;

// The decorative pictures of the sign-in and user windows, drawn by the
// program itself.
namespace pictures {

// A label showing a drawn user figure, placed at the design geometry (twips).
QLabel* userPicture(QWidget* parent, const QString& name, int left, int top, int width, int height);

}  // namespace pictures
