// user add: creates a verified account, so a fresh installation has a first
// login without the mail round trip.
#include "CliContext.h"
#include "Commands.h"

#include "accounts/SignupService.h"
#include "data/Errors.h"

namespace orv::cli {

namespace {

// The office by its name or short name, letter case ignored.
std::pair<int, QString> findOffice(DataCon& db, const QString& name) {
    const QueryResult r = db.query(QStringLiteral("SELECT officeid, off_name FROM offices "
                                                  "WHERE lower(off_name) = lower(:name) "
                                                  "OR lower(off_short) = lower(:name) ORDER BY officeid"),
                                   SqlParams().bind(QStringLiteral("name"), name.trimmed()));
    if (r.empty())
        throw UserError(QStringLiteral("There is no office named \"%1\".").arg(name));
    if (r.rowCount() > 1)
        throw UserError(
            QStringLiteral("More than one office is named \"%1\": give the full office name.").arg(name));
    return {r.toInt(0, QStringLiteral("officeid")), r.text(0, QStringLiteral("off_name"))};
}

} // namespace

int runUser(CliContext& c) {
    const QStringList words = c.positional();
    if (words.value(0) != QLatin1String("add"))
        throw UserError(QStringLiteral("Usage: orvanta-cli user add --username U --first F --last L "
                                       "--office NAME --email E [--position P]"));
    c.allowOnly({QStringLiteral("username"), QStringLiteral("first"), QStringLiteral("last"),
                 QStringLiteral("office"), QStringLiteral("email"), QStringLiteral("position"),
                 QStringLiteral("settings")});
    SignupService::Request request;
    request.username = c.required(QStringLiteral("username"));
    request.firstName = c.required(QStringLiteral("first"));
    request.lastName = c.required(QStringLiteral("last"));
    const QString office = c.required(QStringLiteral("office"));
    request.email = c.required(QStringLiteral("email"));
    request.position = c.option(QStringLiteral("position")).value_or(QString());
    // The password comes from standard input, so it stays out of the shell history.
    request.password = c.readLine();
    if (request.password.isEmpty())
        throw UserError(QStringLiteral("No password was given on standard input."));

    DataCon& db = c.db();
    const auto [officeId, officeName] = findOffice(db, office);
    request.officeId = officeId;
    const int id = SignupService(db).addVerifiedUser(request);
    c.out() << "Created the verified account \"" << request.username << "\" (end_userid " << id << ") in "
            << officeName << "; it can log in now.\n";
    return 0;
}

} // namespace orv::cli
