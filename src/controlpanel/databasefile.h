#pragma once

#include <QString>

// The database file as a whole: which file it is and restoring it.
namespace controlpanel {

// True when both paths name one existing file (links followed).
bool sameFile(const QString& a, const QString& b);

// Replaces the database at livePath by the content of the backup file in one
// write; a live file that no longer opens is replaced by a complete copy
// renamed into place. Check the backup whole with db::isProgramDatabase first.
// Throws db::Error; the live file then stays as it was.
void restoreDatabase(const QString& backupPath, const QString& livePath);

}  // namespace controlpanel
