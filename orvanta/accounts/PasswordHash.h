#pragma once

#include <QString>

namespace orv {

// Account passwords are kept as argon2id hashes (libsodium's
// crypto_pwhash_str with the interactive limits, well under half a second
// per check). Rows from before hashing still hold the password as typed:
// they match only when the typed text is exactly the same, and the caller
// then stores the hash in their place.
class PasswordHash {
public:
    enum class Match { No, Yes, YesPlainText };

    static QString hash(const QString& password);
    static bool isHash(const QString& stored);
    // Exact comparison: letter case and blanks count.
    static Match check(const QString& stored, const QString& typed);
};

} // namespace orv
