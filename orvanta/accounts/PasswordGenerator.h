#pragma once

#include <QFlags>
#include <QString>

namespace orv {

// New passwords and verification codes, drawn from the secure random source.
class PasswordGenerator {
public:
    enum Class { Lower = 1, Upper = 2, Digits = 4, Extra = 8 };
    Q_DECLARE_FLAGS(Classes, Class)

    static constexpr Classes AllClasses = Classes(Lower | Upper | Digits | Extra);

    // `length` characters: each draw picks one of the four classes uniformly
    // and appends a character of it if the class is allowed; an upper-case
    // letter and an extra character ("_" or ".") each leave the allowed set
    // once used, so a password holds at most one of each. No allowed class:
    // empty text. When the set runs out of classes the text ends there.
    static QString GeneratePassword(int length, Classes allowed);

    // A verification code: a whole number from 0 to 99999 in decimal, no
    // leading zeros.
    static QString RandomCode();
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PasswordGenerator::Classes)

} // namespace orv
