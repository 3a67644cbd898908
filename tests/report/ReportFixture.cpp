#include "ReportFixture.h"

#include "dtr/report/Form48PdfFile.h"

namespace orv::test {

QString sqlText(const QString& text) {
    if (text.isNull())
        return QStringLiteral("NULL");
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

void ReportTest::SetUp() {
    DatabaseTest::SetUp();
    database().exec("INSERT INTO offices (officeid, off_name, off_short) VALUES "
                    "(1, 'Municipal Mayor''s Office', 'MMO'), (2, 'Municipal Treasurer''s Office', 'MTO')");
}

void ReportTest::addEmployee(int employeeId, const QString& first, const QString& middle, const QString& last,
                             const QString& suffix, int officeId) {
    database().exec(
        QStringLiteral("INSERT INTO bioemp_profile (employeeid, bioid, lname, fname, mname, suffixs, "
                       "officeid, emp_type, hfullname, hposition, hdesignation) VALUES "
                       "(%1, '%2', %3, %4, %5, %6, %7, 'Job Order', 'ROBERTO M. VILLANUEVA', "
                       "'Municipal Mayor', 'Head of Office')")
            .arg(employeeId)
            .arg(employeeId % 1000)
            .arg(sqlText(last), sqlText(first), sqlText(middle), sqlText(suffix))
            .arg(officeId));
}

void ReportTest::generateMonth(int employeeId, const QDate& month) {
    const QString first = month.toString("yyyy-MM-01");
    database().exec(
        QStringLiteral(
            "INSERT INTO data_dtr (employeeid, bioid, att_dates, display_dtr, works) "
            "SELECT %1, %2, d::date, CASE extract(isodow FROM d) WHEN 6 THEN 'Saturday' WHEN 7 THEN 'Sunday' "
            "ELSE '' END, CASE WHEN extract(isodow FROM d) IN (6, 7) THEN 0 ELSE 1 END "
            "FROM generate_series('%3'::date, (date_trunc('month', '%3'::date) + interval '1 month' - "
            "interval '1 day')::date, interval '1 day') d;"
            "UPDATE data_dtr SET att_time1 = att_dates + time '07:55', att_time2 = att_dates + time '12:01', "
            "att_time3 = att_dates + time '12:55', att_time4 = att_dates + time '17:05' "
            "WHERE employeeid = %1 AND works = 1 AND date_trunc('month', att_dates) = '%3'::date")
            .arg(employeeId)
            .arg(employeeId % 1000)
            .arg(first));
}

void ReportTest::setDay(int employeeId, const QDate& day, const QString& set) {
    database().exec(QStringLiteral("UPDATE data_dtr SET %1 WHERE employeeid = %2 AND att_dates = '%3'")
                        .arg(set)
                        .arg(employeeId)
                        .arg(day.toString("yyyy-MM-dd")));
}

QString ReportTest::writePdf(const DtrReport& report, const QString& name) {
    const QString file = path(name);
    Form48PdfFile pdf(file);
    pdf.addPage(report);
    pdf.commit();
    return file;
}

} // namespace orv::test
