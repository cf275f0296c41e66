#include "shell/shellqueries.h"

namespace shell {

qint64 countUsers(db::Connection& c) {
    return c.scalar(QStringLiteral("SELECT count(*) FROM pengguna")).toLongLong();
}

qint64 countRights(db::Connection& c) {
    return c.scalar(QStringLiteral("SELECT count(*) FROM akses")).toLongLong();
}

bool holdsRight(db::Connection& c, qint64 userId, const QString& right) {
    return c.scalar(
                QStringLiteral("SELECT count(Id_User) FROM akses WHERE Id_User = ? AND Akses = ?"),
                {userId, right})
               .toLongLong() != 0;
}

// A right left behind by a deleted user reaches nobody: it does not count.
bool userManagementHeld(db::Connection& c) {
    return c.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM akses JOIN pengguna"
                                   " ON pengguna.id_user = akses.Id_User"
                                   " WHERE akses.Akses = 'User Management' COLLATE BINARY)"))
               .toLongLong() != 0;
}

std::optional<StoredUser> findUser(db::Connection& c, const QString& name) {
    const std::vector<db::Row> rows =
        c.rows(QStringLiteral("SELECT id_user, nm_user, Password FROM pengguna"
                              " WHERE casefold(nm_user) = casefold(?) ORDER BY id_user LIMIT 1"),
               {name});
    if (rows.empty()) {
        return std::nullopt;
    }
    const db::Row& row = rows.front();
    return StoredUser{row[0].toLongLong(), row[1].toString(), row[2].toString()};
}

}  // namespace shell
