#pragma once

#include "db/database.h"
#include "toolkit/msgbox.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include <sys/resource.h>

namespace testing {

// The bytes of a file; empty when it does not open.
QByteArray bytesOf(const QString& path);
// Writes a file with exactly these bytes; fails the run when it cannot.
void writeBytes(const QString& path, const QByteArray& bytes);

// A temporary install folder for one test: DAPRA_HOME points at it, db.txt
// names a fresh database holding the empty tables, and the program-wide state
// starts signed out. Everything is restored when it goes.
class TestInstall {
public:
    TestInstall();
    ~TestInstall();
    TestInstall(const TestInstall&) = delete;
    TestInstall& operator=(const TestInstall&) = delete;

    QString folder() const { return dir_.path(); }
    QString dbTxt() const { return dir_.path() + QStringLiteral("/db.txt"); }
    QString dbPath() const { return dir_.path() + QStringLiteral("/dapra.mdb"); }
    // A connection of the test's own, to seed and inspect the database.
    std::unique_ptr<db::Connection> connect() const {
        return std::make_unique<db::Connection>(dbPath());
    }
    // Runs one statement with bound values.
    void exec(const QString& sql, const QVariantList& params = {}) const {
        connect()->exec(sql, params);
    }
    QVariant scalar(const QString& sql, const QVariantList& params = {}) const {
        return connect()->scalar(sql, params);
    }
    qint64 count(const QString& table) const {
        return scalar("SELECT count(*) FROM " + table).toLongLong();
    }
    // Stores a user with these access rights; returns his id.
    qint64 addUser(const QString& name, const QStringList& rights = {},
                   const QString& passwordHash = QStringLiteral("x")) const;
    // Writes db.txt with exactly these bytes.
    void writeDbTxt(const QByteArray& content) const { writeBytes(dbTxt(), content); }

private:
    QTemporaryDir dir_;
    QByteArray previousHome_;
};

// The main window with its working area, shown and active, that windows
// open in; everything in it goes with it.
class MainWindow {
public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    QMainWindow* get() const { return main_.get(); }
    // Makes it the active window again after a modal window closed, as a
    // window manager would; the offscreen platform does not.
    void back() const;

private:
    std::unique_ptr<QMainWindow> main_ = std::make_unique<QMainWindow>();
};

// Lets no file of this process grow beyond that size, as a full disk would.
void limitFileSize(rlim_t bytes);

// Makes a file or folder one that nobody can change (no file created or
// renamed in a folder), root included (by the immutable flag where the file
// system has one), or undoes it. True when it then refuses to be written.
bool writeProtect(const QString& path, bool on);

// Each box a recorder kept as the user saw it: "title (icon): text" with the
// icon "i" (information), "!" (exclamation) or "-" (none) and the buttons'
// "?" after the icon for a Yes/No question.
QStringList seen(const ui::MessageRecorder& boxes);

// Runs the action on the next modal window that shows (polling the event loop
// for at most timeoutMs). Use it before the call that opens the window. A
// modal window that shows with no action waiting for it, or stays open after
// its action, fails the test and is closed.
void whenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Fails the running test at once with this message and ends the run (with
// every window it opened), instead of going on into a null control.
[[noreturn]] void failNow(const QString& message);
// A window as its class, object name and caption.
QString describe(const QWidget* window);

// The child widget with this object name; fails the test at once when it is missing.
template <typename T>
T* child(const QObject* parent, const QString& name) {
    T* found = parent ? parent->findChild<T*>(name) : nullptr;
    if (!found) {
        failNow("no control " + name + " in " +
                (parent ? describe(qobject_cast<const QWidget*>(parent))
                        : QStringLiteral("a window that is gone")));
    }
    return found;
}

// Each column of a list as "caption width align": the width in twips to the
// nearest 100 (0 when hidden), the alignment L, C or R of its first row (of
// the header when it has no rows).
QStringList columns(const QTreeWidget* list);
// What a window shows besides its boxes and lists, sorted by control name:
// "name: text" of each visible label, button and frame, a tooltip in "[...]".
QStringList shown(const QWidget* window);
// The items of the menu that the next step will pop up, as shown (without
// "&" and shortcut), read once it is open, then closed with Esc; "no menu"
// when none popped up within 100 ms.
void readNextMenu(QStringList& items);

// Keys as a user sends them: to the widget that has the focus (the active
// window when none has), with no event processing in between. A road of keys, steps parted by "|":
// Tab, Shift+Tab, Enter, Esc, Space, Up, Down, Home, End, Backspace, Del (with the character 0x7f,
// as X11 sends it), Ctrl+<letter>, Alt+<letter>; any other step is typed as text.
void keys(const QString& road);
// The object name of the focused widget; "<none>" when none has the focus.
QString focusName();
// Presses the key that many times and returns the names of the widgets that
// held the focus, the first one before any press.
QStringList tabRoad(int presses, Qt::Key key = Qt::Key_Tab);
// A double-click with the mouse on a row of the list, or below its rows when
// row is -1; the first click selects what it hits.
void doubleClick(QTreeWidget* list, int row);
// The texts of one column of a list, top to bottom.
QStringList column(const QTreeView* list, int col);
// One column of rows read from the database, as texts.
QStringList column(const std::vector<db::Row>& rows, int col);
// Each row of a list as its texts joined by "|", hidden columns included.
QStringList rows(const QTreeView* list);
// Brings the window to the front and waits until it is active, as a window
// manager would (keys reach its shortcuts only then).
bool activate(QWidget* window);

// Lets queued events run (deferred deletes included).
void settle();

}  // namespace testing

// A Qt Test main that runs headless with the program's Indonesian locale.
#define DAPRA_TEST_MAIN(TestClass)              \
    int main(int argc, char** argv) {           \
        testing::prepareApplication();          \
        QApplication app(argc, argv);           \
        testing::afterApplication();            \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }

namespace testing {
void prepareApplication();
void afterApplication();
}  // namespace testing
