#include "shell/futama.h"

#include "shell/flogin.h"
#include "shell/moddapra.h"
#include "shell/shellqueries.h"
#include "shell/windowrequests.h"
#include "toolkit/form.h"
#include "toolkit/msgbox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <optional>
#include <utility>
#include <vector>

namespace shell {

namespace {

const QString kTitle = QStringLiteral("Mirawe Dapra");
const QString kLoginCaption = QStringLiteral("&Login");
const QString kLogoutCaption = QStringLiteral("Logout");

// One line of a menu: a separator when the caption is empty. Items that
// request a window carry its id; the others are wired by name.
struct MenuLine {
    const char* name;
    const char* caption = "";
    const char* shortcut = "";
    std::optional<FormId> form = std::nullopt;
};

struct MenuDef {
    const char* name;
    const char* caption;
    std::vector<MenuLine> lines;
};

const std::vector<MenuDef>& menuTable() {
    static const std::vector<MenuDef> menus = {
        {"mSistem",
         "&Sistem",
         {{"mLogin", "&Login", "Ctrl+L"}, {"mGr1"}, {"mKeluar", "&Keluar", "Ctrl+K"}}},
        {"mMasterData",
         "&Master Data",
         {{"mDataMeja", "Data Meja", "Ctrl+M", FormId::fMeja},
          {"mDataMenu", "Data Menu", "Ctrl+N", FormId::fMenu},
          {"mDataPelayan", "Data Pelayan", "Ctrl+P", FormId::fPelayan},
          {"mGr2"},
          {"mKategori", "Data &Kategori", "", FormId::fKategori},
          {"mSatuan", "Data &Satuan", "", FormId::fSatuan}}},
        {"mTransaksi",
         "&Transaksi",
         {{"mOrder", "Pesan/Order", "Ctrl+O", FormId::fOrder},
          {"mPembayaran", "Pembayaran", "Ctrl+B", FormId::fKasir}}},
        {"mLaporan",
         "&Laporan",
         {{"mReportPenjualanPeriode", "Report Penjualan Per &Periode", "",
           FormId::fReportPenjualanPeriode},
          {"mReportPenjualanHarian", "Report Penjualan &Harian", "",
           FormId::fReportPenjualanHarian},
          {"mgr5"},
          {"mReportMenuFavorit", "Report &Menu Favorit", "", FormId::fReportMenuFavorit},
          {"mRptDaftarMenu", "Report &Daftar Menu", "", FormId::fReportDaftarMenu}}},
        {"mControl",
         "&Control Panel",
         {{"mUser", "User Management", "", FormId::fUser},
          {"mPassword", "Ubah Password", "", FormId::fUbahPassword},
          {"mGr3"},
          {"mSettingDB", "Setting Database", "", FormId::fClient_Server},
          {"mgr4a"},
          {"mBackupDB", "Backup Database", "", FormId::fBackupDB},
          {"mResetDB", "Reset Database", "", FormId::fResetDB},
          {"mRestoreDB", "Restore Database", "", FormId::fRestoreDB}}},
        {"mBantuan", "&Bantuan", {{"mPanduan", "Panduan Program"}}},
    };
    return menus;
}

// The toolbar in order: key (also caption), whether it has a tooltip, and its
// picture. An empty key is a separator.
struct ToolDef {
    const char* key;
    bool tooltip = true;
    QStyle::StandardPixmap picture = QStyle::SP_CustomBase;
};

const std::vector<ToolDef>& toolTable() {
    static const std::vector<ToolDef> tools = {
        {"Login", true, QStyle::SP_DialogApplyButton},
        {""},
        {"Meja", true, QStyle::SP_FileDialogDetailedView},
        {"Menu", true, QStyle::SP_FileDialogListView},
        {"Pelayan", true, QStyle::SP_DirHomeIcon},
        {""},
        {"Kategori", true, QStyle::SP_DirIcon},
        {"Satuan", false, QStyle::SP_FileIcon},
        {""},
        {"Order", true, QStyle::SP_FileDialogContentsView},
        {"Kasir", true, QStyle::SP_DialogSaveButton},
        {""},
        {"Pengguna", true, QStyle::SP_ComputerIcon},
        {""},
        {"Keluar", true, QStyle::SP_DialogCloseButton},
        {""},
    };
    return tools;
}

// A pressed button's key, compared in this order, and the menu item it runs.
const std::pair<const char*, const char*> kDispatch[] = {
    {"Login", "mLogin"},      {"Meja", "mDataMeja"},       {"Kategori", "mKategori"},
    {"Satuan", "mSatuan"},    {"Pelayan", "mDataPelayan"}, {"Order", "mOrder"},
    {"Kasir", "mPembayaran"}, {"Menu", "mDataMenu"},       {"Pengguna", "mUser"},
    {"Keluar", "mKeluar"},
};

}  // namespace

fUtama::fUtama(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fUtama"));
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(area_);
    ui::setMdiArea(area_);
    setCaption(kTitle);
    buildMenus();
    buildToolbar();
    buildStatusBar();
}

void fUtama::buildMenus() {
    for (const MenuDef& def : menuTable()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        for (const MenuLine& line : def.lines) {
            QAction* action = *line.caption ? menu->addAction(QString::fromLatin1(line.caption))
                                            : menu->addSeparator();
            action->setObjectName(QString::fromLatin1(line.name));
            if (*line.shortcut) {
                action->setShortcut(QKeySequence(QString::fromLatin1(line.shortcut)));
            }
            if (line.form) {
                const FormId id = *line.form;
                connect(action, &QAction::triggered, this, [id] { requestForm(id); });
            }
        }
    }
    connect(menuItem(QStringLiteral("mLogin")), &QAction::triggered, this, &fUtama::mLogin_Click);
    connect(menuItem(QStringLiteral("mKeluar")), &QAction::triggered, this, &fUtama::mKeluar_Click);
    // "Panduan Program" opens nothing.
}

void fUtama::buildToolbar() {
    auto* bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->toggleViewAction()->setVisible(false);
    for (const ToolDef& def : toolTable()) {
        if (!*def.key) {
            bar->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(def.key);
        auto* button = new QToolButton(bar);
        button->setObjectName(key);
        button->setText(key);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIcon(style()->standardIcon(def.picture));
        if (def.tooltip) {
            button->setToolTip(key);
        }
        connect(button, &QToolButton::clicked, this, [this, key] { Toolbar1_ButtonClick(key); });
        bar->addWidget(button);
    }
}

void fUtama::buildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->addWidget(new QLabel(QStringLiteral("Mirawe Dapra - Program Kasir Restoran"), bar));
    setStatusBar(bar);
}

QAction* fUtama::menuItem(const QString& name) const {
    return findChild<QAction*>(name);
}

QToolButton* fUtama::toolbarButton(const QString& key) const {
    return findChild<QToolButton*>(key);
}

void fUtama::start() {
    mLogin_Click();
    showMaximized();
    // User management opened by the Login action stays in front of the main
    // window that shows after it.
    if (ui::Form* users = openForm(FormId::fUser); users && users->isVisible()) {
        users->raise();
        users->activateWindow();
    }
}

void fUtama::Toolbar1_ButtonClick(const QString& key) {
    for (const auto& [candidate, item] : kDispatch) {
        if (key == QLatin1String(candidate)) {
            menuItem(QString::fromLatin1(item))->trigger();
            return;
        }
    }
}

// Signing out needs no database: when a count cannot be made (its message
// has been shown once), a signed-in user is still asked to sign out.
void fUtama::mLogin_Click() {
    if ((!CheckUsers() || !CheckAccessRights()) && signedIn()) {
        askSignOut();
    }
}

void fUtama::mKeluar_Click() {
    close();
}

// Opens user management when no user is stored. False when the count could
// not be made (its error has been shown); the Login action then stops.
bool fUtama::CheckUsers() {
    qint64 users = 0;
    if (!moddapra::RunUnit([&](db::Connection& c) { users = countUsers(c); })) {
        return false;
    }
    if (users == 0) {
        showUserManagement();
    }
    return true;
}

// With no access right stored, or none a stored user holds that reaches user
// management, nobody could sign in to mend the rights: user management opens
// instead. False when the rights could not be read (the error has been shown).
bool fUtama::CheckAccessRights() {
    bool held = false;
    if (!moddapra::RunUnit([&](db::Connection& c) { held = userManagementHeld(c); })) {
        return false;
    }
    if (!held) {
        showUserManagement();
    } else {
        ToggleLogin();
    }
    return true;
}

// User management modeless, on its own (no owner, no sign-in); an open one
// only comes to the front. Nobody can sign in to give the first rights, so
// the window writes without a sign-in until it closes, also once they are
// given (the second user and his rights in the same sitting).
void fUtama::showUserManagement() {
    ui::Form* users = formInstance(FormId::fUser);
    if (!users) {
        return;
    }
    moddapra::RecordRight(users, formEntry(FormId::fUser).right);
    moddapra::PermitWritesWhileOpen(users);
    if (!users->isVisible()) {
        users->show();
        ui::centreOnScreen(users);
    }
    users->raise();
    users->activateWindow();
}

// The Login action treats every caption but "&Login" as signed in.
bool fUtama::signedIn() const {
    return menuItem(QStringLiteral("mLogin"))->text() != kLoginCaption;
}

void fUtama::ToggleLogin() {
    if (!signedIn()) {
        auto* dialog = new fLogin(this);
        connect(dialog, &fLogin::signedIn, this, &fUtama::markSignedIn);
        ui::showModal(dialog);
        return;
    }
    askSignOut();
}

void fUtama::askSignOut() {
    if (ui::msgBox(QStringLiteral("Anda yakin ingin Logout?"), ui::Buttons::YesNo, ui::Icon::None,
                   QStringLiteral("Konfirmasi")) == ui::Answer::Yes) {
        signOut();
    }
}

// Signed out the caption is the plain title.
void fUtama::markSignedIn(const QString& storedName) {
    menuItem(QStringLiteral("mLogin"))->setText(kLogoutCaption);
    toolbarButton(QStringLiteral("Login"))->setText(kLogoutCaption);
    toolbarButton(QStringLiteral("Login"))->setToolTip(kLogoutCaption);
    setCaption(kTitle + QStringLiteral(" [ User: ") + storedName + QStringLiteral(" ] "));
}

// Signing out closes no window.
void fUtama::signOut() {
    moddapra::UserId = 0;
    menuItem(QStringLiteral("mLogin"))->setText(kLoginCaption);
    toolbarButton(QStringLiteral("Login"))->setText(QStringLiteral("Login"));
    toolbarButton(QStringLiteral("Login"))->setToolTip(QStringLiteral("Login"));
    setCaption(kTitle);
    moddapra::UserName.clear();
}

void fUtama::setCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
}

// The working area appends " - [window]" to the caption for a maximized
// working window and puts the caption back when the window closes, from what
// each window remembered when it was maximized. With several windows open a
// window takes that memory from another one, which may still hold an earlier
// user's caption. So the title keeps the area's ending but always starts with
// the current caption.
void fUtama::showCaption() {
    QString title = caption_;
    for (const QMdiSubWindow* window : area_->subWindowList()) {
        const QString ending = QStringLiteral(" - [%1]").arg(window->windowTitle());
        if (window->isMaximized() && windowTitle().endsWith(ending)) {
            title += ending;
            break;
        }
    }
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void fUtama::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && area_) {
        showCaption();
    }
}

void fUtama::closeEvent(QCloseEvent* event) {
    if (menuItem(QStringLiteral("mLogin"))->text() == kLogoutCaption) {
        ui::msgBox(QStringLiteral("Tolong Logout terlebih dahulu sebelum keluar"));
        event->ignore();
        return;
    }
    if (ui::msgBox(QStringLiteral("Anda yakin ingin keluar?"), ui::Buttons::YesNo, ui::Icon::None,
                   QStringLiteral("Konfirmasi")) == ui::Answer::No) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closedForGood();
}

}  // namespace shell
