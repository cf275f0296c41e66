#include "db/database.h"

#include "db/schema.h"

#include <sqlcipher/sqlite3.h>

#include <openssl/evp.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <QFile>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace db {

const char* const kDatabaseKey = "kelapahijau$%&";
int Connection::busyTimeoutMs = 5000;

namespace {

QString lastMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

[[noreturn]] void raise(sqlite3* db, int code) {
    throw Error(code, lastMessage(db));
}

// Texts are folded in buffers on the stack; a longer name takes the heap.
template <typename T>
using Buffer = QVarLengthArray<T, 256>;

// Runs an ICU function writing into out; when out was too short, once more
// with room for what it measured.
template <typename Write>
bool written(Buffer<UChar>& out, Write write) {
    out.resize(out.capacity());
    UErrorCode failed = U_ZERO_ERROR;
    int32_t length = write(out.data(), int32_t(out.size()), &failed);
    if (failed == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(length);
        failed = U_ZERO_ERROR;
        length = write(out.data(), length, &failed);
    }
    out.resize(U_SUCCESS(failed) ? length : 0);
    return U_SUCCESS(failed);
}

bool normalized(const UNormalizer2* form, const Buffer<UChar>& text, Buffer<UChar>& out) {
    return written(out, [&](UChar* into, int32_t room, UErrorCode* failed) {
        return unorm2_normalize(form, text.data(), int32_t(text.size()), into, room, failed);
    });
}

// Unicode's canonical caseless match: the text decomposed (NFD), fully case
// folded, and composed again (NFC). False should the library refuse.
bool caselessKey(const Buffer<UChar>& text, Buffer<UChar>& key) {
    UErrorCode failed = U_ZERO_ERROR;
    const UNormalizer2* decomposed = unorm2_getNFDInstance(&failed);
    const UNormalizer2* composed = unorm2_getNFCInstance(&failed);
    Buffer<UChar> apart;
    Buffer<UChar> folded;
    return U_SUCCESS(failed) && normalized(decomposed, text, apart) &&
           written(folded,
                   [&](UChar* into, int32_t room, UErrorCode* fail) {
                       return u_strFoldCase(into, room, apart.data(), int32_t(apart.size()),
                                            U_FOLD_CASE_DEFAULT, fail);
                   }) &&
           normalized(composed, folded, key);
}

// casefold(text) in SQL. Names are mostly plain ASCII, which is in both
// normal forms already and folds letter by letter: over a whole table that
// road is worth keeping short.
void sqlCaseFold(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const int size = sqlite3_value_bytes(args[0]);
    if (!bytes) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (std::all_of(bytes, bytes + size, [](char c) { return uchar(c) < 0x80; })) {
        Buffer<char> lower(size);
        std::transform(bytes, bytes + size, lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        sqlite3_result_text(context, lower.data(), size, SQLITE_TRANSIENT);
        return;
    }
    Buffer<UChar> text;
    Buffer<UChar> key;
    const bool read = written(text, [&](UChar* into, int32_t room, UErrorCode* failed) {
        int32_t length = 0;
        u_strFromUTF8WithSub(into, room, &length, bytes, size, 0xFFFD, nullptr, failed);
        return length;
    });
    if (!read || !caselessKey(text, key)) {
        sqlite3_result_error_nomem(context);
        return;
    }
    sqlite3_result_text16(context, key.data(), int(key.size() * 2), SQLITE_TRANSIENT);
}

}  // namespace

QString foldCase(const QString& text) {
    Buffer<UChar> units(text.size());
    std::copy(text.utf16(), text.utf16() + text.size(), units.begin());
    Buffer<UChar> key;
    if (!caselessKey(units, key)) {  // should the library refuse
        return text.normalized(QString::NormalizationForm_D)
            .toCaseFolded()
            .normalized(QString::NormalizationForm_C);
    }
    return QString(reinterpret_cast<const QChar*>(key.constData()), key.size());
}

Error::Error(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

// ---- Statement ---------------------------------------------------------------

Statement::Statement(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        raise(db_, sqlite3_errcode(db_));
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

void Statement::fail() const {
    raise(db_, sqlite3_errcode(db_));
}

Statement& Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    switch (value.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            rc = sqlite3_bind_null(stmt_, index);
            break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt_, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text64(stmt_, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
    }
    if (rc != SQLITE_OK) {
        fail();
    }
    return *this;
}

Statement& Statement::bindAll(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i) {
        bind(i + 1, values[i]);
    }
    return *this;
}

bool Statement::next() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    fail();
}

void Statement::run() {
    while (next()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(stmt_, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt_, column));
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
            return QVariant(QByteArray(data, sqlite3_column_bytes(stmt_, column)));
        }
        case SQLITE_NULL:
            return QVariant();
        default:
            return QVariant(text(column));
    }
}

QString Statement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

Row Statement::row() const {
    Row result;
    const int count = columnCount();
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        result.append(value(i));
    }
    return result;
}

// ---- Connection --------------------------------------------------------------

