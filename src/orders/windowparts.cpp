#include "orders/windowparts.h"

#include "toolkit/controls.h"
#include "toolkit/msgbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace orders {

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

void refuse(const QString& message, QWidget* focus) {
    ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Perhatian!"));
    if (focus) {
        focus->setFocus();
    }
}

}  // namespace orders
