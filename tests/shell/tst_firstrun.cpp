#include "shell/futama.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QTreeWidget>

namespace {

bool waitActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 3000);
}

void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, mods);
}

void type(const QString& text) {
    testing::typeText(QApplication::focusWidget(), text);
    key(Qt::Key_Return);
}

// The rights in the database that the first start created.
qint64 storedRights() {
    return db::Connection(install::defaultDbPath())
        .scalar(QStringLiteral("SELECT count(*) FROM akses"))
        .toLongLong();
}

}  // namespace

// The first start on a machine, by keyboard alone: the first user is
// created, given every right, user management closed, and the user signs in.
class FirstRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRunByKeyboard() {
        testing::TestInstall install;
        qputenv("DAPRA_HOME", (install.folder() + QStringLiteral("/baru")).toUtf8());
        QVERIFY(install::setUpFirstRun());
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);  // "Simpan hak akses user …?"

        shell::fUtama main;
        main.start();
        QPointer<QWidget> users(shell::openForm(shell::FormId::fUser));
        QVERIFY(users && users->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(waitActive(users));

        testing::whenModal([](QWidget* addUser) {
            QVERIFY(waitActive(addUser));
            type(QStringLiteral("Admin"));
            type(QStringLiteral("Rahasia1"));
            type(QStringLiteral("Rahasia1"));
        });
        // A mnemonic presses its button a moment later, as a click would.
        key(Qt::Key_T, Qt::AltModifier);  // "&Tambah User"
        auto* list = testing::child<QTreeWidget>(users, QStringLiteral("ListView1"));
        QTRY_COMPARE(list->topLevelItemCount(), 1);
        users->activateWindow();  // as the window manager does for a dialog's owner
        QVERIFY(waitActive(users));
        list->setFocus();
        key(Qt::Key_Down);

        QStringList granted;
        testing::whenModal([&](QWidget* rights) {
            QVERIFY(waitActive(rights));
            key(Qt::Key_Tab);
            key(Qt::Key_Tab);
            key(Qt::Key_Space);  // "Centang Semua"
            for (int i = 0; i < 17; ++i) {
                auto* item = testing::child<QListWidget>(rights, QStringLiteral("List1"))->item(i);
                if (item->checkState() == Qt::Checked) {
                    granted << item->text();
                }
            }
            key(Qt::Key_S, Qt::AltModifier);  // "&Simpan"
        });
        // "&Hapus User" and "&Hak Akses" share their letter: Alt+H moves to
        // each in turn and Space presses the one that has the focus.
        key(Qt::Key_H, Qt::AltModifier);
        key(Qt::Key_H, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
        key(Qt::Key_Space);
        QTRY_COMPARE(storedRights(), 17);
        QCOMPARE(granted.size(), 17);

        users->activateWindow();
        QVERIFY(waitActive(users));
        key(Qt::Key_Escape);
        testing::settle();
        QVERIFY(!users);
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Simpan hak akses user Admin?")}));

        main.activateWindow();
        QVERIFY(waitActive(&main));
        testing::whenModal([](QWidget* signIn) {
            QVERIFY(waitActive(signIn));
            type(QStringLiteral("admin"));
            type(QStringLiteral("Rahasia1"));
        });
        key(Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(main.windowTitle(), QStringLiteral("Mirawe Dapra [ User: Admin ] "));
        QCOMPARE(main.menuItem(QStringLiteral("mLogin"))->text(), QStringLiteral("Logout"));

        main.activateWindow();
        QVERIFY(waitActive(&main));
        key(Qt::Key_M, Qt::ControlModifier);  // "Data Meja": granted, not built yet
        QCOMPARE(boxes.boxes().size(), 1);
        boxes.answer(ui::Answer::Yes);
        key(Qt::Key_L, Qt::ControlModifier);  // sign out
        key(Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(boxes.texts().mid(1),
                 QStringList({QStringLiteral("Anda yakin ingin Logout?"),
                              QStringLiteral("Anda Harus Login Terlebih Dahulu!")}));
    }
};

DAPRA_TEST_MAIN(FirstRunTest)
#include "tst_firstrun.moc"
