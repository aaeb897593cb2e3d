#include "session/password_digest.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <QStringList>

namespace session {

namespace {

// Digests made before each password had a salt of its own used this one; they still log in.
constexpr char kSharedSalt[] = "mulanxuan-shop-erp/password/v1";
constexpr int kIterations = 120000;
constexpr int kSaltBytes = 12;
// "s2$" + 24 hex digits of salt + "$" + 64 hex digits: 92 characters, within 密码's 100.
const QString kSaltedPrefix = QStringLiteral("s2$");

// "" when OpenSSL could not make it.
QByteArray pbkdf2(const QString& password, const QByteArray& salt) {
    const QByteArray bytes = password.toUtf8();
    unsigned char digest[32];
    if (PKCS5_PBKDF2_HMAC(bytes.constData(), static_cast<int>(bytes.size()),
                          reinterpret_cast<const unsigned char*>(salt.constData()),
                          static_cast<int>(salt.size()), kIterations, EVP_sha256(), sizeof digest,
                          digest) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), sizeof digest).toHex();
}

bool sameDigest(const QByteArray& made, const QString& stored) {
    const QByteArray expected = stored.toLatin1();
    return !made.isEmpty() && made.size() == expected.size() &&
           CRYPTO_memcmp(made.constData(), expected.constData(), made.size()) == 0;
}

}  // namespace

QString makePasswordDigest(const QString& password) {
    unsigned char salt[kSaltBytes];
    if (RAND_bytes(salt, sizeof salt) != 1) return {};
    const QByteArray saltHex = QByteArray(reinterpret_cast<const char*>(salt), sizeof salt).toHex();
    const QByteArray digest = pbkdf2(password, saltHex);
    if (digest.isEmpty()) return {};
    return kSaltedPrefix + QString::fromLatin1(saltHex) + u'$' + QString::fromLatin1(digest);
}

bool passwordMatches(const QString& password, const QString& stored) {
    if (!stored.startsWith(kSaltedPrefix))
        return sameDigest(pbkdf2(password, QByteArray(kSharedSalt)), stored);
    const QStringList parts = stored.mid(kSaltedPrefix.size()).split(u'$');
    if (parts.size() != 2) return false;
    return sameDigest(pbkdf2(password, parts[0].toLatin1()), parts[1]);
}

bool hasQuotationMark(const QString& text) {
    return text.contains(u'\'') || text.contains(u'"');
}

QString unusablePassword(const QString& password) {
    if (password.isEmpty()) return QStringLiteral("密码不能为空！");
    if (hasQuotationMark(password))
        return QStringLiteral("密码中不能有单引号或双引号，否则将无法登录！");
    return {};
}

QString unusableUserName(const QString& name) {
    if (hasQuotationMark(name))
        return QStringLiteral("用户名中不能有单引号或双引号，否则将无法登录！");
    return {};
}

}  // namespace session
