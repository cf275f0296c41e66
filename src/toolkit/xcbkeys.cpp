#include "toolkit/xcbkeys.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <vector>

namespace ui {

namespace {

// How long a key waits at most for a window that can take it; then it goes
// on as the platform would have sent it.
constexpr qint64 longestWaitMs = 3000;
// A key let in and not seen at a window after this long was kept by the
// platform (an input method composing, say): the next key goes on.
constexpr qint64 longestUnseenMs = 1000;
// How often waiting keys look again whether their window can take them.
constexpr int lookAgainMs = 5;

QWindow* windowOf(xcb_window_t id) {
    for (QWindow* w : QGuiApplication::allWindows()) {
        if (w->handle() && w->winId() == id) {
            return w;
        }
    }
    return nullptr;
}

QWindow* topLevel(QWindow* w) {
    while (w && w->parent()) {
        w = w->parent();
    }
    return w;
}

// Qt's X platform binds a key to its focus window when it reads the key from
// the X server, often a whole batch of keys at once, and delivers it later;
// a key bound to a window that a modal window has blocked meanwhile is
// dropped unseen, and nothing on the Qt side can get it back. So every key is
// held here, before Qt reads it, until the key before it has reached a window
// and the window it will be bound to is shown and not blocked. A held key
// goes back to the X server (sent to a window of our own, numbered) and is
// let in when it comes back and its window can take it.
class KeyGate : public QObject, public QAbstractNativeEventFilter {
public:
    explicit KeyGate(xcb_connection_t* connection) : connection_(connection) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        own_ = xcb_generate_id(connection);
        const uint32_t overrideRedirect = 1;
        xcb_create_window(connection, 0, own_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
        xcb_flush(connection);
        clock_.start();
        lookAgain_.setInterval(lookAgainMs);
        connect(&lookAgain_, &QTimer::timeout, this, &KeyGate::sendNext);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        auto* event = static_cast<xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
            case XCB_KEY_PRESS:
            case XCB_KEY_RELEASE:
                return key(reinterpret_cast<xcb_key_press_event_t*>(event));
            case XCB_FOCUS_IN:
                focusIn(reinterpret_cast<xcb_focus_in_event_t*>(event));
                return false;
            case XCB_FOCUS_OUT:
                focusOut(reinterpret_cast<xcb_focus_out_event_t*>(event));
                return false;
            default:
                return false;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress &&
            type != QEvent::KeyRelease && type != QEvent::WindowBlocked &&
            type != QEvent::WindowUnblocked) {
            return false;
        }
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window) {
            return false;
        }
        if (type == QEvent::WindowBlocked || type == QEvent::WindowUnblocked) {
            setBlocked(window, type == QEvent::WindowBlocked);
            if (type == QEvent::WindowUnblocked) {
                handFocusBack(window);
            }
            sendNext();
        } else if (event->spontaneous()) {
            reached(static_cast<QKeyEvent*>(event));
        }
        return false;
    }

private:
    struct Waiting {
        xcb_key_press_event_t event;
        qint64 typedAt;
        uint32_t number;
    };

    // A key from the X server is let in at once only when no key waits or
    // travels before it; a key coming back is let in when its window can take
    // it, else it waits on at the head of the line.
    bool key(xcb_key_press_event_t* event) {
        if (event->event == own_) {
            return cameBack(event);
        }
        if (waiting_.empty() && !travelling_ && !entered_ && canTake(event->event)) {
            let(*event);
            return false;
        }
        waiting_.push_back({*event, clock_.elapsed(), next_++});
        sendNext();
        return true;
    }

    bool cameBack(xcb_key_press_event_t* event) {
        if (waiting_.empty() || event->child != waiting_.front().number) {
            return true;  // not one of the keys waiting: already let go
        }
        travelling_ = false;
        const Waiting head = waiting_.front();
        if (!canTake(head.event.event) && !overdue(head)) {
            return true;  // looked at again shortly
        }
        waiting_.pop_front();
        QWindow* target = targetOf(head.event.event);
        if (!target) {
            sendNext();
            return true;
        }
        *event = head.event;
        event->response_type = head.event.response_type | 0x80;
        event->event = xcb_window_t(target->winId());
        let(*event);
        return false;
    }

