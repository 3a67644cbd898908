#include "DtrGenerator.h"

#include "data/DataCon.h"
#include "data/Errors.h"

#include <QMap>

#include <algorithm>
#include <map>

namespace orv {

namespace {

// The month of the listed employees ($1 employee ids, $2 their bio IDs, both
// as integer arrays; $3 the first day of the month), written in one upsert.
//
// Punch modes, first matching rule wins: '1' check-in before 11:00, '2'
// check-out before 13:00, '3' check-in before 16:00, '4' check-out before
// 19:00 (mode words compared without letter case); anything else has no mode.
// Minutes late are taken on the punch's hour and minute (seconds dropped):
// 1 = punch - 08:00, 2 = 12:00 - punch, 3 = punch - 13:00, 4 = 17:00 - punch,
// each at least 0.
//
// The text before the marks (`base`): the holiday text (the weekday name when
// the holiday falls on a weekend), else the weekend name, else empty; a base
// that reads "--:--" or "absent" (any letter case) is cleared, as the marks
// own those words. An existing row then shows "Absent" when marked absent,
// else "--:--" when marked off, else the base. Times without a punch of
// their mode keep what is stored; `works` and `bioid` are written only on
// insert; `holidays` is 1 on a holiday and a stale 1 goes back to 0.
const QString MonthUpsert = QStringLiteral(R"SQL(
WITH emp AS (
    SELECT e.employeeid, e.bioid
    FROM unnest($1::int[], $2::int[]) AS e(employeeid, bioid)
),
days AS (
    SELECT d::date AS day,
           CASE EXTRACT(ISODOW FROM d) WHEN 6 THEN 'Saturday' WHEN 7 THEN 'Sunday' ELSE '' END AS weekend,
           CASE WHEN EXTRACT(ISODOW FROM d) IN (6, 7) THEN 0 ELSE 1 END AS works
    FROM generate_series($3::date, $3::date + interval '1 month' - interval '1 day', interval '1 day') AS d
),
holiday AS (
    -- hol_date is unique: a day has one holiday at most
    SELECT hol_date AS day,
           CASE EXTRACT(ISODOW FROM hol_date) WHEN 6 THEN 'Saturday' WHEN 7 THEN 'Sunday'
                ELSE coalesce(hol_descrip, '') END AS shown
    FROM holidays
    WHERE hol_date >= $3::date AND hol_date < $3::date + interval '1 month'
),
punch AS (
    SELECT e.employeeid, a.att_date::date AS day, a.att_date,
           (EXTRACT(HOUR FROM a.att_date) * 60 + EXTRACT(MINUTE FROM a.att_date))::int AS minute,
           CASE WHEN a.check_mode ILIKE 'check-in' AND a.att_date::time < '11:00:00'::time THEN 1
                WHEN a.check_mode ILIKE 'check-out' AND a.att_date::time < '13:00:00'::time THEN 2
                WHEN a.check_mode ILIKE 'check-in' AND a.att_date::time < '16:00:00'::time THEN 3
                WHEN a.check_mode ILIKE 'check-out' AND a.att_date::time < '19:00:00'::time THEN 4
           END AS mode
    FROM emp e
    JOIN attendance_read a ON a.bioid = e.bioid
    WHERE a.att_date >= $3::date AND a.att_date < $3::date + interval '1 month'
),
per_day AS (
    SELECT employeeid, day,
           max(att_date) FILTER (WHERE mode = 1) AS time1,
           max(att_date) FILTER (WHERE mode = 2) AS time2,
           max(att_date) FILTER (WHERE mode = 3) AS time3,
           max(att_date) FILTER (WHERE mode = 4) AS time4,
           sum(GREATEST(CASE mode WHEN 1 THEN minute - 480
                                  WHEN 2 THEN 720 - minute
                                  WHEN 3 THEN minute - 780
                                  WHEN 4 THEN 1020 - minute
                                  ELSE 0 END, 0))::int AS tardy
    FROM punch
    GROUP BY employeeid, day
),
fresh AS (
    SELECT e.employeeid, e.bioid, days.day, days.works,
           coalesce(h.shown, days.weekend) AS base,
           CASE WHEN h.day IS NULL THEN 0 ELSE 1 END AS holiday,
           p.time1, p.time2, p.time3, p.time4,
           coalesce(p.tardy, 0) AS tardy
    FROM emp e
    CROSS JOIN days
    LEFT JOIN holiday h ON h.day = days.day
    LEFT JOIN per_day p ON p.employeeid = e.employeeid AND p.day = days.day
)
INSERT INTO data_dtr AS d (employeeid, bioid, att_dates, display_dtr, works,
                           att_time1, att_time2, att_time3, att_time4, tardy, holidays)
SELECT employeeid, bioid, day,
       CASE WHEN base ILIKE '--:--' OR base ILIKE 'absent' THEN '' ELSE base END,
       works, time1, time2, time3, time4, tardy, holiday
FROM fresh
ON CONFLICT (employeeid, att_dates) DO UPDATE SET
    display_dtr = CASE WHEN d.absents = 1 THEN 'Absent'
                       WHEN d.att_off = 1 THEN '--:--'
                       ELSE EXCLUDED.display_dtr END,
    att_time1 = coalesce(EXCLUDED.att_time1, d.att_time1),
    att_time2 = coalesce(EXCLUDED.att_time2, d.att_time2),
    att_time3 = coalesce(EXCLUDED.att_time3, d.att_time3),
    att_time4 = coalesce(EXCLUDED.att_time4, d.att_time4),
    tardy = EXCLUDED.tardy + d.add_tardy,
    holidays = CASE WHEN EXCLUDED.holidays = 1 THEN 1
                    WHEN d.holidays = 1 THEN 0
                    ELSE d.holidays END
)SQL");

// bioemp_profile keeps the bio ID as text; only whole numbers can match a punch.
const QString NumericBioid =
    QStringLiteral("CASE WHEN p.bioid ~ '^\\s*[0-9]{1,9}\\s*$' THEN trim(p.bioid)::int END");

QString intArray(const std::vector<int>& values) {
    QStringList parts;
    parts.reserve(static_cast<qsizetype>(values.size()));
    for (int v : values)
        parts << QString::number(v);
    return QLatin1Char('{') + parts.join(QLatin1Char(',')) + QLatin1Char('}');
}

QString personName(const QString& lname, const QString& fname) {
    if (fname.isEmpty())
        return lname;
    return lname + QStringLiteral(", ") + fname;
}

// Profile rows (bioemp_profileid, employeeid, bioid, lname, fname) by employee
// id (none first) and bio ID; where several rows share both, the oldest names them.
struct Profile {
    qint64 profileid = 0;
    QString name;
};
using ProfileKey = std::pair<std::optional<int>, int>;

std::map<ProfileKey, Profile> collectProfiles(const QueryResult& rows) {
    std::map<ProfileKey, Profile> out;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const ProfileKey key{rows.isNull(i, QStringLiteral("employeeid"))
                                 ? std::nullopt
                                 : std::optional<int>(rows.toInt(i, QStringLiteral("employeeid"))),
                             rows.toInt(i, QStringLiteral("bioid"))};
        const qint64 id = rows.toLongLong(i, QStringLiteral("bioemp_profileid"));
        auto it = out.find(key);
        if (it != out.end() && it->second.profileid < id)
            continue;
        out[key] = {id,
                    personName(rows.text(i, QStringLiteral("lname")), rows.text(i, QStringLiteral("fname")))};
    }
    return out;
}

} // namespace

