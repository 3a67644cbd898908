#include "DtrTestData.h"

#include "dtr/DtrReview.h"
#include "dtr/HolidayCalendar.h"
#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace orv;
using namespace orv::test;

namespace {

struct CliRun {
    int status = -1;
    QString out, err;
};

class DtrCliTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        m_settings = writeSettingsFile(m_dir.path(), database().settings());
        database().exec(
            "INSERT INTO offices (officeid, off_name, off_short) VALUES (1, 'Mayor''s Office', 'MMO'), "
            "(2, 'Treasury', 'MTO'); INSERT INTO end_user (end_userid, usernames) VALUES (3, 'clerk')");
        addPerson(db(), 1001, "1", "Santos", "Juan", {}, {}, 1);
        addPerson(db(), 1002, "2", "Reyes", "Ana", {}, {}, 2);
        for (int bio : {1, 2})
            addPunch(db(), bio, "2024-03-04 08:15:00", "check-in");
    }
    CliRun cli(QStringList args) {
        QProcess p;
        p.start(binDir() + "/orvanta-cli", QStringList{"--settings", m_settings} + args);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    int rows(int employee) {
        return db()
            .query("SELECT count(*) AS n FROM data_dtr WHERE employeeid = $1", params(employee))
            .toInt(0, "n");
    }
    QTemporaryDir m_dir;
    QString m_settings;
};

TEST_F(DtrCliTest, GenerateOneEmployeeAnOfficeOrEveryone) {
    CliRun r = cli({"generate", "--month", "2024-03", "--office", "mto"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Generated March 2024 for 1 employee month (office \"mto\"), 31 days"))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("Generating March 2024: 1 of 1 employees")) << r.err.toStdString();
    EXPECT_EQ(rows(1001), 0);
    EXPECT_EQ(rows(1002), 31);

    r = cli({"generate", "--month", "2024-03", "--all"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Generated March 2024 for 2 employee months")) << r.out.toStdString();
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-04").tardy, 15);

    r = cli({"generate", "--month", "2024-02", "--employee", "1001"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(rows(1001), 31 + 29);
}

TEST_F(DtrCliTest, GenerateRefusesUnclearRequests) {
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"generate", "--month", "2024-13", "--all"}, "is not a month"},
        {{"generate", "--month", "March", "--all"}, "YYYY-MM"},
        {{"generate", "--month", "2024-03"}, "exactly one of"},
        {{"generate", "--month", "2024-03", "--all", "--office", "MMO"}, "exactly one of"},
        {{"generate", "--month", "2024-03", "--office", "Nowhere"}, "no office named \"Nowhere\""},
        {{"generate", "--month", "2024-03", "--employee", "abc"}, "whole number"},
        {{"generate", "--month", "2024-03", "--employee", "4242"}, "no bio ID"},
        {{"audit", "--employee", "1001"}, "--month is required"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_EQ(rows(1001) + rows(1002), 0);
}

TEST_F(DtrCliTest, AuditListsTheEmployeesChangesOfTheMonth) {
    CliRun r = cli({"audit", "--employee", "1001", "--month", "2024-03"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "No changes recorded for employee 1001 in March 2024.\n");

    ASSERT_EQ(cli({"generate", "--month", "2024-03", "--all"}).status, 0);
    DtrReview(db(), "3").toggleMark(DayMark::Absent, 1001, QDate(2024, 3, 6));
    DtrReview(db(), "").setAddTardy(1001, QDate(2024, 3, 4), 20);
    DtrReview(db(), "3").toggleMark(DayMark::Absent, 1002, QDate(2024, 3, 6)); // someone else
    HolidayCalendar(db(), "3").add(QDate(2024, 3, 28), "Town Fiesta");
    HolidayCalendar(db(), "3").add(QDate(2024, 4, 9), "Regular Holiday"); // another month

    r = cli({"audit", "--employee", "1001", "--month", "2024-03"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << r.out.toStdString();
    EXPECT_EQ(lines[0], "Changes for employee 1001 in March 2024:");
    EXPECT_TRUE(lines[2].contains("clerk")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains("03/06/2024  absent")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("0 -> 1"));
    EXPECT_TRUE(lines[3].contains("  -  ")) << lines[3].toStdString(); // before a login: no user
    EXPECT_TRUE(lines[3].endsWith("0 -> 20"));
    EXPECT_TRUE(lines[4].contains("03/28/2024  holiday added (calendar)")) << lines[4].toStdString();
    EXPECT_TRUE(lines[4].endsWith("(none) -> Town Fiesta"));
}

} // namespace
