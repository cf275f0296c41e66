#pragma once

#include <QString>

namespace db {
class Connection;
}

// The database file as a whole: checking a file, backing it up and
// restoring it.
namespace controlpanel {

// True when the file opens with the program's key and holds the program's
// tables, and, when wholeCheck is set, reads back whole. A missing file is
// false and is not created.
bool isProgramDatabaseFile(const QString& path, bool wholeCheck = false);

// True when both paths name one existing file (links followed).
bool sameFile(const QString& a, const QString& b);

// Replaces the database at livePath by the content of the backup file in one
// write; a live file that no longer opens is replaced by a complete copy
// renamed into place. Check the backup whole with isProgramDatabaseFile first.
// Throws db::Error; the live file then stays as it was.
void restoreDatabase(const QString& backupPath, const QString& livePath);

}  // namespace controlpanel
