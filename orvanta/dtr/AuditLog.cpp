#include "AuditLog.h"

#include "data/DataCon.h"

#include <algorithm>

namespace orv {

const QString AuditLog::Absent = QStringLiteral("absent");
const QString AuditLog::Off = QStringLiteral("off");
const QString AuditLog::AddTardy = QStringLiteral("add tardy");
const QString AuditLog::Relabel = QStringLiteral("punch re-label");
const QString AuditLog::Verifier = QStringLiteral("verifier");
const QString AuditLog::HolidayAdded = QStringLiteral("holiday added");
const QString AuditLog::HolidayDeleted = QStringLiteral("holiday deleted");

void AuditLog::record(Transaction& t, const QString& userid, const QVariant& employeeid, const QDate& day,
                      const QString& action, const QString& oldValue, const QString& newValue) {
    t.execute(QStringLiteral("INSERT INTO audit_log (end_userid, employeeid, att_dates, action, old_value, "
                             "new_value) VALUES ($1, $2, $3, $4, $5, $6)"),
              SqlParams()
                  .add(userid.trimmed().isEmpty() ? QVariant() : QVariant(userid.trimmed()))
                  .add(employeeid)
                  .add(day.isValid() ? QVariant(day) : QVariant())
                  .add(action)
                  .add(oldValue)
                  .add(newValue));
}

std::vector<AuditLog::Entry> AuditLog::forEmployeeMonth(DataCon& db, int employeeid, const DtrMonth& month) {
    const QueryResult rows =
        db.query(QStringLiteral(
                     "SELECT l.audit_logid, to_char(l.changed_at, 'YYYY-MM-DD HH24:MI:SS') AS changed_at, "
                     "l.end_userid, u.usernames, "
                     "l.employeeid, to_char(l.att_dates, 'YYYY-MM-DD') AS att_dates, l.action, l.old_value, "
                     "l.new_value "
                     "FROM audit_log l LEFT JOIN end_user u ON u.end_userid = l.end_userid "
                     "WHERE (l.employeeid = $1 AND ((l.att_dates >= $2::date AND l.att_dates < $3::date) OR "
                     "(l.att_dates IS NULL AND l.changed_at >= $2::date AND l.changed_at < $3::date))) "
                     "OR (l.employeeid IS NULL AND l.att_dates >= $2::date AND l.att_dates < $3::date)"),
                 SqlParams().add(employeeid).add(month.first()).add(month.nextFirst()));
    // Put in order here: a sort on the server is costly with sorting switched off for the planner.
    std::vector<std::pair<qint64, Entry>> found;
    for (int i = 0; i < rows.rowCount(); ++i) {
        Entry e;
        e.changedAt = QDateTime::fromString(rows.text(i, QStringLiteral("changed_at")),
                                            QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        e.userid = rows.text(i, QStringLiteral("end_userid"));
        e.username = rows.text(i, QStringLiteral("usernames"));
        e.employeeid = rows.text(i, QStringLiteral("employeeid"));
        e.day = QDate::fromString(rows.text(i, QStringLiteral("att_dates")), QStringLiteral("yyyy-MM-dd"));
        e.action = rows.text(i, QStringLiteral("action"));
        e.oldValue = rows.text(i, QStringLiteral("old_value"));
        e.newValue = rows.text(i, QStringLiteral("new_value"));
        found.emplace_back(rows.toLongLong(i, QStringLiteral("audit_logid")), std::move(e));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.second.changedAt != b.second.changedAt ? a.second.changedAt < b.second.changedAt
                                                        : a.first < b.first;
    });
    std::vector<Entry> out;
    for (auto& [id, e] : found)
        out.push_back(std::move(e));
    return out;
}

} // namespace orv