namespace {

// Deriving the cipher key from the password is nearly all the cost of opening
// a file (tens of milliseconds), and every user action opens the file anew.
// So the key derived for a file's salt (its first 16 bytes) is kept for the
// life of the process and handed to the engine raw. Should the engine derive
// differently, the raw key fails and the password is used as it is.
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;
constexpr int kKdfIterations = 64000;

QByteArray readSalt(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray salt = file.read(kSaltBytes);
    return salt.size() == kSaltBytes ? salt : QByteArray();
}

QByteArray rawKeyFor(const QByteArray& salt) {
    static std::mutex guard;
    static std::map<QByteArray, QByteArray> derived;
    const std::lock_guard<std::mutex> lock(guard);
    const auto found = derived.find(salt);
    if (found != derived.end()) {
        return found->second;
    }
    unsigned char key[kKeyBytes];
    const auto* salty = reinterpret_cast<const unsigned char*>(salt.constData());
    if (PKCS5_PBKDF2_HMAC(kDatabaseKey, int(std::strlen(kDatabaseKey)), salty, kSaltBytes,
                          kKdfIterations, EVP_sha1(), kKeyBytes, key) != 1) {
        return {};
    }
    const QByteArray hex =
        QByteArray(reinterpret_cast<const char*>(key), kKeyBytes).toHex() + salt.toHex();
    const QByteArray pragma = "x'" + hex.toUpper() + "'";
    derived.emplace(salt, pragma);
    return pragma;
}

// Counts the program's tables in the file and reads its schema version, in
// one call. Reading the schema checks the key too, so this costs little more
// than the bare read that opening needs anyway.
const QByteArray& fileCheckQuery() {
    static const QByteArray query =
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('" +
        tableNames().join(QStringLiteral("', '")).toUtf8() + "'); PRAGMA user_version";
    return query;
}

// What the check found: the program's tables, then the version.
struct FileCheck {
    int values[2] = {0, 0};
    int seen = 0;
};

int storeCheck(void* check, int, char** values, char**) {
    auto* found = static_cast<FileCheck*>(check);
    if (found->seen < 2) {
        found->values[found->seen++] = values[0] ? std::atoi(values[0]) : 0;
    }
    return 0;
}

// Opens and keys the file, reading its schema to check the key and, unless a
// file is being created, that it holds the program's tables. Returns the
// engine's error code; *out holds the handle and *version the file's schema
// version on success.
int openKeyed(const QByteArray& file, int flags, const QByteArray& key, sqlite3** out, int* version,
              QString* message) {
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(file.constData(), &handle, flags, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_key(handle, key.constData(), int(key.size()));
    }
    FileCheck check;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(handle, Connection::busyTimeoutMs);
        rc = sqlite3_exec(handle, fileCheckQuery().constData(), &storeCheck, &check, nullptr);
    }
    if (rc == SQLITE_OK && !(flags & SQLITE_OPEN_CREATE) &&
        check.values[0] != tableNames().size()) {
        sqlite3_close_v2(handle);
        *message = QStringLiteral("file is not a database");
        return SQLITE_NOTADB;
    }
    if (rc == SQLITE_OK) {
        *out = handle;
        *version = check.values[1];
        return rc;
    }
    rc = handle ? sqlite3_errcode(handle) : rc;
    *message = lastMessage(handle);
    sqlite3_close_v2(handle);
    return rc;
}

}  // namespace

Connection::Connection(const QString& path, Mode mode) {
    // The engine would read the name only up to a NUL and open another file.
    if (path.contains(QChar(0))) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("unable to open database file"));
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Create) {
        flags |= SQLITE_OPEN_CREATE;
    }
    const QByteArray file = path.toUtf8();
    const QByteArray password(kDatabaseKey);
    const QByteArray salt = readSalt(path);
    const QByteArray raw = salt.isEmpty() ? QByteArray() : rawKeyFor(salt);
    QString message;
    int version = 0;
    int rc = openKeyed(file, flags, raw.isEmpty() ? password : raw, &db_, &version, &message);
    if (rc == SQLITE_NOTADB && !raw.isEmpty()) {
        rc = openKeyed(file, flags, password, &db_, &version, &message);
    }
    if (rc != SQLITE_OK) {
        db_ = nullptr;
        throw Error(rc, message);
    }
    sqlite3_create_function_v2(db_, "casefold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               &sqlCaseFold, nullptr, nullptr, nullptr);
    if (mode == Mode::OpenExisting && isOlderVersion(version)) {
        try {
            upgradeSchema(*this);
        } catch (const Error&) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
            throw;
        }
    }
}

Connection::~Connection() {
    sqlite3_close_v2(db_);
}

Statement Connection::prepare(const QString& sql) {
    return Statement(db_, sql);
}

void Connection::exec(const QString& sql, const QVariantList& params) {
    prepare(sql).bindAll(params).run();
}

std::vector<Row> Connection::rows(const QString& sql, const QVariantList& params) {
    Statement st = prepare(sql);
    st.bindAll(params);
    std::vector<Row> result;
    while (st.next()) {
        result.push_back(st.row());
    }
    return result;
}

QVariant Connection::scalar(const QString& sql, const QVariantList& params) {
    Statement st = prepare(sql);
    st.bindAll(params);
    return st.next() ? st.value(0) : QVariant();
}

qint64 Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Connection::changes() const {
    return sqlite3_changes(db_);
}

// ---- Transaction -------------------------------------------------------------

Transaction::Transaction(Connection& conn) : conn_(conn) {
    conn_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_) {
        sqlite3_exec(conn_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    conn_.exec("COMMIT");
    open_ = false;
}

}  // namespace db
