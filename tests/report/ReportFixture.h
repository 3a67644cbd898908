#pragma once

#include "fixtures/TestDatabase.h"

#include "dtr/report/DtrReport.h"

#include <QTemporaryDir>

namespace orv::test {

// A database with two offices and helpers that leave data_dtr as the month's
// generation does, so the report can be checked without generating.
class ReportTest : public DatabaseTest {
protected:
    void SetUp() override;

    // middle and suffix: a null QString stores NULL.
    void addEmployee(int employeeId, const QString& first, const QString& middle, const QString& last,
                     const QString& suffix = {}, int officeId = 1);
    // Every day of the month: weekends "Saturday"/"Sunday" with works 0;
    // weekdays with the four times 07:55, 12:01, 12:55 and 17:05.
    void generateMonth(int employeeId, const QDate& month);
    // Runs "UPDATE data_dtr SET <set> WHERE employeeid = .. AND att_dates = day".
    void setDay(int employeeId, const QDate& day, const QString& set);

    // Writes report as a one-page PDF and returns its path.
    QString writePdf(const DtrReport& report, const QString& name = QStringLiteral("dtr.pdf"));
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// A text as an SQL literal for fixtures; a null QString is NULL.
QString sqlText(const QString& text);

} // namespace orv::test
