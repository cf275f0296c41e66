#include "shell/futama.h"
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
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

using shell::FormId;

namespace {

const QString kNotSignedIn = QStringLiteral("Anda Harus Login Terlebih Dahulu!");
const QString kNotAllowed = QStringLiteral("Anda tidak diijinkan untuk mengakses menu ini!");

// The menu items that request a window, in the order of the rights.
const QStringList kRequestItems = {"mDataMeja",
                                   "mDataMenu",
                                   "mDataPelayan",
                                   "mKategori",
                                   "mSatuan",
                                   "mOrder",
                                   "mPembayaran",
                                   "mReportPenjualanPeriode",
                                   "mReportPenjualanHarian",
                                   "mReportMenuFavorit",
                                   "mRptDaftarMenu",
                                   "mUser",
                                   "mPassword",
                                   "mSettingDB",
                                   "mBackupDB",
                                   "mResetDB",
                                   "mRestoreDB"};

// Key presses reach a window's shortcuts once it is the active window.
bool waitActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 3000);
}

// A working window standing in for one not built yet; counts its creations.
struct StandIn {
    StandIn(FormId id, int* made)
        : standIn(id, [made] {
              ++*made;
              return new ui::Form;
          }) {}
    shell::FormStandIn standIn;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    std::unique_ptr<shell::fUtama> main;

    qint64 addUser(const QString& name, const QString& pass, const QStringList& rights) {
        install->exec(QStringLiteral("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)"),
                      {name, password::hash(pass)});
        const qint64 id =
            install->scalar(QStringLiteral("SELECT max(id_user) FROM pengguna")).toLongLong();
        for (const QString& right : rights) {
            install->exec(QStringLiteral("INSERT INTO akses VALUES (?, ?)"), {id, right});
        }
        return id;
    }

    QAction* item(const QString& name) { return main->menuItem(name); }

    // Signs the user in as the sign-in would, without the dialog.
    void signInDirectly(qint64 id, const QString& name) {
        moddapra::UserId = id;
        moddapra::UserName = name;
        item(QStringLiteral("mLogin"))->setText(QStringLiteral("Logout"));
    }

    QWidget* userManagement() { return shell::openForm(FormId::fUser); }

private Q_SLOTS:
    void init() {
        install = std::make_unique<testing::TestInstall>();
        main = std::make_unique<shell::fUtama>();
    }

    void cleanup() {
        delete userManagement();
        main.reset();
        install.reset();
        testing::settle();
    }

    // Empty tables, or users without any right: user management opens on
    // its own, modeless, and no sign-in follows.
    void startWithoutRightsOpensUserManagementOnly_data() {
        QTest::addColumn<bool>("withUser");
        QTest::newRow("no user, no right") << false;
        QTest::newRow("users, no right") << true;
    }
    void startWithoutRightsOpensUserManagementOnly() {
        QFETCH(bool, withUser);
        if (withUser) {
            addUser(QStringLiteral("Budi"), QStringLiteral("x"), {});
        }
        ui::MessageRecorder boxes;
        main->start();
        QVERIFY(userManagement() && userManagement()->isVisible());
        QCOMPARE(userManagement()->windowModality(), Qt::NonModal);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(main->isVisible());
        QVERIFY(main->windowState() & Qt::WindowMaximized);
        QVERIFY(boxes.empty());
        QCOMPARE(moddapra::UserId, 0);
    }

    // Rights but no user: user management opens, then the sign-in dialog on
    // top of it, before the main window shows.
    void startWithRightsButNoUserAlsoAsksForSignIn() {
        install->exec(QStringLiteral("INSERT INTO akses VALUES (7, 'Data Meja')"));
        bool sawSignIn = false;
        testing::whenModal([&](QWidget* modal) {
            sawSignIn = modal->windowTitle() == QStringLiteral("Login Pengguna") &&
                        userManagement() && userManagement()->isVisible() && !main->isVisible();
            testing::child<QPushButton>(modal, QStringLiteral("Command1"))->click();
        });
        main->start();
        QVERIFY(sawSignIn);
        QVERIFY(main->isVisible());
        QCOMPARE(item(QStringLiteral("mLogin"))->text(), QStringLiteral("&Login"));
    }

    void startWithUsersAndRightsSignsInBeforeShowing() {
        addUser(QStringLiteral("Budi"), QStringLiteral("Rahasia"), {QStringLiteral("Kasir")});
        bool hiddenWhileSigningIn = false;
        testing::whenModal([&](QWidget* modal) {
            hiddenWhileSigningIn = !main->isVisible();
            testing::typeText(testing::child<QLineEdit>(modal, QStringLiteral("Text1")),
                              QStringLiteral("Budi"));
            testing::typeText(testing::child<QLineEdit>(modal, QStringLiteral("Text2")),
                              QStringLiteral("Rahasia"));
            testing::child<QPushButton>(modal, QStringLiteral("Command2"))->click();
        });
        main->start();
        QVERIFY(hiddenWhileSigningIn);
        QVERIFY(!userManagement());
        QCOMPARE(main->windowTitle(), QStringLiteral("Mirawe Dapra [ User: Budi ] "));
        QVERIFY(main->windowState() & Qt::WindowMaximized);
    }

