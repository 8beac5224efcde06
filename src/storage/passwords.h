#pragma once

#include <QString>

namespace ts {

// Operators' passwords are kept as salted Argon2id hashes, never as typed.
QString hashPassword(const QString& password);
// True when `stored` is one of our hashes (as opposed to a password that an
// older or imported database still holds as typed).
bool isPasswordHash(const QString& stored);
// Checks a typed password against what 登陆.密码 holds: a hash, or the
// plain text of an older database.
bool passwordMatches(const QString& typed, const QString& stored);

} // namespace ts
