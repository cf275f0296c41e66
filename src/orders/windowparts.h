#pragma once

#include "orders/pickers.h"
#include "toolkit/form.h"

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// Controls and refusals that the order and cashier windows share.
namespace orders {

// The digits "Total Bayar" takes: they keep the amount, the change and every
// printed total inside 64 bits and inside the receipt's money column.
inline constexpr int kMaxAmountDigits = 12;
// The largest order total: the largest amount "Total Bayar" takes, so every
// order saved can be paid.
inline constexpr qint64 kMaxTotal = 999'999'999'999;

// The total field of both windows after a reset and at a total of 0.
inline const QString kZeroTotal = QStringLiteral("Rp. 0,-");

// A working window that the order list serves, in its mode, while it is the
// active working window; a pick goes to takePickedOrder.
class OrderListClient : public ui::Form {
    Q_OBJECT
public:
    explicit OrderListClient(const QString& mode);
    // A closed window serves the order list no more.
    ~OrderListClient() override;

    void activated() override;
    void deactivated() override;

protected:
    virtual void takePickedOrder(const PickedOrder& picked) = 0;

private:
    QString mode_;
    OrderListReceiver receiver_;
};

// Stands the action, reset and close buttons right-aligned under the frames,
// 75 twips apart and 75 below the lower frame.
void placeButtons(ui::TwLayout& l, const QWidget* top, const QWidget* bottom, QWidget* action,
                  QWidget* reset, QWidget* close);

// A line box that only the window and its pickers fill.
QLineEdit* disabledBox(QWidget* parent, const QString& name, const QRect& tw);

// The small picture button beside a box that opens a picker or a list.
QToolButton* listButton(QWidget* parent, const QString& name, const QString& tip, int left,
                        int top);

// The caption of the big total (bold 12 pt) and the total itself (60 pt, or
// as large as its frame takes), showing "Rp. 0,-"; returns the total's
// label, "Label10".
QLabel* totalLabels(QWidget* parent, const QString& caption, const QRect& captionTw,
                    const QRect& totalTw);

// Shows the text in the big total, which takes the width its text needs and
// shrinks where its frame leaves less room, as a total is never cut.
void setTotal(QLabel* total, const QString& text);

// Shows a refusal ("Perhatian!", exclamation icon), then moves the focus to
// the widget when one is given.
void refuse(const QString& message, QWidget* focus);

}  // namespace orders