    void toolbarAndHelp() {
        QToolBar* bar = testing::child<QToolBar>(main.get(), QStringLiteral("Toolbar1"));
        QStringList shown;
        for (QAction* a : bar->actions()) {
            shown << (a->isSeparator() ? QStringLiteral("|")
                                       : bar->widgetForAction(a)->objectName());
        }
        QCOMPARE(shown.join(' '), QStringLiteral("Login | Meja Menu Pelayan | Kategori Satuan | "
                                                 "Order Kasir | Pengguna | Keluar |"));
        QCOMPARE(main->toolbarButton(QStringLiteral("Satuan"))->toolTip(), QString());
        QCOMPARE(main->toolbarButton(QStringLiteral("Kasir"))->toolTip(), QStringLiteral("Kasir"));
        QCOMPARE(item(QStringLiteral("mLogin"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+L")));
        QCOMPARE(item(QStringLiteral("mPembayaran"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+B")));

        ui::MessageRecorder boxes;
        item(QStringLiteral("mPanduan"))->trigger();
        main->Toolbar1_ButtonClick(QStringLiteral("login"));  // keys compare exactly
        QVERIFY(boxes.empty());
        QVERIFY(!userManagement());
    }

    // Every menu item and toolbar button that names a right goes through the
    // check; refused while signed out, FormMode is left empty.
    void everyRequestIsRefusedWhileSignedOut() {
        ui::MessageRecorder boxes;
        for (const QString& name : kRequestItems) {
            item(name)->trigger();
            QCOMPARE(boxes.last().text, kNotSignedIn);
            QCOMPARE(boxes.last().title, QStringLiteral("Informasi"));
            QCOMPARE(boxes.last().icon, ui::Icon::Information);
            QVERIFY(moddapra::FormMode.isEmpty());
        }
        QCOMPARE(boxes.boxes().size(), kRequestItems.size());
        QCOMPARE(moddapra::MenuAkses, QStringLiteral("Restore Database"));
        for (const QString key :
             {"Meja", "Menu", "Pelayan", "Kategori", "Satuan", "Order", "Kasir", "Pengguna"}) {
            main->toolbarButton(key)->click();
        }
        QCOMPARE(boxes.boxes().size(), kRequestItems.size() + 8);
        QCOMPARE(moddapra::MenuAkses, QStringLiteral("User Management"));
    }

    // Signed out, then a granted child request: it opens as a child window.
    void refusedRequestsLeaveNoDisplayMode() {
        int madeMenu = 0;
        int madeOrder = 0;
        StandIn menu(FormId::fMenu, &madeMenu);
        StandIn order(FormId::fOrder, &madeOrder);
        const qint64 id = addUser(QStringLiteral("Sari"), QStringLiteral("x"),
                                  {QStringLiteral("Data Menu"), QStringLiteral("Pesanan/Order")});
        ui::MessageRecorder boxes;
        main->toolbarButton(QStringLiteral("Pengguna"))->click();  // a modal window, refused
        signInDirectly(id, QStringLiteral("Sari"));
        item(QStringLiteral("mDataMenu"))->trigger();
        QCOMPARE(madeMenu, 1);
        QVERIFY(qobject_cast<QMdiSubWindow*>(shell::openForm(FormId::fMenu)->parentWidget()));

        item(QStringLiteral("mDataMeja"))->trigger();  // modal, and not held
        QCOMPARE(boxes.texts(), QStringList({kNotSignedIn, kNotAllowed}));
        QVERIFY(moddapra::FormMode.isEmpty());
        main->toolbarButton(QStringLiteral("Order"))->click();
        QCOMPARE(madeOrder, 1);
        QVERIFY(qobject_cast<QMdiSubWindow*>(shell::openForm(FormId::fOrder)->parentWidget()));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void openWindowComesToTheFront() {
        int madeMenu = 0;
        int madeWaiters = 0;
        StandIn menu(FormId::fMenu, &madeMenu);
        StandIn waiters(FormId::fPelayan, &madeWaiters);
        signInDirectly(addUser(QStringLiteral("Sari"), QStringLiteral("x"),
                               {QStringLiteral("Data Menu"), QStringLiteral("Data Pelayan")}),
                       QStringLiteral("Sari"));
        auto* area = main->findChild<QMdiArea*>();
        item(QStringLiteral("mDataMenu"))->trigger();
        item(QStringLiteral("mDataPelayan"))->trigger();
        QCOMPARE(area->activeSubWindow()->widget(), shell::openForm(FormId::fPelayan));
        item(QStringLiteral("mDataMenu"))->trigger();
        QCOMPARE(madeMenu, 1);
        QCOMPARE(area->subWindowList().size(), 2);
        QCOMPARE(area->activeSubWindow()->widget(), shell::openForm(FormId::fMenu));
    }

    // The check reads the current rows at every request.
    void rightsTakenAwayCountAtTheNextRequest() {
        int made = 0;
        StandIn menu(FormId::fMenu, &made);
        const qint64 id =
            addUser(QStringLiteral("Sari"), QStringLiteral("x"), {QStringLiteral("Data Menu")});
        signInDirectly(id, QStringLiteral("Sari"));
        item(QStringLiteral("mDataMenu"))->trigger();
        shell::openForm(FormId::fMenu)->unload();
        testing::settle();
        install->exec(QStringLiteral("DELETE FROM akses"));
        ui::MessageRecorder boxes;
        item(QStringLiteral("mDataMenu"))->trigger();
        QCOMPARE(boxes.texts(), QStringList({kNotAllowed}));
        QCOMPARE(made, 1);
    }

    // Granted requests for windows not built yet open nothing; user
    // management opens modally.
    void grantedRequests() {
        QStringList all;
        for (const shell::FormEntry& e : shell::formTable()) {
            all << e.right;
        }
        signInDirectly(addUser(QStringLiteral("Sari"), QStringLiteral("x"), all),
                       QStringLiteral("Sari"));
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        ui::MessageRecorder boxes;
        bool modalUsers = false;
        testing::whenModal([&](QWidget* modal) {
            modalUsers = modal == userManagement() && moddapra::FormMode == moddapra::kFormKecil;
            QVERIFY(waitActive(modal));
            QTest::keyClick(modal, Qt::Key_Escape);  // the guard lets it go: rights exist
        });
        item(QStringLiteral("mUser"))->trigger();
        QVERIFY(modalUsers);
        for (const QString& name : kRequestItems) {
            if (name != QStringLiteral("mUser")) {
                item(name)->trigger();
            }
        }
        QVERIFY(boxes.empty());
        QVERIFY(moddapra::FormMode.isEmpty());
        testing::settle();
        QVERIFY(!userManagement());
        QVERIFY(main->findChild<QMdiArea*>()->subWindowList().isEmpty());
    }

    void signOutAsksAndClosesNoWindow() {
        int made = 0;
        StandIn menu(FormId::fMenu, &made);
        addUser(QStringLiteral("Budi"), QStringLiteral("Rahasia"), {QStringLiteral("Data Menu")});
        testing::whenModal([](QWidget* modal) {
            testing::typeText(testing::child<QLineEdit>(modal, QStringLiteral("Text1")),
                              QStringLiteral("budi"));
            testing::typeText(testing::child<QLineEdit>(modal, QStringLiteral("Text2")),
                              QStringLiteral("Rahasia"));
            testing::pressEnter(testing::child<QLineEdit>(modal, QStringLiteral("Text2")));
        });
        main->toolbarButton(QStringLiteral("Login"))->click();
        QCOMPARE(main->toolbarButton(QStringLiteral("Login"))->text(), QStringLiteral("Logout"));
        item(QStringLiteral("mDataMenu"))->trigger();

        ui::MessageRecorder boxes;
        boxes.answer(ui::Answer::No);
        item(QStringLiteral("mLogin"))->trigger();
        QCOMPARE(boxes.last().text, QStringLiteral("Anda yakin ingin Logout?"));
        QCOMPARE(boxes.last().title, QStringLiteral("Konfirmasi"));
        QCOMPARE(item(QStringLiteral("mLogin"))->text(), QStringLiteral("Logout"));
        QVERIFY(moddapra::UserId != 0);

        boxes.answer(ui::Answer::Yes);
        item(QStringLiteral("mLogin"))->trigger();
        QCOMPARE(item(QStringLiteral("mLogin"))->text(), QStringLiteral("&Login"));
        QCOMPARE(main->toolbarButton(QStringLiteral("Login"))->text(), QStringLiteral("Login"));
        QCOMPARE(main->toolbarButton(QStringLiteral("Login"))->toolTip(), QStringLiteral("Login"));
        QCOMPARE(main->windowTitle(), QStringLiteral("Mirawe Dapra"));
        QCOMPARE(moddapra::UserId, 0);
        QVERIFY(moddapra::UserName.isEmpty());
        QVERIFY(shell::openForm(FormId::fMenu));
    }

    void closeGuard() {
        QSignalSpy ended(main.get(), &shell::fUtama::closedForGood);
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        ui::MessageRecorder boxes;
        signInDirectly(1, QStringLiteral("Budi"));
        main->toolbarButton(QStringLiteral("Keluar"))->click();
        QCOMPARE(boxes.last().text, QStringLiteral("Tolong Logout terlebih dahulu sebelum keluar"));
        QCOMPARE(boxes.last().buttons, ui::Buttons::Ok);
        QVERIFY(main->isVisible());

        item(QStringLiteral("mLogin"))->setText(QStringLiteral("&Login"));
        boxes.answer(ui::Answer::No);
        main->close();
        QCOMPARE(boxes.last().text, QStringLiteral("Anda yakin ingin keluar?"));
        QCOMPARE(boxes.last().title, QStringLiteral("Konfirmasi"));
        QVERIFY(main->isVisible());
        boxes.answer(ui::Answer::Yes);
        item(QStringLiteral("mKeluar"))->trigger();
        QVERIFY(!main->isVisible());
        QCOMPARE(ended.size(), 1);
    }
};

DAPRA_TEST_MAIN(MainWindowTest)
#include "tst_futama.moc"
