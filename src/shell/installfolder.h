#pragma once

#include <QString>

// The install folder: DAPRA_HOME when set, else $XDG_DATA_HOME/mirawe-dapra
// (~/.local/share/mirawe-dapra). It holds db.txt and the default database.
namespace install {

QString folder();
QString dbTxtPath();
QString defaultDbPath();

// On the first start on a machine (the install folder holds neither db.txt
// nor the default database, or does not exist): creates the folder, the
// default database with its empty tables and db.txt naming it, whole or not
// at all, so a start that fails part-way leaves the next one a first start.
// Returns false when it was no first start. Throws db::Error when a step fails.
bool setUpFirstRun();

// Writes db.txt as one line: the path followed by CR LF, replacing the file
// whole.
void writeDbTxt(const QString& databasePath);

}  // namespace install
