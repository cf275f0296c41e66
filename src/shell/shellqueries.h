#pragma once

#include "db/database.h"

#include <optional>

// The shell's queries: the start-up counts and the sign-in look-up.
namespace shell {

qint64 countUsers(db::Connection& c);
qint64 countRights(db::Connection& c);

// Whether the user holds the access right (letter case of the right does not count).
bool holdsRight(db::Connection& c, qint64 userId, const QString& right);

// Whether a stored user holds the right "User Management" (letter case counting).
bool userManagementHeld(db::Connection& c);

// A user as stored: id, name as stored, password hash.
struct StoredUser {
    qint64 id = 0;
    QString name;
    QString passwordHash;
};

// The user of that name (letter case of the name does not count); the first
// by id should there be more than one.
std::optional<StoredUser> findUser(db::Connection& c, const QString& name);

}  // namespace shell
