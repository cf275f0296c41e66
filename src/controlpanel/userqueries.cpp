#include "controlpanel/userqueries.h"

#include "shell/password.h"
#include "shell/shellqueries.h"

namespace controlpanel {

std::vector<UserRow> listUsers(db::Connection& c) {
    std::vector<UserRow> users;
    for (const db::Row& row :
         c.rows(QStringLiteral("SELECT id_user, nm_user FROM pengguna ORDER BY id_user"))) {
        users.push_back({row[0].toLongLong(), row[1].toString()});
    }
    return users;
}

bool addUserIfNew(db::Connection& c, const QString& name, const QString& passwordHash) {
    db::Transaction tx(c);
    if (c.scalar(QStringLiteral("SELECT count(nm_user) FROM pengguna"
                                " WHERE casefold(nm_user) = casefold(?)"),
                 {name})
            .toLongLong() != 0) {
        return false;
    }
    c.exec(QStringLiteral("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)"),
           {name, passwordHash});
    tx.commit();
    return true;
}

std::optional<qint64> findUserId(db::Connection& c, const QString& name) {
    const QVariant id =
        c.scalar(QStringLiteral("SELECT id_user FROM pengguna WHERE casefold(nm_user) = casefold(?)"
                                " ORDER BY id_user LIMIT 1"),
                 {name});
    if (id.isNull()) {
        return std::nullopt;
    }
    return id.toLongLong();
}

std::optional<qint64> deleteUserWithRights(db::Connection& c, const QString& name) {
    db::Transaction tx(c);
    const std::optional<qint64> id = findUserId(c, name);
    if (!id) {
        return std::nullopt;
    }
    c.exec(QStringLiteral("DELETE FROM pengguna WHERE id_user = ?"), {*id});
    c.exec(QStringLiteral("DELETE FROM akses WHERE Id_User = ?"), {*id});
    tx.commit();
    return id;
}

QStringList userRights(db::Connection& c, qint64 userId) {
    QStringList rights;
    for (const db::Row& row :
         c.rows(QStringLiteral("SELECT Akses FROM akses WHERE Id_User = ? ORDER BY rowid"),
                {userId})) {
        rights.append(row[0].toString());
    }
    return rights;
}

bool replaceRights(db::Connection& c, const QString& name, const QStringList& rights) {
    db::Transaction tx(c);
    const std::optional<qint64> id = findUserId(c, name);
    if (!id) {
        return false;
    }
    c.exec(QStringLiteral("DELETE FROM akses WHERE Id_User = ?"), {*id});
    for (const QString& right : rights) {
        c.exec(QStringLiteral("INSERT INTO akses (Id_User, Akses) VALUES (?, ?)"), {*id, right});
    }
    tx.commit();
    return true;
}

// The last test asks what the write check and the Login action ask: the
// window stays open exactly while it writes without a sign-in.
GuardRefusal userManagementGuard(db::Connection& c) {
    if (shell::countUsers(c) == 0) {
        return GuardRefusal::NoUser;
    }
    if (shell::countRights(c) == 0) {
        return GuardRefusal::NoRight;
    }
    return shell::userManagementHeld(c) ? GuardRefusal::None : GuardRefusal::NoUserManagement;
}

// The user is found by name but changed by id, so a user deleted and added
// again meanwhile is not changed under the old id. The checks before the
// write only read, so they answer even where the database cannot be written.
PasswordChange changePassword(db::Connection& c, const QString& userName, qint64 userId,
                              const QString& oldTyped, const QString& newTyped,
                              const QString& confirmTyped) {
    const std::optional<shell::StoredUser> user = shell::findUser(c, userName);
    if (!user) {
        return PasswordChange::NoUserName;
    }
    if (!password::verify(user->passwordHash, oldTyped)) {
        return PasswordChange::WrongPassword;
    }
    if (newTyped != confirmTyped) {
        return PasswordChange::NotSame;
    }
    db::Transaction tx(c);
    if (c.scalar(QStringLiteral("SELECT count(*) FROM pengguna WHERE id_user = ?"), {userId})
            .toLongLong() == 0) {
        return PasswordChange::NoUserId;
    }
    c.exec(QStringLiteral("UPDATE pengguna SET Password = ? WHERE id_user = ?"),
           {password::hash(newTyped), userId});
    tx.commit();
    return PasswordChange::Changed;
}

}  // namespace controlpanel
