#pragma once

#include <QString>

// Passwords are stored only as Argon2id hashes (libsodium's text form, which
// carries its own salt and cost limits), never as typed.
namespace password {

// The hash to store for a typed password. Throws db::Error 7 ("out of
// memory") when libsodium cannot hash, so the action reports it and stops.
QString hash(const QString& typed);

// True when the typed password is the one behind the stored hash; letter case
// counts. A stored text that is no hash matches nothing.
bool verify(const QString& stored, const QString& typed);

}  // namespace password
