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
    PKCS5_PBKDF2_HMAC(bytes.constData(), static_cast<int>(bytes.size()),
                      reinterpret_cast<const unsigned char*>(kSalt), sizeof kSalt - 1, kIterations,
                      EVP_sha256(), sizeof digest, digest);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest), sizeof digest).toHex());
}

}  // namespace session
