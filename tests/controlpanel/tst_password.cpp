// The password change, driven by keys as a user drives it.
#include "controlpanel/fubahpassword.h"
#include "shell/moddapra.h"
#include "shell/password.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>

using testing::focusName;
using testing::keys;
using testing::seen;

class PasswordTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestInstall> install;
    QPointer<controlpanel::fUbahPassword> dialog;

    qint64 addUser(const QString& name, const QString& typed) {
        return install->addUser(name, {}, password::hash(typed));
    }
    QString hashOf(qint64 id) {
        return install->scalar("SELECT Password FROM pengguna WHERE id_user = ?", {id}).toString();
    }
    void open(qint64 id, const QString& name) {
        moddapra::UserId = id;
        moddapra::UserName = name;
        dialog = new controlpanel::fUbahPassword;
        dialog->show();
        QVERIFY(testing::activate(dialog));
    }

private Q_SLOTS:
    void init() { install = std::make_unique<testing::TestInstall>(); }
    void cleanup() {
        delete dialog;
        install.reset();
        testing::settle();
    }

    // Texts, the Tab road and one "*" per character. The Enter chain old -> new -> confirmation
    // runs the checks in order;
    // each refusal moves the focus as designed. Then the change typed ahead
    // with Alt+G stores a hash that verifies; another user's stays.
    void refusalsThenChange() {
        const qint64 ani = addUser("Ani", "Lama");
        const qint64 budi = addUser("Budi", "Kunci");
        open(ani, "Ani");
        QCOMPARE(
            QStringList{dialog->windowTitle()} + testing::shown(dialog),
            QStringList({"Menu Ubah Password", "Command1: &Ganti", "Command2: &Keluar",
                         "Frame1:", "Label1: Masukkan Password Baru",
                         "Label2: Konfirmasi Password Baru", "Label3: Masukkan Password Lama"}));
        QCOMPARE(testing::tabRoad(5),
                 QStringList({"Text3", "Text1", "Text2", "Command1", "Command2", "Text3"}));
        keys("Shift+Tab|Shift+Tab|Shift+Tab|abc");
        QCOMPARE(testing::child<QLineEdit>(dialog, "Text2")->displayText(), QStringLiteral("***"));
        keys("Ctrl+A|Backspace|Shift+Tab|Shift+Tab");
        ui::MessageRecorder boxes;
        QStringList focus;
        for (const char* road : {"Enter|Enter|Enter", "lama|Enter|Enter|Enter", "Baru|Enter|Enter",
                                 "O'Baru|Enter",  // the old one differs in letter case
                                 "Ctrl+A|Lama|Enter|Ctrl+A|O'Baru|Enter|Ctrl+A|o'baru|Enter"}) {
            keys(road);
            focus << focusName();
        }
        const QString info = "Informasi (i): ";
        QCOMPARE(
            seen(boxes),
            QStringList({info + "Anda belum mengisi password lama anda!",
                         info + "Password harus diisi!", info + "Password harus diisi!",
                         info + "Password lama salah!", "Information (i): Password tidak sama!"}));
        QCOMPARE(focus, QStringList({"Text3", "Text1", "Text2", "Text3", "Text1"}));
        QVERIFY(password::verify(hashOf(ani), "Lama"));

        boxes.clear();
        keys("Ctrl+A|O'Baru|Enter|Ctrl+A|O'Baru|Alt+G");
        testing::settle();
        QCOMPARE(seen(boxes), QStringList({info + "Password untuk user Ani telah diubah!"}));
        QVERIFY(!dialog);
        QVERIFY(hashOf(ani).startsWith("$argon2id$"));
        QVERIFY(password::verify(hashOf(ani), "O'Baru"));
        QVERIFY(!password::verify(hashOf(ani), "Lama"));
        QVERIFY(password::verify(hashOf(budi), "Kunci"));
    }

    // The signed-in user deleted meanwhile, or deleted and added again under
    // another id: refused, nothing stored; Esc then closes the dialog.
    void userGoneMeanwhile() {
        const qint64 ani = addUser("Ani", "Lama");
        install->exec("DELETE FROM pengguna");
        open(ani, "ANI");
        ui::MessageRecorder boxes;
        keys("Lama|Enter|Baru|Enter|Baru|Enter");
        QCOMPARE(focusName(), QStringLiteral("Text2"));
        const qint64 again = addUser("Ani", "Lama");
        keys("Enter");
        QVERIFY(dialog->isVisible());
        keys("Esc");  // closes at once, asking nothing
        testing::settle();
        QVERIFY(!dialog);
        QCOMPARE(seen(boxes),
                 QStringList({"Informasi (i): User ANI tidak ada.",
                              ui::kAppTitle + QStringLiteral(" (-): Data Tidak Ada")}));
        QVERIFY(password::verify(hashOf(again), "Lama"));
    }

    // On a database that cannot be written the checks answer before the
    // write: a wrong old password is named so.
    void readOnlyDatabase() {
        const qint64 ani = addUser("Ani", "Lama");
        const auto unlock = qScopeGuard([&] { testing::writeProtect(install->dbPath(), false); });
        if (!testing::writeProtect(install->dbPath(), true)) {
            QSKIP("this file system lets every file be written");
        }
        open(ani, "Ani");
        ui::MessageRecorder boxes;
        keys("lama|Enter|Baru|Enter|Baru|Enter");
        QCOMPARE(seen(boxes), QStringList{"Informasi (i): Password lama salah!"});
        QCOMPARE(focusName(), QStringLiteral("Text3"));
    }
};

DAPRA_TEST_MAIN(PasswordTest)
#include "tst_password.moc"
