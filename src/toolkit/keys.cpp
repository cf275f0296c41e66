#include "toolkit/keys.h"

#include "toolkit/form.h"
#include "toolkit/xcbkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QValidator>
#include <QWindow>

#include <memory>
#include <optional>
#include <vector>

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

// The widget a key event is meant for: a widget receives it itself; a
// platform window hands it to the focus widget.
QWidget* keyReceiver(QObject* watched) {
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
        return widget;
    }
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : QApplication::activeWindow();
}

// The widget an event's receiver belongs to: the widget itself, the
// top-level widget of a platform window, or the widget owning a shortcut or
// an action.
QWidget* widgetOf(QObject* watched) {
    if (auto* window = qobject_cast<QWindow*>(watched)) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowHandle() == window) {
                return top;
            }
        }
        return nullptr;
    }
    while (watched && !watched->isWidgetType()) {
        watched = watched->parent();
    }
    return static_cast<QWidget*>(watched);
}

// Whether the widget is the window or lies in it, its own windows included.
bool within(const QWidget* widget, const QWidget* window) {
    for (; widget; widget = widget->parentWidget()) {
        if (widget == window) {
            return true;
        }
    }
    return false;
}

// The one visible, enabled button of the receiver's window whose mnemonic is
// the key; none when no button or several share it (Qt then moves the focus
// among them in turn), and none while a menu is open.
QAbstractButton* mnemonicButton(QObject* watched, const QKeyEvent* key) {
    if (key->modifiers() != Qt::AltModifier || QApplication::activePopupWidget()) {
        return nullptr;
    }
    QWidget* scope = keyScope(keyReceiver(watched));
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

// The closing button of the receiver's window, pressed by Esc; none while a
// menu is open, which Esc closes alone.
QAbstractButton* cancelButton(QObject* watched, const QKeyEvent* key) {
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier ||
        QApplication::activePopupWidget()) {
        return nullptr;
    }
    auto* form = qobject_cast<Form*>(keyScope(keyReceiver(watched)));
    QAbstractButton* button = form ? form->cancelButton() : nullptr;
    return button && button->isVisible() && button->isEnabled() ? button : nullptr;
}

bool isFocusedButton(QObject* watched) {
    return watched == QApplication::focusWidget() && qobject_cast<QAbstractButton*>(watched);
}

// A modal window is registered as soon as it is shown, yet the window
// manager activates it later, and Qt looks shortcuts up before it asks
// whether a window is blocked: keys typed in between (queued, or sent to the
// window beneath as shortcuts) acted on that window. Every key meant for a
// window beneath the open modal window goes to the modal window instead, in
// the order typed. A key handed over at its shortcut check is dropped when
// it comes again as a press.
class ModalKeys {
public:
    bool route(QObject* watched, QEvent* event) {
        const QEvent::Type type = event->type();
        if (off_ || (type != QEvent::ShortcutOverride && type != QEvent::KeyPress &&
                     type != QEvent::KeyRelease && type != QEvent::Shortcut)) {
            return false;
        }
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* receiver = widgetOf(watched);
        track(watched, event);
        if (type == QEvent::Shortcut) {
            // Shortcuts are matched against the window the manager has
            // active, which may still be the one beneath.
            return modal && !within(receiver, modal);
        }
        const bool inside = modal && receiver && within(receiver, modal);
        if (inside || (!holding_ && (!modal || !receiver || QApplication::activePopupWidget()))) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const Typed typed{key->key(), key->modifiers(), key->text()};
        if (type == QEvent::KeyPress && handedOver_ == typed) {
            handedOver_.reset();
        } else if (type != QEvent::KeyRelease) {
            if (holding_) {
                held_.push_back(typed);
            } else {
                handOver(modal, typed);
            }
            if (type == QEvent::ShortcutOverride) {
                handedOver_ = typed;
            }
        }
        event->accept();
        return true;
    }

    void hold() { holding_ = !off_; }

    // Where the platform's keys are held before they reach the program
    // (ui::gateXcbKeys), no key comes for a blocked window to be rerouted.
    void turnOff() { off_ = true; }

    // Once the new modal window is active it gets, in order, the keys the
    // window system queued for the window it now blocks (Qt would drop them
    // unseen) and the keys held while it opened. Should one of them close
    // it, the rest are held for its opener.
    void handOverTo(QWidget* window) {
        const QPointer<QWidget> modal(window);
        std::vector<Typed> keys;
        keys.swap(queued_);
        keys.insert(keys.end(), held_.begin(), held_.end());
        held_.clear();
        holding_ = false;
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            if (!modal || !modal->isVisible()) {
                holding_ = true;
                held_.assign(it, keys.end());
                return;
            }
            handOver(modal, *it);
        }
    }

    // The held keys go to the window once every key already queued has been
    // held too, so that none overtakes them.
    void release(QWindow* window) {
        QTimer::singleShot(0, qApp, [this, to = QPointer<QWindow>(window)] {
            holding_ = false;
            for (const Typed& typed : held_) {
                if (to) {
                    QCoreApplication::postEvent(to, press(typed));
                }
            }
            held_.clear();
        });
    }

