#pragma once

#include <QString>

namespace orv {

class DataCon;

// Checks a typed verification code against the account's and marks the
// account verified. The code is compared as text ("00042" is not "42"), the
// e-mail address without letter case.
class AccountActivation {
public:
    explicit AccountActivation(DataCon& db) : m_db(db) {}
    bool activate(const QString& usernm, const QString& emails, const QString& code);

private:
    DataCon& m_db;
};

} // namespace orv
