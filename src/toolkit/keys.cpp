#include "toolkit/keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace ui {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// An event filter owned by the widget it watches.
class KeyFilter : public QObject {
public:
    KeyFilter(QWidget* watched, std::function<bool(QKeyEvent*)> handle)
        : QObject(watched), handle_(std::move(handle)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        return handle_(static_cast<QKeyEvent*>(event));
    }

private:
    std::function<bool(QKeyEvent*)> handle_;
};

// Typed characters other than digits are refused; control keys that only move
// the cursor or delete pass, as does Backspace.
bool refusedCharacter(const QKeyEvent* key) {
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Backspace) {
        return false;
    }
    if (key->modifiers() & Qt::ControlModifier) {
        return key->key() == Qt::Key_V;  // no pasting past the filter
    }
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > 127) {
            return true;
        }
    }
    return false;
}

// Digits, and the grouping dots of an amount shown under a mask (a row loaded
// for change shows its amount so); at most maxDigits digits when set. The
// length is not limited by characters, so a grouped amount is never cut.
class DigitsValidator : public QValidator {
public:
    DigitsValidator(int maxDigits, QObject* parent) : QValidator(parent), max_(maxDigits) {}
    State validate(QString& input, int&) const override {
        int digits = 0;
        for (const QChar c : input) {
            if (c.unicode() >= '0' && c.unicode() <= '9') {
                ++digits;
            } else if (c != QChar('.')) {
                return Invalid;
            }
        }
        return max_ > 0 && digits > max_ ? Invalid : Acceptable;
    }

private:
    int max_;
};

}  // namespace

void onEnter(QWidget* widget, std::function<void()> action) {
    new KeyFilter(widget, [action](QKeyEvent* key) {
        if (!isEnter(key)) {
            return false;
        }
        action();
        return true;
    });
}

void enterMovesTo(QWidget* from, QWidget* to, bool selectAll) {
    onEnter(from, [to, selectAll] {
        to->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(to); edit && selectAll) {
            edit->setSelection(0, int(edit->text().size()));
        }
    });
}

void digitsOnly(QLineEdit* box, std::function<void()> onEnterAction, int maxDigits) {
    box->setValidator(new DigitsValidator(maxDigits, box));
    new KeyFilter(box, [onEnterAction](QKeyEvent* key) {
        if (isEnter(key)) {
            if (onEnterAction) {
                onEnterAction();
            }
            return true;
        }
        return refusedCharacter(key);
    });
}

}  // namespace ui
