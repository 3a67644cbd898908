#include "AccountActivation.h"

#include "data/DataCon.h"

namespace orv {

bool AccountActivation::activate(const QString& usernm, const QString& emails, const QString& code) {
    const QueryResult r =
        m_db.query(QStringLiteral("SELECT email_code,end_userid FROM end_user WHERE usernames = :username "
                                  "and lower(email_address) = lower(:email) and email_code = :code"),
                   SqlParams()
                       .bind(QStringLiteral("username"), usernm)
                       .bind(QStringLiteral("email"), emails)
                       .bind(QStringLiteral("code"), code));
    if (r.empty())
        return false;
    m_db.execute(QStringLiteral("Update end_user set activate_status = 1 where end_userid = :id"),
                 SqlParams().bind(QStringLiteral("id"), r.text(0, QStringLiteral("end_userid"))));
    return true;
}

} // namespace orv
