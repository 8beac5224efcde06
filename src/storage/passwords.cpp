#include "storage/passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace ts {

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium cannot be initialised");
}

} // namespace

QString hashPassword(const QString& password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString& stored)
{
    return stored.startsWith(QLatin1String("$argon2id$"));
}

bool passwordMatches(const QString& typed, const QString& stored)
{
    if (!isPasswordHash(stored))
        return typed == stored;
    ensureSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size()))
           == 0;
}

} // namespace ts
