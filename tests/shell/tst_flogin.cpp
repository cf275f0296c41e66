#include "shell/futama.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "support/testsupport.h"
#include "toolkit/msgbox.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class SignInTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    std::unique_ptr<shell::fUtama> main;
    qint64 budi = 0;

    qint64 addUser(const QString& name, const QString& pass) {
        install->exec(QStringLiteral("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)"),
                      {name, password::hash(pass)});
        const qint64 id =
            install->scalar(QStringLiteral("SELECT max(id_user) FROM pengguna")).toLongLong();
        install->exec(QStringLiteral("INSERT INTO akses VALUES (?, 'Data Meja')"), {id});
        return id;
    }

    // Opens the sign-in dialog through the Login action and runs the steps
    // in it; the steps must leave the dialog closed.
    void inSignIn(const std::function<void(QWidget*)>& steps) {
        testing::whenModal(steps);
        main->menuItem(QStringLiteral("mLogin"))->trigger();
    }

    static QLineEdit* box(QWidget* dialog, const char* name) {
        return testing::child<QLineEdit>(dialog, QString::fromLatin1(name));
    }
    static void press(QWidget* dialog, const char* name) {
        testing::child<QPushButton>(dialog, QString::fromLatin1(name))->click();
    }

private Q_SLOTS:
    void init() {
        install = std::make_unique<testing::TestInstall>();
        budi = addUser(QStringLiteral("Budi"), QStringLiteral("Rahasia"));
        main = std::make_unique<shell::fUtama>();
        main->show();
    }

    void cleanup() {
        main.reset();
        install.reset();
        testing::settle();
    }

    // By keyboard, with the name in other letter case: the stored name shows.
    void nameInOtherCaseSignsInAsStored() {
        ui::MessageRecorder boxes;
        bool onTop = false;
        bool enterMoved = false;
        inSignIn([&](QWidget* d) {
            onTop = d->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            testing::typeText(box(d, "Text1"), QStringLiteral("bUDI"));
            testing::pressEnter(box(d, "Text1"));
            enterMoved = d->focusWidget() == box(d, "Text2");
            testing::typeText(box(d, "Text2"), QStringLiteral("Rahasia"));
            testing::pressEnter(box(d, "Text2"));
        });
        QVERIFY(onTop);
        QVERIFY(enterMoved);
        QVERIFY(boxes.empty());
        QCOMPARE(moddapra::UserId, budi);
        QCOMPARE(moddapra::UserName, QStringLiteral("Budi"));
        QCOMPARE(main->windowTitle(), QStringLiteral("Mirawe Dapra [ User: Budi ] "));
        QCOMPARE(main->menuItem(QStringLiteral("mLogin"))->text(), QStringLiteral("Logout"));
        QCOMPARE(main->toolbarButton(QStringLiteral("Login"))->text(), QStringLiteral("Logout"));
        QCOMPARE(main->toolbarButton(QStringLiteral("Login"))->toolTip(), QStringLiteral("Logout"));
    }

    // The password's letter case counts; after "Batal" nobody is signed in.
    void wrongPasswordThenCancel() {
        ui::MessageRecorder boxes;
        bool stayed = false;
        inSignIn([&](QWidget* d) {
            box(d, "Text1")->setText(QStringLiteral("Budi"));
            box(d, "Text2")->setText(QStringLiteral("rahasia"));
            press(d, "Command2");
            stayed = d->isVisible() && d->focusWidget() == box(d, "Text2") &&
                     box(d, "Text2")->text() == QStringLiteral("rahasia");
            press(d, "Command1");
        });
        QVERIFY(stayed);
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Password salah!")}));
        QCOMPARE(boxes.last().title, QStringLiteral("Information"));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        QCOMPARE(moddapra::UserId, 0);
        QCOMPARE(main->menuItem(QStringLiteral("mLogin"))->text(), QStringLiteral("&Login"));
        main->menuItem(QStringLiteral("mDataMeja"))->trigger();
        QCOMPARE(boxes.last().text, QStringLiteral("Anda Harus Login Terlebih Dahulu!"));
    }

    void unknownAndEmptyNames() {
        ui::MessageRecorder boxes;
        bool focusBack = false;
        inSignIn([&](QWidget* d) {
            box(d, "Text1")->setText(QStringLiteral("Siapa"));
            box(d, "Text2")->setText(QStringLiteral("Rahasia"));
            box(d, "Text2")->setFocus();
            press(d, "Command2");
            focusBack = d->focusWidget() == box(d, "Text1") &&
                        box(d, "Text1")->text() == QStringLiteral("Siapa");
            box(d, "Text1")->clear();
            press(d, "Command2");
            press(d, "Command1");
        });
        QVERIFY(focusBack);
        QCOMPARE(boxes.texts(), QStringList({QStringLiteral("User Siapa tidak terdaftar!"),
                                             QStringLiteral("User  tidak terdaftar!")}));
        QCOMPARE(boxes.last().title, QStringLiteral("Information"));
        QCOMPARE(moddapra::UserId, 0);
    }

    // A quote is a character like any other.
    void quoteInName() {
        const qint64 id = addUser(QStringLiteral("O'Neil"), QStringLiteral("kunci'"));
        ui::MessageRecorder boxes;
        inSignIn([](QWidget* d) {
            box(d, "Text1")->setText(QStringLiteral("o'neil"));
            box(d, "Text2")->setText(QStringLiteral("kunci'"));
            press(d, "Command2");
        });
        QVERIFY(boxes.empty());
        QCOMPARE(moddapra::UserId, id);
        QCOMPARE(moddapra::UserName, QStringLiteral("O'Neil"));
    }

    void enterSelectsTheOldPassword() {
        QString selected;
        inSignIn([&](QWidget* d) {
            box(d, "Text2")->setText(QStringLiteral("lama"));
            testing::typeText(box(d, "Text1"), QStringLiteral("Budi"));
            testing::pressEnter(box(d, "Text1"));
            selected = box(d, "Text2")->selectedText();
            press(d, "Command1");
        });
        QCOMPARE(selected, QStringLiteral("lama"));
    }

    // A rejected statement reads as strange characters, other errors with
    // their number; a connection failure only shows its own message. Nobody
    // is signed in and the dialog stays open.
    void databaseErrors() {
        ui::MessageRecorder boxes;
        bool stayed = false;
        inSignIn([&](QWidget* d) {
            box(d, "Text1")->setText(QStringLiteral("Budi"));
            box(d, "Text2")->setText(QStringLiteral("Rahasia"));
            install->exec(QStringLiteral("ALTER TABLE pengguna RENAME TO lama"));
            press(d, "Command2");
            install->exec(
                QStringLiteral("CREATE VIEW pengguna AS SELECT 1 AS id_user, "
                               "'Budi' AS nm_user, zeroblob(2000000000) AS Password"));
            press(d, "Command2");
            QFile::remove(install->dbTxt());
            press(d, "Command2");
            stayed = d->isVisible();
            press(d, "Command1");
        });
        QVERIFY(stayed);
        QCOMPARE(
            boxes.texts(),
            QStringList({QStringLiteral("Jangan memasukkan karakter aneh!"),
                         QStringLiteral("Nomor Error : 18\rPesan Error : string or blob too big"),
                         QStringLiteral("File db.txt tidak ditemukan!")}));
        QCOMPARE(boxes.boxes().first().title, QStringLiteral("Mirawe Dapra"));
        QCOMPARE(boxes.boxes().first().icon, ui::Icon::None);
        QCOMPARE(moddapra::UserId, 0);
    }
};

DAPRA_TEST_MAIN(SignInTest)
#include "tst_flogin.moc"
