#include "shell/installfolder.h"

#include "db/backup.h"
#include "db/database.h"
#include "db/schema.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace install {

QString folder() {
    const QString home = qEnvironmentVariable("DAPRA_HOME");
    if (!home.isEmpty()) {
        return QDir::cleanPath(home);
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty()) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/mirawe-dapra"));
}

QString dbTxtPath() {
    return folder() + QStringLiteral("/db.txt");
}

QString defaultDbPath() {
    return folder() + QStringLiteral("/dapra.mdb");
}

namespace {

// Only the owner may read or write what the program creates: the database's
// key is fixed in the program.
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The first start builds the database under this name and renames it into
// place only once db.txt names it, so a start cut off at any point leaves
// either no db.txt, and the next start begins again, or a whole database
// that the next start puts into place.
QString buildingDbPath() {
    return defaultDbPath() + QStringLiteral(".baru");
}

// A journal left without its database would be played into the next file
// of that name, so it goes with it.
void removeWithJournal(const QString& database) {
    QFile::remove(database);
    QFile::remove(database + QStringLiteral("-journal"));
}

// Due while there is no db.txt and no database in the folder; a 0-byte
// database (left by a first start of an earlier release that was cut off)
// holds nothing and counts as none.
bool firstStartDue() {
    const QFileInfo database(defaultDbPath());
    return !QFileInfo::exists(dbTxtPath()) && (!database.exists() || database.size() == 0);
}

// Renames the built database into place, unless a database is there already
// or the built one is not whole.
void putBuiltDatabaseInPlace() {
    const QString built = buildingDbPath();
    if (!QFileInfo::exists(built) || QFileInfo::exists(defaultDbPath()) ||
        !db::isProgramDatabase(built)) {
        return;
    }
    QFile::remove(defaultDbPath() + QStringLiteral("-journal"));
    if (!QFile::rename(built, defaultDbPath())) {
        throw db::Error(75, QStringLiteral("File %1 tidak bisa dibuat").arg(defaultDbPath()));
    }
    db::syncFolderOf(defaultDbPath());
}

}  // namespace

// A new db.txt is the owner's only; one already there keeps its permissions.
void writeDbTxt(const QString& databasePath) {
    const bool isNew = !QFileInfo::exists(dbTxtPath());
    QSaveFile file(dbTxtPath());
    if (!file.open(QIODevice::WriteOnly) || (isNew && !file.setPermissions(kOwnerOnly))) {
        throw db::Error(75, file.errorString());
    }
    file.write(databasePath.toUtf8() + "\r\n");
    if (!file.commit()) {
        throw db::Error(75, file.errorString());
    }
    db::syncFolderOf(dbTxtPath());
}

bool setUpFirstRun() {
    if (!firstStartDue()) {
        putBuiltDatabaseInPlace();
        return false;
    }
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        throw db::Error(76, QStringLiteral("Folder %1 tidak bisa dibuat").arg(dir));
    }
    removeWithJournal(defaultDbPath());
    removeWithJournal(buildingDbPath());
    db::createDatabaseFile(buildingDbPath());
    writeDbTxt(defaultDbPath());
    putBuiltDatabaseInPlace();
    return true;
}

}  // namespace install
