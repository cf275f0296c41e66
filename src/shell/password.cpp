#include "shell/password.h"

#include "db/database.h"

#include <sodium.h>

#include <mutex>

namespace password {

namespace {

void initSodium() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0) {
            throw db::Error(7, QStringLiteral("libsodium tidak bisa dimulai"));
        }
    });
}

}  // namespace

QString hash(const QString& typed) {
    initSodium();
    const QByteArray plain = typed.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(
            out, plain.constData(), size_t(plain.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
            crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw db::Error(7, QStringLiteral("Out of memory"));
    }
    return QString::fromLatin1(out);
}

bool verify(const QString& stored, const QString& typed) {
    initSodium();
    const QByteArray hashed = stored.toLatin1();
    const QByteArray plain = typed.toUtf8();
    return crypto_pwhash_str_verify(hashed.constData(), plain.constData(), size_t(plain.size())) ==
           0;
}

}  // namespace password
