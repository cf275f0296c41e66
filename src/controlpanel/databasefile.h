#pragma once

#include <QString>

// The database file as a whole: which file it is and restoring it.
namespace controlpanel {

// True when both paths name one existing file: the same device and inode, so
// a symbolic or hard link to a file is that file.
bool sameFile(const QString& a, const QString& b);

// Replaces the database at livePath by the content of the backup file in one
// write; a live file that no longer opens is replaced by a complete copy
// renamed into place. The backup file is only read: a private copy of it is
// checked whole and brought up to this version first. False, changing
// nothing, when the backup is not the program's database or is damaged.
// Throws db::Error; the live file then stays as it was.
bool restoreDatabase(const QString& backupPath, const QString& livePath);

}  // namespace controlpanel
