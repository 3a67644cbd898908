#pragma once

// Small builders and readers for time-record tests.
#include "data/DataCon.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace orv::test {

template <class... V> SqlParams params(const V&... values) {
    SqlParams p;
    (p.add(QVariant(values)), ...);
    return p;
}

inline void addPerson(DataCon& db, int employeeid, const QString& bioid, const QString& lname,
                      const QString& fname, const QVariant& mname = {}, const QVariant& suffix = {},
                      int officeid = 1) {
    db.execute(QStringLiteral("INSERT INTO bioemp_profile (employeeid, bioid, lname, fname, mname, suffixs, "
                              "officeid, emp_type) VALUES ($1, $2, $3, $4, $5, $6, $7, 'Job Order')"),
               SqlParams()
                   .add(employeeid == 0 ? QVariant() : QVariant(employeeid))
                   .add(bioid)
                   .add(lname)
                   .add(fname)
                   .add(mname)
                   .add(suffix)
                   .add(officeid));
}

inline void addPunch(DataCon& db, int bioid, const QString& stamp, const QString& mode) {
    db.execute(
        QStringLiteral("INSERT INTO attendance_read (bioid, att_date, check_mode, verify_mode) VALUES ($1, "
                       "$2, $3, 'finger')"),
        params(bioid, stamp, mode));
}

inline void addHoliday(DataCon& db, const QString& day, const QString& description) {
    db.execute(QStringLiteral("INSERT INTO holidays (hol_date, hol_descrip) VALUES ($1, $2)"),
               params(day, description));
}

// One day row as text, NULL as "-".
struct DayRow {
    QString day, display, time1, time2, time3, time4;
    int tardy = 0, addTardy = 0, holidays = 0, works = 0, absents = 0, off = 0, lock = 0, bioid = 0;
};

inline std::vector<DayRow> dayRows(DataCon& db, int employeeid) {
    const QueryResult r = db.query(
        QStringLiteral(
            "SELECT to_char(att_dates, 'YYYY-MM-DD') AS day, coalesce(display_dtr, '-') AS display, "
            "coalesce(to_char(att_time1, 'HH24:MI:SS'), '-') AS t1, "
            "coalesce(to_char(att_time2, 'HH24:MI:SS'), '-') AS t2, "
            "coalesce(to_char(att_time3, 'HH24:MI:SS'), '-') AS t3, "
            "coalesce(to_char(att_time4, 'HH24:MI:SS'), '-') AS t4, tardy, add_tardy, holidays, works, "
            "absents, att_off, att_lock, bioid FROM data_dtr WHERE employeeid = $1 ORDER BY att_dates"),
        params(employeeid));
    std::vector<DayRow> out;
    for (int i = 0; i < r.rowCount(); ++i)
        out.push_back({r.text(i, "day"), r.text(i, "display"), r.text(i, "t1"), r.text(i, "t2"),
                       r.text(i, "t3"), r.text(i, "t4"), r.toInt(i, "tardy"), r.toInt(i, "add_tardy"),
                       r.toInt(i, "holidays"), r.toInt(i, "works"), r.toInt(i, "absents"),
                       r.toInt(i, "att_off"), r.toInt(i, "att_lock"), r.toInt(i, "bioid")});
    return out;
}

inline DayRow dayRow(DataCon& db, int employeeid, const QString& day) {
    for (const DayRow& r : dayRows(db, employeeid))
        if (r.day == day)
            return r;
    return {};
}

// Every row of the table, every column but the key, as text lines.
inline QStringList wholeTable(DataCon& db) {
    const QueryResult r = db.query(
        QStringLiteral("SELECT concat_ws('|', employeeid, coalesce(bioid::text, '<null>'), att_dates, "
                       "coalesce(display_dtr, '<null>'), coalesce(works::text, '<null>'), "
                       "coalesce(att_time1::text, '<null>'), "
                       "coalesce(att_time2::text, '<null>'), coalesce(att_time3::text, '<null>'), "
                       "coalesce(att_time4::text, '<null>'), tardy, add_tardy, holidays, absents, att_off, "
                       "att_lock) AS line "
                       "FROM data_dtr ORDER BY employeeid, att_dates"));
    QStringList out;
    for (int i = 0; i < r.rowCount(); ++i)
        out << r.text(i, "line");
    return out;
}

} // namespace orv::test
