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

void writeDbTxt(const QString& databasePath) {
    QSaveFile file(dbTxtPath());
    if (!file.open(QIODevice::WriteOnly)) {
        throw db::Error(75, file.errorString());
    }
    file.write(databasePath.toUtf8() + "\r\n");
    if (!file.commit()) {
        throw db::Error(75, file.errorString());
    }
    db::syncFolderOf(dbTxtPath());
}

bool setUpFirstRun() {
    const QString dir = folder();
    if (QFileInfo::exists(dir)) {
        return false;
    }
    if (!QDir().mkpath(dir)) {
        throw db::Error(76, QStringLiteral("Folder %1 tidak bisa dibuat").arg(dir));
    }
    if (!QFileInfo::exists(defaultDbPath())) {
        db::createDatabaseFile(defaultDbPath());
    }
    writeDbTxt(defaultDbPath());
    return true;
}

}  // namespace install
