#pragma once

#include <QRect>

class QWidget;

// Design geometry is given in twips: 1440 to the inch, so 15 to the pixel at
// 96 dpi. These helpers scale by the screen's logical dpi.
namespace ui {

constexpr int kTwipsPerInch = 1440;

int toPx(int twips);
int toTwips(int px);

// Places a widget at (left, top) with the given size, all in twips.
void placeTw(QWidget* widget, int left, int top, int width, int height);
// Sets a window's client size in twips.
void resizeTw(QWidget* widget, int width, int height);

// One pass of a window's resize table. W and H are the window's outer size
// in twips; each setter reads and writes in twips and skips a step whose size
// would be negative, as the resize tables require.
class TwLayout {
public:
    explicit TwLayout(QWidget* window);

    int W = 0;
    int H = 0;

    static int left(const QWidget* w);
    static int top(const QWidget* w);
    static int width(const QWidget* w);
    static int height(const QWidget* w);

    // Each returns false when the step was skipped.
    static bool setLeft(QWidget* w, int twips);
    static bool setTop(QWidget* w, int twips);
    static bool setWidth(QWidget* w, int twips);
    static bool setHeight(QWidget* w, int twips);
};

// The outer size of a window in twips: the frame of its MDI sub-window when it
// is a child window, else its own frame.
QSize outerSizeTw(const QWidget* window);

}  // namespace ui
