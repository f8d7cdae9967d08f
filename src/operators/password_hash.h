#pragma once

#include <QString>

// Operator passwords are stored as Argon2id hashes of the trimmed password; nothing can turn
// a stored value back into the password.
namespace PasswordHash {
// The stored form of a password (trimmed first); empty text when hashing failed.
QString hash(const QString& password);
// True when the typed password, trimmed, is the one the stored form was made from.
bool verify(const QString& stored, const QString& typed);
// The stored form of the empty password, as delivered for the system operator.
QString emptyPasswordHash();
} // namespace PasswordHash
