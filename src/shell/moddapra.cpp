#include "shell/moddapra.h"

#include "shell/installfolder.h"
#include "shell/shellqueries.h"
#include "shell/windowrequests.h"
#include "toolkit/msgbox.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <optional>

namespace moddapra {

namespace {

constexpr int kFileNotFound = 53;
constexpr int kPathNotFound = 76;
constexpr int kFileAccess = 75;

// Only the last line counts; CR LF, LF and a lone CR each end a line, and a
// line end at the very end of the file opens no further line.
QString lastLine(const QString& content) {
    QString text = content;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    if (text.endsWith(QChar('\n'))) {
        text.chop(1);
    }
    const qsizetype cut = text.lastIndexOf(QChar('\n'));
    return cut < 0 ? text : text.mid(cut + 1);
}

// A file that cannot be found, opened with the program's key, that lacks
// the program's tables, or whose pages are cut off or damaged.
bool isUnopenableDatabase(int number) {
    return number == 14 /* cannot open */ || number == 26 /* not a database */ ||
           number == 11 /* malformed */;
}

const char* const kRightProperty = "dapraRight";
const char* const kPermitProperty = "dapraPermitWrites";

void inform(const QString& text) {
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Informasi"));
}

// The property as recorded on the window or on the nearest window that opened it.
QVariant recordedOn(const QWidget* window, const char* property) {
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        const QVariant value = w->property(property);
        if (value.isValid()) {
            return value;
        }
    }
    return {};
}

// No stored user holds "User Management", as on the first run (no user or no
// access right stored); empty when the database cannot be opened or read.
// Quiet: a window that repairs the database location or restores the file
// must still be able to write then.
std::optional<bool> nobodyManagesUsers() {
    try {
        ReadDbPath();
        if (DbPath.isEmpty()) {
            return std::nullopt;
        }
        db::Connection c(DbPath);
        return !shell::userManagementHeld(c);
    } catch (const db::Error&) {
        return std::nullopt;
    }
}

void showConnectionFailure(const db::Error& error) {
    switch (error.number()) {
        case kFileNotFound:
            ui::msgBox(QStringLiteral("File db.txt tidak ditemukan!"));
            return;
        case kPathNotFound:
            ui::msgBox(QStringLiteral("File database tidak ditemukan!"));
            return;
        default:
            break;
    }
    if (isUnopenableDatabase(error.number())) {
        ui::msgBox(QStringLiteral("File Database tidak ditemukan di ") + DbPath +
                       QStringLiteral(" \rHubungi Programmer! \rCek db.txt!"),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Informasi"));
        return;
    }
    showError(error);
}

}  // namespace

void ReadDbPath() {
    const QString path = install::dbTxtPath();
    QFile file(path);
    if (!file.exists()) {
        const bool folderThere = QFileInfo(QFileInfo(path).absolutePath()).isDir();
        throw db::Error(
            folderThere ? kFileNotFound : kPathNotFound,
            folderThere ? QStringLiteral("File not found") : QStringLiteral("Path not found"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw db::Error(kFileAccess, QStringLiteral("Path/File access error"));
    }
    DbPath = lastLine(QString::fromUtf8(file.readAll()));
}

std::unique_ptr<db::Connection> OpenConnection() {
    try {
        ReadDbPath();
        if (DbPath.isEmpty()) {
            ui::msgBox(QStringLiteral("File db.txt masih kosong isinya!"));
            return nullptr;
        }
        return std::make_unique<db::Connection>(DbPath);
    } catch (const db::Error& error) {
        showConnectionFailure(error);
        return nullptr;
    }
}

void CloseConnection(std::unique_ptr<db::Connection>& conn) {
    conn.reset();
}

bool RunUnit(const std::function<void(db::Connection&)>& work) {
    std::unique_ptr<db::Connection> conn = OpenConnection();
    if (!conn) {
        return false;
    }
    try {
        work(*conn);
    } catch (const db::Error& error) {
        CloseConnection(conn);
        showError(error);
        return false;
    }
    CloseConnection(conn);
    return true;
}

QString errorText(const db::Error& error) {
    return QStringLiteral("Nomor Error : ") + QString::number(error.number()) +
           QStringLiteral("\rDeskripsi Error : ") + error.description();
}

void showError(const db::Error& error) {
    ui::msgBox(errorText(error));
}

bool SignedIn() {
    if (UserId != 0) {
        return true;
    }
    inform(QStringLiteral("Anda Harus Login Terlebih Dahulu!"));
    return false;
}

bool Granted(const QString& right) {
    if (!SignedIn()) {
        return false;
    }
    bool holds = false;
    const bool ran =
        RunUnit([&](db::Connection& c) { holds = shell::holdsRight(c, UserId, right); });
    if (ran && !holds) {
        inform(QStringLiteral("Anda tidak diijinkan untuk mengakses menu ini!"));
    }
    return ran && holds;
}

void RecordRight(QWidget* window, const QString& right) {
    window->setProperty(kRightProperty, right);
}

void PermitWritesWhileOpen(QWidget* window) {
    window->setProperty(kPermitProperty, true);
}

bool MayWrite(const QWidget* window) {
    // The permission lives on the window: closing it destroys it.
    if (recordedOn(window, kPermitProperty).isValid()) {
        return true;
    }
    const QString right = recordedOn(window, kRightProperty).toString();
    const std::optional<bool> unmanaged = nobodyManagesUsers();
    // The road that gives someone user management (the first user and his
    // rights, or the right again after its last holder lost it) needs no
    // sign-in: nobody could sign in to give it.
    if (unmanaged.value_or(false) &&
        (right.isEmpty() || right == shell::formEntry(shell::FormId::fUser).right)) {
        return true;
    }
    // Without a readable database no right can be read, and only the writes
    // that do not need it (location, restore) can succeed.
    return right.isEmpty() || !unmanaged ? SignedIn() : Granted(right);
}

}  // namespace moddapra
