#include "SignupService.h"
#include "Mailer.h"
#include "NotificationAccount.h"
#include "PasswordGenerator.h"
#include "PasswordHash.h"

#include "data/DataCon.h"
#include "data/Errors.h"

namespace orv {

bool SignupService::Request::complete() const {
    return !firstName.isEmpty() && !lastName.isEmpty() && !username.isEmpty() && !password.isEmpty() &&
           !email.isEmpty() && officeId.has_value();
}

SignupService::SignupService(DataCon& db) : m_db(db) {}

std::vector<SignupService::Office> SignupService::offices() {
    const QueryResult r = m_db.query(
        QStringLiteral("Select officeid, upper(off_name) as off_name from offices Order by off_name"));
    std::vector<Office> out;
    out.reserve(static_cast<size_t>(r.rowCount()));
    for (int i = 0; i < r.rowCount(); ++i)
        out.push_back({r.toInt(i, QStringLiteral("officeid")), r.text(i, QStringLiteral("off_name"))});
    return out;
}

bool SignupService::usernameTaken(const QString& username) {
    return !m_db.query(
                    QStringLiteral("Select end_userid from end_user where lower(usernames) = lower(:name)"),
                    SqlParams().bind(QStringLiteral("name"), username))
                .empty();
}

QString SignupService::activationBody(const QString& username, const QString& code) {
    return QStringLiteral("This is your activation code for <") + username +
           QStringLiteral("> account : [ ") + code + QStringLiteral(" ]");
}

int SignupService::insert(const Request& request, const QString& code, bool verified) {
    const QueryResult r = m_db.query(
        QStringLiteral(
            "INSERT INTO end_user(end_fname,end_lname,usernames,passwords,designation,officeid,email_address,"
            "email_code,activate_status) "
            "SELECT :first::text, :last::text, :username::text, :password::text, :position::text, "
            ":office::integer, "
            ":email::text, :code::text, :verified::integer "
            "WHERE NOT EXISTS (SELECT 1 FROM end_user WHERE lower(usernames) = lower(:username)) "
            "RETURNING end_userid"),
        SqlParams()
            .bind(QStringLiteral("first"), request.firstName)
            .bind(QStringLiteral("last"), request.lastName)
            .bind(QStringLiteral("username"), request.username)
            .bind(QStringLiteral("password"), PasswordHash::hash(request.password))
            .bind(QStringLiteral("position"), request.position)
            .bind(QStringLiteral("office"), *request.officeId)
            .bind(QStringLiteral("email"), request.email)
            .bind(QStringLiteral("code"), code.isNull() ? QVariant() : QVariant(code))
            .bind(QStringLiteral("verified"), verified ? 1 : 0));
    if (r.empty())
        throw UserError(QStringLiteral("The user name \"%1\" is already taken. Please choose another one.")
                            .arg(request.username));
    return r.toInt(0, QStringLiteral("end_userid"));
}

SignupService::Result SignupService::signUp(const Request& request, Mailer& mailer) {
    Result result;
    result.code = PasswordGenerator::RandomCode();
    if (!request.complete())
        return result;
    result.userId = insert(request, result.code, false);
    result.created = true;
    try {
        const MailAccount account = NotificationAccount::read(m_db);
        mailer.send(account, {request.email, mailSubject(), activationBody(request.username, result.code)});
    } catch (const MailError& e) {
        result.mailError = e.text();
    }
    return result;
}

int SignupService::addVerifiedUser(const Request& request) {
    if (!request.complete())
        throw UserError(QStringLiteral("First name, last name, user name, password, office and e-mail "
                                       "address are all needed."));
    return insert(request, QString(), true);
}

} // namespace orv
