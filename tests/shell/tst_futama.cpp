// The main window, the sign-in dialog and the access check, driven by keys.
#include "shell/futama.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "shell/windowrequests.h"
#include "support/testsupport.h"
#include "toolkit/form.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

using shell::FormId;
using testing::focusName;
using testing::keys;
using testing::seen;

namespace {

// Replaces the focused box's text by the line, then presses Enter.
void typeLine(const QString& text) {
    keys("Ctrl+A|Del|" + text + "|Enter");
}

// A window's name: its object name, else its class's.
QString windowName(const QWidget* w) {
    return w->objectName().isEmpty() ? QString(w->metaObject()->className()).section("::", -1)
                                     : w->objectName();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    std::unique_ptr<shell::fUtama> main;

    void showMain() {
        main->show();
        QVERIFY(testing::activate(main.get()));
    }

    // Ctrl+L on the main window, with the steps to take in the sign-in dialog.
    void inSignIn(const std::function<void(QWidget*)>& steps) {
        testing::whenModal(steps);
        keys("Ctrl+L");
        QVERIFY(testing::activate(main.get()));
    }

    void signIn(const QString& name, const QString& password) {
        inSignIn([=](QWidget*) {
            typeLine(name);
            typeLine(password);
        });
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

    // The menus in order, each as "caption: item shortcut, …" ("-" a
    // separator); then the toolbar's buttons with their tooltips ("|" a
    // separator), each clicked: a button runs its menu item, access check
    // included.
    void menusAndToolbar() {
        QStringList shown;
        for (QAction* menu : main->menuBar()->actions()) {
            QStringList items;
            for (QAction* item : menu->menu()->actions()) {
                items << (item->isSeparator() ? "-"
                                              : item->text() + ' ' + item->shortcut().toString())
                             .trimmed();
            }
            shown << menu->text() + ": " + items.join(", ");
        }
        QCOMPARE(shown.join('\n'),
                 "&Sistem: &Login Ctrl+L, -, &Keluar Ctrl+K\n&Master Data: Data Meja Ctrl+M, Data "
                 "Menu Ctrl+N, Data Pelayan Ctrl+P, -, Data &Kategori, Data &Satuan\n&Transaksi: "
                 "Pesan/Order Ctrl+O, Pembayaran Ctrl+B\n&Laporan: Report Penjualan Per &Periode, "
                 "Report Penjualan &Harian, -, Report &Menu Favorit, Report &Daftar Menu\n&Control "
                 "Panel: User Management, Ubah Password, -, Setting Database, -, Backup Database, "
                 "Reset Database, Restore Database\n&Bantuan: Panduan Program");
        install->addUser("Budi", {"User Management"});
        showMain();
        shown.clear();
        for (QAction* action : main->findChild<QToolBar*>("Toolbar1")->actions()) {
            auto* button =
                qobject_cast<QToolButton*>(main->findChild<QToolBar*>()->widgetForAction(action));
            shown << (button ? button->text() + ':' + button->toolTip() : QString('|'));
        }
        QCOMPARE(shown,
                 QStringList({"Login:Login", "|", "Meja:Meja", "Menu:Menu", "Pelayan:Pelayan", "|",
                              "Kategori:Kategori", "Satuan:", "|", "Order:Order", "Kasir:Kasir",
                              "|", "Pengguna:Pengguna", "|", "Keluar:Keluar", "|"}));

        QStringList ran;
        for (QAction* item : main->findChildren<QAction*>()) {
            connect(item, &QAction::triggered, [&ran, item] { ran << item->objectName(); });
        }
        ui::MessageRecorder boxes;
        QString signIn;
        testing::whenModal([&](QWidget* d) {
            signIn = d->windowTitle() + '/' + focusName();
            keys("Esc");
        });
        for (const char* key : {"Login", "Meja", "Menu", "Pelayan", "Kategori", "Satuan", "Order",
                                "Kasir", "Pengguna", "Keluar"}) {
            QTest::mouseClick(main->toolbarButton(key), Qt::LeftButton);
            QVERIFY(testing::activate(main.get()));
        }
        QCOMPARE(ran, QStringList({"mLogin", "mDataMeja", "mDataMenu", "mDataPelayan", "mKategori",
                                   "mSatuan", "mOrder", "mPembayaran", "mUser", "mKeluar"}));
        QCOMPARE(signIn, QStringLiteral("Login Pengguna/Text1"));
        QCOMPARE(moddapra::UserId, 0);
        QStringList expected = QStringList(8, "Informasi (i): Anda Harus Login Terlebih Dahulu!")
                               << "Konfirmasi (-?): Anda yakin ingin keluar?";
        QCOMPARE(seen(boxes), expected);
        QVERIFY(main->isVisible());
    }

    // The rights in the order the rights window lists them, each with the
    // menu item that requests its window: for a user holding that right
    // alone, the window opens modally or inside the main window.
    void rightsAndWindows_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("opened");
        const auto row = [](const char* right, const char* opened, const char* item = nullptr) {
            QTest::newRow(right) << QString(item ? item : right) << opened;
        };
        row("Data Meja", "modal fMeja");
        row("Data Menu", "child fMenu");
        row("Data Pelayan", "child fPelayan");
        row("Data Kategori", "modal fKategori");
        row("Data Satuan", "modal fSatuan");
        row("Pesanan/Order", "child fOrder", "Pesan/Order");
        row("Kasir", "child fKasir", "Pembayaran");
        row("Report Penjualan Per Periode", "child fReportPenjualanPeriode");
        row("Report Penjualan Harian", "child fReportPenjualanHarian");
        row("Report Menu Favorit", "child fReportMenuFavorit");
        row("Report Daftar Menu", "child fReportDaftarMenu");
        row("User Management", "modal fUser");
        row("Ubah Password", "modal fUbahPassword");
        row("Setting Database", "modal fClient_Server");
        row("Backup Database", "modal fBackupDB");
        row("Reset Database", "modal fResetDB");
        row("Restore Database", "modal fRestoreDB");
    }
    void rightsAndWindows() {
        QFETCH(QString, item);
        QFETCH(QString, opened);
        moddapra::UserId = install->addUser("Ani", {QTest::currentDataTag()});
        showMain();
        ui::MessageRecorder boxes;
        QString shown;
        if (opened.startsWith("modal")) {
            testing::whenModal(
                [&](QWidget* d) {
                    shown = "modal " + windowName(d);
                    d->close();
                },
                50);
        }
        for (QAction* action : main->menuBar()->findChildren<QAction*>()) {
            if (QString(action->text()).remove('&') == item) {
                action->trigger();
            }
        }
        QTest::qWait(100);
        if (QMdiSubWindow* sub = main->findChild<QMdiArea*>()->activeSubWindow()) {
            shown = "child " + windowName(sub->widget());
        }
        QCOMPARE(shown, opened);
        QCOMPARE(seen(boxes), QStringList());
    }

    // A request refused for a missing right leaves no trace: the working
    // window requested next opens inside the main window, not modally.
    void childAfterRefusal_data() {
        QTest::addColumn<QString>("refused");  // a toolbar key or a shortcut
        QTest::addColumn<QString>("granted");
        QTest::addColumn<QString>("opened");
        QTest::newRow("Data Meja, Data Menu") << "Ctrl+M"
                                              << "Ctrl+N"
                                              << "child fMenu";
        QTest::newRow("Data Meja, Pesan/Order") << "Ctrl+M"
                                                << "Ctrl+O"
                                                << "child fOrder";
        QTest::newRow("Pengguna, Data Menu") << "Pengguna"
                                             << "Ctrl+N"
                                             << "child fMenu";
    }
    void childAfterRefusal() {
        QFETCH(QString, refused);
        QFETCH(QString, granted);
        QFETCH(QString, opened);
        moddapra::UserId = install->addUser("Ani", {"Data Menu", "Pesanan/Order"});
        showMain();
        ui::MessageRecorder boxes;
        if (refused.startsWith("Ctrl")) {
            keys(refused);
        } else {
            QTest::mouseClick(main->toolbarButton(refused), Qt::LeftButton);
        }
        // A modal window would fail the test as unexpected and be closed.
        keys(granted);
        QString shown;
        if (QMdiSubWindow* sub = main->findChild<QMdiArea*>()->activeSubWindow()) {
            shown = "child " + windowName(sub->widget());
        }
        QCOMPARE(shown, opened);
        QCOMPARE(seen(boxes),
                 QStringList{"Informasi (i): Anda tidak diijinkan untuk mengakses menu ini!"});
    }

    // The Login action at start-up, before the main window shows: what the
    // sign-in dialog (if any) saw open behind it. Until a stored user holds
    // "User Management" nobody could sign in to give it: user management
    // opens instead.
    void startUp_data() {
        QTest::addColumn<QString>("held");  // "user" (id 1), "right", "manager", "orphan"
        QTest::addColumn<QString>("signIn");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("users, no right") << "user"
                                         << "";
        QTest::newRow("rights, no user") << "right"
                                         << "";
        QTest::newRow("users and rights") << "user right"
                                          << "";
        QTest::newRow("a deleted user's User Management") << "user right orphan"
                                                          << "";
        QTest::newRow("a user with User Management") << "user right manager"
                                                     << "Login Pengguna";
    }
    void startUp() {
        QFETCH(QString, held);
        QFETCH(QString, signIn);
        install->exec("INSERT INTO pengguna (nm_user) SELECT 'Budi' WHERE ?",
                      {held.contains("user")});
        install->exec("INSERT INTO akses SELECT 7, 'Kasir' WHERE ?", {held.contains("right")});
        install->exec("INSERT INTO akses SELECT 7, 'User Management' WHERE ?",
                      {held.contains("orphan")});
        install->exec("INSERT INTO akses SELECT 1, 'User Management' WHERE ?",
                      {held.contains("manager")});
        ui::MessageRecorder boxes;
        QString shown;
        if (!signIn.isEmpty()) {
            testing::whenModal([&](QWidget* d) {
                QWidget* um = shell::openForm(FormId::fUser);
                shown = d->windowTitle() + (main->isVisible() ? " and main" : "") +
                        (um && um->isVisible() ? " over users" : "");
                keys("Esc");
                QVERIFY(!d->isVisible());
            });
        }
        main->start();
        QCOMPARE(shown, signIn);
        QWidget* um = shell::openForm(FormId::fUser);
        QCOMPARE(bool(um), signIn.isEmpty());
        QCOMPARE(um ? um->focusWidget()->objectName() : QString(), um ? "Command3" : "");
        QVERIFY(main->isVisible() && (main->windowState() & Qt::WindowMaximized));
        QCOMPARE(main->windowTitle(), QStringLiteral("Mirawe Dapra"));
        QVERIFY(boxes.empty());
    }

    // A message at start-up, before the main window shows, stands centred on
    // the screen as every message box does.
    void startUpMessageCentred() {
        QVERIFY(QFile::remove(install->dbPath()));
        QString seenBox;
        testing::whenModal([&seenBox](QWidget* box) {
            const QPoint off =
                box->frameGeometry().center() - box->screen()->availableGeometry().center();
            seenBox = testing::child<QLabel>(box, "qt_msgbox_label")->text().section(' ', 0, 3) +
                      (off.manhattanLength() <= 1 ? " centred" : " off the centre");
            keys("Enter");
        });
        main->start();
        QCOMPARE(seenBox, QStringLiteral("File Database tidak ditemukan centred"));
    }

    // The sign-in adds the user to the main window's own caption, not to the
    // name of a maximized working window that the main window shows with it.
    void signedInTitleWithMaximizedWindow() {
        install->addUser("Admin", {"Data Pelayan", "User Management"}, password::hash("admin"));
        showMain();
        signIn("Admin", "admin");
        keys("Ctrl+P");
        QMdiArea* area = main->findChild<QMdiArea*>();
        QTRY_VERIFY(area->activeSubWindow() && area->activeSubWindow()->isMaximized());
        QStringList titles = {main->windowTitle()};
        testing::whenModal([](QWidget*) { keys("Alt+Y"); });
        QVERIFY(testing::activate(main.get()));
        keys("Ctrl+L");
        QVERIFY(testing::activate(main.get()));
        titles << main->windowTitle();
        signIn("Admin", "admin");
        titles << main->windowTitle();
        keys("Esc");
        QTRY_VERIFY(!area->activeSubWindow());
        titles << main->windowTitle();
        QCOMPARE(titles, QStringList({"Mirawe Dapra [ User: Admin ]  - [Data Pelayan]",
                                      "Mirawe Dapra - [Data Pelayan]",
                                      "Mirawe Dapra [ User: Admin ]  - [Data Pelayan]",
                                      "Mirawe Dapra [ User: Admin ] "}));
    }

    // With several working windows open the title follows the sign-out and
    // the next user's sign-in, and keeps that user while they close.
    void titleFollowsUserOverWindows_data() {
        QTest::addColumn<QString>("opened");  // shortcuts
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("two") << "Ctrl+N|Ctrl+O"
                             << QStringList({"Mirawe Dapra [ User: Admin ]  - [Data Order]",
                                             "Mirawe Dapra - [Data Order]",
                                             "Mirawe Dapra [ User: Budi ]  - [Data Order]",
                                             "Mirawe Dapra [ User: Budi ]  - [Data Menu]",
                                             "Mirawe Dapra [ User: Budi ] "});
        QTest::newRow("three") << "Ctrl+N|Ctrl+O|Ctrl+P"
                               << QStringList({"Mirawe Dapra [ User: Admin ]  - [Data Pelayan]",
                                               "Mirawe Dapra - [Data Pelayan]",
                                               "Mirawe Dapra [ User: Budi ]  - [Data Pelayan]",
                                               "Mirawe Dapra [ User: Budi ]  - [Data Menu]",
                                               "Mirawe Dapra [ User: Budi ]  - [Data Order]",
                                               "Mirawe Dapra [ User: Budi ] "});
    }
    void titleFollowsUserOverWindows() {
        QFETCH(QString, opened);
        QFETCH(QStringList, titles);
        const QStringList rights = {"Data Menu", "Pesanan/Order", "Data Pelayan",
                                    "User Management"};
        install->addUser("Admin", rights, password::hash("admin"));
        install->addUser("Budi", rights, password::hash("budi"));
        showMain();
        signIn("Admin", "admin");
        keys(opened);
        QMdiArea* area = main->findChild<QMdiArea*>();
        QTRY_COMPARE(area->subWindowList().size(), opened.count('|') + 1);
        QStringList shown = {main->windowTitle()};
        testing::whenModal([](QWidget*) { keys("Alt+Y"); });
        keys("Ctrl+L");
        QVERIFY(testing::activate(main.get()));
        shown << main->windowTitle();
        signIn("Budi", "budi");
        shown << main->windowTitle();
        while (!area->subWindowList().isEmpty()) {
            const qsizetype open = area->subWindowList().size();
            keys("Esc");
            QTRY_COMPARE(area->subWindowList().size(), open - 1);
            shown << main->windowTitle();
        }
        QCOMPARE(shown, titles);
    }

    // User management opened at the first start stands on its own beside the
    // main window: each of its messages belongs to it, and when the message
    // closes it is the active window again, not the main window.
    void firstStartMessagesStayWithUsers_data() {
        QTest::addColumn<QString>("road");  // from "&Keluar"
        QTest::addColumn<QString>("message");
        QTest::newRow("guard") << "Esc"
                               << "Anda belum memasukkan Nama Pengguna. Silahkan isi sebelum "
                                  "keluar.";
        QTest::newRow("no user chosen") << "Shift+Tab|Shift+Tab|Space"
                                        << "Pilih dulu usernya!";
        QTest::newRow("deletion") << "Tab|Space"
                                  << "Daftar User kosong!";
    }
    void firstStartMessagesStayWithUsers() {
        QFETCH(QString, road);
        main->start();
        QWidget* users = shell::openForm(FormId::fUser);
        QVERIFY(users && testing::activate(users));
        QStringList seen;
        testing::whenModal([&seen](QWidget* box) {
            seen << testing::describe(box->parentWidget())
                 << testing::child<QLabel>(box, "qt_msgbox_label")->text();
            keys("Enter");
        });
        keys(road);
        QTest::qWait(50);
        seen << testing::describe(QApplication::activeWindow());
        const QString asker = "controlpanel::fUser  \"Manajemen Pengguna\"";
        QFETCH(QString, message);
        QCOMPARE(seen, QStringList({asker, message, asker}));
    }

    // Name in any letter case (a quote a character), password exactly; Enter moves on (selecting
    // the password) and signs in; a statement error shows the database's own number and text.
    // The Login action then asks to sign out.
    void signInAndOut() {
        const qint64 budi =
            install->addUser("O'Neil", {"Kasir", "User Management"}, password::hash("Rahasia"));
        showMain();
        ui::MessageRecorder boxes;
        QStringList focusAfter;
        inSignIn([&](QWidget* d) {
            QVERIFY(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            for (const char* name : {"Siapa", "", "o'NEIL"}) {
                typeLine(name);
                focusAfter << testing::child<QLineEdit>(d, "Text2")->selectedText();
                typeLine("rahasia");
                focusAfter << focusName();
            }
            auto c = install->connect();
            c->exec("ALTER TABLE pengguna RENAME TO lama");
            c->exec("CREATE TABLE pengguna (id_user INTEGER, nm_user TEXT)");
            typeLine("Rahasia");
            QCOMPARE(moddapra::UserId, 0);
            c->exec("DROP TABLE pengguna");
            c->exec("ALTER TABLE lama RENAME TO pengguna");
            keys("Enter");
        });
        QCOMPARE(seen(boxes), QStringList({"Information (i): User Siapa tidak terdaftar!",
                                           "Information (i): User  tidak terdaftar!",
                                           "Information (i): Password salah!",
                                           ui::kAppTitle + " (-): Nomor Error : 1\rPesan Error : "
                                                           "no such column: Password"}));
        QCOMPARE(focusAfter, QStringList({"", "Text1", "rahasia", "Text1", "rahasia", "Text2"}));
        QCOMPARE(moddapra::UserId, budi);
        QCOMPARE(moddapra::UserName, QStringLiteral("O'Neil"));
        QToolButton* first = main->toolbarButton("Login");
        QAction* login = main->menuItem("mLogin");
        QCOMPARE(main->windowTitle() + login->text() + first->text() + first->toolTip(),
                 QStringLiteral("Mirawe Dapra [ User: O'Neil ] LogoutLogoutLogout"));

        // Signed in the program does not end. After a whole reset the Login
        // action opens user management; with the database gone it still asks
        // to sign out, and signed out the program ends.
        boxes.clear();
        for (auto answer : {ui::Answer::No, ui::Answer::Yes, ui::Answer::Yes}) {
            boxes.answer(answer);
        }
        QSignalSpy ended(main.get(), &shell::fUtama::closedForGood);
        keys("Ctrl+K");
        install->exec("DELETE FROM pengguna");
        install->exec("DELETE FROM akses");
        keys("Ctrl+L");
        QPointer<QWidget> users = shell::openForm(FormId::fUser);
        QVERIFY(users && users->isVisible());
        delete users;
        QVERIFY(testing::activate(main.get()));
        QVERIFY(QFile::rename(install->dbPath(), install->dbPath() + ".hilang"));
        keys("Ctrl+L");
        QCOMPARE(moddapra::UserId, budi);
        keys("Ctrl+L");
        QCOMPARE(main->windowTitle() + login->text() + first->text() + first->toolTip(),
                 QStringLiteral("Mirawe Dapra&LoginLoginLogin"));
        QCOMPARE(moddapra::UserId, 0);
        QVERIFY(moddapra::UserName.isEmpty());
        keys("Ctrl+K");
        QVERIFY(!main->isVisible());
        QCOMPARE(ended.size(), 1);
        const QString gone = "Informasi (i): File Database tidak ditemukan di " +
                             install->dbPath() + " \rHubungi Programmer! \rCek db.txt!";
        QCOMPARE(seen(boxes),
                 QStringList({ui::kAppTitle + " (-): Tolong Logout terlebih dahulu sebelum keluar",
                              gone, "Konfirmasi (-?): Anda yakin ingin Logout?", gone,
                              "Konfirmasi (-?): Anda yakin ingin Logout?",
                              "Konfirmasi (-?): Anda yakin ingin keluar?"}));
    }
};

DAPRA_TEST_MAIN(MainWindowTest)
#include "tst_futama.moc"
