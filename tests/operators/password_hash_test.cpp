#include "operators/password_hash.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(PasswordHash, EveryPasswordVerifiesAgainstItsOwnHashOnly)
{
    const QStringList passwords = {"", "secret", "  padded  ", "密码123", "O'Neil\"%\\", QString(64, QChar('x'))};
    for (const QString& p : passwords) {
        const QString stored = PasswordHash::hash(p);
        ASSERT_FALSE(stored.isEmpty());
        EXPECT_LE(stored.size(), 128) << "must fit F_PassWord";
        EXPECT_NE(stored, p);
        EXPECT_TRUE(PasswordHash::verify(stored, p)) << p.toStdString();
        // Both sides are trimmed, as at login.
        EXPECT_TRUE(PasswordHash::verify(stored, " " + p + " ")) << p.toStdString();
        EXPECT_FALSE(PasswordHash::verify(stored, p + "x")) << p.toStdString();
    }
    EXPECT_FALSE(PasswordHash::verify("Secret", "Secret")) << "a plain text is not a stored password";
    EXPECT_FALSE(PasswordHash::verify(PasswordHash::hash("Secret"), "secret")) << "letter case matters";
}

TEST(PasswordHash, DeliveredEmptyPasswordHash)
{
    EXPECT_TRUE(PasswordHash::verify(PasswordHash::emptyPasswordHash(), ""));
    EXPECT_TRUE(PasswordHash::verify(PasswordHash::emptyPasswordHash(), "   "));
    EXPECT_FALSE(PasswordHash::verify(PasswordHash::emptyPasswordHash(), "731"));
}
