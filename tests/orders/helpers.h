#pragma once

// What the tests of the order and cashier windows share: a main window with
// its working area, recorded message boxes and printouts, a fixed clock, and
// keys sent to the focused widget.
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"
#include "toolkit/printer.h"
#include "toolkit/seams.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QTreeWidget>

#include <memory>

namespace ordtest {

using testing::child;
using testing::whenModal;

inline const QDateTime kNow(QDate(2024, 3, 7), QTime(10, 11, 12));

inline QWidget* modalFocus() {
    return QApplication::focusWidget();
}

inline QString modalFocusName() {
    return modalFocus() ? modalFocus()->objectName() : QStringLiteral("<none>");
}

inline QStringList column(QTreeWidget* list, int col) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        texts.append(list->topLevelItem(i)->text(col));
    }
    return texts;
}

// Picks a row of the next modal list by keys: into the list when "&Keluar"
// has the focus, Down to the row, Enter. Records the list's name, caption,
// first focus and first column.
inline void pickRow(int row, QStringList* seen = nullptr) {
    whenModal([row, seen](QWidget* w) {
        auto* list = child<QTreeWidget>(w, "ListView1");
        if (seen) {
            *seen << w->objectName() << w->windowTitle() << modalFocusName() << column(list, 0);
        }
        if (modalFocus() != list) {
            QTest::keyClick(modalFocus(), Qt::Key_Tab);
        }
        for (int i = 0; i < row; ++i) {
            QTest::keyClick(modalFocus(), Qt::Key_Down);
        }
        QTest::keyClick(modalFocus(), Qt::Key_Return);
    });
}

inline void escapeModal(QStringList* seen = nullptr) {
    whenModal([seen](QWidget* w) {
        if (seen) {
            *seen << w->objectName() << column(child<QTreeWidget>(w, "ListView1"), 0);
        }
        QTest::keyClick(modalFocus(), Qt::Key_Escape);
    });
}

// One test's surroundings: made in init(), dropped in cleanup().
class WindowFixture {
public:
    WindowFixture() {
        install = std::make_unique<testing::TestInstall>();
        boxes = std::make_unique<ui::MessageRecorder>();
        printed = std::make_unique<ui::PrintRecorder>();
        clock = std::make_unique<ui::FixedClock>(kNow);
        main = std::make_unique<QMainWindow>();
        auto* area = new QMdiArea(main.get());
        main->setCentralWidget(area);
        main->resize(1100, 750);
        ui::setMdiArea(area);
        main->show();
        if (!QTest::qWaitForWindowActive(main.get())) {
            qWarning("main window not active");
        }
    }
    ~WindowFixture() {
        main.reset();
        ui::setMdiArea(nullptr);
        testing::settle();
    }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // The focus in the main window, once it is active again after a modal window.
    QWidget* focused() {
        if (!main->isActiveWindow()) {
            main->activateWindow();
            if (!QTest::qWaitForWindowActive(main.get())) {
                qWarning("main window not active");
            }
        }
        return QApplication::focusWidget();
    }
    QString focusName() {
        QWidget* w = focused();
        return w ? w->objectName() : QStringLiteral("<none>");
    }
    // Sends a key to the focused widget once the main window is active again.
    void key(int k, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(focused(), Qt::Key(k), mods);
    }
    void type(const QString& text) { QTest::keyClicks(focused(), text); }

    // The last box was this refusal ("Perhatian!", exclamation) and the focus
    // went to the named widget; the boxes are cleared.
    void expectRefusal(const char* message, const char* focus) {
        QTRY_VERIFY(!boxes->empty());
        QCOMPARE(boxes->last().text, QString::fromLatin1(message));
        QCOMPARE(boxes->last().title, QStringLiteral("Perhatian!"));
        QCOMPARE(int(boxes->last().icon), int(ui::Icon::Exclamation));
        QCOMPARE(focusName(), QString::fromLatin1(focus));
        boxes->clear();
    }

    std::unique_ptr<testing::TestInstall> install;
    std::unique_ptr<ui::MessageRecorder> boxes;
    std::unique_ptr<ui::PrintRecorder> printed;
    std::unique_ptr<ui::FixedClock> clock;
    std::unique_ptr<QMainWindow> main;
};

}  // namespace ordtest
