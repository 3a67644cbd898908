#pragma once

#include <QString>

namespace orv {

class DataCon;
class Mailer;

// A forgotten password is replaced by a generated one that is mailed to the
// account's address. The new password is stored only once the mail server
// has accepted the message; until then the old one keeps working.
class PasswordRecovery {
public:
    explicit PasswordRecovery(DataCon& db) : m_db(db) {}

    // Whether a verified account has that user name (blanks around it ignored).
    bool verifyUsername(const QString& username);
    // Mails and stores a new password; returns the address it went to.
    // Throws MailError (nothing changed) or UserError for an unknown account.
    QString reset(const QString& username, Mailer& mailer);

    static QString mailBody(const QString& password, const QString& username);

private:
    DataCon& m_db;
};

} // namespace orv
