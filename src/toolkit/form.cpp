#include "toolkit/form.h"

#include "toolkit/keys.h"
#include "toolkit/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace ui {

namespace {

QPointer<QMdiArea> area;
QPointer<Form> activeForm;

Form* formOf(QMdiSubWindow* sub) {
    return sub ? qobject_cast<Form*>(sub->widget()) : nullptr;
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
}

// A working window's frame in the main window's working area. Restored from
// maximized, Qt hides it for a moment, which moves the focus on to the next
// control: it keeps the focus where the user left it. Restored, it stands at
// the place in the cascade it was given when it opened.
class WorkingWindow : public QMdiSubWindow {
public:
    explicit WorkingWindow(int place) : place_(place) {}
    int place() const { return place_; }

protected:
    void changeEvent(QEvent* event) override {
        QPointer<QWidget> focus;
        if (event->type() == QEvent::WindowStateChange &&
            isAncestorOf(QApplication::focusWidget())) {
            focus = QApplication::focusWidget();
        }
        QMdiSubWindow::changeEvent(event);
        if (focus && !focus->hasFocus()) {
            focus->setFocus();
        }
    }

private:
    int place_;
};

// The first place in the cascade that no open working window holds: restored
// windows stand one title bar below and right of each other, so none hides
// another exactly.
int freePlace(const QMdiArea* mdi) {
    QList<int> taken;
    for (QMdiSubWindow* sub : mdi->subWindowList()) {
        if (auto* working = dynamic_cast<WorkingWindow*>(sub)) {
            taken.append(working->place());
        }
    }
    int place = 0;
    while (taken.contains(place)) {
        ++place;
    }
    return place;
}

QPoint cascadedAt(const QMdiSubWindow* sub, int place) {
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
    return {place * step, place * step};
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
    design_ = size();
}

QSize Form::sizeHint() const {
    return design_.isValid() ? design_ : QWidget::sizeHint();
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

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void setMdiArea(QMdiArea* mdi) {
    area = mdi;
    if (mdi) {
        // Left to its default the area keeps one working window at most
        // maximized, the active one: moving to another window while the
        // active one is maximized shows that one maximized and restores the
        // one it leaves (WorkingWindow keeps that one's focus).
        QObject::connect(mdi, &QMdiArea::subWindowActivated, mdi, &trackActivation);
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
    auto* sub = new WorkingWindow(freePlace(area));
    sub->setWidget(form);
    area->addSubWindow(sub);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(form->windowIcon());
    // Restored, a sub-window goes back to where it stood before it was
    // maximized (its place in the cascade at first); one that never stood
    // anywhere shrinks to its title bar.
    sub->setGeometry(QRect(cascadedAt(sub, sub->place()), sub->sizeHint()));
    sub->showMaximized();
    area->setActiveSubWindow(sub);
}

}  // namespace ui
