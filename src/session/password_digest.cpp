#include "session/password_digest.h"

#include <openssl/evp.h>

namespace session {

namespace {

constexpr char kSalt[] = "mulanxuan-shop-erp/password/v1";
constexpr int kIterations = 120000;

}  // namespace

QString makePasswordDigest(const QString& password) {
    const QByteArray bytes = password.toUtf8();
    unsigned char digest[32];
    if (PKCS5_PBKDF2_HMAC(bytes.constData(), static_cast<int>(bytes.size()),
                          reinterpret_cast<const unsigned char*>(kSalt), sizeof kSalt - 1,
                          kIterations, EVP_sha256(), sizeof digest, digest) != 1)
        return {};
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest), sizeof digest).toHex());
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
