#include "toolkit/twips.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace ui {

namespace {

double dpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double value = screen ? screen->logicalDotsPerInchX() : 96.0;
    return value > 0 ? value : 96.0;
}

}  // namespace

int toPx(int twips) {
    return int(std::lround(twips * dpi() / kTwipsPerInch));
}

int toTwips(int px) {
    return int(std::lround(px * kTwipsPerInch / dpi()));
}

void placeTw(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(toPx(left), toPx(top), toPx(width), toPx(height));
}

void resizeTw(QWidget* widget, int width, int height) {
    widget->resize(toPx(width), toPx(height));
}

QSize outerSizeTw(const QWidget* window) {
    const auto* sub = qobject_cast<const QMdiSubWindow*>(window->parentWidget());
    const QSize px = sub ? sub->size() : window->frameGeometry().size();
    return {toTwips(px.width()), toTwips(px.height())};
}

TwLayout::TwLayout(QWidget* window) {
    const QSize outer = outerSizeTw(window);
    W = outer.width();
    H = outer.height();
}

int TwLayout::left(const QWidget* w) {
    return toTwips(w->x());
}
int TwLayout::top(const QWidget* w) {
    return toTwips(w->y());
}
int TwLayout::width(const QWidget* w) {
    return toTwips(w->width());
}
int TwLayout::height(const QWidget* w) {
    return toTwips(w->height());
}

bool TwLayout::setLeft(QWidget* w, int twips) {
    w->move(toPx(twips), w->y());
    return true;
}

bool TwLayout::setTop(QWidget* w, int twips) {
    w->move(w->x(), toPx(twips));
    return true;
}

bool TwLayout::setWidth(QWidget* w, int twips) {
    if (twips < 0) {
        return false;
    }
    w->resize(toPx(twips), w->height());
    return true;
}

bool TwLayout::setHeight(QWidget* w, int twips) {
    if (twips < 0) {
        return false;
    }
    w->resize(w->width(), toPx(twips));
    return true;
}

}  // namespace ui
