#include "Cipher.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

// The routine worked by hand: key seed 0x1234, plain "A" (0x41).
// out = 0x41 ^ 0x12 = 0x53 ('S').
TEST(Cipher, WorkedExample) {
    EXPECT_EQ(EncryptStr("A", 0x1234), "S");
    EXPECT_EQ(DecryptStr("S", 0x1234), "A");
    // second character: key = (0x53 + 0x1234) * 52845 + 22719 mod 65536
    const std::uint16_t k2 = static_cast<std::uint16_t>((0x53 + 0x1234) * 52845 + 22719);
    const QChar expected(static_cast<char16_t>('B' ^ (k2 >> 8)));
    EXPECT_EQ(EncryptStr("AB", 0x1234).at(1), expected);
}

TEST(Cipher, RoundTripsForEmptyLongAndEveryByte) {
    EXPECT_EQ(DecryptStr("", 1), "");
    EXPECT_EQ(EncryptStr("", 1), "");
    QString every;
    for (int c = 1; c < 256; ++c)
        every.append(QChar(static_cast<char16_t>(c)));
    const QString longText = every.repeated(40);
    for (const std::uint16_t seed :
         {std::uint16_t(0), std::uint16_t(1), std::uint16_t(40000), std::uint16_t(65535)})
        EXPECT_EQ(DecryptStr(EncryptStr(longText, seed), seed), longText) << seed;
}

TEST(Cipher, CodesAbove255CountWithTheirLowByteOnly) {
    const QString enciphered = EncryptStr("secret", 999);
    QString widened = enciphered;
    widened[2] = QChar(static_cast<char16_t>(widened.at(2).unicode() | 0x2500));
    EXPECT_EQ(DecryptStr(widened, 999), "secret");
}

TEST(Cipher, SeedsAreDecimalModulo65536) {
    struct Case {
        const char* text;
        std::optional<std::uint16_t> seed;
    };
    const Case cases[] = {{"0", 0},           {"52845", 52845},      {" 77 ", 77},
                          {"65536", 0},       {"65537", 1},          {"-1", 65535},
                          {"", std::nullopt}, {"12a", std::nullopt}, {"0x10", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(parseSeed(c.text), c.seed) << c.text;
}

TEST(Cipher, EncipherForIniPicksSafeSeeds) {
    const QString plain = "p@ss w0rd;'\"=[]";
    for (int i = 0; i < 200; ++i) {
        const Enciphered e = encipherForIni(plain);
        EXPECT_TRUE(isIniSafe(e.value));
        EXPECT_EQ(DecryptStr(e.value, e.seed), plain);
    }
    EXPECT_FALSE(isIniSafe(" a"));
    EXPECT_FALSE(isIniSafe("a\t"));
    EXPECT_FALSE(isIniSafe("a\nb"));
    EXPECT_FALSE(isIniSafe(QString("a") + QChar(0) + "b"));
    EXPECT_FALSE(isIniSafe("\"ab\""));
    EXPECT_TRUE(isIniSafe("\"ab"));
}

TEST(Cipher, CharactersBeyondLatin1AreRefused) {
    EXPECT_THROW(EncryptStr(QString::fromUtf8("pass€"), 5), std::invalid_argument);
}

} // namespace
