#include "HolidayCalendar.h"

#include "AuditLog.h"

#include "data/DataCon.h"
#include "data/Errors.h"

namespace orv {

const QString HolidayCalendar::Regular = QStringLiteral("Regular Holiday");
const QString HolidayCalendar::Special = QStringLiteral("Special Holiday");

HolidayCalendar::AddResult HolidayCalendar::add(const QDate& date, const QString& description) {
    const QString text = description.trimmed();
    if (!date.isValid())
        throw UserError(QStringLiteral("Please enter the holiday's date."));
    if (text.isEmpty())
        throw UserError(QStringLiteral("Please enter the holiday's description."));
    if (text.size() > DescriptionLength)
        throw UserError(QStringLiteral("A holiday's description can be at most %1 characters long.")
                            .arg(DescriptionLength));
    return m_db.transaction([&](Transaction& t) {
        const QueryResult inserted =
            t.query(QStringLiteral("INSERT INTO holidays (hol_date, hol_descrip) VALUES ($1, $2) "
                                   "ON CONFLICT (hol_date) DO NOTHING RETURNING holidaysid"),
                    SqlParams().add(date).add(text));
        if (inserted.empty())
            return AddResult::DateTaken;
        AuditLog::record(t, m_userid, QVariant(), date, AuditLog::HolidayAdded, QString(), text);
        return AddResult::Added;
    });
}

bool HolidayCalendar::remove(qint64 holidaysid) {
    return m_db.transaction([&](Transaction& t) {
        const QueryResult removed = t.query(
            QStringLiteral(
                "DELETE FROM holidays WHERE holidaysid = $1 RETURNING to_char(hol_date, 'YYYY-MM-DD') AS "
                "hol_date, hol_descrip"),
            SqlParams().add(holidaysid));
        if (removed.empty())
            return false;
        AuditLog::record(
            t, m_userid, QVariant(),
            QDate::fromString(removed.text(0, QStringLiteral("hol_date")), QStringLiteral("yyyy-MM-dd")),
            AuditLog::HolidayDeleted, removed.text(0, QStringLiteral("hol_descrip")), QString());
        return true;
    });
}

} // namespace orv
