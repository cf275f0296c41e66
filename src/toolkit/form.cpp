#include "toolkit/form.h"

#include "toolkit/keys.h"
#include "toolkit/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>

namespace ui {

namespace {

QPointer<QMdiArea> area;
QPointer<Form> activeForm;
// Where each working window last had the focus.
QHash<const QObject*, QPointer<QWidget>> lastFocus;
// The working window just shown again, until the user types in it.
QPointer<Form> restoring;

Form* formOf(QMdiSubWindow* sub) {
    return sub ? qobject_cast<Form*>(sub->widget()) : nullptr;
}

// A working window the widget lies in, if any.
Form* workingFormOf(QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            return formOf(sub);
        }
    }
    return nullptr;
}

// The widget a key is typed in is where the user works in his window; Qt's
// own moves of the focus while the window loses activation do not count.
bool rememberFocus(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        QWidget* now = QApplication::focusWidget();
        if (Form* form = workingFormOf(now); form && now != form) {
            if (!lastFocus.contains(form)) {
                QObject::connect(form, &QObject::destroyed, [form] { lastFocus.remove(form); });
            }
            lastFocus.insert(form, now);
            restoring = nullptr;
        }
    }
    return false;
}

// The area moves the focus within a working window shown again after its
// activation; until the user types, it goes back where he left it.
void keepRestoredFocus(QWidget*, QWidget* now) {
    QWidget* focus = restoring ? lastFocus.value(restoring) : nullptr;
    if (focus && now != focus && workingFormOf(now) == restoring && focus->isVisible() &&
        focus->isEnabled()) {
        focus->setFocus(Qt::OtherFocusReason);
    }
}

// Activation runs only between working windows: a sub-window losing focus to a
// modal window (null activation) is not a move to another working window.
void trackActivation(QMdiSubWindow* sub) {
    Form* next = formOf(sub);
    if (!next || next == activeForm) {
        return;
    }
    QPointer<Form> previous = activeForm;
    activeForm = next;
    if (previous) {
        previous->deactivated();
    }
    next->activated();
    restoring = next;
    keepRestoredFocus(nullptr, QApplication::focusWidget());
}

void centreOnScreen(QWidget* w) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = w->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    w->move(frame.topLeft());
}

// Waits until the form has closed, then hands the focus back to its owner.
void runModal(Form* form, QWidget* owner) {
    QPointer<QWidget> back(owner);
    QEventLoop loop;
    QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    waitForModal(form, [&loop] { loop.exec(QEventLoop::DialogExec); });
    // A window that closes right after a message box of its own closed is
    // gone before the window manager has handed it the focus back; the focus
    // would then go nowhere and the next keys be lost.
    if (back) {
        back->activateWindow();
    }
}

}  // namespace

Form::Form(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    keysActInOrder();
}

void Form::setFixedDialog(int widthTw, int heightTw) {
    fixed_ = true;
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(toPx(widthTw), toPx(heightTw));
}

void Form::setDesignSize(int widthTw, int heightTw) {
    resizeTw(this, widthTw, heightTw);
}

// Esc is read by the program's key rule (ui::keysActInOrder), not through a
// shortcut: shortcuts still fire on a window a modal window blocks.
void Form::setCancelButton(QAbstractButton* button) {
    cancel_ = button;
}

void Form::unload() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->close();
    } else {
        close();
    }
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        firstShown();
    }
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    TwLayout layout(this);
    relayout(layout);
}

void setMdiArea(QMdiArea* mdi) {
    area = mdi;
    if (mdi) {
        QObject::connect(mdi, &QMdiArea::subWindowActivated, mdi, &trackActivation);
        hookEvents(qApp, &rememberFocus);
        QObject::connect(qApp, &QApplication::focusChanged, mdi, &keepRestoredFocus);
    }
}

QMdiArea* mdiArea() {
    return area;
}

QWidget* modalOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    // A window of the program on its own (user management at the first start)
    // keeps what it opens: else the main window comes up over it after.
    if (auto* own = qobject_cast<Form*>(QApplication::activeWindow())) {
        return own;
    }
    return area ? area->window() : QApplication::activeWindow();
}

bool showModal(Form* form, QObject* opener) {
    QPointer<QObject> openerAlive(opener);
    QPointer<Form> guard(form);
    // A modal window belongs to the window of the parent it was given, else
    // to the main window.
    QWidget* owner =
        form->parentWidget() ? form->parentWidget()->window() : (area ? area->window() : nullptr);
    if (owner && form->parentWidget() != owner) {
        form->setParent(owner, form->windowFlags() | Qt::Dialog);
    }
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    centreOnScreen(form);
    form->activateWindow();
    if (guard) {
        runModal(form, owner);
    }
    return !opener || openerAlive;
}

void showChild(Form* form) {
    if (!area) {
        form->show();
        return;
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        area->setActiveSubWindow(sub);
        sub->raise();
        return;
    }
    QMdiSubWindow* sub = area->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(form->windowIcon());
    sub->showMaximized();
    area->setActiveSubWindow(sub);
}

}  // namespace ui
