#include "controlpanel/databasefile.h"

#include "db/backup.h"
#include "db/database.h"

#include <QFile>

#include <sys/stat.h>

#include <memory>

namespace controlpanel {

namespace {

// The engine's codes for a file it cannot open and a file that is not the
// program's database.
constexpr int kCannotOpen = 14;
constexpr int kNotADatabase = 26;

bool isMissingOrForeign(const db::Error& error) {
    return error.number() == kCannotOpen || error.number() == kNotADatabase;
}

}  // namespace

// A hard link has a path of its own, so only the file's identity tells it.
bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Copying into the open live file lets other stations keep their handles on
// it: they read the old content or the new, never a mix. Only a live file
// that cannot be opened at all is replaced by renaming. Opening a backup of
// an earlier version upgrades it, which must not happen to the user's file.
bool restoreDatabase(const QString& backupPath, const QString& livePath) {
    const db::PrivateCopy copy(backupPath);
    if (!db::isProgramDatabase(copy.path(), true)) {
        return false;
    }
    db::Connection source(copy.path());
    std::unique_ptr<db::Connection> live;
    try {
        live = std::make_unique<db::Connection>(livePath);
    } catch (const db::Error& error) {
        if (!isMissingOrForeign(error)) {
            throw;  // busy or failing: another station may be using it
        }
        db::backupToFile(source, livePath);
        return true;
    }
    db::copyInto(source, *live);
    return true;
}

}  // namespace controlpanel
