#include "controlpanel/fubahpassword.h"
#include "helpers.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "toolkit/msgbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

class PasswordTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<controlpanel::fUbahPassword> dialog;

    qint64 addUser(const QString& name, const QString& typed) {
        install->exec("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)",
                      {name, password::hash(typed)});
        return install->scalar("SELECT max(id_user) FROM pengguna").toLongLong();
    }
    QString hashOf(qint64 id) {
        return install->scalar("SELECT Password FROM pengguna WHERE id_user = ?", {id}).toString();
    }
    void signIn(qint64 id, const QString& name) {
        moddapra::UserId = id;
        moddapra::UserName = name;
    }
    void open() {
        dialog = new controlpanel::fUbahPassword;
        QVERIFY(showActive(dialog));
    }
    // Types into the focused box, replacing what it held, then Enter.
    void enter(const QString& text) {
        key(Qt::Key_A, Qt::ControlModifier);
        type(text);
        key(Qt::Key_Return);
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete dialog;
        install.reset();
        testing::settle();
    }

    void looksAsDesigned() {
        open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Menu Ubah Password"));
        QStringList texts;
        for (const char* name : {"Label3", "Label1", "Label2"}) {
            texts << testing::child<QLabel>(dialog, name)->text();
        }
        for (const char* name : {"Command1", "Command2"}) {
            texts << testing::child<QPushButton>(dialog, name)->text();
        }
        QCOMPARE(texts, QStringList({"Masukkan Password Lama", "Masukkan Password Baru",
                                     "Konfirmasi Password Baru", "&Ganti", "&Keluar"}));
        QStringList order{focusName()};
        for (int i = 0; i < 4; ++i) {
            key(Qt::Key_Tab);
            order << focusName();
        }
        QCOMPARE(order, QStringList({"Text3", "Text1", "Text2", "Command1", "Command2"}));
        type("x");
        key(Qt::Key_Tab, Qt::ShiftModifier);
        key(Qt::Key_Tab, Qt::ShiftModifier);
        type("abc");
        QCOMPARE(testing::child<QLineEdit>(dialog, "Text2")->displayText(), QStringLiteral("***"));
        ui::MessageRecorder boxes;
        key(Qt::Key_Escape);
        testing::settle();
        QVERIFY(!dialog);
        QVERIFY(boxes.empty());
    }

    // The Enter chain old -> new -> confirmation runs every check in order;
    // each refusal keeps the typed text and moves the focus as designed.
    void refusalsThenChange() {
        const qint64 ani = addUser("Ani", "Lama");
        const qint64 budi = addUser("Budi", "Kunci");
        signIn(ani, "Ani");
        open();
        ui::MessageRecorder boxes;
        QStringList focus;
        const auto chain = [&](const QStringList& texts) {
            for (const QString& text : texts) {
                enter(text);
            }
            focus << focusName();
        };
        chain({"", "", ""});
        chain({"lama", "", ""});
        chain({"Baru", QString()});
        chain({"O'Baru"});  // the old password differs in letter case
        chain({"Lama", "O'Baru", "o'baru"});
        QCOMPARE(boxes.texts(), QStringList({"Anda belum mengisi password lama anda!",
                                             "Password harus diisi!", "Password harus diisi!",
                                             "Password lama salah!", "Password tidak sama!"}));
        QCOMPARE(focus, QStringList({"Text3", "Text1", "Text2", "Text3", "Text1"}));
        QCOMPARE(boxes.last().title, QStringLiteral("Information"));
        QCOMPARE(boxes.boxes()[3].title, QStringLiteral("Informasi"));
        QVERIFY(password::verify(hashOf(ani), "Lama"));

        boxes.clear();
        enter("O'Baru");
        enter("O'Baru");
        testing::settle();
        QCOMPARE(boxes.texts(), QStringList({"Password untuk user Ani telah diubah!"}));
        QCOMPARE(boxes.last().icon, ui::Icon::Information);
        QVERIFY(!dialog);
        QVERIFY(hashOf(ani).startsWith("$argon2id$"));
        QVERIFY(password::verify(hashOf(ani), "O'Baru"));
        QVERIFY(!password::verify(hashOf(ani), "Lama"));
        QVERIFY(password::verify(hashOf(budi), "Kunci"));
    }

    // The signed-in user deleted meanwhile, or deleted and added again under
    // another id: refused, nothing stored.
    void userGoneMeanwhile() {
        const qint64 ani = addUser("Ani", "Lama");
        signIn(ani, "ANI");
        install->exec("DELETE FROM pengguna");
        open();
        ui::MessageRecorder boxes;
        for (const char* text : {"Lama", "Baru", "Baru"}) {
            enter(text);
        }
        QCOMPARE(focusName(), QStringLiteral("Text2"));
        const qint64 again = addUser("Ani", "Lama");
        key(Qt::Key_Return);
        QCOMPARE(boxes.texts(), QStringList({"User ANI tidak ada.", "Data Tidak Ada"}));
        QCOMPARE(boxes.last().title, ui::kAppTitle);
        QCOMPARE(boxes.last().icon, ui::Icon::None);
        QVERIFY(password::verify(hashOf(again), "Lama"));
        QVERIFY(dialog->isVisible());
    }
};

DAPRA_TEST_MAIN(PasswordTest)
#include "tst_password.moc"