    // Sends the key at the head of the line round the X server when its turn
    // has come and its window can take it; while keys wait, looks again now
    // and then.
    void sendNext() {
        const qint64 now = clock_.elapsed();
        if (entered_ && now - enteredAt_ > longestUnseenMs) {
            entered_ = false;
        }
        if (travelling_ && now - sentAt_ > longestUnseenMs) {
            travelling_ = false;  // sent again; the copy coming late is dropped
        }
        if (waiting_.empty()) {
            lookAgain_.stop();
            return;
        }
        if (!lookAgain_.isActive()) {
            lookAgain_.start();
        }
        const Waiting& head = waiting_.front();
        if (travelling_ || entered_ || (!canTake(head.event.event) && !overdue(head))) {
            return;
        }
        xcb_key_press_event_t sent = head.event;
        sent.event = own_;
        sent.child = head.number;
        xcb_send_event(connection_, 0, own_, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&sent));
        xcb_flush(connection_);
        travelling_ = true;
        sentAt_ = now;
    }

    void let(const xcb_key_press_event_t& event) {
        entered_ = true;
        enteredAt_ = clock_.elapsed();
        enteredCode_ = event.detail;
        enteredPress_ = (event.response_type & 0x7f) == XCB_KEY_PRESS;
    }

    // Qt delivers a key press first as its shortcut check, then as the press.
    void reached(const QKeyEvent* key) {
        const bool press = key->type() != QEvent::KeyRelease;
        if (entered_ && key->nativeScanCode() == enteredCode_ && press == enteredPress_) {
            entered_ = false;
            sendNext();
        }
    }

    bool overdue(const Waiting& waiting) const {
        return clock_.elapsed() - waiting.typedAt > longestWaitMs;
    }

    // The window Qt binds a key to: its own focus window, else the window
    // the X server sent the key to.
    QWindow* targetOf(xcb_window_t source) const {
        return focus_ ? focus_.data() : windowOf(source);
    }

    bool canTake(xcb_window_t source) const {
        QWindow* target = targetOf(source);
        return target && target->isVisible() && !isBlocked(target);
    }

    // Followed from the events Qt sends a window as a modal window blocks and
    // unblocks it.
    bool isBlocked(QWindow* window) const {
        return std::find(blocked_.begin(), blocked_.end(), topLevel(window)) != blocked_.end();
    }

    void setBlocked(QWindow* window, bool blocked) {
        std::erase_if(blocked_, [window](const QPointer<QWindow>& w) { return !w || w == window; });
        if (blocked) {
            blocked_.emplace_back(window);
        }
    }

    // Followed as Qt follows its focus window: focus moving in only by the
    // pointer is not counted, and a window a shown modal window blocks does
    // not take the focus.
    void focusIn(const xcb_focus_in_event_t* event) {
        QWindow* window =
            event->detail != XCB_NOTIFY_DETAIL_POINTER ? windowOf(event->event) : nullptr;
        if (!window) {
            return;
        }
        const QWindow* modal = QGuiApplication::modalWindow();
        if (!(isBlocked(window) && modal && modal->isExposed())) {
            focus_ = window;
        }
        sendNext();
    }

    void focusOut(const xcb_focus_out_event_t* event) {
        if (event->detail != XCB_NOTIFY_DETAIL_POINTER && windowOf(event->event)) {
            focus_ = nullptr;
        }
    }

    // Qt unblocks the windows beneath a modal window before it unmaps it; the
    // X focus, still on the modal window, would then go nowhere until the
    // window manager moves it, and a key typed meanwhile would be lost.
    void handFocusBack(QWindow* window) {
        if (!window->isVisible() || !window->handle()) {
            return;
        }
        xcb_get_input_focus_reply_t* reply =
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
        if (!reply) {
            return;
        }
        const QWindow* focused = windowOf(reply->focus);
        std::free(reply);
        if (focused && focused != window && focused->modality() != Qt::NonModal &&
            focused != QGuiApplication::modalWindow()) {
            xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, xcb_window_t(window->winId()),
                                XCB_CURRENT_TIME);
            xcb_flush(connection_);
        }
    }

    xcb_connection_t* connection_;
    xcb_window_t own_ = 0;
    QElapsedTimer clock_;
    QTimer lookAgain_;
    std::deque<Waiting> waiting_;
    uint32_t next_ = 1;
    bool travelling_ = false;  // the head key is on its way round the X server
    bool entered_ = false;     // a key let in has not reached a window yet
    qint64 enteredAt_ = 0;
    qint64 sentAt_ = 0;
    quint32 enteredCode_ = 0;
    bool enteredPress_ = false;
    QPointer<QWindow> focus_;
    std::vector<QPointer<QWindow>> blocked_;
};

}  // namespace

bool gateXcbKeys() {
    static QPointer<KeyGate> installed;
    if (installed) {
        return true;
    }
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return false;
    }
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        return false;
    }
    installed = new KeyGate(x11->connection());
    installed->setParent(app);
    app->installNativeEventFilter(installed);
    app->installEventFilter(installed);
    return true;
}

}  // namespace ui
