#pragma once

#include <QMainWindow>

class QAction;
class QMdiArea;
class QToolButton;

namespace shell {

// The main window: menus, toolbar and status bar lead to every other window;
// working windows open inside its working area. The caption of its first menu
// item is the signed-in flag ("&Login" signed out, "Logout" signed in).
class fUtama : public QMainWindow {
    Q_OBJECT
public:
    explicit fUtama(QWidget* parent = nullptr);

    // Start-up: runs the Login action, then shows the window maximized (so a
    // sign-in dialog shows before the main window does).
    void start();

    // The Login action: both counts, then user management, the sign-in
    // dialog or the sign-out question.
    void mLogin_Click();
    void mKeluar_Click();

    // Runs the handler named by a toolbar button's key; other keys do nothing.
    void Toolbar1_ButtonClick(const QString& key);

    QAction* menuItem(const QString& name) const;
    QToolButton* toolbarButton(const QString& key) const;

Q_SIGNALS:
    // The user agreed to leave: the program ends.
    void closedForGood();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    bool CheckUsers();
    bool CheckAccessRights();
    bool signedIn() const;
    void ToggleLogin();
    void askSignOut();
    void markSignedIn(const QString& storedName);
    void signOut();
    void showUserManagement();
    // Sets the caption: the title without the name of a maximized working
    // window that the working area appends to it.
    void setCaption(const QString& caption);
    // Puts the current caption in front of whatever ending the area has written.
    void showCaption();

    QMdiArea* area_ = nullptr;
    QString caption_;
};

}  // namespace shell
