#include "toolkit/keys.h"

#include "toolkit/form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

namespace ui {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// An event filter owned by the object it watches.
class Hook : public QObject {
public:
    Hook(QObject* watched, std::function<bool(QEvent*)> handle)
        : QObject(watched), handle_(std::move(handle)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handle_(event); }

private:
    std::function<bool(QEvent*)> handle_;
};

void onKeyPress(QObject* watched, std::function<bool(QKeyEvent*)> handle) {
    hookEvents(watched, [handle = std::move(handle)](QEvent* event) {
        return event->type() == QEvent::KeyPress && handle(static_cast<QKeyEvent*>(event));
    });
}

// The window a key acts in: the nearest window of the program (a working
// window inside the main window counts on its own) or top-level window.
QWidget* keyScope(QWidget* w) {
    while (w && !w->isWindow() && !qobject_cast<Form*>(w)) {
        w = w->parentWidget();
    }
    return w;
}

// The one visible, enabled button of the focused window whose mnemonic is the
// key; none when no button or several share it (Qt then moves the focus among
// them in turn), and none while a menu is open.
QAbstractButton* mnemonicButton(const QKeyEvent* key) {
    if (key->modifiers() != Qt::AltModifier || QApplication::activePopupWidget()) {
        return nullptr;
    }
    QWidget* focus = QApplication::focusWidget();
    QWidget* scope = keyScope(focus ? focus : QApplication::activeWindow());
    if (!scope) {
        return nullptr;
    }
    const QKeySequence pressed(key->keyCombination());
    QAbstractButton* found = nullptr;
    for (QAbstractButton* b : scope->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && b->isEnabled() && keyScope(b) == scope &&
            QKeySequence::mnemonic(b->text()) == pressed) {
            if (found) {
                return nullptr;
            }
            found = b;
        }
    }
    return found;
}

bool isFocusedButton(QObject* watched) {
    return watched == QApplication::focusWidget() && qobject_cast<QAbstractButton*>(watched);
}

// Qt clicks a button for its mnemonic only after a short animation, so the
// keys typed after it ran first; and a mnemonic that a menu of the main window
// shares went to that menu every other time. Here the focused window's button
// takes its mnemonic before any shortcut is looked up, and every button key
// clicks at once.
class ButtonKeys : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
                if (mnemonicButton(static_cast<QKeyEvent*>(event))) {
                    event->accept();
                    return true;
                }
                return false;
            case QEvent::KeyPress:
                return keyPress(watched, static_cast<QKeyEvent*>(event));
            case QEvent::Shortcut:
                // A button's own shortcut reached through the shortcut map.
                if (auto* button = qobject_cast<QAbstractButton*>(watched);
                    button && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
                    button->click();
                    return true;
                }
                return false;
            default:
                return false;
        }
    }

private:
    static bool keyPress(QObject* watched, QKeyEvent* key) {
        QAbstractButton* button = mnemonicButton(key);
        if (!button && isFocusedButton(watched)) {
            const bool pushed =
                qobject_cast<QPushButton*>(watched) || qobject_cast<QToolButton*>(watched);
            if (key->key() == Qt::Key_Space || (pushed && isEnter(key))) {
                button = static_cast<QAbstractButton*>(watched);
            }
        }
        if (!button) {
            return false;
        }
        if (!key->isAutoRepeat()) {
            button->click();
        }
        return true;
    }
};

// A typed character that is printable and not a digit; control characters
// (Tab, Delete, Esc, Backspace) pass.
bool refusedCharacter(const QKeyEvent* key) {
    if (key->modifiers() & Qt::ControlModifier) {
        return key->key() == Qt::Key_V;  // no pasting past the filter
    }
    for (const QChar c : key->text()) {
        if (c.isPrint() && !(c >= QChar('0') && c <= QChar('9'))) {
            return true;
        }
    }
    return false;
}

// Digits, and the grouping dots of an amount shown under a mask (a row loaded
// for change shows its amount so); at most maxDigits digits when set. The
// length is not limited by characters, so a grouped amount is never cut.
// Dots without a digit would be read as 0, so they leave the box empty.
class DigitsValidator : public QValidator {
public:
    DigitsValidator(int maxDigits, QObject* parent) : QValidator(parent), max_(maxDigits) {}
    State validate(QString& input, int& pos) const override {
        int digits = 0;
        for (const QChar c : input) {
            if (c.unicode() >= '0' && c.unicode() <= '9') {
                ++digits;
            } else if (c != QChar('.')) {
                return Invalid;
            }
        }
        if (digits == 0) {
            input.clear();
            pos = 0;
        }
        return max_ > 0 && digits > max_ ? Invalid : Acceptable;
    }

private:
    int max_;
};

// Qt's own length limit cuts a text the program sets. This one refuses only
// edits of the user: setting a text clears the box's undo history, while an
// edit being checked is already in it.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* box, int maxChars)
        : QValidator(box), box_(box), max_(maxChars), shown_(int(box->text().size())) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { shown_ = int(text.size()); });
    }
    State validate(QString& input, int&) const override {
        const int length = int(input.size());
        const bool grows = length > max_ && length > shown_;
        return grows && box_->isUndoAvailable() ? Invalid : Acceptable;
    }

private:
    QLineEdit* box_;
    int max_;
    int shown_;
};

}  // namespace

void keysActInOrder() {
    static QPointer<ButtonKeys> installed;
    if (!installed && qApp) {
        installed = new ButtonKeys;
        installed->setParent(qApp);
        qApp->installEventFilter(installed);
    }
}

void hookEvents(QObject* watched, std::function<bool(QEvent*)> handle) {
    new Hook(watched, std::move(handle));
}

void onKey(QWidget* widget, int key, std::function<void()> action) {
    onKeyPress(widget, [key, action = std::move(action)](QKeyEvent* pressed) {
        if (pressed->key() != key) {
            return false;
        }
        action();
        return true;
    });
}

void onEnter(QWidget* widget, std::function<void()> action) {
    onKeyPress(widget, [action = std::move(action)](QKeyEvent* key) {
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
    onKeyPress(box, [onEnterAction = std::move(onEnterAction)](QKeyEvent* key) {
        if (isEnter(key)) {
            if (onEnterAction) {
                onEnterAction();
            }
            return true;
        }
        return refusedCharacter(key);
    });
}

void typingLimit(QLineEdit* box, int maxChars) {
    box->setValidator(new TypingLimit(box, maxChars));
}

void tabRoad(std::initializer_list<QWidget*> road) {
    auto it = road.begin();
    for (; it + 1 < road.end(); ++it) {
        QWidget::setTabOrder(*it, *(it + 1));
    }
}

}  // namespace ui
