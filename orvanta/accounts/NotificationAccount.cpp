#include "NotificationAccount.h"

#include "data/DataCon.h"

namespace orv {

MailAccount NotificationAccount::read(DataCon& db) {
    const QueryResult r = db.query(QStringLiteral("Select usernames,passwords from accounts_nofi"));
    if (r.empty())
        throw MailError(QStringLiteral("No mail can be sent: the notification mail account is not set up "
                                       "(table accounts_nofi is empty). Please contact your System "
                                       "Administrator."));
    return {r.text(0, QStringLiteral("usernames")), r.text(0, QStringLiteral("passwords"))};
}

} // namespace orv
