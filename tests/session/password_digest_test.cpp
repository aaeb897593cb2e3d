#include "session/password_digest.h"

#include <gtest/gtest.h>

using session::makePasswordDigest;
using session::passwordMatches;

TEST(PasswordDigest, EachDigestHasItsOwnSaltAndMatchesOnlyItsPassword) {
    const QString first = makePasswordDigest("secret1");
    const QString second = makePasswordDigest("secret1");
    EXPECT_NE(first, second);  // two users with one password are not seen side by side
    for (const QString& digest : {first, second}) {
        EXPECT_TRUE(passwordMatches("secret1", digest));
        EXPECT_FALSE(passwordMatches("secret2", digest));
        EXPECT_FALSE(passwordMatches("", digest));
        EXPECT_FALSE(digest.contains("secret1"));
        EXPECT_LE(digest.size(), 100);
    }
    EXPECT_FALSE(passwordMatches("密 码", makePasswordDigest("密码")));
    EXPECT_TRUE(passwordMatches("", makePasswordDigest("")));
}

TEST(PasswordDigest, DigestsFromBeforeSaltsStillMatch) {
    const QString unsalted = "44e59b9dc7047bd661e0aa1ce25eb0364592ba374e31ce9aef487f84ea08be1b";
    EXPECT_TRUE(passwordMatches("secret1", unsalted));
    EXPECT_FALSE(passwordMatches("secret2", unsalted));
}

TEST(PasswordDigest, NothingStoredOrMalformedMatchesNothing) {
    for (const QString& stored : {QString(), QString("s2$"), QString("s2$abc"), QString("xyz")})
        EXPECT_FALSE(passwordMatches("", stored)) << stored.toStdString();
}
