#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace orv {

// The settings cipher: a 16-bit running key over the low 8 bits of each
// character. Deciphering and enciphering use the same constants; the key is
// always advanced with the enciphered character.
inline constexpr std::uint16_t CipherMultiplier = 52845;
inline constexpr std::uint16_t CipherAddend = 22719;

QString DecryptStr(const QString& s, std::uint16_t key);
// Characters above 255 cannot be enciphered; they throw std::invalid_argument.
QString EncryptStr(const QString& s, std::uint16_t key);

// Reads a seed key value ("1", "2", "3"): a decimal whole number taken modulo
// 65536. Empty or non-numeric text gives no seed.
std::optional<std::uint16_t> parseSeed(const QString& text);

// True when an enciphered value survives a line of the settings file unchanged:
// no NUL, CR or LF, no blank at either end, not wrapped in a pair of quotes.
bool isIniSafe(const QString& enciphered);

struct Enciphered {
    std::uint16_t seed = 0;
    QString value;
};

// Picks a random seed whose enciphered output is safe in the settings file.
Enciphered encipherForIni(const QString& plain);

} // namespace orv
