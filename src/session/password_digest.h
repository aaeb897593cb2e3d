#pragma once
// The one password digest: what is stored and compared wherever a password is set or checked.

#include <QString>

namespace session {

// PBKDF2-HMAC-SHA256 over the password's UTF-8 bytes with the program's own salt, as 64 hex
// digits: one-way, the same for the same password, and within the 100 characters of 密码.
QString makePasswordDigest(const QString& password);

}  // namespace session
