#pragma once

#include "toolkit/form.h"

class QLineEdit;
class QPushButton;

namespace controlpanel {

// The add-user dialog "Tambah Pengguna": a name, a password and its
// confirmation. The password is stored only as its hash; the new user gets
// no access right.
class fTambahUser : public ui::Form {
    Q_OBJECT
public:
    explicit fTambahUser(QWidget* parent = nullptr);

private:
    void buildControls();
    void ClearFields();
    void Command1_Click();
    void refuse(const QString& text, const QString& title, QLineEdit* focus);
    void SaveNewUser();

    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QPushButton* Command1;
    QPushButton* Command2;
};

}  // namespace controlpanel
