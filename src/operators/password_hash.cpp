#include "operators/password_hash.h"

#include <QByteArray>

#include <sodium.h>

namespace {

bool ready()
{
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

// Made once with hash(""); hashing it again at every database creation would cost time for nothing.
const char kEmptyPasswordHash[] =
    "$argon2id$v=19$m=65536,t=2,p=1$sbqNjJIyIBnEeYDrT73tKw$1PBIFD/jd/7uZrNewRFTsvqVklB2Ux5ng8lrluZ0mHM";

} // namespace

namespace PasswordHash {

QString hash(const QString& password)
{
    if (!ready())
        return {};
    const QByteArray plain = password.trimmed().toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, plain.constData(), quint64(plain.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        return {};
    return QString::fromLatin1(out);
}

bool verify(const QString& stored, const QString& typed)
{
    if (!ready())
        return false;
    const QByteArray hashed = stored.trimmed().toLatin1();
    if (hashed.isEmpty() || hashed.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray plain = typed.trimmed().toUtf8();
    return crypto_pwhash_str_verify(hashed.constData(), plain.constData(), quint64(plain.size())) == 0;
}

QString emptyPasswordHash()
{
    return QString::fromLatin1(kEmptyPasswordHash);
}

} // namespace PasswordHash
