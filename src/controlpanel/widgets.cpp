#include "controlpanel/widgets.h"

#include "toolkit/twips.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace controlpanel {

namespace {

// The height of the tab strip above the page, in twips.
constexpr int kTabStripTw = 360;

// Labels designed at least this high hold several lines of text.
constexpr int kTwoLinesTw = 300;

}  // namespace

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                    int width, int height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    ui::placeTw(b, left, top, width, height);
    return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top,
              int width, int height) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui::placeTw(l, left, top, width, height);
    // A caption designed as one line stays one line, however wide the font.
    if (height < kTwoLinesTw) {
        l->resize(qMax(l->width(), l->sizeHint().width()),
                  qMax(l->height(), l->sizeHint().height()));
    } else {
        l->setWordWrap(true);
    }
    return l;
}

QWidget* tabPage(QWidget* parent, const QString& caption, int left, int top, int width,
                 int height) {
    auto* tab = new QTabWidget(parent);
    tab->setObjectName(QStringLiteral("SSTab1"));
    tab->setFocusPolicy(Qt::NoFocus);
    tab->tabBar()->setFocusPolicy(Qt::NoFocus);  // one page: nothing to choose
    ui::placeTw(tab, left, top, width, height);
    auto* page = new QWidget(tab);
    tab->addTab(page, caption);
    return page;
}

int tabTop(int designedTop) {
    return designedTop - kTabStripTw;
}

}  // namespace controlpanel
