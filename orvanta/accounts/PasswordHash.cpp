#include "PasswordHash.h"
#include "SecureRandom.h"

#include <sodium.h>

#include <stdexcept>

namespace orv {

namespace {

const QString Prefix = QStringLiteral("$argon2id$");

} // namespace

QString PasswordHash::hash(const QString& password) {
    SecureRandom::ensureInitialised();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("The password could not be protected: this computer is out of memory.");
    return QString::fromLatin1(out);
}

bool PasswordHash::isHash(const QString& stored) {
    return stored.startsWith(Prefix);
}

PasswordHash::Match PasswordHash::check(const QString& stored, const QString& typed) {
    if (!isHash(stored)) // an account without a password never logs in
        return !stored.isEmpty() && stored == typed ? Match::YesPlainText : Match::No;
    SecureRandom::ensureInitialised();
    const QByteArray hashed = stored.toLatin1();
    const QByteArray bytes = typed.toUtf8();
    return crypto_pwhash_str_verify(hashed.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0
               ? Match::Yes
               : Match::No;
}

} // namespace orv
