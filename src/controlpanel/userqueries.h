#pragma once

#include "db/database.h"

#include <QStringList>

#include <optional>
#include <vector>

// The queries of the control panel: users, access rights, the password change. Names compare
// without regard to letter case or to how accents are encoded (db::foldCase).
namespace controlpanel {

struct UserRow {
    qint64 id = 0;
    QString name;
};

// Every user, by id.
std::vector<UserRow> listUsers(db::Connection& c);

// Stores a new user with the password hash, unless the name is taken; the
// test and the insert are one transaction. False when the name is taken.
bool addUserIfNew(db::Connection& c, const QString& name, const QString& passwordHash);

// The id of the first user of that name, by id.
std::optional<qint64> findUserId(db::Connection& c, const QString& name);

// Deletes the first user of that name and all his access rows in one
// transaction; his payments stay. Returns the deleted id, or nothing (and
// nothing is touched) when no such user is stored.
std::optional<qint64> deleteUserWithRights(db::Connection& c, const QString& name);

// The user's access rights as stored, in the order they were written.
QStringList userRights(db::Connection& c, qint64 userId);

// Replaces the rights of the user of that name by the given ones (one row
// each, in the given order) in one transaction. Returns false, writing
// nothing, when the user is no longer stored.
bool replaceRights(db::Connection& c, const QString& name, const QStringList& rights);

// Why user management may not close yet.
enum class GuardRefusal { None, NoUser, NoRight, NoUserManagement };
GuardRefusal userManagementGuard(db::Connection& c);

// The outcome of a password change, in the order the checks run.
enum class PasswordChange { NoUserName, WrongPassword, NotSame, NoUserId, Changed };

// Changes the signed-in user's password: the user of that name must exist and
// his stored hash must verify the old password (letter case counting), and
// the new password must equal its confirmation; then, in one transaction, the
// user's id must still exist and the new password's hash is stored by id.
PasswordChange changePassword(db::Connection& c, const QString& userName, qint64 userId,
                              const QString& oldTyped, const QString& newTyped,
                              const QString& confirmTyped);

}  // namespace controlpanel
