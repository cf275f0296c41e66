#pragma once

#include "db/database.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

// The program's one way to its database, and its program-wide state.
namespace moddapra {

// Path of the database file, read anew from db.txt at every connection.
inline QString DbPath;

// The signed-in user: UserId 0 and an empty name while nobody is signed in.
inline qint64 UserId = 0;
inline QString UserName;

// Whether a user is signed in; when nobody is, says "Anda Harus Login
// Terlebih Dahulu!" and returns false.
bool SignedIn();

// Whether a user is signed in and holds the access right; otherwise says
// "Anda Harus Login Terlebih Dahulu!" or "Anda tidak diijinkan untuk
// mengakses menu ini!" and returns false.
bool Granted(const QString& right);

// Records on the window the access right it opens under.
void RecordRight(QWidget* window, const QString& right);

// Lets the window and the dialogs it opens write without a sign-in for as
// long as it stays open (user management opened at the first start).
void PermitWritesWhileOpen(QWidget* window);

// The check every write of a window or dialog makes at the moment it writes:
// Granted for the right the window (or the window that opened it) opened
// under. A window opened without a right, or a database that cannot be
// opened, needs only a signed-in user. User management and its dialogs
// write without sign-in while no stored user holds "User Management", and
// so does a window given PermitWritesWhileOpen.
bool MayWrite(const QWidget* window);

// The access right and display mode of the next window request.
inline QString MenuAkses;
inline QString FormMode;
inline const QString kFormKecil = QStringLiteral("Form Kecil");

// "Order" or "Kasir" while that window is the active working window.
inline QString OrderListMode;

// Sets DbPath to the last line of db.txt (empty when that line is empty).
// Throws db::Error 53 when db.txt is missing, 76 when its folder is missing
// (DbPath then keeps its value).
void ReadDbPath();

// Reads db.txt and opens the database. On failure (a file that is missing,
// empty, not keyed with the program's key, or without the program's tables)
// shows the message for it and returns null: the caller's action stops there.
std::unique_ptr<db::Connection> OpenConnection();

// Closes the connection (a null one is left alone).
void CloseConnection(std::unique_ptr<db::Connection>& conn);

// One unit of work: opens the connection, runs the work, and closes the
// connection on every path. A database error is shown as "Nomor Error : …";
// returns false when the connection failed or the work raised an error.
bool RunUnit(const std::function<void(db::Connection&)>& work);

// "Nomor Error : " + number + CR + "Deskripsi Error : " + description.
QString errorText(const db::Error& error);
void showError(const db::Error& error);

}  // namespace moddapra
