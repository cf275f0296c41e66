#pragma once

#include "toolkit/form.h"

class QLineEdit;
class QPushButton;

namespace controlpanel {

// The dialog "Menu Ubah Password" in which the signed-in user changes his own
// password: the old one, the new one and its confirmation.
class fUbahPassword : public ui::Form {
    Q_OBJECT
public:
    explicit fUbahPassword(QWidget* parent = nullptr);

private:
    void buildControls();
    void ClearFields();
    void Command1_Click();  // "&Ganti"
    void inform(const QString& text, const QString& title, QLineEdit* focus);

    QLineEdit* Text3;  // the old password
    QLineEdit* Text1;  // the new password
    QLineEdit* Text2;  // the confirmation
    QPushButton* Command1;
    QPushButton* Command2;
};

}  // namespace controlpanel
