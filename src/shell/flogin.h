#pragma once

#include "toolkit/form.h"

namespace db {
class Error;
}

class QLineEdit;
class QPushButton;

namespace shell {

// The modal sign-in dialog "Login Pengguna". It stays above every other
// window; a right name (any letter case) and the exact password sign in.
class fLogin : public ui::Form {
    Q_OBJECT
public:
    explicit fLogin(QWidget* parent = nullptr);

Q_SIGNALS:
    // The user signed in; UserId is set already, UserName is set right after.
    void signedIn(const QString& storedName);

private:
    void buildControls();
    void ResetLogin();
    void Command2_Click();
    void Command1_Click();
    void showSignInError(const db::Error& error);

    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* Command2;
    QPushButton* Command1;
};

}  // namespace shell
