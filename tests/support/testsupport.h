#pragma once

#include "db/database.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

namespace testing {

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
    QString dbTxt() const;
    QString dbPath() const;
    // A connection of the test's own, to seed and inspect the database.
    std::unique_ptr<db::Connection> connect() const;
    // Runs one statement with bound values.
    void exec(const QString& sql, const QVariantList& params = {}) const;
    QVariant scalar(const QString& sql, const QVariantList& params = {}) const;
    qint64 count(const QString& table) const;

    // Writes db.txt with exactly these bytes.
    void writeDbTxt(const QByteArray& content) const;

private:
    QTemporaryDir dir_;
    QByteArray previousHome_;
};

// Clears the program-wide state (signed-in user, window request fields).
void resetProgramState();

// Runs the action on the next modal window that shows (polling the event loop
// for at most timeoutMs). Use it before the call that opens the window.
void whenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// The child widget with this object name; fails the test when it is missing.
template <typename T>
T* child(const QObject* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found) {
        qFatal("no child %s", qPrintable(name));
    }
    return found;
}

// Keys as a user sends them: to the widget that has the focus (the active
// window when none has), with no event processing in between.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void type(const QString& text);
// Delete as X11 sends it, carrying the character 0x7f.
void pressDelete();
// The object name of the focused widget; "<none>" when none has the focus.
QString focusName();
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
