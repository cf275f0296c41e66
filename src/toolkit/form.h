#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

class QMdiArea;

namespace ui {

class TwLayout;

// A window of the program: a dialog shown modally or a working window shown as
// a child of the main window. Closing ("unloading") a form destroys it. Its
// buttons act on their keys at once (ui::keysActInOrder).
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    // A fixed single border, no minimize or maximize box, centred on the
    // screen, with the given client size in twips.
    void setFixedDialog(int widthTw, int heightTw);
    // A sizable working window with the given design client size in twips.
    void setDesignSize(int widthTw, int heightTw);
    // The design client size of a working window; else as for any widget.
    QSize sizeHint() const override;
    bool isFixedDialog() const { return fixed_; }

    // Makes Esc press this button anywhere in the window.
    void setCancelButton(QAbstractButton* button);
    QAbstractButton* cancelButton() const { return cancel_; }

    // Closes the window (and its sub-window when it is a child window).
    void unload();

    // Run when the user moves to this working window from another working
    // window of the main window, and when he moves away from it. Modal windows
    // opened from it (pickers, dialogs, message boxes) do not count. The window
    // comes back with the focus where the user left it unless activated moves it.
    virtual void activated() {}
    virtual void deactivated() {}

protected:
    // The window's resize table; W and H are its outer size in twips.
    virtual void relayout(TwLayout&) {}
    // Run at the first showing only: a window shown again keeps its focus.
    virtual void firstShown() {}
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool fixed_ = false;
    bool shown_ = false;
    QSize design_;
    QPointer<QAbstractButton> cancel_;
};

// Moves a top-level window so that it stands centred on the screen.
void centreOnScreen(QWidget* window);

// The main window's working area; set once by the main window.
void setMdiArea(QMdiArea* area);
QMdiArea* mdiArea();

// Shows the form modally and returns when it has closed. It belongs to the
// window of its parent when it has one, else to the main window. Keys typed
// while it is up, even before the window manager activates it, go to it.
// Returns whether the opener (when given) still lives.
bool showModal(Form* form, QObject* opener = nullptr);
// The window a new modal window belongs to: the open modal window, else the
// active window when it is a form on its own, else the main window, else the
// active window.
QWidget* modalOwner();
// Shows the form modeless: maximized inside the main window when there is
// one (or a top-level window otherwise); an open form comes to the front,
// maximized when the window it replaces in front was.
void showChild(Form* form);

}  // namespace ui
