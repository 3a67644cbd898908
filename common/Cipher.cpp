#include "Cipher.h"

#include <random>
#include <stdexcept>

namespace orv {

namespace {
std::uint16_t nextKey(std::uint16_t key, unsigned char b) {
    return static_cast<std::uint16_t>((b + key) * CipherMultiplier + CipherAddend);
}
} // namespace

QString DecryptStr(const QString& s, std::uint16_t key) {
    QString result = s;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s.at(i).unicode() & 0xFF);
        result[i] = QChar(static_cast<char16_t>(b ^ (key >> 8)));
        key = nextKey(key, b);
    }
    return result;
}

QString EncryptStr(const QString& s, std::uint16_t key) {
    QString result = s;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t code = s.at(i).unicode();
        if (code > 0xFF)
            throw std::invalid_argument(
                "The character '" + QString(s.at(i)).toStdString() +
                "' cannot be stored in the settings file; use Latin-1 characters only.");
        const auto c = static_cast<unsigned char>(code ^ (key >> 8));
        result[i] = QChar(static_cast<char16_t>(c));
        key = nextKey(key, c);
    }
    return result;
}

std::optional<std::uint16_t> parseSeed(const QString& text) {
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned long long>(n) & 0xFFFFu);
}

bool isIniSafe(const QString& enciphered) {
    for (const QChar c : enciphered)
        if (c.unicode() == 0 || c == u'\r' || c == u'\n')
            return false;
    if (enciphered.isEmpty())
        return true;
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    if (blank(enciphered.front()) || blank(enciphered.back()))
        return false;
    const QChar f = enciphered.front();
    if (enciphered.size() >= 2 && (f == u'"' || f == u'\'') && enciphered.back() == f)
        return false;
    return true;
}

Enciphered encipherForIni(const QString& plain) {
    std::random_device rd;
    std::uniform_int_distribution<int> dist(0, 0xFFFF);
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const auto seed = static_cast<std::uint16_t>(dist(rd));
        const QString value = EncryptStr(plain, seed);
        if (isIniSafe(value))
            return {seed, value};
    }
    throw std::runtime_error("No key seed gives a value that fits in the settings file.");
}

} // namespace orv
