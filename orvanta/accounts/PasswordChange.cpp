#include "PasswordChange.h"
#include "PasswordHash.h"

#include "data/DataCon.h"
#include "data/Session.h"

namespace orv {

bool PasswordChange::verifyOld(const QString& typed) {
    const QueryResult r = m_db.query(QStringLiteral("SELECT passwords FROM end_user WHERE end_userid = :id"),
                                     SqlParams().bind(QStringLiteral("id"), m_session.userid));
    m_verified = !r.empty() && PasswordHash::check(r.text(0, QStringLiteral("passwords")), typed.trimmed()) !=
                                   PasswordHash::Match::No;
    return m_verified;
}

PasswordChange::SaveOutcome PasswordChange::save(const QString& changed, const QString& retyped) {
    if (!m_verified)
        return SaveOutcome::NotVerified;
    if (changed != retyped || retyped.isEmpty())
        return SaveOutcome::Mismatch;
    m_db.execute(QStringLiteral("Update end_user set passwords = :password where end_userid = :id"),
                 SqlParams()
                     .bind(QStringLiteral("password"), PasswordHash::hash(retyped))
                     .bind(QStringLiteral("id"), m_session.userid));
    return SaveOutcome::Saved;
}

} // namespace orv
