#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace orv {

class DataCon;
class Mailer;

// New accounts: the user signs up, the account is stored unverified with a
// random verification code, and the code is mailed to the given address.
class SignupService {
public:
    struct Office {
        int id = 0;
        QString name; // in capitals, as the list shows it
    };

    struct Request {
        QString firstName, lastName, username, password, position, email;
        std::optional<int> officeId;
        // Every field but the position is needed, and an office.
        bool complete() const;
    };

    struct Result {
        bool created = false;
        int userId = 0;
        QString code;      // the verification code drawn
        QString mailError; // empty when the mail was handed to the server
    };

    explicit SignupService(DataCon& db);

    // Offices in name order.
    std::vector<Office> offices();
    // Whether an account of that user name exists, letter case ignored.
    bool usernameTaken(const QString& username);

    // Stores the account (password hashed) and mails the code. An incomplete
    // request stores nothing. The account exists whatever happens to the
    // mail; a mail failure comes back in mailError. A user name taken in the
    // meantime is a UserError.
    Result signUp(const Request& request, Mailer& mailer);

    // An account that can log in at once, for IT staff (orvanta-cli user add).
    // Throws UserError when the user name is taken or a value is missing.
    int addVerifiedUser(const Request& request);

    static QString mailSubject() { return QStringLiteral("Orvanta"); }
    static QString activationBody(const QString& username, const QString& code);

private:
    int insert(const Request& request, const QString& code, bool verified);

    DataCon& m_db;
};

} // namespace orv
