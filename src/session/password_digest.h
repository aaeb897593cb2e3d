#pragma once
// The one password digest: what is stored and compared wherever a password is set or checked;
// and what login refuses, so that no window stores a name or password nobody could log in with.

#include <QString>

namespace session {

// PBKDF2-HMAC-SHA256 over the password's UTF-8 bytes with a random salt of its own, stored with
// the digest: one-way, different for two users with one password, and within the 100
// characters of 密码. "" when the digest could not be made: never store it.
QString makePasswordDigest(const QString& password);

// Whether `stored` was made from `password`; digests from before salts keep matching.
bool passwordMatches(const QString& password, const QString& stored);

// Login refuses a user name or a password holding a single or a double quotation mark.
bool hasQuotationMark(const QString& text);

// Why login would refuse this new password or user name; "" when it would not.
QString unusablePassword(const QString& password);
QString unusableUserName(const QString& name);

}  // namespace session
