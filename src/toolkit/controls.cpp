#include "toolkit/controls.h"

#include "toolkit/reportlist.h"
#include "toolkit/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace ui {

namespace {

// The height of a tab strip above its page, in twips.
constexpr int kTabStripTw = 360;

// Labels designed at least this high hold several lines of text.
constexpr int kTwoLinesTw = 300;

template <typename W>
W* placed(W* widget, const QString& name, const QRect& tw) {
    widget->setObjectName(name);
    placeTw(widget, tw.x(), tw.y(), tw.width(), tw.height());
    return widget;
}

}  // namespace

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title, const QRect& tw) {
    return placed(new QGroupBox(title, parent), name, tw);
}

// The screen font is wider than the design's: a one-line label whose text
// does not fit takes a slightly smaller font, and grows only when that is not
// enough.
QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& tw) {
    auto* l = placed(new QLabel(text, parent), name, tw);
    if (tw.height() >= kTwoLinesTw) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    QFont font = l->font();
    while (l->sizeHint().width() > l->width() && font.pointSizeF() > 7.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        l->setFont(font);
    }
    l->resize(std::max(l->width(), l->sizeHint().width()),
              std::max(l->height(), l->sizeHint().height()));
    return l;
}

QLabel* picture(QWidget* parent, const QRect& tw) {
    auto* pic = placed(new QLabel(parent), QStringLiteral("Picture1"), tw);
    const int side = std::min(pic->width(), pic->height()) - 8;
    pic->setPixmap(pic->style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(side));
    pic->setAlignment(Qt::AlignCenter);
    pic->setFrameShape(QFrame::StyledPanel);
    return pic;
}

// A box the user cannot type into (one a picker fills) shows the start of
// its text, even when the text is longer than the box: also when the same
// text is set again, which leaves it unchanged but moves the cursor to its end.
QLineEdit* lineBox(QWidget* parent, const QString& name, const QRect& tw) {
    auto* box = placed(new QLineEdit(parent), name, tw);
    const auto showStart = [box] {
        if (!box->isEnabled() || box->isReadOnly()) {
            box->setCursorPosition(0);
        }
    };
    QObject::connect(box, &QLineEdit::textChanged, box, showStart);
    QObject::connect(box, &QLineEdit::cursorPositionChanged, box, [box, showStart](int, int to) {
        if (to != 0 && !box->hasFocus()) {
            showStart();
        }
    });
    return box;
}

QPlainTextEdit* memoBox(QWidget* parent, const QString& name, const QRect& tw) {
    auto* box = placed(new QPlainTextEdit(parent), name, tw);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& tw) {
    auto* b = placed(new QPushButton(text, parent), name, tw);
    b->setAutoDefault(false);
    return b;
}

QToolButton* smallButton(QWidget* parent, const QString& name, const QString& tip,
                         QStyle::StandardPixmap icon, const QRect& tw) {
    auto* b = placed(new QToolButton(parent), name, tw);
    b->setToolTip(tip);
    b->setIcon(b->style()->standardIcon(icon));
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

QTreeWidget* listView(QWidget* parent, const QString& name, const QRect& tw) {
    auto* l = placed(new QTreeWidget(parent), name, tw);
    setupList(l);
    return l;
}

QTreeView* modelListView(QWidget* parent, const QString& name, const QRect& tw) {
    auto* l = placed(new QTreeView(parent), name, tw);
    l->setModel(new RowModel(l));
    setupList(l);
    return l;
}

QWidget* tabPage(QWidget* parent, const QString& caption, const QRect& tw) {
    auto* tab = placed(new QTabWidget(parent), QStringLiteral("SSTab1"), tw);
    tab->setFocusPolicy(Qt::NoFocus);
    tab->tabBar()->setFocusPolicy(Qt::NoFocus);  // one page: nothing to choose
    auto* page = new QWidget(tab);
    tab->addTab(page, caption);
    return page;
}

int tabTop(int designedTop) {
    return designedTop - kTabStripTw;
}

QString boxText(const QWidget* box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(box)) {
        return line->text();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(box)) {
        return memo->toPlainText();
    }
    return {};
}

void setBoxText(QWidget* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
        memo->setPlainText(text);
    }
}

}  // namespace ui
