#include "DtrReview.h"

#include "AuditLog.h"

#include "data/DataCon.h"
#include "data/Errors.h"

namespace orv {

namespace {

QString verifierText(const DtrVerifier& v) {
    return QStringList{v.fullname, v.position, v.designation}.join(QStringLiteral(" | "));
}

} // namespace

QStringList DtrReview::yearsWithPunches() {
    // Walks the punch dates' index a year at a time instead of reading every punch.
    const QueryResult rows =
        m_db.query(QStringLiteral("WITH RECURSIVE y(start) AS ("
                                  " SELECT date_trunc('year', min(att_date)) FROM attendance_read"
                                  " UNION ALL"
                                  " SELECT (SELECT date_trunc('year', min(a.att_date)) FROM attendance_read a"
                                  "         WHERE a.att_date >= y.start + interval '1 year')"
                                  " FROM y WHERE y.start IS NOT NULL)"
                                  " SELECT to_char(start, 'yyyy') AS years FROM y WHERE start IS NOT NULL"));
    QStringList out;
    for (int i = 0; i < rows.rowCount(); ++i)
        out << rows.text(i, QStringLiteral("years"));
    out.sort(); // found in ascending order already; the sort is done here, not by the server
    return out;
}

QString DtrReview::markText(DayMark mark) {
    return mark == DayMark::Absent ? QStringLiteral("Absent") : QStringLiteral("--:--");
}

bool DtrReview::toggleMark(DayMark mark, int employeeid, const QDate& day) {
    const QString column = mark == DayMark::Absent ? QStringLiteral("absents") : QStringLiteral("att_off");
    return m_db.transaction([&](Transaction& t) {
        const QueryResult row = t.query(
            QStringLiteral(
                "SELECT att_lock, coalesce(display_dtr, '') AS shown, %1 AS flag, "
                "(att_time1 IS NULL AND att_time2 IS NULL AND att_time3 IS NULL AND att_time4 IS NULL)"
                "::int AS no_times FROM data_dtr WHERE employeeid = $1 AND att_dates = $2 FOR UPDATE")
                .arg(column),
            SqlParams().add(employeeid).add(day));
        if (row.empty() || row.toInt(0, QStringLiteral("att_lock")) != 0)
            return false;
        const QString shown = row.text(0, QStringLiteral("shown"));
        if (row.toInt(0, QStringLiteral("no_times")) != 1 || (!shown.isEmpty() && shown != markText(mark)))
            return false;
        const int before = row.toInt(0, QStringLiteral("flag"));
        const int after = before == 1 ? 0 : 1;
        t.execute(QStringLiteral("UPDATE data_dtr SET %1 = $3 WHERE employeeid = $1 AND att_dates = $2")
                      .arg(column),
                  SqlParams().add(employeeid).add(day).add(after));
        AuditLog::record(t, m_userid, employeeid, day,
                         mark == DayMark::Absent ? AuditLog::Absent : AuditLog::Off, QString::number(before),
                         QString::number(after));
        return true;
    });
}

bool DtrReview::setAddTardy(int employeeid, const QDate& day, int minutes) {
    if (minutes < 0)
        throw UserError(QStringLiteral("The minutes to add cannot be negative."));
    return m_db.transaction([&](Transaction& t) {
        const QueryResult row =
            t.query(QStringLiteral("SELECT att_lock, add_tardy FROM data_dtr WHERE employeeid = "
                                   "$1 AND att_dates = $2 FOR UPDATE"),
                    SqlParams().add(employeeid).add(day));
        if (row.empty() || row.toInt(0, QStringLiteral("att_lock")) != 0)
            return false;
        const int before = row.toInt(0, QStringLiteral("add_tardy"));
        t.execute(
            QStringLiteral("UPDATE data_dtr SET add_tardy = $3 WHERE employeeid = $1 AND att_dates = $2"),
            SqlParams().add(employeeid).add(day).add(minutes));
        if (before != minutes)
            AuditLog::record(t, m_userid, employeeid, day, AuditLog::AddTardy, QString::number(before),
                             QString::number(minutes));
        return true;
    });
}

bool DtrReview::relabelPunch(int employeeid, const QDate& day, qint64 attReadId, const QString& checkMode) {
    if (checkMode != QLatin1String("check-in") && checkMode != QLatin1String("check-out"))
        throw UserError(QStringLiteral("A punch can be re-labelled only as check-in or check-out."));
    return m_db.transaction([&](Transaction& t) {
        const QueryResult lock =
            t.query(QStringLiteral(
                        "SELECT att_lock FROM data_dtr WHERE employeeid = $1 AND att_dates = $2 FOR UPDATE"),
                    SqlParams().add(employeeid).add(day));
        if (!lock.empty() && lock.toInt(0, QStringLiteral("att_lock")) != 0)
            return false;
        const QueryResult punch =
            t.query(QStringLiteral("SELECT check_mode FROM attendance_read WHERE att_readid = $1 FOR UPDATE"),
                    SqlParams().add(attReadId));
        if (punch.empty())
            return false;
        t.execute(QStringLiteral("UPDATE data_dtr SET att_time1 = NULL, att_time2 = NULL, att_time3 = NULL, "
                                 "att_time4 = NULL WHERE employeeid = $1 AND att_dates = $2"),
                  SqlParams().add(employeeid).add(day));
        t.execute(QStringLiteral("UPDATE attendance_read SET check_mode = $2 WHERE att_readid = $1"),
                  SqlParams().add(attReadId).add(checkMode));
        AuditLog::record(t, m_userid, employeeid, day, AuditLog::Relabel,
                         punch.text(0, QStringLiteral("check_mode")), checkMode);
        return true;
    });
}

DtrVerifier DtrReview::verifier(int employeeid) {
    const QueryResult row = m_db.query(
        QStringLiteral("SELECT hfullname, hposition, hdesignation FROM bioemp_profile "
                       "WHERE bioemp_profileid = (SELECT min(bioemp_profileid) FROM bioemp_profile "
                       "WHERE employeeid = $1)"),
        SqlParams().add(employeeid));
    if (row.empty())
        return {};
    return {row.text(0, QStringLiteral("hfullname")), row.text(0, QStringLiteral("hposition")),
            row.text(0, QStringLiteral("hdesignation"))};
}

void DtrReview::saveVerifier(int employeeid, const DtrVerifier& v) {
    m_db.transaction([&](Transaction& t) {
        const QueryResult row = t.query(
            QStringLiteral("SELECT hfullname, hposition, hdesignation FROM bioemp_profile "
                           "WHERE bioemp_profileid = (SELECT min(bioemp_profileid) FROM bioemp_profile "
                           "WHERE employeeid = $1) FOR UPDATE"),
            SqlParams().add(employeeid));
        if (row.empty())
            throw UserError(QStringLiteral("Employee %1 is not in the personnel register; nothing was saved.")
                                .arg(employeeid));
        const DtrVerifier before{row.text(0, QStringLiteral("hfullname")),
                                 row.text(0, QStringLiteral("hposition")),
                                 row.text(0, QStringLiteral("hdesignation"))};
        t.execute(
            QStringLiteral("UPDATE bioemp_profile SET hfullname = $2, hposition = $3, hdesignation = $4 "
                           "WHERE employeeid = $1"),
            SqlParams().add(employeeid).add(v.fullname).add(v.position).add(v.designation));
        if (!(before == v))
            AuditLog::record(t, m_userid, employeeid, {}, AuditLog::Verifier, verifierText(before),
                             verifierText(v));
    });
}

} // namespace orv
