#include "controlpanel/databasefile.h"

#include "db/backup.h"
#include "db/database.h"

#include <QFileInfo>

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

bool sameFile(const QString& a, const QString& b) {
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

// Copying into the open live file lets other stations keep their handles on
// it: they read the old content or the new, never a mix. Only a live file
// that cannot be opened at all is replaced by renaming.
void restoreDatabase(const QString& backupPath, const QString& livePath) {
    db::Connection source(backupPath);
    std::unique_ptr<db::Connection> live;
    try {
        live = std::make_unique<db::Connection>(livePath);
    } catch (const db::Error& error) {
        if (!isMissingOrForeign(error)) {
            throw;  // busy or failing: another station may be using it
        }
        db::backupToFile(source, livePath);
        return;
    }
    db::copyInto(source, *live);
}

}  // namespace controlpanel
