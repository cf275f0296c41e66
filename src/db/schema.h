#pragma once

#include <QStringList>

namespace db {

class Connection;

// The version stored in PRAGMA user_version by createSchema().
constexpr int kSchemaVersion = 1;

// The ten tables of the program, in the order a whole reset empties them.
const QStringList& tableNames();

// Creates the ten tables and their look-up indexes in an empty database.
void createSchema(Connection& conn);

// Creates a new keyed database file holding the empty tables.
void createDatabaseFile(const QString& path);

}  // namespace db
