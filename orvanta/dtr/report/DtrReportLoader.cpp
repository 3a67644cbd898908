#include "DtrReportLoader.h"

#include "data/DataCon.h"
#include "data/Errors.h"

#include <QRegularExpression>

namespace orv {

namespace {

bool isNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    return digits.match(text).hasMatch();
}

} // namespace

std::vector<DtrReportRow> DtrReportLoader::rowsFrom(const QueryResult& r) {
    std::vector<DtrReportRow> rows;
    rows.reserve(r.rowCount());
    const int days = r.requireColumn(QStringLiteral("days"));
    const int as1 = r.requireColumn(QStringLiteral("as_1"));
    const int as2 = r.requireColumn(QStringLiteral("as_2"));
    const int as3 = r.requireColumn(QStringLiteral("as_3"));
    const int as4 = r.requireColumn(QStringLiteral("as_4"));
    for (int i = 0; i < r.rowCount(); ++i)
        rows.push_back({r.text(i, days), r.text(i, as1), r.text(i, as2), r.text(i, as3), r.text(i, as4)});
    return rows;
}

DtrReport DtrReportLoader::load(DataCon& db, const QString& employeeId, const QDate& month,
                                DtrReportMode mode) {
    const QString id = employeeId.trimmed();
    if (id.isEmpty() || !month.isValid())
        throw UserError(QStringLiteral("Please select an employee first."));
    if (!isNumber(id))
        throw UserError(QStringLiteral("The employee id must be a number, not \"%1\".").arg(id));

    DtrReport report;
    report.employeeId = id;
    report.period = DtrPeriod::of(month, mode);
    report.periodText = report.period.text();

    const QueryResult person = db.query(
        QStringLiteral("SELECT fname, mname, lname, suffixs, hfullname, hposition, hdesignation "
                       "FROM bioemp_profile WHERE employeeid = :value ORDER BY bioemp_profileid LIMIT 1"),
        SqlParams().bind(QStringLiteral("value"), id));
    if (person.empty())
        throw UserError(QStringLiteral("No employee has the id %1.").arg(id));
    report.fullName = dtrFullName(person.text(0, "fname"), person.text(0, "mname"), person.text(0, "lname"),
                                  person.text(0, "suffixs"));
    report.verifierName = person.text(0, "hfullname");
    report.verifierPosition = person.text(0, "hposition");
    report.verifierDesignation = person.text(0, "hdesignation");

    // Days marked absent or off still count; holidays and weekends do not.
    const QueryResult regular = db.query(
        QStringLiteral("SELECT sum(t.results) as re FROM (SELECT case when works = 1 and holidays = 0 then 1 "
                       "else 0 end as results from data_dtr WHERE employeeid = :value and att_dates BETWEEN "
                       ":value1::date and :value2::date) as t"),
        SqlParams()
            .bind(QStringLiteral("value"), id)
            .bind(QStringLiteral("value1"), report.period.first)
            .bind(QStringLiteral("value2"), report.period.last));
    report.generated = !regular.isNull(0, "re");
    report.regularDays = regular.text(0, "re");

    // The held statement is run with values of its own, so the shared query
    // object is not changed from a background thread.
    const QueryResult rows =
        db.query(db.DTR_QueryReports.sql(), SqlParams()
                                                .bind(QStringLiteral("value"), id)
                                                .bind(QStringLiteral("value1"), report.period.first)
                                                .bind(QStringLiteral("value2"), report.period.last)
                                                .bind(QStringLiteral("value3"), report.period.monthFirst)
                                                .bind(QStringLiteral("value4"), report.period.monthLast));
    report.rows = rowsFrom(rows);
    return report;
}

} // namespace orv
