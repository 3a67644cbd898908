#pragma once

#include <QString>
#include <QVariant>

#include <chrono>

namespace orv {

class DataCon;
struct Session;

// Login against end_user, with the guard that lets one account be logged in
// from one workstation at a time. The guard reads PostgreSQL's own list of
// live connections: the connection recorded for the account blocks a new
// login while it is open, unless it has not changed state for the idle
// threshold (5 minutes), in which case it is ended and the user is asked to
// log in again. The program's own connection never blocks it.
class LoginService {
public:
    static constexpr std::chrono::seconds DefaultIdleThreshold{5 * 60};

    enum class Outcome {
        WrongCredentials, // no account with that user name and password
        Busy,             // logged in elsewhere, active within the threshold
        OtherTerminated,  // logged in elsewhere but idle: that connection was ended
        Granted,
    };

    struct Result {
        Outcome outcome = Outcome::WrongCredentials;
        QString fullname; // upper-case first and last name
        QString welcome;  // "WELCOME : " + fullname + " - " + local/online
        bool verified = false;
        QString username; // trimmed, for the activation dialog
        QString email;
        // Unverified accounts go on to the activation dialog, whether or not
        // this attempt was granted.
        bool needsActivation() const { return outcome != Outcome::WrongCredentials && !verified; }
    };

    LoginService(DataCon& db, Session& session);

    void setIdleThreshold(std::chrono::seconds threshold) { m_idleThreshold = threshold; }
    std::chrono::seconds idleThreshold() const { return m_idleThreshold; }

    // The connection's application name and server process id (kept in
    // the session as pid), read when the login dialog is activated.
    void readOwnConnection();

    // Letter case and blanks count in both texts. A granted login writes
    // userid, officeid and pid into the session and records the connection.
    Result login(const QString& username, const QString& password);

    // "local" for the server "localhost", else "online".
    static QString suffix(const QString& server);

private:
    struct Recorded {
        QVariant status, pid, port;
    };
    Outcome guard(const Recorded& recorded, int ownPid);
    bool record(const QString& userid, const Recorded& recorded);

    DataCon& m_db;
    Session& m_session;
    QString m_appName;
    std::chrono::seconds m_idleThreshold = DefaultIdleThreshold;
};

} // namespace orv
