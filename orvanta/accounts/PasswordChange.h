#pragma once

#include <QString>

namespace orv {

class DataCon;
struct Session;

// The logged-in user replaces the password after confirming the old one.
class PasswordChange {
public:
    enum class SaveOutcome {
        NotVerified, // the old password was not confirmed: nothing happens
        Mismatch,    // new and retyped differ (or are empty)
        Saved,
    };

    PasswordChange(DataCon& db, const Session& session) : m_db(db), m_session(session) {}

    // The old password, blanks around it ignored.
    bool verifyOld(const QString& typed);
    bool verified() const { return m_verified; }
    // New passwords are stored as typed.
    SaveOutcome save(const QString& changed, const QString& retyped);

private:
    DataCon& m_db;
    const Session& m_session;
    bool m_verified = false;
};

} // namespace orv
