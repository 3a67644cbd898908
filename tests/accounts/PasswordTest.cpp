#include "accounts/PasswordGenerator.h"
#include "accounts/PasswordHash.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace orv;

namespace {

TEST(PasswordGenerator, TenCharactersAtMostOneCapitalNeverBothExtras) {
    const QString lower = "abcdefghijklmnopqrstuvwxyz", digits = "0123456789";
    QSet<QString> seen;
    int withCapital = 0, withExtra = 0;
    for (int draw = 0; draw < 5000; ++draw) {
        const QString p = PasswordGenerator::GeneratePassword(10, PasswordGenerator::AllClasses);
        ASSERT_EQ(p.size(), 10) << p.toStdString();
        int capitals = 0, extras = 0;
        for (const QChar c : p) {
            if (c.isUpper())
                ++capitals;
            else if (c == '_' || c == '.')
                ++extras;
            else
                ASSERT_TRUE(lower.contains(c) || digits.contains(c)) << p.toStdString();
        }
        ASSERT_LE(capitals, 1) << p.toStdString();
        ASSERT_LE(extras, 1) << p.toStdString();
        ASSERT_FALSE(p.contains('_') && p.contains('.')) << p.toStdString();
        withCapital += capitals;
        withExtra += extras;
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 5000); // no repeats: the source is not a clock-seeded sequence
    // Both optional classes do turn up (each is drawn with probability 1/4 per step).
    EXPECT_GT(withCapital, 4000);
    EXPECT_GT(withExtra, 4000);
}

TEST(PasswordGenerator, RestrictedOrEmptyClassSets) {
    EXPECT_EQ(PasswordGenerator::GeneratePassword(10, {}), "");
    const QString digits = PasswordGenerator::GeneratePassword(12, PasswordGenerator::Digits);
    EXPECT_EQ(digits.size(), 12);
    for (const QChar c : digits)
        EXPECT_TRUE(c.isDigit());
    // Only capitals allowed: one capital, then nothing is left to draw.
    EXPECT_EQ(PasswordGenerator::GeneratePassword(10, PasswordGenerator::Upper).size(), 1);
}

TEST(PasswordGenerator, CodesCoverTheRangeWithoutLeadingZeros) {
    bool shortCode = false, longCode = false;
    for (int i = 0; i < 20000; ++i) {
        const QString code = PasswordGenerator::RandomCode();
        bool ok = false;
        const int n = code.toInt(&ok);
        ASSERT_TRUE(ok);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 100000);
        ASSERT_EQ(code, QString::number(n)); // "42", never "00042"
        shortCode |= code.size() <= 4;
        longCode |= code.size() == 5;
    }
    EXPECT_TRUE(shortCode);
    EXPECT_TRUE(longCode);
}

TEST(PasswordHash, HashesVerifyExactlyAndPlainRowsAreRecognised) {
    const QString stored = PasswordHash::hash("Pa'ss word ");
    EXPECT_TRUE(stored.startsWith("$argon2id$"));
    EXPECT_NE(PasswordHash::hash("Pa'ss word "), stored); // salted
    EXPECT_EQ(PasswordHash::check(stored, "Pa'ss word "), PasswordHash::Match::Yes);
    for (const char* wrong : {"pa'ss word ", "Pa'ss word", "", "Pa'ss word  "})
        EXPECT_EQ(PasswordHash::check(stored, wrong), PasswordHash::Match::No) << wrong;

    EXPECT_EQ(PasswordHash::check("admin", "admin"), PasswordHash::Match::YesPlainText);
    EXPECT_EQ(PasswordHash::check("admin", "Admin"), PasswordHash::Match::No);
    // An account without a password does not log in with an empty one.
    EXPECT_EQ(PasswordHash::check("", ""), PasswordHash::Match::No);
}

} // namespace
