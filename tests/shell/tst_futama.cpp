#include "shell/futama.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeWidget>

using shell::FormId;

namespace {

// Keys reach a window's shortcuts once it is active; offscreen there is no
// window manager, so the test gives the focus back as one would.
bool waitActive(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 3000);
}

void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, mods);
}

void typeLine(const QString& text) {
    testing::type(text);
    key(Qt::Key_Return);
}

QLineEdit* box(QWidget* w, const char* name) {
    return testing::child<QLineEdit>(w, name);
}
void press(QWidget* w, const char* name) {
    testing::child<QPushButton>(w, name)->click();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    std::unique_ptr<shell::fUtama> main;

    qint64 addUser(const QString& name, const QString& pass, const QStringList& rights) {
        install->exec("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)",
                      {name, password::hash(pass)});
        const qint64 id = install->scalar("SELECT max(id_user) FROM pengguna").toLongLong();
        for (const QString& right : rights) {
            install->exec("INSERT INTO akses VALUES (?, ?)", {id, right});
        }
        return id;
    }

    QAction* item(const char* name) { return main->menuItem(name); }

    // Runs the steps in the sign-in dialog that the Login action opens.
    void inSignIn(const std::function<void(QWidget*)>& steps) {
        testing::whenModal(steps);
        item("mLogin")->trigger();
    }

private Q_SLOTS:
    void init() {
        install = std::make_unique<testing::TestInstall>();
        main = std::make_unique<shell::fUtama>();
    }

    void cleanup() {
        delete shell::openForm(FormId::fUser);
        main.reset();
        install.reset();
        testing::settle();
    }

    // The Login action at start-up, before the main window shows: what the
    // sign-in dialog (if any) saw open behind it.
    void startUp_data() {
        QTest::addColumn<bool>("users");
        QTest::addColumn<bool>("rights");
        QTest::addColumn<QString>("signIn");
        QTest::newRow("empty") << false << false << "";
        QTest::newRow("users, no right") << true << false << "";
        QTest::newRow("rights, no user") << false << true << "Login Pengguna over users";
        QTest::newRow("users and rights") << true << true << "Login Pengguna";
    }
    void startUp() {
        QFETCH(bool, users);
        QFETCH(bool, rights);
        QFETCH(QString, signIn);
        if (users) {
            addUser("Budi", "x", {});
        }
        if (rights) {
            install->exec("INSERT INTO akses VALUES (7, 'Kasir')");
        }
        ui::MessageRecorder boxes;
        QString seen;
        if (!signIn.isEmpty()) {
            testing::whenModal([&](QWidget* d) {
                QWidget* um = shell::openForm(FormId::fUser);
                seen = d->windowTitle() + (main->isVisible() ? " and main" : "") +
                       (um && um->isVisible() ? " over users" : "");
                press(d, "Command1");
            });
        }
        main->start();
        QCOMPARE(seen, signIn);
        QCOMPARE(bool(shell::openForm(FormId::fUser)), !users || !rights);
        QVERIFY(main->isVisible() && (main->windowState() & Qt::WindowMaximized));
        QVERIFY(boxes.empty());
    }

    // Name in any letter case, password exactly; Enter moves on and selects.
    void signInAndOut() {
        const qint64 budi = addUser("Budi", "Rahasia", {"Kasir"});
        main->show();
        ui::MessageRecorder boxes;
        QStringList focusAfter;
        inSignIn([&](QWidget* d) {
            QVERIFY(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            for (const char* name : {"Siapa", "", "Budi"}) {
                box(d, "Text1")->setText(name);
                box(d, "Text2")->setText("rahasia");
                press(d, "Command2");
                focusAfter << d->focusWidget()->objectName();
            }
            box(d, "Text1")->clear();
            box(d, "Text1")->setFocus();
            testing::type("bUDI");
            testing::press(Qt::Key_Return);
            QCOMPARE(box(d, "Text2")->selectedText(), QStringLiteral("rahasia"));
            testing::type("Rahasia");
            testing::press(Qt::Key_Return);
        });
        QCOMPARE(boxes.texts(), QStringList({"User Siapa tidak terdaftar!",
                                             "User  tidak terdaftar!", "Password salah!"}));
        QCOMPARE(boxes.last().title, QStringLiteral("Information"));
        QCOMPARE(focusAfter, QStringList({"Text1", "Text1", "Text2"}));
        QCOMPARE(moddapra::UserId, budi);
        QCOMPARE(moddapra::UserName, QStringLiteral("Budi"));
        QToolButton* first = main->toolbarButton("Login");
        QCOMPARE(main->windowTitle() + item("mLogin")->text() + first->text() + first->toolTip(),
                 QStringLiteral("Mirawe Dapra [ User: Budi ] LogoutLogoutLogout"));

        boxes.clear();
        boxes.answer(ui::Answer::No);
        item("mLogin")->trigger();
        QCOMPARE(moddapra::UserId, budi);
        boxes.answer(ui::Answer::Yes);
        first->click();
        QCOMPARE(boxes.texts(), QStringList(2, "Anda yakin ingin Logout?"));
        QCOMPARE(main->windowTitle() + item("mLogin")->text() + first->text() + first->toolTip(),
                 QStringLiteral("Mirawe Dapra&LoginLoginLogin"));
        QCOMPARE(moddapra::UserId, 0);
        QVERIFY(moddapra::UserName.isEmpty());
    }

    // Every value is bound, so a statement error is the database's own: it
    // shows its number and description; a quote in a name is a character.
    void signInErrors() {
        addUser("O'Neil", "x", {"Kasir"});
        main->show();
        ui::MessageRecorder boxes;
        inSignIn([&](QWidget* d) {
            box(d, "Text1")->setText("o'neil");
            box(d, "Text2")->setText("x");
            auto c = install->connect();
            c->exec("ALTER TABLE pengguna RENAME TO lama");
            c->exec("CREATE TABLE pengguna (id_user INTEGER, nm_user TEXT)");
            press(d, "Command2");
            QCOMPARE(moddapra::UserId, 0);
            c->exec("DROP TABLE pengguna");
            c->exec("ALTER TABLE lama RENAME TO pengguna");
            press(d, "Command2");
        });
        QCOMPARE(boxes.texts(),
                 QStringList({"Nomor Error : 1\rPesan Error : no such column: Password"}));
        QCOMPARE(boxes.last().title, ui::kAppTitle);
        QCOMPARE(moddapra::UserName, QStringLiteral("O'Neil"));
    }

    // Signed out every request is refused and leaves FormMode empty; rights
    // are read anew at each request; an open window comes to the front.
    void accessCheck() {
        int made = 0;
        const auto standIn = [&made] {
            ++made;
            return new ui::Form;
        };
        shell::FormStandIn menu(FormId::fMenu, standIn);
        shell::FormStandIn order(FormId::fOrder, standIn);
        shell::FormStandIn table(FormId::fMeja, standIn);
        const qint64 id = addUser("Sari", "x", {"Data Menu", "Pesanan/Order"});
        ui::MessageRecorder boxes;
        item("mDataMeja")->trigger();
        QVERIFY(moddapra::FormMode.isEmpty());
        moddapra::UserId = id;
        main->toolbarButton("Meja")->click();  // modal, not held
        QVERIFY(moddapra::FormMode.isEmpty());
        main->toolbarButton("Menu")->click();
        item("mOrder")->trigger();
        auto* area = main->findChild<QMdiArea*>();
        QCOMPARE(area->subWindowList().size(), 2);
        item("mDataMenu")->trigger();
        QCOMPARE(area->activeSubWindow()->widget(), shell::openForm(FormId::fMenu));
        QCOMPARE(made, 2);

        install->exec("DELETE FROM akses WHERE Akses = 'Pesanan/Order'");
        shell::openForm(FormId::fOrder)->unload();
        item("mOrder")->trigger();
        item("mPanduan")->trigger();  // does nothing
        QCOMPARE(boxes.texts(), QStringList({"Anda Harus Login Terlebih Dahulu!",
                                             "Anda tidak diijinkan untuk mengakses menu ini!",
                                             "Anda tidak diijinkan untuk mengakses menu ini!"}));
        QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
        QCOMPARE(main->toolbarButton("Satuan")->toolTip(), QString());
    }

    void closeGuard() {
        QSignalSpy ended(main.get(), &shell::fUtama::closedForGood);
        main->show();
        ui::MessageRecorder boxes;
        item("mLogin")->setText("Logout");
        main->close();
        item("mLogin")->setText("&Login");
        main->toolbarButton("Keluar")->click();
        QVERIFY(main->isVisible());
        boxes.answer(ui::Answer::Yes);
        item("mKeluar")->trigger();
        QVERIFY(!main->isVisible());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(boxes.texts(),
                 QStringList({"Tolong Logout terlebih dahulu sebelum keluar",
                              "Anda yakin ingin keluar?", "Anda yakin ingin keluar?"}));
    }

    // The first start on a machine, by keyboard alone: the first user is
    // created and given every right, user management closes, he signs in.
    void firstRunByKeyboard() {
        qputenv("DAPRA_HOME", (install->folder() + "/baru").toUtf8());
        QVERIFY(install::setUpFirstRun());
        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::Yes);  // "Simpan hak akses user …?"
        main->start();
        QPointer<QWidget> users(shell::openForm(FormId::fUser));
        QVERIFY(users && waitActive(users));

        testing::whenModal([](QWidget* dialog) {
            QVERIFY(waitActive(dialog));
            typeLine("Admin");
            typeLine("Rahasia1");
            typeLine("Rahasia1");
        });
        key(Qt::Key_T, Qt::AltModifier);  // a mnemonic presses its button a moment later
        auto* list = testing::child<QTreeWidget>(users, "ListView1");
        QTRY_COMPARE(list->topLevelItemCount(), 1);
        QVERIFY(waitActive(users));
        list->setFocus();
        key(Qt::Key_Space);

        testing::whenModal([](QWidget* dialog) {
            QVERIFY(waitActive(dialog));
            key(Qt::Key_Tab);
            key(Qt::Key_Tab);
            key(Qt::Key_Space);               // "Centang Semua"
            key(Qt::Key_S, Qt::AltModifier);  // "&Simpan"
        });
        // "&Hapus User" and "&Hak Akses" share their letter: Alt+H moves to
        // each in turn, Space presses the one holding the focus.
        key(Qt::Key_H, Qt::AltModifier);
        key(Qt::Key_H, Qt::AltModifier);
        key(Qt::Key_Space);
        QTRY_COMPARE(db::Connection(install::defaultDbPath())
                         .scalar("SELECT count(DISTINCT Akses) FROM akses")
                         .toInt(),
                     17);
        QVERIFY(waitActive(users));
        key(Qt::Key_Escape);
        testing::settle();
        QVERIFY(!users);

        QVERIFY(waitActive(main.get()));
        testing::whenModal([](QWidget* dialog) {
            QVERIFY(waitActive(dialog));
            typeLine("admin");
            typeLine("Rahasia1");
        });
        key(Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(main->windowTitle(), QStringLiteral("Mirawe Dapra [ User: Admin ] "));
        QVERIFY(waitActive(main.get()));
        QString opened;
        testing::whenModal([&opened](QWidget* dialog) {
            opened = dialog->windowTitle();
            key(Qt::Key_Escape);
        });
        key(Qt::Key_M, Qt::ControlModifier);  // "Data Meja": granted
        QCOMPARE(opened, QStringLiteral("Data Meja"));
        QCOMPARE(boxes.texts(), QStringList({"Simpan hak akses user Admin?"}));
    }
};

DAPRA_TEST_MAIN(MainWindowTest)
#include "tst_futama.moc"
