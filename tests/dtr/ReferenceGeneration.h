#pragma once

// The month generation written out one statement at a time, day by day and
// punch by punch, exactly as the time-record rules describe it. It is the
// yardstick the set-based generator is measured against.
#include "DtrTestData.h"

namespace orv::test {

// The day's punches with mode and minutes late, oldest first, sent as six lines.
inline const QString ReferencePunchQuery =
    QStringList{
        QStringLiteral("SELECT finals.*,case when tardys > 0 then tardys else 0 end tardys_final FROM "
                       "(SELECT t.*,case when "
                       "modess = '1' then (EXTRACT(EPOCH FROM (to_timestamp(concat(att_date::date,' "
                       "',att_date::time),'YYYY-MM-DD "
                       "HH24:MI') - to_timestamp"),
        QStringLiteral(
            "(concat(att_date::date,' 08:00:00'), 'YYYY-MM-DD HH24:MI')))/60)::INTEGER when modess = '2' "
            "then "
            "(EXTRACT(EPOCH FROM (to_timestamp(concat(att_date::date,' 12:00:00'), 'YYYY-MM-DD HH24:MI') - "
            "to_timestamp(concat(att_date::date,' ',"),
        QStringLiteral(
            "att_date::time),'YYYY-MM-DD HH24:MI')))/60)::INTEGER when modess = '3' then (EXTRACT(EPOCH FROM "
            "(to_timestamp(concat(att_date::date,' ',att_date::time),'YYYY-MM-DD HH24:MI') - "
            "to_timestamp(concat(att_date::date,' 13:00:00'), "),
        QStringLiteral("'YYYY-MM-DD HH24:MI')))/60)::INTEGER when modess = '4' then (EXTRACT(EPOCH FROM "
                       "(to_timestamp(concat(att_date::date,' 17:00:00'), 'YYYY-MM-DD HH24:MI') - "
                       "to_timestamp(concat(att_date::date,' ',att_date::time),'YYYY-MM-DD HH24:MI')))"),
        QStringLiteral(
            "/60)::INTEGER end as tardys from (SELECT att_readid,bioid,att_date,check_mode,case when "
            "check_mode ilike 'check-in' and att_date::time < '11:00:00'::time then '1' when check_mode "
            "ilike "
            "'check-out' and att_date::time < '13:00:00'::time "),
        QStringLiteral(
            "then '2' when check_mode ilike 'check-in' and att_date::time < '16:00:00'::time then '3' when "
            "check_mode ilike 'check-out' and att_date::time < '19:00:00'::time then '4' end as modess from "
            "attendance_read WHERE bioid = $1 and att_date::date = $2::date ORDER BY att_date ) as  t ) as "
            "finals"),
    }
        .join(QLatin1Char('\n'));

inline void referenceGenerate(DataCon& db, int employee, int bioid, const QDate& month) {
    const QString m = month.toString(QStringLiteral("yyyy-MM-dd"));
    // 1. holiday marks of the month
    db.execute(
        QStringLiteral("Update data_dtr set holidays = 0,display_dtr = '' where employeeid = $1 and holidays "
                       "= 1 and EXTRACT(year from att_dates::date) = EXTRACT(year from $2::date) and "
                       "EXTRACT(month from att_dates::date) = EXTRACT(month from $2::date)"),
        params(employee, m));
    // 2. tardiness of the month
    db.execute(QStringLiteral(
                   "Update data_dtr set tardy = 0 where employeeid = $1 and EXTRACT(year from "
                   "att_dates::date) = EXTRACT(year from $2::date) and EXTRACT(month from att_dates::date) "
                   "= EXTRACT(month from $2::date)"),
               params(employee, m));
    // 3. the days of the month
    const QueryResult days = db.query(
        QStringLiteral(
            "SELECT r::date,case when EXTRACT(ISODOW FROM r::date) = 6 then 'Saturday' when "
            "EXTRACT(ISODOW FROM r::date) = 7 then 'Sunday' end weekends,case when EXTRACT(ISODOW FROM "
            "r::date) in (6,7) then 0 ELSE 1 end works FROM (SELECT generate_series($1::TIMESTAMP, "
            "(date_trunc('month', $1::TIMESTAMP) + interval '1 month' - interval '1 day'), '1 "
            "day'::interval) as r) as t"),
        params(m));
    // 4. each day in date order
    for (int i = 0; i < days.rowCount(); ++i) {
        const QString day = days.text(i, "r");
        const QString weekends = days.text(i, "weekends"); // a null reads as the empty text
        const QString works = days.text(i, "works");
        // 5. the row
        if (!db.query(QStringLiteral(
                          "SELECT data_dtrid from data_dtr where employeeid = $1 and att_dates = $2::date"),
                      params(employee, day))
                 .empty())
            db.execute(QStringLiteral("Update data_dtr set display_dtr = $1 where employeeid = $2 and "
                                      "att_dates::date = $3::date"),
                       params(weekends, employee, day));
        else
            db.execute(QStringLiteral("Insert into data_dtr(employeeid,bioid,att_dates,display_dtr,works) "
                                      "values($1,$2,$3,$4,$5)"),
                       params(employee, bioid, day, weekends, works));
        // 6., 7. punches, times by mode, the day's tardiness
        const QueryResult punches = db.query(ReferencePunchQuery, params(bioid, day));
        for (int p = 0; p < punches.rowCount(); ++p) {
            const QString mode = punches.text(p, "modess");
            if (!mode.isEmpty())
                db.execute(QStringLiteral("Update data_dtr set att_time%1 = $1 where employeeid = $2 and "
                                          "att_dates::date = $3::date")
                               .arg(mode),
                           params(punches.text(p, "att_date"), employee, day));
            const QString sum = db.query(QStringLiteral("SELECT sum(tardys_final) as tardys FROM (") +
                                             ReferencePunchQuery + QStringLiteral(" ) fx"),
                                         params(bioid, day))
                                    .text(0, "tardys");
            db.execute(
                QStringLiteral(
                    "Update data_dtr set tardy = $1 where employeeid = $2 and att_dates::date = $3::date"),
                params(sum, employee, day));
        }
        // 8. holiday
        const QueryResult holiday = db.query(
            QStringLiteral(
                "SELECT case when EXTRACT(ISODOW FROM hol_date::date) not in (6,7) then hol_descrip when "
                "EXTRACT(ISODOW FROM hol_date::date) = 6 then 'Saturday' when EXTRACT(ISODOW FROM "
                "hol_date::date) = 7 then 'Sunday' end as ts FROM holidays\n WHERE hol_date::date = "
                "$1::date "),
            params(day));
        if (!holiday.empty())
            db.execute(
                QStringLiteral("Update data_dtr set holidays = 1, display_dtr = $1 where employeeid = $2 and "
                               "att_dates::date = $3::date"),
                params(holiday.text(0, "ts"), employee, day));
        // 9. day off
        if (db.query(QStringLiteral("Select att_off from data_dtr where att_off = 1 and employeeid = $1 and "
                                    "att_dates::date = $2::date"),
                     params(employee, day))
                .empty())
            db.execute(
                QStringLiteral("Update data_dtr set display_dtr = '' where display_dtr ilike '--:--' and "
                               "employeeid = $1 and att_dates::date = $2::date"),
                params(employee, day));
        else
            db.execute(
                QStringLiteral("Update data_dtr set display_dtr = '--:--' where att_off = 1 and employeeid = "
                               "$1 and att_dates::date = $2::date"),
                params(employee, day));
        // 10. absence
        if (db.query(QStringLiteral("Select absents from data_dtr where absents = 1 and employeeid = $1 and "
                                    "att_dates::date = $2::date"),
                     params(employee, day))
                .empty())
            db.execute(
                QStringLiteral("Update data_dtr set display_dtr = '' where display_dtr ilike 'absent' and "
                               "employeeid = $1 and att_dates::date = $2::date"),
                params(employee, day));
        else
            db.execute(
                QStringLiteral("Update data_dtr set display_dtr = 'Absent' where absents = 1 and employeeid "
                               "= $1 and att_dates::date = $2::date"),
                params(employee, day));
        // 11. added tardiness
        const QueryResult added =
            db.query(QStringLiteral("Select tardy, add_tardy from data_dtr where add_tardy <> 0 "
                                    "and employeeid = $1 and att_dates::date = $2::date"),
                     params(employee, day));
        const qint64 total =
            added.empty() ? 0 : added.toLongLong(0, "tardy") + added.toLongLong(0, "add_tardy");
        db.execute(
            QStringLiteral("Update data_dtr set tardy = $1 where add_tardy <> 0 and employeeid = $2 and "
                           "att_dates::date = $3::date"),
            params(total, employee, day));
    }
}

} // namespace orv::test
