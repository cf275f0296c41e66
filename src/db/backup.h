#pragma once

#include <QString>
#include <QTemporaryFile>

namespace db {

class Connection;

// True when the file opens as the program's database (the check every open
// makes: the program's key and its ten tables) and, when wholeCheck is set,
// every page reads back whole, which reads the whole file. A missing file is
// false and is not created; a file of an earlier release is upgraded, as
// every open does.
bool isProgramDatabase(const QString& path, bool wholeCheck = false);

// Copies the whole database of the open connection, as one consistent
// snapshot even while others write, into the file at target, keyed with the
// program's key and with the database file's permissions. The copy is written beside the target
// under a temporary name and renamed over it once complete, so a failure leaves no partial file and
// keeps a file already there. Throws Error.
void backupToFile(Connection& source, const QString& target);

// Makes a rename in the file's folder last through a power cut by syncing the
// folder itself. The rename has already taken place, so a failure is ignored.
void syncFolderOf(const QString& file);

// A private copy of a file, to check and bring up to this version a backup
// without writing to it: a new file in the system's temporary folder that
// only its owner may read and write, removed when the copy goes.
class PrivateCopy {
public:
    // Copies the file byte by byte; what is not a regular file readable to its
    // end leaves the copy empty. Throws Error when the copy cannot be written.
    explicit PrivateCopy(const QString& path);
    QString path() const { return file_.fileName(); }

private:
    QTemporaryFile file_;
};

// Replaces the whole content of the target's database by the source's in one
// write, so no reader (of this or another station) sees half of either.
// Throws Error; the target then stays as it was.
void copyInto(Connection& source, Connection& target);

}  // namespace db
