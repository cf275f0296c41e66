#include "orders/windowparts.h"

#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

namespace orders {

OrderListClient::OrderListClient(const QString& mode)
    : mode_(mode),
      receiver_(mode, [this](const PickedOrder& picked) { takePickedOrder(picked); }) {}

OrderListClient::~OrderListClient() {
    if (moddapra::OrderListMode == mode_) {
        moddapra::OrderListMode.clear();
    }
}

void OrderListClient::activated() {
    moddapra::OrderListMode = mode_;
}

void OrderListClient::deactivated() {
    moddapra::OrderListMode.clear();
}

void placeButtons(ui::TwLayout& l, const QWidget* top, const QWidget* bottom, QWidget* action,
                  QWidget* reset, QWidget* close) {
    const int right = l.left(top) + l.width(top);
    l.setLeft(close, right - l.width(close));
    l.setLeft(action, right - l.width(close) - l.width(action) - l.width(reset) - 150);
    l.setLeft(reset, right - l.width(close) - l.width(reset) - 75);
    for (QWidget* button : {action, reset, close}) {
        l.setTop(button, l.top(bottom) + l.height(bottom) + 75);
    }
}

QLineEdit* disabledBox(QWidget* parent, const QString& name, const QRect& tw) {
    QLineEdit* box = ui::lineBox(parent, name, tw);
    box->setEnabled(false);
    return box;
}

QToolButton* listButton(QWidget* parent, const QString& name, const QString& tip, int left,
                        int top) {
    return ui::smallButton(parent, name, tip, QStyle::SP_FileDialogContentsView,
                           {left, top, 360, 315});
}

QLabel* totalLabels(QWidget* parent, const QString& caption, const QRect& captionTw,
                    const QRect& totalTw) {
    QLabel* title = ui::label(parent, QStringLiteral("Label9"), caption, captionTw);
    QFont bold(QStringLiteral("MS Sans Serif"), 12);
    bold.setBold(true);
    title->setFont(bold);
    title->adjustSize();
    QLabel* total = ui::label(parent, QStringLiteral("Label10"), kZeroTotal, totalTw);
    total->setWordWrap(false);
    total->setFont(QFont(QStringLiteral("Bookman Old Style"), 60));
    return total;
}

void setTotal(QLabel* total, const QString& text) {
    total->setText(text);
    total->adjustSize();
}

void refuse(const QString& message, QWidget* focus) {
    const QPointer<QWidget> alive(focus);
    ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Perhatian!"));
    if (alive) {
        alive->setFocus();
    }
}

}  // namespace orders
