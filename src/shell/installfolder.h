#pragma once

#include <QString>

// The install folder: DAPRA_HOME when set, else $XDG_DATA_HOME/mirawe-dapra
// (~/.local/share/mirawe-dapra). It holds db.txt and the default database.
namespace install {

QString folder();
QString dbTxtPath();
QString defaultDbPath();

// On the first start on a machine (no install folder yet): creates the folder,
// writes db.txt naming the default database, and creates that database with
// its empty tables. Returns false when the folder already existed.
// Throws db::Error when a step fails.
bool setUpFirstRun();

// Writes db.txt as one line: the path followed by CR LF.
void writeDbTxt(const QString& databasePath);

}  // namespace install
