#pragma once

#include "toolkit/form.h"

class QPushButton;
class QTreeWidget;

namespace controlpanel {

// User management "Manajemen Pengguna": lists the users, adds and deletes
// them and hands one to the access rights window. It refuses to close until
// a user, an access row and a stored user holding "User Management" exist.
class fUser : public ui::Form {
    Q_OBJECT
public:
    explicit fUser(QWidget* parent = nullptr);

    // The name of the row last clicked; empty when no user is chosen.
    QString SelectedUserName;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void LoadUserList();
    void ListView1_ItemClick();
    void ListView1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command6_Click();
    void Command7_Click();

    QTreeWidget* ListView1;
    QPushButton* Command7;
    QPushButton* Command1;
    QPushButton* Command6;
    QPushButton* Command2;
    QPushButton* Command3;
};

}  // namespace controlpanel
