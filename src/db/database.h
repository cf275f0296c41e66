#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// A database failure: the engine's error number and its description.
class Error : public std::runtime_error {
public:
    Error(int number, const QString& description);
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// One row of a result, addressed by column position.
using Row = QVariantList;

// A prepared statement. Values are bound by position (1-based as in SQL "?"),
// columns are read by position (0-based).
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    Statement& bind(int index, const QVariant& value);
    Statement& bindAll(const QVariantList& values);

    // Steps to the next row; false once the statement is done.
    bool next();
    // Runs the statement to its end (for INSERT, UPDATE, DELETE and the like).
    void run();
    // Makes the statement ready to run again with new values.
    void reset();

    int columnCount() const;
    QVariant value(int column) const;
    QString text(int column) const;
    qint64 integer(int column) const;
    Row row() const;

private:
    [[noreturn]] void fail() const;
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// An open, keyed connection to one database file. Closed by the destructor.
class Connection {
public:
    enum class Mode { OpenExisting, Create };

    // Opens the file with the program's database key. OpenExisting never creates
    // a file: a missing file, or a path holding a NUL, is an error (14). A file
    // not keyed with the program's key, or without the program's ten tables (an
    // empty file, say), fails with 26 "file is not a database". A file of an earlier release is
    // upgraded once (see upgradeSchema). Create opens or creates any keyed file.
    // Each connection has the SQL function casefold() (see foldCase), which no
    // statement stored in a file may use, so any SQLCipher shell reads the file.
    explicit Connection(const QString& path, Mode mode = Mode::OpenExisting);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Statement prepare(const QString& sql);
    void exec(const QString& sql, const QVariantList& params = {});
    std::vector<Row> rows(const QString& sql, const QVariantList& params = {});
    // First column of the first row; a null value when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    qint64 lastInsertId() const;
    int changes() const;

    sqlite3* handle() const { return db_; }

    // How long a statement waits for another workstation's lock.
    static int busyTimeoutMs;

private:
    sqlite3* db_ = nullptr;
};

// A write of several statements: BEGIN IMMEDIATE on construction; rolled back
// by the destructor unless commit() ran.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& conn_;
    bool open_ = true;
};

// The fixed key every database file of the program is encrypted with.
extern const char* const kDatabaseKey;

// The text with full Unicode case folding in Unicode's composed normal form
// (NFC), so that names differing only in letter case, or in how their accents
// are encoded, fold alike ("Ümit" and "ümit", "STRASSE" and "Straße", "été"
// as three characters or as five with combining accents); every connection
// gives it to SQL as casefold(text), NULL staying NULL. The engine's NOCASE
// folds ASCII letters only.
QString foldCase(const QString& text);

}  // namespace db