private:
    struct Typed {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool operator==(const Typed&) const = default;
    };

    // A key from the window system is checked for shortcuts (at a platform
    // window) when it is queued, and pressed when its turn comes, or not at
    // all when a shortcut took it.
    void track(QObject* watched, QEvent* event) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Shortcut) {
            if (!queued_.empty()) {
                queued_.pop_back();
            }
            return;
        }
        if (!qobject_cast<QWindow*>(watched) || type == QEvent::KeyRelease) {
            return;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const Typed typed{key->key(), key->modifiers(), key->text()};
        if (type == QEvent::ShortcutOverride) {
            queued_.push_back(typed);
        } else if (!queued_.empty() && queued_.front() == typed) {
            queued_.erase(queued_.begin());
        }
    }

    static QKeyEvent* press(const Typed& typed) {
        return new QKeyEvent(QEvent::KeyPress, typed.key, typed.modifiers, typed.text);
    }

    static void handOver(QWidget* modal, const Typed& typed) {
        const std::unique_ptr<QKeyEvent> event(press(typed));
        QWidget* focus = modal->focusWidget();
        QApplication::sendEvent(focus ? focus : modal, event.get());
    }

    bool off_ = false;
    bool holding_ = false;
    std::vector<Typed> held_;
    std::vector<Typed> queued_;
    std::optional<Typed> handedOver_;
};

ModalKeys& modalKeys() {
    static ModalKeys keys;
    return keys;
}

// Qt clicks a button for its mnemonic only after a short animation, so the
// keys typed after it ran first; and a mnemonic that a menu of the main window
// shares went to that menu every other time. Here the focused window's button
// takes its mnemonic before any shortcut is looked up, and every button key
// clicks at once. Esc presses the window's closing button the same way.
class ButtonKeys : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (modalKeys().route(watched, event)) {
            return true;
        }
        switch (event->type()) {
            case QEvent::ShortcutOverride:
                if (mnemonicButton(watched, static_cast<QKeyEvent*>(event))) {
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
        QAbstractButton* button = mnemonicButton(watched, key);
        if (!button) {
            button = cancelButton(watched, key);
        }
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

bool isAsciiDigit(QChar c) {
    return c >= QChar('0') && c <= QChar('9');
}

// A typed character that is printable and not a digit; control characters
// (Tab, Delete, Esc, Backspace) and keys with Ctrl pass.
bool refusedCharacter(const QKeyEvent* key) {
    if (key->modifiers() & Qt::ControlModifier) {
        return false;
    }
    for (const QChar c : key->text()) {
        if (c.isPrint() && !isAsciiDigit(c)) {
            return true;
        }
    }
    return false;
}

// Where a user's edit put its characters: they end at the cursor, and the
// text after the cursor stood at the end of the text before. Characters the
// edit put where the same ones stood count as kept. Nothing when the texts
// do not fit that shape.
struct Inserted {
    qsizetype start = 0;
    qsizetype end = 0;
};
std::optional<Inserted> insertedPart(const QString& before, const QString& after, int cursor) {
    const qsizetype tail = after.size() - cursor;
    if (cursor < 0 || tail < 0 || tail > before.size() ||
        !before.endsWith(QStringView(after).mid(cursor))) {
        return std::nullopt;
    }
    const qsizetype limit = std::min<qsizetype>(cursor, before.size() - tail);
    qsizetype start = 0;
    while (start < limit && before[start] == after[start]) {
        ++start;
    }
    if (start > 0 && start < cursor && after[start].isLowSurrogate()) {
        --start;  // a character of two units that shares its first with the one replaced
    }
    return Inserted{start, cursor};
}

// Keeps the first characters of the inserted part, never half of a pair of
// surrogates, and puts the cursor after them. False when none is kept.
bool keepFirst(QString& text, int& cursor, const Inserted& part, qsizetype count) {
    qsizetype end = part.start + std::clamp<qsizetype>(count, 0, part.end - part.start);
    if (end > part.start && text[end - 1].isHighSurrogate()) {
        --end;
    }
    text.remove(end, part.end - end);
    cursor = int(end);
    return end > part.start;
}

// A box's validator that knows the text before each edit, and tells the
// user's edits from texts the program sets: setting a text clears the box's
// undo history, while an edit being checked is already in it.
class EditValidator : public QValidator {
public:
    explicit EditValidator(QLineEdit* box) : QValidator(box), box_(box), before_(box->text()) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { before_ = text; });
    }

protected:
    bool userEdit() const { return box_->isUndoAvailable(); }
    std::optional<Inserted> inserted(const QString& input, int pos) const {
        return insertedPart(before_, input, pos);
    }
    qsizetype lengthBefore() const { return before_.size(); }

private:
    QLineEdit* box_;
    QString before_;
};

qsizetype digitCount(const QString& text) {
    return std::count_if(text.cbegin(), text.cend(), isAsciiDigit);
}