qint64 DtrGenerator::generateMonth(int employeeid, int bioid, const DtrMonth& month) {
    return generateChunk({DtrEmployee{employeeid, bioid, {}}}, month);
}

qint64 DtrGenerator::generateChunk(const std::vector<DtrEmployee>& chunk, const DtrMonth& month) {
    if (!month.isValid())
        throw UserError(QStringLiteral("Please select a month first."));
    if (chunk.empty())
        return 0;
    std::vector<int> employees, bioids;
    for (const DtrEmployee& e : chunk) {
        employees.push_back(e.employeeid);
        bioids.push_back(e.bioid);
    }
    return m_db.transaction([&](Transaction& t) {
        return t.execute(MonthUpsert,
                         SqlParams().add(intArray(employees)).add(intArray(bioids)).add(month.first()));
    });
}

std::vector<DtrEmployee> DtrGenerator::employeesWithPunches(const DtrMonth& month,
                                                            const std::optional<QString>& office,
                                                            QStringList* notes) {
    if (!month.isValid())
        throw UserError(QStringLiteral("Please select a month first."));
    SqlParams params;
    params.add(month.first());
    QString officeFilter;
    if (office) {
        const QueryResult found =
            m_db.query(QStringLiteral("SELECT officeid FROM offices WHERE lower(off_name) = lower($1) OR "
                                      "lower(off_short) = lower($1)"),
                       SqlParams().add(office->trimmed()));
        if (found.empty())
            throw UserError(QStringLiteral("There is no office named \"%1\".").arg(office->trimmed()));
        params.add(office->trimmed());
        officeFilter = QStringLiteral(" AND p.officeid IN (SELECT officeid FROM offices WHERE "
                                      "lower(off_name) = lower($2) OR lower(off_short) = lower($2))");
    }
    // Unordered from the server (a sort there is costly with sorting switched
    // off for the planner); one entry per employee and bio ID, in order, here.
    const auto profiles = collectProfiles(m_db.query(
        QStringLiteral(
            "SELECT p.bioemp_profileid, p.employeeid, b.bio AS bioid, p.lname, p.fname "
            "FROM bioemp_profile p CROSS JOIN LATERAL (SELECT %1 AS bio) b "
            "WHERE b.bio IS NOT NULL%2 AND EXISTS (SELECT 1 FROM attendance_read a WHERE a.bioid = "
            "b.bio AND a.att_date >= $1::date AND a.att_date < $1::date + interval '1 month')")
            .arg(NumericBioid, officeFilter),
        params));
    std::vector<DtrEmployee> out;
    QStringList unlinked;
    for (const auto& [key, profile] : profiles) {
        if (!key.first) {
            unlinked << QStringLiteral("%1 (bio ID %2)").arg(profile.name).arg(key.second);
            continue;
        }
        out.push_back({*key.first, key.second, profile.name});
    }
    if (notes && !unlinked.isEmpty())
        *notes << QStringLiteral("Left out, as they have no employee id in the personnel register: %1.")
                      .arg(unlinked.join(QStringLiteral("; ")));
    return out;
}

