#include "PasswordGenerator.h"
#include "SecureRandom.h"

namespace orv {

namespace {

const QString LowerLetters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
const QString UpperLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
const QString DigitChars = QStringLiteral("0123456789");
const QString ExtraChars = QStringLiteral("_.");

QChar pick(const QString& set) {
    return set.at(static_cast<qsizetype>(SecureRandom::uniform(static_cast<std::uint32_t>(set.size()))));
}

} // namespace

QString PasswordGenerator::GeneratePassword(int length, Classes allowed) {
    QString out;
    while (out.size() < length && allowed != Classes()) {
        switch (SecureRandom::uniform(4)) {
        case 0:
            if (allowed.testFlag(Lower))
                out += pick(LowerLetters);
            break;
        case 1:
            if (allowed.testFlag(Upper)) {
                out += pick(UpperLetters);
                allowed.setFlag(Upper, false);
            }
            break;
        case 2:
            if (allowed.testFlag(Digits))
                out += pick(DigitChars);
            break;
        default:
            if (allowed.testFlag(Extra)) {
                out += pick(ExtraChars);
                allowed.setFlag(Extra, false);
            }
            break;
        }
    }
    return out;
}

QString PasswordGenerator::RandomCode() {
    return QString::number(SecureRandom::uniform(100000));
}

} // namespace orv