// Digits, and the grouping dots of an amount shown under a mask (a row loaded
// for change shows its amount so); at most maxDigits digits when set. The
// length is not limited by characters, so a grouped amount is never cut.
// Dots without a digit would be read as 0, so they leave the box empty.
// Of a pasted or dropped text the box keeps the digits, as typing would,
// and of those the first that fit.
class DigitsValidator : public EditValidator {
public:
    DigitsValidator(QLineEdit* box, int maxDigits) : EditValidator(box), max_(maxDigits) {}
    State validate(QString& input, int& pos) const override {
        const std::optional<Inserted> part = inserted(input, pos);
        if (part && userEdit() && !keepDigits(input, pos, *part)) {
            return Invalid;
        }
        for (const QChar c : input) {
            if (!isAsciiDigit(c) && c != QChar('.')) {
                return Invalid;
            }
        }
        const qsizetype digits = digitCount(input);
        if (digits == 0) {
            input.clear();
            pos = 0;
        }
        return max_ > 0 && digits > max_ ? Invalid : Acceptable;
    }

private:
    // False when the edit inserted characters and none of them is kept: the
    // box then stays as it was, its selection too, as for a refused key.
    bool keepDigits(QString& input, int& pos, Inserted part) const {
        if (part.start == part.end) {
            return true;
        }
        QString typed = input.mid(part.start, part.end - part.start);
        typed.removeIf([](QChar c) { return !isAsciiDigit(c); });
        input.replace(part.start, part.end - part.start, typed);
        part.end = part.start + typed.size();
        pos = int(part.end);
        const qsizetype room = max_ > 0 ? typed.size() - (digitCount(input) - max_) : typed.size();
        return keepFirst(input, pos, part, room);
    }

    int max_;
};

// Qt's own length limit cuts a text the program sets. This one holds only
// the user's edits: typed, pasted or dropped text keeps its first characters
// that fit, and an edit never makes the text longer than maxChars, nor longer
// than it already was.
class TypingLimit : public EditValidator {
public:
    TypingLimit(QLineEdit* box, int maxChars) : EditValidator(box), max_(maxChars) {}
    State validate(QString& input, int& pos) const override {
        const qsizetype excess = input.size() - std::max<qsizetype>(max_, lengthBefore());
        if (excess <= 0 || !userEdit()) {
            return Acceptable;
        }
        const std::optional<Inserted> part = inserted(input, pos);
        const bool kept = part && keepFirst(input, pos, *part, part->end - part->start - excess);
        return kept ? Acceptable : Invalid;
    }

private:
    int max_;
};

// For the key burst benchmark: each key as it reaches a window of the
// program, with the time the window system stamped on it and the time now,
// appended to the file named by DAPRA_KEY_TIMES.
class KeyTimes : public QObject {
public:
    explicit KeyTimes(const QString& path) : file_(path) {
        file_.open(QIODevice::Append | QIODevice::Text | QIODevice::Unbuffered);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && event->spontaneous() &&
            qobject_cast<QWindow*>(watched)) {
            const auto* key = static_cast<QKeyEvent*>(event);
            QElapsedTimer now;
            now.start();
            file_.write(QStringLiteral("%1 %2\n")
                            .arg(key->timestamp())
                            .arg(quint32(now.msecsSinceReference()))
                            .toLatin1());
        }
        return false;
    }

private:
    QFile file_;
};

}  // namespace

void keysActInOrder() {
    static QPointer<ButtonKeys> installed;
    if (!installed && qApp) {
        installed = new ButtonKeys;
        installed->setParent(qApp);
        qApp->installEventFilter(installed);
        if (gateXcbKeys()) {
            modalKeys().turnOff();
        }
        if (qEnvironmentVariableIsSet("DAPRA_KEY_TIMES")) {
            auto* times = new KeyTimes(qEnvironmentVariable("DAPRA_KEY_TIMES"));
            times->setParent(qApp);
            qApp->installEventFilter(times);
        }
    }
}

// Keys typed before the window manager activates a new modal window are
// addressed to the window beneath, which the modal window blocks, so they
// would be lost: they wait in the queue until the new window is active (a
// second at most) and then reach it.
void awaitActivation(QWidget* window) {
    const QPointer<QWidget> modal(window);
    modalKeys().hold();
    QElapsedTimer waited;
    waited.start();
    while (modal && modal->isVisible() && !modal->isActiveWindow() && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    modalKeys().handOverTo(modal);
}

void waitForModal(QWidget* window, const std::function<void()>& wait) {
    hookEvents(window, [](QEvent* event) {
        if (event->type() == QEvent::Hide) {
            modalKeys().hold();
        }
        return false;
    });
    QPointer<QWidget> owner(window->parentWidget() ? window->parentWidget()->window() : nullptr);
    const QPointer<QWidget> modal(window);
    awaitActivation(window);
    if (modal) {
        wait();
    }
    modalKeys().release(owner ? owner->windowHandle() : QGuiApplication::focusWindow());
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
    box->setValidator(new DigitsValidator(box, maxDigits));
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
