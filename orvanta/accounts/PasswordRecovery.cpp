#include "PasswordRecovery.h"
#include "Mailer.h"
#include "NotificationAccount.h"
#include "PasswordGenerator.h"
#include "PasswordHash.h"
#include "SignupService.h"

#include "data/DataCon.h"

namespace orv {

bool PasswordRecovery::verifyUsername(const QString& username) {
    return !m_db.query(QStringLiteral("SELECT email_address FROM end_user WHERE usernames = :username "
                                      "and activate_status = 1"),
                       SqlParams().bind(QStringLiteral("username"), username.trimmed()))
                .empty();
}

QString PasswordRecovery::mailBody(const QString& password, const QString& username) {
    return QStringLiteral("This is your new password [ ") + password +
           QStringLiteral(" ] for your username : [ ") + username + QStringLiteral(" ]");
}

QString PasswordRecovery::reset(const QString& username, Mailer& mailer) {
    const QString name = username.trimmed();
    const QString password = PasswordGenerator::GeneratePassword(10, PasswordGenerator::AllClasses);
    const QueryResult r =
        m_db.query(QStringLiteral("SELECT end_userid,email_address FROM end_user WHERE usernames = :username "
                                  "and activate_status = 1 ORDER BY end_userid LIMIT 1"),
                   SqlParams().bind(QStringLiteral("username"), name));
    if (r.empty())
        throw UserError(QStringLiteral("There is no verified account with the user name \"%1\".").arg(name));
    const QString emails = r.text(0, QStringLiteral("email_address"));
    const QString id = r.text(0, QStringLiteral("end_userid"));

    mailer.send(NotificationAccount::read(m_db),
                {emails, SignupService::mailSubject(), mailBody(password, name)});
    m_db.execute(QStringLiteral("UPDATE end_user SET passwords = :password WHERE end_userid = :id"),
                 SqlParams()
                     .bind(QStringLiteral("password"), PasswordHash::hash(password))
                     .bind(QStringLiteral("id"), id));
    return emails;
}

} // namespace orv
