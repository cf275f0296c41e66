#include "orders/windowparts.h"

#include "shell/moddapra.h"
#include "toolkit/controls.h"
#include "toolkit/msgbox.h"
#include "toolkit/twips.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

#include <algorithm>

namespace orders {

namespace {

constexpr int kTotalPoints = 60;
constexpr int kSmallestTotalPoints = 8;

// The total keeps its 60 pt where the room up to its frame's right edge
// takes the text, else the largest size that fits: a total is never cut.
void fitTotal(QLabel* total) {
    const int room = total->parentWidget()->contentsRect().right() - total->x();
    QFont font = total->font();
    font.setPointSize(kTotalPoints);
    total->setFont(font);
    const int width = total->sizeHint().width();
    if (width > room) {
        font.setPointSize(std::max(kSmallestTotalPoints, kTotalPoints * room / width));
        total->setFont(font);
        while (total->sizeHint().width() > room && font.pointSize() > kSmallestTotalPoints) {
            font.setPointSize(font.pointSize() - 1);
            total->setFont(font);
        }
    }
    total->adjustSize();
}

// Fits the total again whenever its frame changes size.
class TotalFitter : public QObject {
public:
    explicit TotalFitter(QLabel* total) : QObject(total), total_(total) {
        total->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && watched == total_->parentWidget()) {
            fitTotal(total_);
        }
        return false;
    }

private:
    QLabel* total_;
};

}  // namespace

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
    total->setFont(QFont(QStringLiteral("Bookman Old Style"), kTotalPoints));
    new TotalFitter(total);
    return total;
}

void setTotal(QLabel* total, const QString& text) {
    total->setText(text);
    fitTotal(total);
}

void refuse(const QString& message, QWidget* focus) {
    const QPointer<QWidget> alive(focus);
    ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Perhatian!"));
    if (alive) {
        alive->setFocus();
    }
}

}  // namespace orders
