#include "db/backup.h"

#include "db/database.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace db {

namespace {

// The engine's code for an I/O failure, used for failures of the file system.
constexpr int kIoError = SQLITE_IOERR;

constexpr qint64 kCopyChunkBytes = 1 << 20;

[[noreturn]] void raiseFrom(sqlite3* handle, int code) {
    throw Error(code, QString::fromUtf8(sqlite3_errmsg(handle)));
}

// Copies the source to its end; one that cannot be read to its end leaves the
// target empty.
void copyWhole(QFile& source, QFile& target) {
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kCopyChunkBytes);
        if (chunk.isEmpty()) {
            target.resize(0);
            return;
        }
        if (target.write(chunk) != chunk.size()) {
            throw Error(kIoError, target.errorString());
        }
    }
    if (!target.flush()) {
        throw Error(kIoError, target.errorString());
    }
}

}  // namespace

bool isProgramDatabase(const QString& path, bool wholeCheck) {
    try {
        Connection conn(path);
        return !wholeCheck ||
               conn.scalar(QStringLiteral("PRAGMA quick_check")).toString() == QStringLiteral("ok");
    } catch (const Error&) {
        return false;
    }
}

// One step over all pages: the engine holds the source's read lock for the
// whole copy, so the copy is one snapshot, and the target's write lock, so
// the target changes in one transaction.
void copyInto(Connection& source, Connection& target) {
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!backup) {
        raiseFrom(target.handle(), sqlite3_errcode(target.handle()));
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE) {
        throw Error(stepped, QString::fromUtf8(sqlite3_errstr(stepped)));
    }
    if (finished != SQLITE_OK) {
        raiseFrom(target.handle(), finished);
    }
}

void backupToFile(Connection& source, const QString& target) {
    QTemporaryFile temporary(target + QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        throw Error(kIoError, temporary.errorString());
    }
    temporary.close();
    {
        Connection copy(temporary.fileName(), Connection::Mode::Create);
        copyInto(source, copy);
    }
    // The temporary file is readable by its owner only; the copy may be read
    // by whoever may read the database.
    temporary.setPermissions(
        QFile::permissions(QString::fromUtf8(sqlite3_db_filename(source.handle(), "main"))));
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(temporary.fileName()).toStdString(),
                            QFile::encodeName(target).toStdString(), failed);
    if (failed) {
        throw Error(kIoError, QString::fromStdString(failed.message()));
    }
    temporary.setAutoRemove(false);
    syncFolderOf(target);
}

PrivateCopy::PrivateCopy(const QString& path) {
    if (!file_.open()) {
        throw Error(kIoError, file_.errorString());
    }
    QFile source(path);
    if (QFileInfo(path).isFile() && source.open(QIODevice::ReadOnly)) {
        copyWhole(source, file_);
    }
    file_.close();
}

void syncFolderOf(const QString& file) {
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace db
