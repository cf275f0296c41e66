#pragma once

#include <QStringList>

namespace db {

class Connection;

// The version stored in PRAGMA user_version by createSchema().
constexpr int kSchemaVersion = 2;

// The ten tables of the program, in the order a whole reset empties them.
const QStringList& tableNames();

// Creates the ten tables and their look-up indexes in an empty database.
void createSchema(Connection& conn);

// What a reset empties: every table, or only the orders, their lines and the
// payments.
enum class Reset { Everything, OrdersAndPayments };

// The tables that reset empties, in the order it empties them: the ten tables
// or the three of orders and payments, then the tables the program keeps from
// their rows.
QStringList tablesEmptiedBy(Reset which);

// Empties the tables of that reset in one transaction: all of them or, on an
// error, none.
void resetTables(Connection& conn, Reset which);

// Whether a file of this version is one of an earlier release, which opening
// brings up to this one.
bool isOlderVersion(int version);

// Brings a file of an earlier version up to this one (adding the reports'
// running totals, filled from its rows) in one transaction; a current file
// is left alone. Throws db::Error when the file cannot be written.
void upgradeSchema(Connection& conn);

// Creates a new keyed database file holding the empty tables, readable and
// writable by its owner only. Throws Error.
void createDatabaseFile(const QString& path);

}  // namespace db