std::vector<DtrEmployee> DtrGenerator::employeeProfiles(int employeeid) {
    const auto profiles = collectProfiles(
        m_db.query(QStringLiteral("SELECT p.bioemp_profileid, p.employeeid, b.bio AS bioid, p.lname, p.fname "
                                  "FROM bioemp_profile p CROSS JOIN LATERAL (SELECT %1 AS bio) b "
                                  "WHERE p.employeeid = $1 AND b.bio IS NOT NULL")
                       .arg(NumericBioid),
                   SqlParams().add(employeeid)));
    std::vector<DtrEmployee> out;
    for (const auto& [key, profile] : profiles)
        out.push_back({employeeid, key.second, profile.name});
    if (out.empty())
        throw UserError(
            QStringLiteral("Employee %1 has no bio ID in the personnel register.").arg(employeeid));
    return out;
}

DtrBatchResult DtrGenerator::generateMany(const std::vector<DtrEmployee>& employees, const DtrMonth& month,
                                          const Progress& progress) {
    DtrBatchResult result;
    // One statement may write an employee's day only once: an employee listed
    // under several bio IDs goes into a later round for each further one.
    std::vector<std::vector<DtrEmployee>> rounds;
    QMap<int, int> seen;
    QMap<int, QStringList> shared;
    for (const DtrEmployee& e : employees) {
        const int round = seen.value(e.employeeid, 0);
        seen[e.employeeid] = round + 1;
        shared[e.employeeid] << QString::number(e.bioid);
        if (rounds.size() <= static_cast<size_t>(round))
            rounds.resize(static_cast<size_t>(round) + 1);
        rounds[static_cast<size_t>(round)].push_back(e);
    }
    for (auto it = shared.cbegin(); it != shared.cend(); ++it)
        if (it.value().size() > 1)
            result.notes << QStringLiteral("Employee %1 has punches under several bio IDs (%2); they were "
                                           "applied one after the other.")
                                .arg(it.key())
                                .arg(it.value().join(QStringLiteral(", ")));

    const int total = static_cast<int>(employees.size());
    int done = 0;
    if (progress)
        progress(0, total);
    for (const auto& round : rounds) {
        for (size_t start = 0; start < round.size(); start += BatchSize) {
            const size_t end = std::min(round.size(), start + BatchSize);
            const std::vector<DtrEmployee> chunk(round.begin() + static_cast<std::ptrdiff_t>(start),
                                                 round.begin() + static_cast<std::ptrdiff_t>(end));
            result.days += generateChunk(chunk, month);
            done += static_cast<int>(chunk.size());
            result.employees = done;
            if (progress)
                progress(done, total);
        }
    }
    return result;
}

} // namespace orv
