#include "LoginService.h"
#include "PasswordHash.h"

#include "data/DataCon.h"
#include "data/Session.h"

namespace orv {

namespace {

QVariant raw(const QueryResult& r, int row, const QString& column) {
    return r.isNull(row, column) ? QVariant() : QVariant(r.text(row, column));
}

} // namespace

LoginService::LoginService(DataCon& db, Session& session)
    : m_db(db), m_session(session), m_appName(db.settings().applicationName) {}

QString LoginService::suffix(const QString& server) {
    return server == QLatin1String("localhost") ? QStringLiteral("local") : QStringLiteral("online");
}

void LoginService::readOwnConnection() {
    m_appName = m_db.settings().applicationName;
    m_session.pid = QString::number(m_db.backendPid());
}

LoginService::Result LoginService::login(const QString& username, const QString& password) {
    Result result;
    const QueryResult users = m_db.query(
        QStringLiteral("SELECT end_userid, passwords, email_address, activate_status, end_type, officeid, "
                       "upper(concat(end_fname,' ',end_lname)) as fullname "
                       "FROM end_user WHERE usernames = :username ORDER BY end_userid"),
        SqlParams().bind(QStringLiteral("username"), username));
    int row = -1;
    for (int i = 0; i < users.rowCount() && row < 0; ++i) {
        const QString stored = users.text(i, QStringLiteral("passwords"));
        const PasswordHash::Match match = PasswordHash::check(stored, password);
        if (match == PasswordHash::Match::No)
            continue;
        row = i;
        if (match == PasswordHash::Match::YesPlainText) // an old row: keep the hash from now on
            m_db.execute(QStringLiteral("UPDATE end_user SET passwords = :hash "
                                        "WHERE end_userid = :id AND passwords = :plain"),
                         SqlParams()
                             .bind(QStringLiteral("hash"), PasswordHash::hash(password))
                             .bind(QStringLiteral("id"), users.text(i, QStringLiteral("end_userid")))
                             .bind(QStringLiteral("plain"), stored));
    }
    if (row < 0)
        return result;

    const QString userid = users.text(row, QStringLiteral("end_userid"));
    const QString officeid = users.text(row, QStringLiteral("officeid"));
    result.fullname = users.text(row, QStringLiteral("fullname"));
    result.welcome =
        QStringLiteral("WELCOME : ") + result.fullname + QStringLiteral(" - ") + suffix(m_session.server);
    result.verified = users.toInt(row, QStringLiteral("activate_status")) == 1;
    result.username = username.trimmed();
    result.email = users.text(row, QStringLiteral("email_address"));

    const QueryResult rec =
        m_db.query(QStringLiteral("SELECT status_up,pid,client_port from end_user WHERE end_userid = :id"),
                   SqlParams().bind(QStringLiteral("id"), userid));
    Recorded recorded;
    if (!rec.empty())
        recorded = {raw(rec, 0, QStringLiteral("status_up")), raw(rec, 0, QStringLiteral("pid")),
                    raw(rec, 0, QStringLiteral("client_port"))};
    const int ownPid = m_db.backendPid();
    m_session.pid = QString::number(ownPid);

    result.outcome = guard(recorded, ownPid);
    if (result.outcome == Outcome::Granted && !record(userid, recorded))
        result.outcome = Outcome::Busy; // another workstation recorded itself in the meantime
    if (result.outcome == Outcome::Granted) {
        m_session.userid = userid;
        m_session.officeid = officeid;
    }
    return result;
}

LoginService::Outcome LoginService::guard(const Recorded& recorded, int ownPid) {
    if (recorded.status.isNull() || recorded.status.toInt() == 0)
        return Outcome::Granted;
    // The program's own connection (an account just verified in this run)
    // is no other workstation.
    if (!recorded.pid.isNull() && recorded.pid.toInt() == ownPid)
        return Outcome::Granted;
    const QueryResult open = m_db.query(
        QStringLiteral("SELECT pid,client_port FROM pg_stat_activity WHERE application_name ILIKE :app "
                       "and pid = :pid and client_port = :port"),
        SqlParams()
            .bind(QStringLiteral("app"), m_appName)
            .bind(QStringLiteral("pid"), recorded.pid)
            .bind(QStringLiteral("port"), recorded.port));
    if (open.empty())
        return Outcome::Granted; // the recorded connection is gone
    const QueryResult idle =
        m_db.query(QStringLiteral("SELECT case when state_change + make_interval(secs => :idle) <= now() "
                                  "then 't' else 'f' end as results FROM pg_stat_activity WHERE pid = :pid"),
                   SqlParams()
                       .bind(QStringLiteral("idle"), static_cast<qlonglong>(m_idleThreshold.count()))
                       .bind(QStringLiteral("pid"), recorded.pid));
    if (idle.empty())
        return Outcome::Granted; // it ended while we looked
    if (idle.text(0, QStringLiteral("results")) == QLatin1String("f"))
        return Outcome::Busy;
    m_db.query(QStringLiteral("SELECT pg_terminate_backend(:pid)"),
               SqlParams().bind(QStringLiteral("pid"), recorded.pid));
    return Outcome::OtherTerminated;
}

bool LoginService::record(const QString& userid, const Recorded& recorded) {
    const QueryResult own = m_db.query(
        QStringLiteral("SELECT pid,client_port from pg_stat_activity WHERE pid = pg_backend_pid()"));
    // Only if the row still holds what the guard saw: of two workstations
    // passing the guard at the same moment, one records itself, the other
    // is refused.
    return m_db.execute(QStringLiteral("Update end_user set status_up = 1, pid = :pid, client_port = :port "
                                       "WHERE end_userid = :id AND status_up IS NOT DISTINCT FROM :oldstatus "
                                       "AND pid IS NOT DISTINCT FROM :oldpid "
                                       "AND client_port IS NOT DISTINCT FROM :oldport"),
                        SqlParams()
                            .bind(QStringLiteral("pid"), raw(own, 0, QStringLiteral("pid")))
                            .bind(QStringLiteral("port"), raw(own, 0, QStringLiteral("client_port")))
                            .bind(QStringLiteral("id"), userid)
                            .bind(QStringLiteral("oldstatus"), recorded.status)
                            .bind(QStringLiteral("oldpid"), recorded.pid)
                            .bind(QStringLiteral("oldport"), recorded.port)) > 0;
}

} // namespace orv
